#pragma once
// The book (header) entry of a contents file: its title.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kNewHeaderHelpContext = 305;

class TfrmNewHeader : public TCntEntryDialog {
    Q_OBJECT
public:
    explicit TfrmNewHeader(UiServices& ui, QWidget* parent = nullptr);

    void LoadEntry(const TCntNode& entry) override;
    void SaveEntry(TCntNode& entry) const override;

    QLineEdit* txtTitle = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
};

}  // namespace qm
