#include "mainwindow/splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <chrono>

namespace qm {

TfrmSplash::TfrmSplash(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(525, 380);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* title = new QLabel(QStringLiteral("Quillmark"), this);
    title->setObjectName(QStringLiteral("imgSplash"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSize(36);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setGeometry(24, 110, 480, 80);

    lblVersion = new QLabel(QStringLiteral("v1.51"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSize(18);
    versionFont.setBold(true);
    lblVersion->setFont(versionFont);
    lblVersion->setGeometry(24, 190, 200, 40);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPointSize(8);
    statusFont.setBold(true);
    lblStatus->setFont(statusFont);
    lblStatus->setAttribute(Qt::WA_TranslucentBackground);
    lblStatus->setGeometry(24, 340, 480, 20);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.center() - rect().center());
    }
}

void TfrmSplash::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    QPainter p(this);
    QPen pen(Qt::black);
    pen.setWidth(3);
    p.setPen(pen);
    const QRect r = rect();
    const QPoint pts[] = {{1, 1}, {r.right() - 1, 1}, {r.right() - 1, r.bottom() - 1}, {1, r.bottom() - 2}, {1, 3}};
    p.drawPolyline(pts, 5);
}

TSplashThread::TSplashThread(QWidget* owner, double waitScale) : form_(new TfrmSplash(owner)) {
    const auto pause = std::chrono::milliseconds(static_cast<long long>(500 * (waitScale < 0 ? 0 : waitScale)));
    thread_ = std::thread([pause] {
        for (int i = 0; i < 3; ++i) std::this_thread::sleep_for(pause);
    });
    form_->show();
    form_->repaint();
}

TSplashThread::~TSplashThread() {
    Wait();
    form_->close();
    delete form_;
}

void TSplashThread::SetStatus(const QString& text) {
    history_ << text;
    form_->lblStatus->setText(text);
    form_->lblStatus->repaint();
}

void TSplashThread::Hide() { form_->hide(); }

void TSplashThread::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace qm
