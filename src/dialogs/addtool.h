#pragma once
// Tool Properties: the path and display name of one user tool. It only
// gathers them; the caller adds or changes the tool. Made, preset and run by
// TDialogFactory::RunAddTool.
#include "model/usertools.h"
#include "widgets/qmdialog.h"

class QLineEdit;
class QPushButton;

namespace qm {

class TfrmAddTool : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmAddTool(UiServices& ui, QWidget* parent = nullptr);

    // Fills both edits (empty for a new tool); call before the run.
    void SetTool(const TTool& tool);
    // Both texts as typed (untrimmed); set by OK.
    const TTool& Tool() const { return tool_; }

    // Asks for the program with the open-file dialog; a choice replaces txtPath.
    void BrowseToolClick();

    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowseTool = nullptr;
    QLineEdit* txtDisplayName = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;
    void showEvent(QShowEvent* event) override;

private:
    TTool tool_;
};

}  // namespace qm
