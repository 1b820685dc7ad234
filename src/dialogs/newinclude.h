#pragma once
// The include entry of a contents file: the contents file it includes.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kNewIncludeHelpContext = 315;

class TfrmNewInclude : public TCntEntryDialog {
    Q_OBJECT
public:
    explicit TfrmNewInclude(UiServices& ui, QWidget* parent = nullptr);

    void LoadEntry(const TCntNode& entry) override;
    void SaveEntry(TCntNode& entry) const override;

    QLineEdit* txtFile = nullptr;
    QPushButton* cmdBrowseFile = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;

private:
    void BrowseFileClick();
};

}  // namespace qm
