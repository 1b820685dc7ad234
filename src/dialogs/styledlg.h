#pragma once
// "Styles": lists the program's styles with a preview and a description,
// and creates, changes, removes and reorders them. It edits the list it is
// given as it goes: a new, changed or removed style stays whichever button
// closes the dialog. Apply closes it with the request to apply the selected
// style (Accepted()); Done closes it without. Made, preset and run by
// TDialogFactory::RunStyles, which also runs its nested dialogs.
#include "model/styles.h"
#include "widgets/qmdialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace qm {

class TDialogFactory;

inline constexpr int kStylesHelpContext = 200;
inline constexpr const char* kMsgTooManyStyles = "There can be at most 25 styles. Remove one before adding another.";
inline constexpr const char* kNewStyleName = "NewStyle";

class TfrmStyles : public QmDialog {
    Q_OBJECT
public:
    // Lists `styles`, which the dialog changes in place.
    TfrmStyles(TDialogFactory& factory, TStyles& styles, QWidget* parent = nullptr);

    // Selects line `line` (0-based; the first line when out of range).
    void SelectLine(int line);
    // The selected line; -1 when none.
    int SelectedLine() const;
    // The font a new style starts with; none (empty name): the new style's
    // font stays empty.
    TFontInfo DefaultFont;

    void cmdNewStyleClick();
    void cmdModifyStyleClick();
    void cmdRemoveStyleClick();
    void cmdReorganizeClick();

    QListWidget* lstStyles = nullptr;
    QLabel* pbSample = nullptr;
    QLabel* pbDescription = nullptr;
    QPushButton* cmdNewStyle = nullptr;
    QPushButton* cmdModifyStyle = nullptr;
    QPushButton* cmdRemoveStyle = nullptr;
    QPushButton* cmdReorganize = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdDone = nullptr;

protected:
    void updateEnabling() override;
    int helpContext() const override { return kStylesHelpContext; }

private:
    void fillList();
    void showSelected();
    void addLine(const TStyle& style);
    void setLine(int line, const TStyle& style);

    TDialogFactory& factory_;
    TStyles& styles_;
};

}  // namespace qm
