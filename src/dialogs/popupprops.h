#pragma once
// Popup Properties: the name, context ID and state of one popup. The dialog
// writes into the node it is given only when OK passes every check
// (StorePopup). Made, loaded and run by TDialogFactory::RunPopupProps.
#include "widgets/qmdialog.h"

class QComboBox;
class QLineEdit;
class QTabWidget;

namespace qm {

class TProject;
struct TTopicNode;

inline constexpr int kPopupPropsHelpContext = 120;

class TfrmPopupProps : public QmDialog {
    Q_OBJECT
public:
    // `project` gives the name and ID checks their other modules; it is read,
    // never changed.
    TfrmPopupProps(UiServices& ui, const TProject& project, QWidget* parent = nullptr);

    // Keeps `node` and fills the controls from it. Call once, before the run.
    void LoadPopup(TTopicNode& node);
    // Writes the controls into the kept node; OK calls it once every check passed.
    void StorePopup();

    QTabWidget* tabGeneral = nullptr;
    QLineEdit* txtPopupName = nullptr;
    QLineEdit* txtContext = nullptr;
    QComboBox* cboState = nullptr;

protected:
    bool validate() override;
    void store() override { StorePopup(); }
    int helpContext() const override { return kPopupPropsHelpContext; }
    void showEvent(QShowEvent* event) override;

private:
    const TProject& project_;
    TTopicNode* node_ = nullptr;
};

}  // namespace qm
