#pragma once
// The macro entry of a contents file: its title and the macro it runs, which
// the macro expression builder can compose.
#include "dialogs/cntdialog.h"

namespace qm {

inline constexpr int kNewMacroHelpContext = 320;

class TfrmNewMacro : public TCntEntryDialog {
    Q_OBJECT
public:
    // `factory` runs the macro builder over `macros` (read, never changed).
    TfrmNewMacro(TDialogFactory& factory, const TMacros& macros, QWidget* parent = nullptr);

    void LoadEntry(const TCntNode& entry) override;
    void SaveEntry(TCntNode& entry) const override;

    QLineEdit* txtTitle = nullptr;
    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdBrowseMacro = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;

private:
    TDialogFactory& factory_;
    const TMacros& macros_;
};

}  // namespace qm
