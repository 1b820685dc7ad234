#pragma once
// One extra index file of a contents file: the help file whose keywords the
// index shows, its title, and a comment kept on its line.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kIndexFilePropsHelpContext = 45;

class TfrmIndexFileProps : public TCntDialog {
    Q_OBJECT
public:
    explicit TfrmIndexFileProps(UiServices& ui, QWidget* parent = nullptr);

    void SetRecord(const TIndexFile& record);
    // The edits as typed (nothing trimmed).
    TIndexFile Record() const;

    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtHelpFileName = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtComment = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
};

}  // namespace qm
