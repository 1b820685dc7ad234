#pragma once
// The about box: the program's icon, name and version, and whose icons the
// program shows. A borderless window made for one showing; a click anywhere
// on it or any key closes it.
#include <QDialog>

class QLabel;

namespace qm {

inline constexpr const char* kAboutProduct = "Quillmark 1.51";
inline constexpr const char* kAboutIconCredit =
    "Icons from the Tango Desktop Project (public domain) and the Quillmark developers";

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* owner);

    QLabel* imgProduct;
    QLabel* lblProduct;
    QLabel* lblCredit;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm
