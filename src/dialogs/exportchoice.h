#pragma once
// Export Context IDs Constants: which context-ID constant files to write
// now. It only gathers the choice; the export command writes the files.
// Made, preset and run by TDialogFactory::RunExportChoice.
#include "widgets/qmdialog.h"

class QCheckBox;

namespace qm {

inline constexpr int kExportHelpContext = 75;

// The three constant files, in the order they are written.
struct TExportChoice {
    bool Cpp = false;     // the C/C++ header
    bool Vb = false;      // the Visual Basic module
    bool Pascal = false;  // the Pascal unit
    bool operator==(const TExportChoice&) const = default;
};

class TfrmExport : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmExport(UiServices& ui, QWidget* parent = nullptr);

    // Ticks the boxes; call before the run.
    void SetChoice(const TExportChoice& choice);
    // The ticked boxes.
    TExportChoice Choice() const;

    QCheckBox* chkCpp = nullptr;
    QCheckBox* chkVb = nullptr;
    QCheckBox* chkDelphi = nullptr;

protected:
    bool validate() override;
    void updateEnabling() override;
    int helpContext() const override { return kExportHelpContext; }
};

}  // namespace qm
