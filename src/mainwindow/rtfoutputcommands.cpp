#include "mainwindow/rtfoutputcommands.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/viewcommands.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "richtext/richdoc.h"
#include "widgets/actiontable.h"

namespace qm {

bool IsLoadableRtf(std::string_view text) {
    if (!LooksLikeRtf(text)) return false;
    try {
        ReadRtf(text);
    } catch (const ERtfError&) {
        return false;
    }
    return true;
}

void TRtfOutputCommands::CreateActions(ActionTable& table) {
    auto memo = [this] { return ctx_.RtfMemo(); };
    actRtfUpdate = table.Add({"actRtfUpdate", "Update", "", "Update|Puts the RTF text into the editor.", "rtf-apply",
                              [this] { actRtfUpdateExecute(); }});
    actRtfRefresh = table.Add({"actRtfRefresh", "Refresh", "", "Refresh|Shows the editor's RTF text again.",
                               "view-refresh", [this] { actRtfRefreshExecute(); }});
    actRtfClose = table.Add({"actRtfClose", "Close", "", "Close|Hides the rich text output.", "pane-close",
                             [this] { actRtfCloseExecute(); }});
    actRtfSelectAll = table.Add({"actRtfSelectAll", "Select All", "", "Select All|Selects the whole RTF text.",
                                 "edit-select-all", [memo] { memo()->selectAll(); }});
    actRtfCopy = table.Add(
        {"actRtfCopy", "Copy", "", "Copy|Copies the selected RTF text.", "edit-copy", [memo] { memo()->copy(); }});
    actRtfCut =
        table.Add({"actRtfCut", "Cut", "", "Cut|Cuts the selected RTF text.", "edit-cut", [memo] { memo()->cut(); }});
    actRtfPaste = table.Add(
        {"actRtfPaste", "Paste", "", "Paste|Pastes into the RTF text.", "edit-paste", [memo] { memo()->paste(); }});
    actRtfUndo = table.Add({"actRtfUndo", "Undo", "", "Undo|Undoes the last change of the RTF text.", "edit-undo",
                            [memo] { memo()->undo(); }});
}

void TRtfOutputCommands::UpdateActions() {
    const QPlainTextEdit* memo = ctx_.RtfMemo();
    if (!memo) return;
    const bool selected = memo->textCursor().hasSelection();
    actRtfCopy->setEnabled(selected);
    actRtfCut->setEnabled(selected);
    actRtfUndo->setEnabled(memo->document()->isUndoAvailable());
}

void TRtfOutputCommands::actRtfUpdateExecute() {
    const std::string text = ToCp1252(ctx_.RtfMemo()->toPlainText());
    // Asked only about text the editor can take: anything else would be
    // refused after the user agreed.
    if (!IsLoadableRtf(text)) {
        ctx_.Ui().Information(QString::fromLatin1(kMsgNotRtf));
        return;
    }
    if (ctx_.Ui().Confirm(QString::fromLatin1(kMsgStreamRtf)) != MsgResult::Yes) return;
    ctx_.Editor()->SetRtfText(text);
    ctx_.Project().Modified = true;
    ctx_.RefreshGutter();
}

void TRtfOutputCommands::actRtfRefreshExecute() {
    QPlainTextEdit* memo = ctx_.RtfMemo();
    const int caret = memo->textCursor().position();
    memo->setPlainText(FromCp1252(ctx_.Editor()->GetRtfText()));
    memo->setFocus();
    QTextCursor c = memo->textCursor();
    c.setPosition(std::clamp(caret, 0, memo->document()->characterCount() - 1));
    memo->setTextCursor(c);
}

void TRtfOutputCommands::actRtfCloseExecute() { view_.actToggleRtf->trigger(); }

}  // namespace qm
