#include "mainwindow/aboutbox.h"

#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>

#include "mainwindow/screencentre.h"
#include "widgets/icons.h"

namespace qm {

namespace {

constexpr int kIconSize = 96;

}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quillmark"));
    setFixedSize(440, 292);
    setFont(QFont(QStringLiteral("Tahoma")));
    // Text in the selection's colour on the selected text's colour: the two
    // are made to be read together, whatever the desktop's scheme.
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::HighlightedText));
    p.setColor(QPalette::WindowText, p.color(QPalette::Highlight));
    setPalette(p);
    setAutoFillBackground(true);

    imgProduct = new QLabel(this);
    imgProduct->setObjectName(QStringLiteral("imgProduct"));
    imgProduct->setFixedSize(kIconSize, kIconSize);
    imgProduct->setPixmap(QmIcon(QStringLiteral("quillmark")).pixmap(kIconSize, kIconSize));

    lblProduct = new QLabel(QString::fromLatin1(kAboutProduct), this);
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    QFont big = font();
    big.setPointSize(20);
    big.setBold(true);
    lblProduct->setFont(big);

    lblCredit = new QLabel(QString::fromLatin1(kAboutIconCredit), this);
    lblCredit->setObjectName(QStringLiteral("lblCredit"));
    lblCredit->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(imgProduct, 0, Qt::AlignVCenter);
    top->addWidget(lblProduct, 1, Qt::AlignVCenter);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(28, 28, 28, 24);
    column->addStretch(1);
    column->addLayout(top);
    column->addStretch(1);
    column->addWidget(lblCredit);
}

// The labels take no clicks, so a click on either reaches the window.
void TfrmAbout::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    event->accept();
    accept();
}

// Without a frame, a thin edge keeps the box apart from a light window
// behind it.
void TfrmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrmAbout::showEvent(QShowEvent* event) {
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace qm
