#include "mainwindow/findcommands.h"

#include <QAction>
#include <QTextCursor>
#include <QTreeWidget>
#include <algorithm>

#include "dialogs/findform.h"
#include "dialogs/replaceform.h"
#include "editor/richtext2.h"
#include "mainwindow/maincontext.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "widgets/actiontable.h"
#include "widgets/busycursor.h"
#include "widgets/icons.h"
#include "widgets/statusbar.h"

namespace qm {

namespace {

std::u16string ToUtf16(const QString& s) { return s.toStdU16String(); }

// The editor's search flags from the forms' option bits.
int SearchFlags(int options, bool forward) {
    int flags = 0;
    if (options & kOptWholeWords) flags |= kSearchWholeWord;
    if (options & kOptMatchCase) flags |= kSearchMatchCase;
    if (forward) flags |= kSearchDown;
    return flags;
}

TModuleScope ModuleScope(int scope) {
    return scope == kScopeTopics   ? TModuleScope::Topics
           : scope == kScopePopups ? TModuleScope::Popups
                                   : TModuleScope::All;
}

}  // namespace

QString ReplacementsMessage(int count) {
    return QStringLiteral("The specified region has been searched. %1 replacements were made.").arg(count);
}

void TFindCommands::CreateActions(ActionTable& table) {
    actFind = table.Add({"actFind", "&Find...", "Ctrl+F", "Find|Finds text in the topic, the topics or the project.",
                         "edit-find", [this] { actFindExecute(); }});
    actReplace = table.Add({"actReplace", "R&eplace...", "Ctrl+R",
                            "Replace|Replaces text in the topic, the topics or the project.", "edit-find-replace",
                            [this] { actReplaceExecute(); }});
    actFindNext = table.Add({"actFindNext", "Find &Next", "F3", "Find Next|Finds the next occurrence of the text.",
                             "find-next", [this] { actFindNextExecute(); }});
}

// --- the forms ------------------------------------------------------------------------------

void TFindCommands::ShowForm(TSearchForm* show, TSearchForm* hide) {
    if (!show) return;
    if (TRichText2* editor = ctx_.Editor()) {
        // A find text never spans lines, so only a selection on one line is taken.
        const QString selected = editor->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator) &&
            !selected.contains(QChar::LineSeparator))
            show->SetFindText(selected);
    }
    if (hide && hide->isVisible()) hide->hide();
    show->show();
    show->raise();
    show->activateWindow();
}

void TFindCommands::actFindExecute() { ShowForm(ctx_.FindForm(), ctx_.ReplaceForm()); }

void TFindCommands::actReplaceExecute() { ShowForm(ctx_.ReplaceForm(), ctx_.FindForm()); }

void TFindCommands::actFindNextExecute() {
    TSearchForm* form = ctx_.FindForm();
    if (!form) return;
    if (form->GetFindText().isEmpty()) {
        actFindExecute();
        return;
    }
    Search(*form);
}

void TFindCommands::FindDlgFind() {
    if (TSearchForm* form = ctx_.FindForm()) Search(*form);
}

void TFindCommands::ReplaceDlgFind() {
    if (TSearchForm* form = ctx_.ReplaceForm()) Search(*form);
}

// --- find ---------------------------------------------------------------------------------------

void TFindCommands::Search(TSearchForm& form) {
    const std::u16string text = ToUtf16(form.GetFindText());
    // Nothing to look for: no search, no box.
    if (text.empty()) return;
    ctx_.StoreCurrentModule();
    const int options = form.Options();
    const int scope = form.Scope();
    if (scope == kScopeCurrentText) {
        FindInCurrentText(text, options, SearchFlags(options, options & (kOptDown | kOptAll)));
        return;
    }
    // The module scopes run forward through each module, whatever the direction.
    FindInModules(form, text, ModuleScope(scope), SearchFlags(options, true));
}

void TFindCommands::FindInCurrentText(const std::u16string& text, int options, int flags) {
    TRichText2* editor = ctx_.Editor();
    if (!editor) return;
    const int length = editor->GetTextLen();
    const bool forward = flags & kSearchDown;
    int pos = -1;
    // Upward a hit must end at or before the selection's start: at 0 there
    // is nothing before it to search.
    if (forward || editor->GetSelStart() > 0) {
        const int start = forward ? editor->GetSelStart() + editor->GetSelLength() : editor->GetSelStart();
        pos = editor->FindText(std::u16string_view(text), start, length, flags);
        if (pos == -1 && (options & kOptAll)) pos = editor->FindText(std::u16string_view(text), 0, length, flags);
    }
    if (pos == -1) {
        ctx_.Ui().Information(QString::fromLatin1(kMsgNoMoreMatches));
        return;
    }
    editor->SetSelStart(pos);
    editor->SetSelLength(static_cast<int>(text.size()));
    // While the form is active the editor does not draw its selection: the mark shows the hit.
    MarkHit(pos, static_cast<int>(text.size()));
}

