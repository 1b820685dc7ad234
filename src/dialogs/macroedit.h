#pragma once
// The macro expression builder: the author picks macros from the catalogue,
// fills one edit per parameter and collects the calls into an expression,
// "Name(arg,arg);Name(arg)". Made, preset and run by
// TDialogFactory::RunMacroBuilder; a parameter named "macro" gets a "..."
// button that opens a nested builder for that argument.
#include <array>
#include <string>

#include "widgets/qmdialog.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qm {

class ListEditor;
class TDialogFactory;
class TMacros;
struct TMacroInfo;

inline constexpr int kMacroEditHelpContext = 245;
// The catalogue's own help file, in the program's folder.
inline constexpr const char* kMacrosHelpFile = "Macros.hlp";

class TfrmMacroEdit : public QmDialog {
    Q_OBJECT
public:
    // Lists `macros` (read, never changed) and shows the first of them.
    // `factory` makes the nested builder and names the program's folder.
    TfrmMacroEdit(TDialogFactory& factory, const TMacros& macros, QWidget* parent = nullptr);

    // Splits `expression` at ";" into the list of calls (a final ";" adds no
    // empty call) and loads the first. Call before running the dialog.
    void SetExpression(const std::string& expression);
    // The calls joined with ";"; set by OK.
    const std::string& Expression() const { return expression_; }

    // Loads line `row` of the call list: selects its macro in the catalogue,
    // shows it (the edits empty even when it was selected already) and puts
    // the arguments into the edits. A line without "(" or naming a macro
    // the catalogue lacks changes nothing.
    void LoadMacroCall(int row);

    QListWidget* lstMacros = nullptr;
    QLabel* lblDisplay = nullptr;
    std::array<QLabel*, 6> lblarg{};
    std::array<QLineEdit*, 6> txtarg{};
    QLabel* lblNoParams = nullptr;
    QPushButton* cmdBrowseMacro = nullptr;
    QListWidget* lstExpression = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdMacroHelp = nullptr;

protected:
    bool validate() override;
    void store() override;
    void updateEnabling() override;
    int helpContext() const override { return kMacroEditHelpContext; }

private:
    // The catalogue macro of lstMacros' current row; nullptr when none.
    const TMacroInfo* SelectedMacro() const;
    // Shows catalogue macro `row`: its syntax and one emptied row per parameter.
    void ShowMacro(int row);
    // The call of the selected macro with the edits' texts as its arguments.
    QString BuildCall() const;
    void AddClick();
    void UpdateClick();
    void RemoveClick();
    void MacroHelpClick();
    void BrowseMacroClick();

    TDialogFactory& factory_;
    const TMacros& macros_;
    ListEditor* expressionList_ = nullptr;
    std::array<QHBoxLayout*, 6> argRows_{};
    int macroParam_ = 0;  // 1 to 6: the row that cmdBrowseMacro edits; 0: none
    std::string expression_;
};

}  // namespace qm
