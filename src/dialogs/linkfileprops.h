#pragma once
// One link file of a contents file: a help file that jumps may reach, and a
// comment kept on its line.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kLinkFilePropsHelpContext = 510;

class TfrmLinkFileProps : public TCntDialog {
    Q_OBJECT
public:
    explicit TfrmLinkFileProps(UiServices& ui, QWidget* parent = nullptr);

    void SetRecord(const TLinkFile& record);
    // The edits as typed (nothing trimmed).
    TLinkFile Record() const;

    QLineEdit* txtHelpFileName = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLineEdit* txtComment = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
};

}  // namespace qm