void TFindCommands::MarkHit(int start, int length) {
    TRichText2* editor = ctx_.Editor();
    // A focused editor draws its selection: no mark to linger while typing.
    if (!editor || editor->hasFocus()) return;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(editor->document());
    mark.cursor.setPosition(start);
    mark.cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    mark.format.setBackground(QColor(255, 255, 0));
    mark.format.setForeground(QColor(0, 0, 0));
    editor->setExtraSelections({mark});
}

void TFindCommands::FindInModules(TSearchForm& form, const std::u16string& text, TModuleScope scope, int flags) {
    const BusyCursor busy;
    ctx_.Status().SetStatus(QString::fromLatin1(kStatusSearching));
    if (!ctx_.PaneShown(Pane::Messages)) {
        ctx_.ShowPane(Pane::Messages, true);
        ctx_.Actions().RequestUpdate();
    }
    form.hide();
    ctx_.ClearSearchResults();
    ctx_.ShowOutput(OutputTab::Search);

    TProject& project = ctx_.Project();
    const std::vector<TSearchHit> hits = qm::FindInModules(project.Topics, scope, text, flags, cache_);
    QTreeWidget* list = ctx_.SearchList();
    const QIcon topicIcon = imlCommands().Glyph(kGlyphTopic);
    const QIcon popupIcon = imlCommands().Glyph(kGlyphPopup);
    const QIcon* hitIcon = &topicIcon;
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(hits.size()) + 1);
    // The hits come module by module in list order: one walk along the list
    // names them all.
    auto node = project.Topics.begin();
    TNodeId lastId = 0;
    QString name;
    for (const TSearchHit& hit : hits) {
        if (hit.Node != lastId) {
            while (node != project.Topics.end() && (*node)->Id() != hit.Node) ++node;
            name = node != project.Topics.end() ? FromCp1252((*node)->GetName()) : QString();
            hitIcon = node != project.Topics.end() && (*node)->IsPopup() ? &popupIcon : &topicIcon;
            lastId = hit.Node;
        }
        auto* row = new QTreeWidgetItem(QStringList{name, QString::number(hit.Offset), QString::number(hit.Length)});
        row->setIcon(0, *hitIcon);
        row->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(hit.Node));
        rows << row;
    }
    auto* total = new QTreeWidgetItem(QStringList{QStringLiteral("Total matches: %1").arg(hits.size())});
    total->setIcon(0, QmIcon(QStringLiteral("dialog-information")));
    rows << total;
    // One insertion for all rows: a search with many hits never inserts row by row.
    list->addTopLevelItems(rows);
    ctx_.Status().SetReady();
}

void TFindCommands::lvwFindDblClick() {
    QTreeWidget* list = ctx_.SearchList();
    QTreeWidgetItem* row = list ? list->currentItem() : nullptr;
    if (!row) return;
    const TNodeId id = row->data(0, Qt::UserRole).toULongLong();
    if (id == 0) return;  // the total row
    if (!ctx_.Project().Topics.FindById(id)) {
        ctx_.Ui().Information(QString::fromLatin1(kMsgModuleGone));
        return;
    }
    ctx_.GotoModule(id);
    TRichText2* editor = ctx_.Editor();
    if (!editor || ctx_.CurrentModule() != id) return;
    // The module may have changed since the search: the hit is kept inside the text.
    const int length = editor->GetTextLen();
    const int offset = std::clamp(row->text(1).toInt(), 0, length);
    const int count = std::clamp(row->text(2).toInt(), 0, length - offset);
    editor->SetSelStart(offset);
    editor->SetSelLength(count);
    MarkHit(offset, count);
    list->setFocus();
}

// --- replace ------------------------------------------------------------------------------------

