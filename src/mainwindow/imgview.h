#pragma once
// The image viewer: one picture of the project, centred in a plain window
// that the user can size. The window is made for one view (View Image) and
// runs through UiServices::RunDialog.
#include <QDialog>
#include <QImage>

class QLabel;

namespace qm {

class TfrmImgView : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImgView(QWidget* owner);

    // Shows a copy of `picture` at its own size (a null picture: nothing).
    void SetGraphic(const QImage& picture);
    // Centres the picture in the client area; a picture larger than the
    // window is cut alike at both sides.
    void FormResize();

    QLabel* imgImage;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

}  // namespace qm
