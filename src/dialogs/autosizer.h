#pragma once
// Help Window Auto-Sizer: the author moves and sizes this window to give a
// help window its place and size on the screen. Placed and read back by its
// outer frame, so OK without moving returns the values it was given.
//
// On Wayland a program can neither place its windows nor learn where they
// are; there only the size is taken, left and top keep the values given, and
// the window's text says so.
#include <array>

#include <QRect>

#include "widgets/qmdialog.h"

class QLabel;

namespace qm {

class TfrmAutoSizer : public QmDialog {
    Q_OBJECT
public:
    // `rect`: left, top, width and height in pixels.
    TfrmAutoSizer(UiServices& ui, const std::array<int, 4>& rect, QWidget* parent = nullptr);

    // Left, top, width and height of the window; set by OK.
    const std::array<int, 4>& Result() const { return result_; }
    // True where the window's position cannot be set or read.
    bool PositionUnknown() const { return positionUnknown_; }

    // Tests take the Wayland path on any platform.
    static void ForcePositionUnknown(bool on);

    QLabel* lblInfo = nullptr;

protected:
    void store() override;
    void showEvent(QShowEvent* event) override;

private:
    std::array<int, 4> given_;
    std::array<int, 4> result_;
    bool positionUnknown_ = false;
    bool fitted_ = false;
    QRect placed_;
};

}  // namespace qm