void TFindCommands::ReplaceDlgReplace() {
    TfrmReplace* form = ctx_.ReplaceForm();
    if (!form) return;
    const std::u16string text = ToUtf16(form->GetFindText());
    if (text.empty()) return;
    const std::u16string replacement = ToUtf16(form->GetReplaceText());
    ctx_.StoreCurrentModule();
    TRichText2* editor = ctx_.Editor();

    if (form->ReplaceAll() == 0) {
        // Replace: the selection, whatever it holds (normally the last hit).
        if (!editor || editor->GetSelLength() == 0) return;
        const int start = editor->GetSelStart();
        editor->SetSelText(std::u16string_view(replacement));
        editor->SetSelStart(start);
        editor->SetSelLength(static_cast<int>(replacement.size()));
        MarkHit(start, static_cast<int>(replacement.size()));
        return;
    }

    // Replace All always searches each text forward from its start.
    const int flags = SearchFlags(form->Options(), true);
    int total = 0;
    if (form->Scope() == kScopeCurrentText) {
        if (!editor) return;
        const BusyCursor busy;
        std::u16string plain = editor->GetCharText();
        if (SearchNeedsFolding(flags)) plain = FoldSearchText(plain);
        const std::vector<TTextEdit> edits = ReplaceAllEdits(plain, text, flags, replacement);
        editor->ApplyEdits(edits);
        total = static_cast<int>(edits.size());
    } else {
        const BusyCursor busy;
        ctx_.Status().SetStatus(QString::fromLatin1(kStatusReplacing));
        form->hide();
        ctx_.ClearSearchResults();
        ctx_.ShowOutput(OutputTab::Search);
        const TTextMatcher matcher(text, flags);
        TModuleEdit edit;
        edit.options = flags;
        edit.plan = [&](std::u16string_view searchText) { return matcher.ReplaceAllEdits(searchText, replacement); };
        edit.apply = [&](std::string& rtf, const CharFormat& plain) {
            return ReplaceAllInRtf(rtf, text, flags, replacement, plain);
        };
        total = EditModules(ModuleScope(form->Scope()), edit);
        ctx_.Status().SetReady();
    }
    // Also when the open module was outside the scope: the project changed.
    if (total > 0) ctx_.Project().Modified = true;
    ctx_.Ui().Information(ReplacementsMessage(total));
}

int TFindCommands::EditModules(TModuleScope scope, const TModuleEdit& edit) {
    TProject& project = ctx_.Project();
    TRichText2* editor = ctx_.Editor();
    const TNodeId current = ctx_.CurrentModule();
    const CharFormat plainFormat = editor ? editor->defaultCharFormat() : CharFormat();
    const int count = project.Topics.Count();
    int total = 0;
    for (int i = 0; i < count; ++i) {
        if (edit.progress) edit.progress(i, count);
        TTopicNode& node = project.Topics.GetNode(i);
        if (!InModuleScope(node, scope)) continue;
        if (node.Id() == current && editor) {
            // The open module changes in the editor, as one undoable step,
            // and is stored from there.
            std::u16string plain = editor->GetCharText();
            if (SearchNeedsFolding(edit.options)) plain = FoldSearchText(plain);
            const std::vector<TTextEdit> edits = edit.plan(plain);
            if (edits.empty()) continue;
            editor->ApplyEdits(edits);
            ctx_.StoreCurrentModule();
            total += static_cast<int>(edits.size());
            continue;
        }
        // A module without a hit is neither read again nor written.
        if (edit.plan(cache_.SearchText(node, edit.options)).empty()) continue;
        total += edit.apply(node.Text, plainFormat);
    }
    return total;
}

// --- the link update ----------------------------------------------------------------------------

int TFindCommands::UpdateLinks(const std::string& oldText, const std::string& newText) {
    const BusyCursor busy;
    ctx_.StoreCurrentModule();
    StatusPanels& status = ctx_.Status();
    status.SetStatus(QString::fromLatin1(kStatusUpdatingLinks));
    const TLinkRule rule(Cp1252ToUtf16(oldText), Cp1252ToUtf16(newText));
    int dots = 0;
    TModuleEdit edit;
    edit.options = 0;  // ignoring case, parts of words too
    edit.plan = [&](std::u16string_view folded) { return rule.Edits(folded); };
    edit.apply = [&](std::string& rtf, const CharFormat& plain) { return rule.ApplyToRtf(rtf, plain); };
    edit.progress = [&](int i, int count) {
        const int d = static_cast<int>(static_cast<double>(i) / count * 25);
        if (d <= dots) return;
        dots = d;
        status.SetStatus(QString::fromLatin1(kStatusUpdatingLinks) + QString(d, QLatin1Char('.')));
    };
    const int total = EditModules(TModuleScope::All, edit);
    if (total > 0) ctx_.Project().Modified = true;
    status.SetReady();
    return total;
}

}  // namespace qm
