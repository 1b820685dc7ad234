#pragma once
// One extra tab of a contents file's window: its name, the DLL that draws
// it, and a comment kept on its line.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kTabPropsHelpContext = 515;

class TfrmTabProps : public TCntDialog {
    Q_OBJECT
public:
    explicit TfrmTabProps(UiServices& ui, QWidget* parent = nullptr);

    void SetRecord(const TTab& record);
    // The edits as typed (nothing trimmed).
    TTab Record() const;

    QLineEdit* txtTabName = nullptr;
    QLineEdit* txtDllFileName = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtComment = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
};

}  // namespace qm
