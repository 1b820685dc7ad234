#pragma once
// The topic entry of a contents file: its title, the topic it opens (in this
// help file or another one) and the window it opens in.
#include <string>

#include "dialogs/cntdialog.h"

class QComboBox;
class QRadioButton;

namespace qm {

inline constexpr int kNewTopicHelpContext = 300;

class TfrmNewTopic : public TCntEntryDialog {
    Q_OBJECT
public:
    // The topic box lists the project's topics (not its popups), the window
    // box its windows, both sorted; the author may type other names.
    TfrmNewTopic(UiServices& ui, const TProject& project, QWidget* parent = nullptr);

    // A new entry: "Link to this help file", the contents topic's name
    // (empty: none), no window.
    void PresetNew(const std::string& contentsTopic);
    void LoadEntry(const TCntNode& entry) override;
    // TopicId, Title, Window and HelpFile.
    void SaveEntry(TCntNode& entry) const override;
    // The help file that OK stored: the typed one with optLinkOut, else empty.
    const std::string& HelpFile() const { return helpFile_; }

    QLineEdit* txtTitle = nullptr;
    QRadioButton* optLinkIn = nullptr;
    QRadioButton* optLinkOut = nullptr;
    QLineEdit* txtHelpFile = nullptr;
    QPushButton* cmdBrowseFile = nullptr;
    QComboBox* cboTopic = nullptr;
    QComboBox* cboWindow = nullptr;

protected:
    bool okRule() const override;
    bool checkFields() override;
    void store() override;

private:
    // The help-file row follows the radio buttons: off and grey for this
    // help file, on and white for another one.
    void ShowLinkChoice();
    void BrowseFileClick();
    std::string helpFile_;
};

}  // namespace qm
