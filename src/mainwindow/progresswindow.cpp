#include "mainwindow/progresswindow.h"

#include <QProgressBar>

#include "mainwindow/screencentre.h"

namespace qm {

void TProgressLabel::setText(const QString& text) {
    QLabel::setText(text);
    adjustSize();
    repaint();
}

TfrmMessage::TfrmMessage(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(QStringLiteral("Progress"));
    setFixedSize(320, 66);
    lblMsg = new TProgressLabel(this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->move(8, 12);
    pgbProgress = new QProgressBar(this);
    pgbProgress->setObjectName(QStringLiteral("pgbProgress"));
    pgbProgress->setGeometry(8, 40, 305, 17);
    pgbProgress->setRange(0, 100);
    pgbProgress->setValue(0);
    pgbProgress->setTextVisible(false);
    connect(pgbProgress, &QProgressBar::valueChanged, pgbProgress, [this] { pgbProgress->repaint(); });
}

void TfrmMessage::showEvent(QShowEvent* event) {
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace qm
