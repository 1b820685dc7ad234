// The messages pane: the build log, the compiler's report and the search
// results.
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <functional>

#include "dialogs/replaceform.h"
#include "editor/richtext2.h"
#include "mainwindow/findcommands.h"
#include "mainwindow/mainwindow.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/fileio.h"
#include "widgets/icons.h"

namespace qm {

// --- messages pane ------------------------------------------------------------------------------

void TfrmMain::ClearBuildLog() {
    // The tree's rows name log entries by index, so they go with the log.
    if (log_) log_->Clear();
    tvwQuillmark->clear();
}

void TfrmMain::ShowLogTree(int milliseconds) {
    tvwQuillmark->clear();
    for (const TLogRow& row : log_->ShowLog(milliseconds)) {
        auto* item = new QTreeWidgetItem(tvwQuillmark, QStringList{FromCp1252(row.Text)});
        item->setData(0, Qt::UserRole, row.Entry);
        item->setIcon(0, imlMisc().Glyph(row.ImageIndex));
    }
}

void TfrmMain::tsOutputsChange(int index) {
    tvwQuillmark->setVisible(index == 0);
    tvwHCRTF->setVisible(index == 1);
    lvwFind->setVisible(index == 2);
}

void TfrmMain::tvwQuillmarkDblClick() {
    QTreeWidgetItem* item = tvwQuillmark->currentItem();
    if (!item) return;
    RemoveSearchHighlights();
    const int entry = item->data(0, Qt::UserRole).toInt();
    if (entry < 0 || entry >= log_->Count()) return;
    const TError error = log_->Entry(entry);
    const TTopicNode* node = project_->Topics.FindById(error.Topic);
    if (!node) {
        ui_.Information(QString::fromLatin1(kMsgModuleGone));
        return;
    }
    QListWidget* list = node->IsPopup() ? lstPopups : lstTopics;
    tbsProject->setCurrentIndex(node->IsPopup() ? 1 : 0);
    SelectListRow(list, node->Id());
    OpenSelectedItem(list);

    int pos = -1;
    const int length = TheEditor->GetTextLen();
    for (int i = 0; i < error.Occurrence; ++i) {
        pos = TheEditor->FindText(error.Text, pos + 1, length - (pos + 1), kFindDown);
        if (pos == -1) break;
    }
    if (pos == -1) return;
    // The marking is an extra selection: it never touches the text, the
    // modified flag or the undo history, so it cannot reach a save or build.
    const QTextBlock block = TheEditor->document()->findBlock(pos);
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    mark.format.setBackground(QColor(255, 0, 0));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    TheEditor->setExtraSelections({mark});
    TheEditor->SetSelStart(block.position());
    TheEditor->SetSelLength(0);
    tvwQuillmark->setFocus();
}

TfrmFind* TfrmMain::FindForm() const { return frmFind; }

TfrmReplace* TfrmMain::ReplaceForm() const { return frmReplace; }

int TfrmMain::UpdateLinks(const std::string& oldText, const std::string& newText) {
    return findCommands_->UpdateLinks(oldText, newText);
}

void TfrmMain::RemoveSearchHighlights() {
    if (TheEditor) TheEditor->setExtraSelections({});
}

void TfrmMain::SaveOutput(int tab) {
    QTreeWidget* tree = tab == 1 ? tvwHCRTF : tvwQuillmark;
    FileDialogRequest req;
    req.caption = QStringLiteral("Save Output");
    req.filter = QStringLiteral("Text files (*.txt)");
    req.fileName = tab == 1 ? QStringLiteral("HCRTFLog.txt") : QStringLiteral("QuillmarkLog.txt");
    req.defaultSuffix = QStringLiteral("txt");
    req.confirmOverwrite = true;
    const std::optional<QString> chosen = ui_.SaveFileName(req);
    if (!chosen) return;
    std::string text;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        text += ToCp1252(item->text(0));
        text += "\r\n";
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i) walk(tree->topLevelItem(i));
    try {
        WriteFileAtomic(ToCp1252(*chosen), text);
    } catch (const std::exception& e) {
        ui_.ErrorBox(FromCp1252(e.what()));
    }
}

OutputTab TfrmMain::CurrentOutput() const { return static_cast<OutputTab>(tsOutputs->currentIndex()); }

void TfrmMain::ShowOutput(OutputTab tab) { tsOutputs->setCurrentIndex(static_cast<int>(tab)); }

void TfrmMain::ShowCompilerReport(const StringList& lines) {
    tvwHCRTF->clear();
    for (const std::string& line : lines) new QTreeWidgetItem(tvwHCRTF, QStringList{FromCp1252(line)});
}

void TfrmMain::ClearCompilerReport() { tvwHCRTF->clear(); }

void TfrmMain::ClearSearchResults() { lvwFind->clear(); }

void TfrmMain::ClearOutputs() {
    ClearBuildLog();
    tvwHCRTF->clear();
    lvwFind->clear();
}

void TfrmMain::ShowImportNotes(const StringList& lines) {
    tvwQuillmark->clear();
    for (const std::string& line : lines) {
        auto* item = new QTreeWidgetItem(tvwQuillmark, QStringList{FromCp1252(line)});
        item->setData(0, Qt::UserRole, -1);  // no log entry: a double-click leads nowhere
        item->setIcon(0, QmIcon(QStringLiteral("dialog-information")));
    }
}

}  // namespace qm
