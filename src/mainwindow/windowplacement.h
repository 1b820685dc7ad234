#pragma once
// Where a stored window rectangle may go on the screens there are now.
#include <QList>
#include <QRect>

namespace qm {

// `rect` itself when it overlaps one of `areas` (the screens' available
// areas). A rectangle on no screen (its monitor was removed) is moved into
// the area nearest to it and cut to fit that area. No areas: unchanged.
QRect FitToScreens(const QRect& rect, const QList<QRect>& areas);

}  // namespace qm
