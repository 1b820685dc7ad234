#include "shgedit/aboutdlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::shgedit {

QImage TfrmAbout::Logo() {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF1, 0xE8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A landscape: sky, hill, sun.
    p.fillRect(QRect(4, 4, 56, 56), QColor(0x9C, 0xC8, 0xE8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x9A, 0x48));
    p.drawEllipse(QRect(-6, 38, 50, 40));
    p.drawEllipse(QRect(24, 44, 52, 36));
    p.setBrush(QColor(0xF2, 0xC1, 0x3A));
    p.drawEllipse(QRect(40, 10, 14, 14));
    p.setRenderHint(QPainter::Antialiasing, false);
    // Two hotspots drawn as the editor draws them.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(QRect(37, 7, 19, 19));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRect(8, 40, 24, 16));
    p.setBrush(Qt::black);
    for (QPoint c : {QPoint(8, 40), QPoint(32, 40), QPoint(8, 56), QPoint(32, 56)})
        p.drawRect(c.x() - 2, c.y() - 2, 4, 4);
    return image;
}

TfrmAbout::TfrmAbout(UiServices& ui, QWidget* parent) : QmDialog(ui, QStringLiteral("frmAbout"), parent) {
    setWindowTitle(QStringLiteral("About"));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlLogo"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* logo = new QLabel(panel);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(QPixmap::fromImage(Logo()));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(logo);

    auto* title = new QLabel(QStringLiteral("Pikeral v1.02"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title->setFont(big);
    auto* lines = new QVBoxLayout;
    lines->addWidget(title);
    lines->addWidget(new QLabel(QStringLiteral("Segmented Hypergraphics Editor"), this));
    lines->addWidget(new QLabel(QStringLiteral("For 32-bits Windows Environments."), this));
    lines->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(panel, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(lines, 1);

    cmdOK = MakeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QmDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace qm::shgedit
