#pragma once
// "Reorganize Styles": the order of the styles, changed with Up, Down or by
// dragging a line onto another. Works on its own copy of the list, which the
// caller reads back after OK. Made, preset and run by
// TDialogFactory::RunReorganizeStyles.
#include "model/styles.h"
#include "widgets/qmdialog.h"

class QListWidget;
class QPushButton;

namespace qm {

class ListEditor;

class TfrmReorganizeStyles : public QmDialog {
    Q_OBJECT
public:
    // Lists the names of `styles` (copied) and selects line `selected`
    // (0-based; none when out of range).
    TfrmReorganizeStyles(UiServices& ui, const TStyles& styles, int selected, QWidget* parent = nullptr);

    // The list in its new order.
    const TStyles& Working() const { return working_; }

    void cmdUpClick();
    void cmdDownClick();
    // A drop of the selected line on line `row`: the style moves there, the
    // ones between shift by one, and it stays selected. Nothing happens
    // without a selected line or on no line (-1).
    void dropOnRow(int row);

    QListWidget* lstStyles = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;

protected:
    void updateEnabling() override;

private:
    // The selected line; -1 when none.
    int selectedRow() const;

    TStyles working_;
    ListEditor* lines_ = nullptr;
};

}  // namespace qm
