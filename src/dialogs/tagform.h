#pragma once
// The base of the eight insert-tag forms, and what they share: each form is
// preset from a TTagPreset, keeps OK off until its rule holds, and builds its
// tag in GetTag once accepted. The forms never change the project.
#include <initializer_list>
#include <optional>
#include <string>

#include <QString>

#include "dialogs/tagdialogs.h"
#include "widgets/qmdialog.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

class TDialogFactory;
class TMacros;
class TProject;

class TTagForm : public QmDialog {
    Q_OBJECT
public:
    // `caption` is the window title; OK starts off.
    TTagForm(UiServices& ui, const QString& formName, const QString& caption, int helpContext, QWidget* parent);

    // Fills the controls from `preset` (see tagdialogs.h for what each form reads).
    virtual void Preset(const TTagPreset& preset) = 0;
    // The tag the controls describe.
    virtual std::string GetTag() const = 0;
    // The image file of an image or image hotspot as typed or chosen; empty
    // when the tag has none.
    virtual std::string ImageFile() const { return {}; }
    // GetTag and ImageFile together.
    TTagResult Result() const { return {GetTag(), ImageFile()}; }

protected:
    // The form's OK rule; OK is enabled exactly while it holds.
    virtual bool okRule() const = 0;
    // The checks beyond the OK rule (each refusing with its message).
    virtual bool extraChecks() { return true; }

    bool validate() override;
    void updateEnabling() override;
    int helpContext() const override { return helpContext_; }

    // A label with mnemonic `caption` for `buddy`, named "lbl" + the buddy's
    // name without its three-letter prefix.
    QLabel* MakeLabel(const QString& caption, QWidget* buddy);
    QLineEdit* MakeEdit(const QString& name);
    // The "..." button of a browse row.
    QPushButton* MakeBrowseButton(const QString& name);
    // Tab goes through `widgets` in this order.
    void ChainTabOrder(std::initializer_list<QWidget*> widgets);
    // An editable combo box that never adds what is typed to its list.
    QComboBox* MakeNameCombo(const QString& name);

    // Asks for a file with the open dialog; the chosen path goes into `edit`.
    void BrowseFile(QLineEdit* edit, const QString& title, const QString& windowsFilter, const QString& extension,
                    const QString& folder = {});
    // Asks for an image ("All image files|*.bmp;*.shg;*.wmf;*.emf|..."),
    // starting in the project's first image folder, else its file's folder.
    void BrowseImage(QLineEdit* edit, const QString& title, const TProject& project);

    // The first two columns of a form's grid: label and field, with room for
    // a button in the third.
    QGridLayout* grid_ = nullptr;

private:
    int helpContext_;
};

// Runs the macro builder on `edit`'s trimmed text; its expression replaces
// the text when accepted. `owner` is the builder's parent.
void BrowseMacroInto(TDialogFactory& factory, const TMacros& macros, QLineEdit* edit, QWidget* owner);

// Presets an editable name box: the item with exactly this text when there is
// one, else the text itself (a name the list lacks stays as it is).
void PresetNameCombo(QComboBox* combo, const QString& text);

// The image placement that `combo` (items Character, Left, Right) shows.
TImageAlign AlignOf(const QComboBox* combo);
// A combo box with the items "Character", "Left", "Right".
void FillAlignCombo(QComboBox* combo);

}  // namespace qm
