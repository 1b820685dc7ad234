#include "dialogs/autosizer.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

namespace {

bool forcePositionUnknown = false;

}  // namespace

void TfrmAutoSizer::ForcePositionUnknown(bool on) { forcePositionUnknown = on; }

TfrmAutoSizer::TfrmAutoSizer(UiServices& ui, const std::array<int, 4>& rect, QWidget* parent)
    : QmDialog(ui, QStringLiteral("frmAutoSizer"), parent), given_(rect), result_(rect) {
    setWindowTitle(QStringLiteral("Help Window Auto-Sizer"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    positionUnknown_ = forcePositionUnknown ||
                       QGuiApplication::platformName().startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    QString text = QStringLiteral(
        "To automatically set size and position coordinates, move and size this window, and then click OK.");
    if (positionUnknown_)
        text += QStringLiteral(
            "\n\nThis desktop does not let a program place its windows or read their position: only the size is "
            "taken, and left and top keep their values.");
    lblInfo = new QLabel(text, this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo, 1);
    layout->addWidget(MakeStandardButtons(false));
    setMinimumSize(120, 80);
    move(given_[0], given_[1]);
    resize(std::max(given_[2], 120), std::max(given_[3], 80));
    placed_ = frameGeometry();
}

void TfrmAutoSizer::showEvent(QShowEvent* event) {
    QmDialog::showEvent(event);
    // The frame is known only once shown: the outer size is what was given.
    if (fitted_) return;
    fitted_ = true;
    const QSize frame = frameGeometry().size() - size();
    resize(std::max(given_[2] - frame.width(), 1), std::max(given_[3] - frame.height(), 1));
    if (!positionUnknown_) move(given_[0], given_[1]);
    placed_ = frameGeometry();
}

void TfrmAutoSizer::store() {
    const QRect outer = frameGeometry();
    // Untouched, it stands for exactly what it was given (a window manager
    // may have kept it from the very size or place asked for).
    if (outer == placed_) {
        result_ = given_;
        return;
    }
    result_[2] = outer.width();
    result_[3] = outer.height();
    if (positionUnknown_) {
        result_[0] = given_[0];
        result_[1] = given_[1];
    } else {
        result_[0] = outer.x();
        result_[1] = outer.y();
    }
}

}  // namespace qm
