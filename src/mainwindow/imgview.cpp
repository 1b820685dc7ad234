#include "mainwindow/imgview.h"

#include <QLabel>
#include <QPalette>
#include <QPixmap>

#include "mainwindow/screencentre.h"

namespace qm {

TfrmImgView::TfrmImgView(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmImgView"));
    setWindowTitle(QStringLiteral("Image Viewer"));
    // The window's outer size is 462 x 371: this client area within a
    // usual frame.
    resize(454, 344);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);
    imgImage = new QLabel(this);
    imgImage->setObjectName(QStringLiteral("imgImage"));
    imgImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgImage->setContentsMargins(0, 0, 0, 0);
    imgImage->resize(0, 0);
}

void TfrmImgView::SetGraphic(const QImage& picture) {
    if (picture.isNull()) {
        imgImage->clear();
        imgImage->resize(0, 0);
    } else {
        imgImage->setPixmap(QPixmap::fromImage(picture));
        imgImage->resize(picture.size());
    }
    FormResize();
}

void TfrmImgView::FormResize() {
    const QSize client = size();
    const QSize image = imgImage->size();
    imgImage->move(client.width() / 2 - image.width() / 2, client.height() / 2 - image.height() / 2);
}

void TfrmImgView::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmImgView::showEvent(QShowEvent* event) {
    CentreOnScreen(*this);
    QDialog::showEvent(event);
}

}  // namespace qm
