#pragma once
// The Preferences dialog: the defaults of new hotspots and the .shg file
// association.
#include "shgedit/options.h"
#include "widgets/qmdialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qm::shgedit {

class TfrmOptions : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(UiServices& ui, QWidget* parent = nullptr);

    // Presets the controls from the settings.
    void SetOptions(const TOptions& options);
    // Copies what OK stored into the settings (AssocSHG, DefType,
    // DefAttribute, DefID); call only when Accepted().
    void ApplyTo(TOptions& options) const;

    QLineEdit* txtID;
    QComboBox* cboType;
    QComboBox* cboAttribute;
    QCheckBox* chkAssociate;

protected:
    void store() override;

private:
    TOptions result_;
};

}  // namespace qm::shgedit
