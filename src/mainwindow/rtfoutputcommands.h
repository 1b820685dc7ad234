#pragma once
// The commands of the Rich Text Output pane, which shows the open module's
// RTF source in the memo txtRtf: Update puts the memo's text into the editor,
// Refresh the editor's RTF into the memo; the others act on the memo.
#include <string_view>

#include "mainwindow/commandhandler.h"

class QAction;

namespace qm {

class TViewCommands;

inline constexpr const char* kMsgStreamRtf =
    "You are about to stream new contents to the editor and this action cannot be undone.\r\nContinue?";
inline constexpr const char* kMsgNotRtf = "The text is not valid RTF. The topic was not changed.";

// True when the editor can take `text` as RTF: it starts with "{\rtf" and the
// reader accepts it.
bool IsLoadableRtf(std::string_view text);

class TRtfOutputCommands : public TCommandHandler {
public:
    TRtfOutputCommands(TMainContext& context, TViewCommands& view) : TCommandHandler(context), view_(view) {}

    void CreateActions(ActionTable& table) override;
    void UpdateActions() override;

    // After the question, the memo's text replaces the editor's content and
    // the project is modified. Text that is not RTF is refused: loaded as
    // plain text, it would put the source into the topic for good.
    void actRtfUpdateExecute();
    // The editor's RTF into the memo, its caret kept.
    void actRtfRefreshExecute();
    // Hides the pane, as the Rich Text Output toggle does.
    void actRtfCloseExecute();

    QAction* actRtfUpdate = nullptr;
    QAction* actRtfRefresh = nullptr;
    QAction* actRtfClose = nullptr;
    QAction* actRtfSelectAll = nullptr;
    QAction* actRtfCopy = nullptr;
    QAction* actRtfCut = nullptr;
    QAction* actRtfPaste = nullptr;
    QAction* actRtfUndo = nullptr;

private:
    TViewCommands& view_;
};

}  // namespace qm
