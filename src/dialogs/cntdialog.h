#pragma once
// The base of the contents-file dialogs: the five entry dialogs (header,
// topic, comment, include, macro) and the file properties with its three
// record dialogs. Each is a form of labelled fields over OK, Cancel and Help
// whose OK first refuses any field that its line in the file could not hold
// (CntRefusedChar), so that what is saved reads back as it was written.
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "formats/cntfile.h"
#include "widgets/qmdialog.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class TDialogFactory;
class TMacros;
class TProject;

// The refusal of `text` in the field labelled `label` (its "&" dropped):
// "The <label> cannot hold "<c>" in a contents file." or, for CR and LF,
// "The <label> cannot hold a line break."; nullopt when the field can hold it.
std::optional<QString> CntFieldRefusal(const QString& label, TCntField field, const QString& text);

class TCntDialog : public QmDialog {
    Q_OBJECT
public:
    TCntDialog(UiServices& ui, const QString& formName, const QString& caption, int helpContext, QWidget* parent);

protected:
    int helpContext() const override { return helpContext_; }

    // The OK rule: OK is enabled exactly while it holds.
    virtual bool okRule() const { return true; }
    // The checks of the fields, in tab order (each through CheckField).
    virtual bool checkFields() { return true; }
    bool validate() override;
    void updateEnabling() override;

    // Refuses `text` of `control` (see CntFieldRefusal) and gives the control
    // the focus; false after a refusal.
    bool CheckField(QWidget* control, const QString& label, TCntField field, const QString& text);

    QLineEdit* MakeEdit(const QString& name, QWidget* parent = nullptr);
    // A label with `caption` for `buddy`, named "lbl" + the buddy's name
    // without its three-letter prefix.
    QLabel* MakeLabel(const QString& caption, QWidget* buddy, QWidget* parent = nullptr);
    // The narrow "&..." button of a browse row.
    QPushButton* MakeBrowseButton(const QString& name, QWidget* parent = nullptr);
    // A group box with `caption` holding `field` (and `button` beside it).
    QGroupBox* MakeGroup(const QString& name, const QString& caption, QWidget* field, QWidget* button = nullptr);
    // The file chosen in an open dialog that takes existing files only;
    // nullopt when cancelled. `filter` is in the Windows form.
    std::optional<QString> BrowseFile(const QString& title, const QString& filter, const QString& extension,
                                      const QString& preset = {});
    // Makes `button` browse for an existing file and put it into `edit`,
    // starting from the name the edit holds.
    void ConnectBrowse(QPushButton* button, QLineEdit* edit, const QString& title, const QString& filter,
                       const QString& extension);

    // The fields above the buttons.
    QGridLayout* grid_ = nullptr;

private:
    int helpContext_;
};

// The base of the five entry dialogs: preset from an entry when one is
// edited, and the copy of the dialog's fields into an entry after OK.
class TCntEntryDialog : public TCntDialog {
    Q_OBJECT
public:
    using TCntDialog::TCntDialog;
    // Fills the controls from `entry` (an entry being edited).
    virtual void LoadEntry(const TCntNode& entry) = 0;
    // Copies the controls into the entry's fields of this kind; run only
    // after OK. A new entry is made of its kind and then given them.
    virtual void SaveEntry(TCntNode& entry) const = 0;
};

// The entry dialog of `kind` for one use. `project` gives the topic and
// window names of the topic dialog; `macros` serves the macro dialog's
// builder. Both are read, never changed.
std::unique_ptr<TCntEntryDialog> MakeCntEntryDialog(TCntNodeKind kind, TDialogFactory& factory, const TProject& project,
                                                    const TMacros& macros, QWidget* parent);

}  // namespace qm
