#pragma once
// The member list: the small list of tag, topic, popup, window or macro names
// that the topic editor offers while a tag is typed. It is a window of its
// own that never takes the focus (not a popup, which would grab the
// keyboard): the caret and the keys stay in the editor, whose window
// procedure drives it.
#include <QFrame>
#include <QIcon>
#include <QString>
#include <array>
#include <vector>

#include "preprocess/edittags.h"

class QListWidget;

namespace qm {

class TCustomRichText2;
class TMacros;
class TProject;

class TfrmVList : public QFrame {
    Q_OBJECT
public:
    // Made once, hidden, owned by the editor whose text it completes.
    explicit TfrmVList(TCustomRichText2* editor);

    QListWidget* lstVList = nullptr;
    // The glyphs: tag, window, topic, popup, macro.
    std::array<QIcon, 5> imlImages;

    // The kind of list now shown (TListKind); 0 until one is filled.
    int ListKind() const { return listKind_; }

    // The fill routines: each empties the list, adds the names of its kind
    // (sorted but for the tags) and remembers the kind.
    void ShowTopics(const TProject& project);
    void ShowPopups(const TProject& project);
    void ShowWindows(const TProject& project);
    void ShowTags();
    void ShowMacros(const TMacros& macros);
    void ShowAll(const TProject& project, const TMacros& macros);
    // The fill routine of `kind`; false (nothing filled) for another value.
    bool Fill(int kind, const TProject& project, const TMacros& macros);

    // Selects the first item that begins with what has been typed of it at
    // the caret, ASCII case ignored; none when no item does.
    void Narrow();
    // Narrow, or the first item when nothing fits (a list just shown).
    void SelectTyped();
    // The selected item's text; empty when none is selected.
    QString SelectedItem() const;
    // Puts the selected item into the editor as one undoable step: in place
    // of what has been typed of it on the caret's line, or at the caret.
    // Does nothing when no item is selected.
    void AcceptItem();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void fill(int kind, std::vector<TMemberItem> items);
    // The caret's line as the editor holds it and the caret's place in it.
    std::u16string caretLine(int* caret) const;

    TCustomRichText2* editor_;
    int listKind_ = 0;
    std::vector<TMemberItem> items_;
};

}  // namespace qm
