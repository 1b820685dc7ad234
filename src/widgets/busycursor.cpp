#include "widgets/busycursor.h"

#include <QApplication>
#include <QCursor>

namespace qm {

namespace {
int depth = 0;
}

BusyCursor::BusyCursor() { Push(); }
BusyCursor::~BusyCursor() { Pop(); }

int BusyCursor::Depth() { return depth; }

void BusyCursor::Push() {
    ++depth;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void BusyCursor::Pop() {
    if (depth <= 0) return;
    --depth;
    QApplication::restoreOverrideCursor();
}

void BusyCursor::RestoreTo(int target) {
    if (target < 0) target = 0;
    while (depth > target) Pop();
}

}  // namespace qm
