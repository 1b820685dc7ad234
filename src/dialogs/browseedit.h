#pragma once
// Browse Sequence Editor: rebuilds the browse sequences from the topics'
// browse strings, lets the author make, remove and arrange them, and on OK
// writes fresh strings into every topic. Made and run by
// TDialogFactory::RunBrowseEditor.
#include <QStringList>

#include "model/browsesequences.h"
#include "widgets/qmdialog.h"

class QListWidget;
class QPushButton;

namespace qm {

class TProject;

inline constexpr const char* kMsgInvalidBrowseId = "Invalid browse sequence identifier.";
inline constexpr const char* kMsgBrowseIdSpaces = "No spaces are allowed in browse sequence identifiers.";
inline constexpr const char* kMsgBrowseIdTooLong = "Browse sequence identifiers are limited to 45 characters.";

class TfrmBrowseEdit : public QmDialog {
    Q_OBJECT
public:
    TfrmBrowseEdit(UiServices& ui, TProject& project, QWidget* parent = nullptr);

    // The sequences of this opening; owned by the dialog.
    TBrowseSequences BrowseSequences;

    // The checks of a new sequence name, with their messages.
    bool ValidateSequenceName(const QString& name);

    // The commands, as the buttons, keys and double clicks run them.
    void NewClick();
    void RemoveClick();
    void IncludeOneClick();
    void IncludeAllClick();
    void ExcludeOneClick();
    void ExcludeAllClick();
    void UpClick();
    void DownClick();
    // Drops: a row of lstIncTopics moved to `row`; the selected available
    // topic put at `row` (-1: below the rows); an included row dropped on
    // the available list.
    void DropWithinIncluded(int row);
    void DropFromAvailable(int row);
    void DropOnAvailable() { ExcludeOneClick(); }

    QListWidget* lstBrSeq = nullptr;
    QListWidget* lstIncTopics = nullptr;
    QListWidget* lstAvTopics = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* cmdIncludeOne = nullptr;
    QPushButton* cmdIncludeAll = nullptr;
    QPushButton* cmdExcludeOne = nullptr;
    QPushButton* cmdExcludeAll = nullptr;

protected:
    bool validate() override;
    void store() override;
    int helpContext() const override { return 240; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TBrowseSequence* Selected();
    void ShowSequence();
    // Puts an available topic's name at its sorted place.
    void AddAvailable(TNodeId id);
    TNodeId AvailableAt(int row) const;
    QString NameOf(TNodeId id) const;

    TProject& project_;
};

}  // namespace qm
