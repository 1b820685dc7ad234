#include "mainwindow/tagcommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "dialogs/dialogfactory.h"
#include "editor/richtext2.h"
#include "editor/tagtextcache.h"
#include "editor/vlist.h"
#include "mainwindow/editorwndproc.h"
#include "mainwindow/maincontext.h"
#include "model/options.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/cp1252.h"
#include "widgets/actiontable.h"
#include "widgets/commandguard.h"

namespace qm {

namespace {

QString ToQt(std::u16string_view s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// The selection as the editor holds it, what the code page lacks included.
QString SelectionOf(const TRichText2& editor) { return editor.textCursor().selectedText(); }

// The flag words of a SOUND or VIDEO tag: the parts between the name and
// the file, so a file named like a flag sets none.
bool HasFlag(const TTagInfo& info, std::string_view flag) {
    for (std::size_t i = 1; i + 1 < info.Parts.size(); ++i)
        if (info.Parts[i] == flag) return true;
    return false;
}

}  // namespace

TTagPreset PresetForTag(TTagEditKind kind, const TTagInfo& info, std::string_view nameAsWritten) {
    TTagPreset p;
    auto part = [&](std::size_t i) { return i < info.Parts.size() ? info.Parts[i] : std::string(); };
    const std::string name = info.Name();
    switch (kind) {
        case TTagEditKind::TopicLink: {
            const std::string value = part(2);
            const std::size_t colon = value.find(':');
            p.Topic = value.substr(0, colon);
            p.Anchor = colon == std::string::npos ? std::string() : value.substr(colon + 1);
            // No WINDOW= in the tag: none is added.
            p.Window = info.After("WINDOW").value_or(std::string());
            p.File = info.After("FILE").value_or(std::string());
            p.Hotspot = info.InnerText;
            p.UserDefined = name == "ULINK";
            break;
        }
        case TTagEditKind::PopupLink:
            p.Popup = part(2);
            p.File = info.After("FILE").value_or(std::string());
            p.Hotspot = info.InnerText;
            p.UserDefined = name == "ULINK";
            break;
        case TTagEditKind::Macro:
            p.Macro = part(1);
            p.Hotspot = info.InnerText;
            p.UserDefined = name == "UMACRO";
            break;
        case TTagEditKind::Button:
            p.Macro = part(1);
            p.Caption = info.InnerText;
            break;
        case TTagEditKind::Image:
            p.Image = part(1);
            p.ImageTagName = nameAsWritten.empty() ? name : std::string(nameAsWritten);
            break;
        case TTagEditKind::Rtf:
            p.Rtf = part(1);
            p.SingleLine = true;
            break;
        case TTagEditKind::Sound:
        case TTagEditKind::Video:
            p.External = HasFlag(info, "EXTERNAL");
            p.AutoPlay = HasFlag(info, "PLAY");
            p.Repeat = HasFlag(info, "REPEAT");
            p.Menu = HasFlag(info, "MENU");
            p.PlayBar = HasFlag(info, "PLAYBAR");
            p.MediaFile = info.Parts.empty() ? std::string() : info.Parts.back();
            break;
        case TTagEditKind::Anchor:
        case TTagEditKind::None: break;
    }
    return p;
}

TTagCommands::TTagCommands(TMainContext& context) : TCommandHandler(context) {}

TTagCommands::~TTagCommands() { RemoveEditorProc(); }

void TTagCommands::CreateActions(ActionTable& table) {
    actAddTopicLink =
        table.Add({"actAddTopicLink", "Topic &Link", "Ctrl+Shift+L", "Topic Link|Inserts a link to a topic.",
                   "tag-topic-link", [this] { actAddTopicLinkExecute(); }});
    actAddPopupLink =
        table.Add({"actAddPopupLink", "&Popup Link", "Ctrl+Shift+P", "Popup Link|Inserts a link that shows a popup.",
                   "tag-popup-link", [this] { actAddPopupLinkExecute(); }});
    actAddNoScroll = table.Add({"actAddNoScroll", "&Non-Scrolling Region", "Ctrl+Shift+N",
                                "Non-Scrolling Region|Puts the selection in the topic's non-scrolling region.",
                                "tag-non-scroll", [this] { actAddNoScrollExecute(); }});
    actAddAnchor =
        table.Add({"actAddAnchor", "&Anchor", "Ctrl+Shift+A", "Anchor|Inserts an anchor that links can jump to.",
                   "tag-anchor", [this] { actAddAnchorExecute(); }});
    actAddMacro = table.Add({"actAddMacro", "Ma&cro", "Ctrl+Shift+M", "Macro|Inserts a hotspot that runs a macro.",
                             "tag-macro", [this] { actAddMacroExecute(); }});
    actAddBitmap = table.Add({"actAddBitmap", "&Image", "Ctrl+Shift+I", "Image|Inserts an image.", "tag-image",
                              [this] { actAddBitmapExecute(); }});
    actAddButton = table.Add({"actAddButton", "&Button", "Ctrl+Shift+B", "Button|Inserts a button that runs a macro.",
                              "tag-button", [this] { actAddButtonExecute(); }});
    actAddSound = table.Add(
        {"actAddSound", "&Sound", "", "Sound|Inserts a sound.", "tag-sound", [this] { actAddSoundExecute(); }});
    actAddVideo = table.Add(
        {"actAddVideo", "&Video", "", "Video|Inserts a video.", "tag-video", [this] { actAddVideoExecute(); }});
    actAddRtfTag = table.Add({"actAddRtfTag", "RT&F Expression", "",
                              "RTF Expression|Inserts RTF codes that go to the help compiler as they stand.", "tag-rtf",
                              [this] { actAddRtfTagExecute(); }});
    actStartTag = table.Add({"actStartTag", "Start &Tag", "", "Start Tag|Inserts an empty start tag.", "tag-start",
                             [this] { actStartTagExecute(); }});
    actEndTag = table.Add(
        {"actEndTag", "&End Tag", "", "End Tag|Inserts an empty end tag.", "tag-end", [this] { actEndTagExecute(); }});
    actEditTag = table.Add({"actEditTag", "E&dit Tag", "F10", "Edit Tag|Edits the tag at the caret.", "tag-edit",
                            [this] { actEditTagExecute(); }});
    actListMembers = table.Add({"actListMembers", "List &Members", "Ctrl+Space",
                                "List Members|Lists what can be typed at the caret.", "tag-list-members",
                                [this] { actListMembersExecute(); }});
    actPopTopics = table.Add(
        {"actPopTopics", "List T&opics", "", "List Topics|Lists the topics at the caret.", "list-topics", [this] {
             if (wndProc_) wndProc_->ShowMemberList(lkTopics);
         }});
    actPopPopups = table.Add(
        {"actPopPopups", "List Pop&ups", "", "List Popups|Lists the popups at the caret.", "list-popups", [this] {
             if (wndProc_) wndProc_->ShowMemberList(lkPopups);
         }});
}

QList<QAction*> TTagCommands::InsertActions() const {
    return {actAddTopicLink, actAddPopupLink, actAddNoScroll, actAddAnchor, actAddMacro, actAddBitmap, actAddButton};
}

// --- the editor's pop-up menu ---------------------------------------------------

void TTagCommands::CreateEditorPopMenu(QWidget* owner, QAction* viewImage, QAction* editImage) {
    EditorPopMenu = new QMenu(owner);
    EditorPopMenu->setObjectName(QStringLiteral("EditorPopMenu"));
    mnuEditorPopEditTag = EditorPopMenu->addAction(QStringLiteral("Edit &Tag"));
    mnuEditorPopEditTag->setObjectName(QStringLiteral("mnuEditorPopEditTag"));
    QObject::connect(mnuEditorPopEditTag, &QAction::triggered, EditorPopMenu,
                     [this] { runCommand(ctx_.Ui(), [this] { actEditTagExecute(); }); });
    mnuEditorPopInsert = EditorPopMenu->addMenu(QStringLiteral("&Insert"));
    mnuEditorPopInsert->setObjectName(QStringLiteral("mnuEditorPopInsert"));
    mnuEditorPopInsert->addActions(InsertActions());
    EditorPopMenu->addSeparator();
    mnuEditorPopViewImage = EditorPopMenu->addAction(QStringLiteral("&View Image"));
    mnuEditorPopViewImage->setObjectName(QStringLiteral("mnuEditorPopViewImage"));
    mnuEditorPopEditImage = EditorPopMenu->addAction(QStringLiteral("&Edit Image"));
    mnuEditorPopEditImage->setObjectName(QStringLiteral("mnuEditorPopEditImage"));
    for (QAction* a : {mnuEditorPopEditTag, mnuEditorPopViewImage, mnuEditorPopEditImage}) a->setEnabled(false);
    // Each shows the picture of the command it runs.
    mnuEditorPopEditTag->setIcon(actEditTag->icon());
    mnuEditorPopViewImage->setIcon(viewImage->icon());
    mnuEditorPopEditImage->setIcon(editImage->icon());
    // The image items run the image commands, which their own handler owns.
    QObject::connect(mnuEditorPopViewImage, &QAction::triggered, viewImage, &QAction::trigger);
    QObject::connect(mnuEditorPopEditImage, &QAction::triggered, editImage, &QAction::trigger);
    QObject::connect(EditorPopMenu, &QMenu::aboutToShow, EditorPopMenu,
                     [this] { runCommand(ctx_.Ui(), [this] { EditorPopMenuPopup(); }); });
    if (TRichText2* editor = ctx_.Editor()) {
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(editor, &QWidget::customContextMenuRequested, EditorPopMenu,
                         [this, editor](const QPoint& p) { EditorPopMenu->popup(editor->viewport()->mapToGlobal(p)); });
    }
}

void TTagCommands::EditorPopMenuPopup() {
    TRichText2* editor = ctx_.Editor();
    if (!editor || !EditorPopMenu) return;
    editor->setFocus();
    const TTagInfo info = ParseTagAt(editor->GetSelStart());
    mnuEditorPopEditTag->setEnabled(EditKindOf(info) != TTagEditKind::None);
    mnuEditorPopViewImage->setEnabled(IsImageTag(info));
    mnuEditorPopEditImage->setEnabled(IsEditableImageTag(info));
    if (wndProc_) wndProc_->HideMemberList();
}

// --- the window procedure ---------------------------------------------------------

void TTagCommands::InstallEditorProc(TRichText2* editor, TfrmVList* list) {
    RemoveEditorProc();
    text_ = std::make_unique<TTagTextCache>(editor);
    wndProc_ = std::make_unique<TEditorWndProc>(ctx_, *text_);
    wndProc_->Install(editor, list);
}

void TTagCommands::RemoveEditorProc() {
    wndProc_.reset();
    text_.reset();
}

void TTagCommands::HideListOn(const QList<QMenu*>& menus) {
    if (wndProc_) wndProc_->HideListOn(menus);
}

TTagInfo TTagCommands::ParseTagAt(int position) { return text_ ? qm::ParseTagAt(text_->Text(), position) : TTagInfo(); }

int TTagCommands::TextCopies() const { return text_ ? text_->Copies() : 0; }

void TTagCommands::actListMembersExecute() {
    TRichText2* editor = ctx_.Editor();
    if (!editor || !wndProc_) return;
    const QTextCursor c = editor->textCursor();
    const int caret = c.selectionStart();
    const QTextBlock block = editor->document()->findBlock(caret);
    wndProc_->ShowMemberList(ListKindForPlace(block.text().toStdU16String(), caret - block.position()));
}

// --- inserting ---------------------------------------------------------------------

void TTagCommands::insertDirect(TInsertTag kind) {
    TRichText2& editor = *ctx_.Editor();
    const int pos = editor.GetSelStart();
    const TDirectInsert d = DirectInsert(kind, SelectionOf(editor).toStdU16String());
    editor.SetSelText(ToQt(d.Text));
    editor.SetSelStart(pos + d.SelStart);
    editor.SetSelLength(d.SelLength);
    editor.setFocus();
}

void TTagCommands::insertTag(std::optional<TTagKind> form, TInsertTag direct) {
    if (!form || !ctx_.Options().TagsDialogs) {
        insertDirect(direct);
        return;
    }
    TRichText2& editor = *ctx_.Editor();
    const QString sel = SelectionOf(editor);
    const std::string text = ToCp1252(sel);
    TTagPreset preset;
    switch (*form) {
        case TTagKind::TopicLink:
        case TTagKind::PopupLink:
        case TTagKind::MacroHotspot: preset.Hotspot = text; break;
        case TTagKind::Button: preset.Caption = text; break;
        case TTagKind::Sound:
        case TTagKind::Video: preset.MediaFile = text; break;
        case TTagKind::Rtf:
        case TTagKind::Image: break;
    }
    const auto result = ctx_.Dialogs().RunTagDialog(*form, preset, ctx_.Project(), ctx_.Macros());
    if (!result) return;
    // The selection went in as Windows-1252; where the tag still holds it,
    // it comes back with what the code page lacks.
    editor.SetSelText(ToQt(WithOriginal(result->Tag, sel.toStdU16String())));
    ctx_.AddImageFolder(result->ImageFolder());
    editor.setFocus();
}

void TTagCommands::actAddTopicLinkExecute() { insertTag(TTagKind::TopicLink, TInsertTag::TopicLink); }
void TTagCommands::actAddPopupLinkExecute() { insertTag(TTagKind::PopupLink, TInsertTag::PopupLink); }
void TTagCommands::actAddNoScrollExecute() { insertTag(std::nullopt, TInsertTag::NoScroll); }
void TTagCommands::actAddMacroExecute() { insertTag(TTagKind::MacroHotspot, TInsertTag::Macro); }
void TTagCommands::actAddBitmapExecute() { insertTag(TTagKind::Image, TInsertTag::Image); }
void TTagCommands::actAddButtonExecute() { insertTag(TTagKind::Button, TInsertTag::Button); }
void TTagCommands::actAddSoundExecute() { insertTag(TTagKind::Sound, TInsertTag::Sound); }
void TTagCommands::actAddVideoExecute() { insertTag(TTagKind::Video, TInsertTag::Video); }
void TTagCommands::actAddRtfTagExecute() { insertTag(TTagKind::Rtf, TInsertTag::Rtf); }
void TTagCommands::actStartTagExecute() { insertDirect(TInsertTag::StartTag); }
void TTagCommands::actEndTagExecute() { insertDirect(TInsertTag::EndTag); }

std::optional<QString> TTagCommands::askAnchorName(const QString& preset) {
    UiServices& ui = ctx_.Ui();
    const auto answer = ui.InputText(QString::fromLatin1(kAnchorCaption), QString::fromLatin1(kAnchorPrompt), preset);
    if (!answer || Trim(ToCp1252(*answer)).empty()) return std::nullopt;
    // A quote or an angle bracket would end the tag inside the name.
    if (!IsValidAnchorName(ToCp1252(*answer))) {
        ui.Information(QString::fromUtf8(kMsgBadAnchorName));
        return std::nullopt;
    }
    return answer;
}

void TTagCommands::actAddAnchorExecute() {
    if (!ctx_.Options().TagsDialogs) {
        insertDirect(TInsertTag::Anchor);
        return;
    }
    TRichText2& editor = *ctx_.Editor();
    const auto name = askAnchorName(SelectionOf(editor));
    if (!name) return;
    editor.SetSelText(QStringLiteral("<ANCHOR \"") + *name + QStringLiteral("\">"));
    editor.setFocus();
}

// --- editing the tag at the caret -----------------------------------------------------

void TTagCommands::actEditTagExecute() {
    TRichText2* editor = ctx_.Editor();
    if (!editor) return;
    const TTagInfo info = ParseTagAt(editor->GetSelStart());
    switch (EditKindOf(info)) {
        case TTagEditKind::TopicLink: EditTopicLinkTag(info); break;
        case TTagEditKind::PopupLink: EditPopupLinkTag(info); break;
        case TTagEditKind::Anchor: EditAnchorTag(info); break;
        case TTagEditKind::Macro: EditMacroTag(info); break;
        case TTagEditKind::Button: EditButtonTag(info); break;
        case TTagEditKind::Rtf: EditRtfTag(info); break;
        case TTagEditKind::Sound: EditSoundTag(info); break;
        case TTagEditKind::Video: EditVideoTag(info); break;
        case TTagEditKind::Image: EditImageTag(info); break;
        case TTagEditKind::None: break;
    }
}

std::string TTagCommands::nameAsWritten(const TTagInfo& info) {
    if (!text_ || info.StartTagBegin < 0) return info.Name();
    const std::u16string_view text = text_->Text().Text();
    const std::size_t from = static_cast<std::size_t>(info.StartTagBegin) + 1;
    if (from > text.size()) return info.Name();
    return ToCp1252Units(text.substr(from, info.Name().size()));
}

void TTagCommands::replaceRange(int from, int end, const std::string& newText) {
    TRichText2& editor = *ctx_.Editor();
    // The range the parse gave, kept inside the text as it stands.
    const int length = editor.GetTextLen();
    from = std::clamp(from, 0, length);
    end = std::clamp(end, from, length);
    QTextCursor range(editor.document());
    range.setPosition(from);
    range.setPosition(end, QTextCursor::KeepAnchor);
    const std::u16string old = range.selectedText().toStdU16String();
    const auto splice = SpliceFor(old, newText);
    if (!splice) return;  // the same tag: nothing changes, no undo step
    editor.SetSelStart(from + splice->From);
    editor.SetSelLength(splice->Length);
    editor.SetSelText(ToQt(splice->Insert));
    editor.SetSelStart(from + static_cast<int>(old.size()) - splice->Length + static_cast<int>(splice->Insert.size()));
}

void TTagCommands::editWithForm(TTagKind form, TTagEditKind kind, const TTagInfo& info, bool wholePair,
                                bool focusBack) {
    const TTagPreset preset = PresetForTag(kind, info, nameAsWritten(info));
    const auto result = ctx_.Dialogs().RunTagDialog(form, preset, ctx_.Project(), ctx_.Macros());
    if (!result) return;
    const int end = wholePair && info.EndTagEnd >= 0 ? info.EndTagEnd : info.StartTagEnd;
    replaceRange(info.StartTagBegin, end + 1, result->Tag);
    ctx_.AddImageFolder(result->ImageFolder());
    if (focusBack) ctx_.Editor()->setFocus();
}

void TTagCommands::EditTopicLinkTag(const TTagInfo& info) {
    editWithForm(TTagKind::TopicLink, TTagEditKind::TopicLink, info, true, false);
}
void TTagCommands::EditPopupLinkTag(const TTagInfo& info) {
    editWithForm(TTagKind::PopupLink, TTagEditKind::PopupLink, info, true, false);
}
void TTagCommands::EditMacroTag(const TTagInfo& info) {
    editWithForm(TTagKind::MacroHotspot, TTagEditKind::Macro, info, true, false);
}
void TTagCommands::EditButtonTag(const TTagInfo& info) {
    editWithForm(TTagKind::Button, TTagEditKind::Button, info, true, true);
}
void TTagCommands::EditImageTag(const TTagInfo& info) {
    editWithForm(TTagKind::Image, TTagEditKind::Image, info, false, true);
}
void TTagCommands::EditRtfTag(const TTagInfo& info) {
    editWithForm(TTagKind::Rtf, TTagEditKind::Rtf, info, false, true);
}
void TTagCommands::EditSoundTag(const TTagInfo& info) {
    editWithForm(TTagKind::Sound, TTagEditKind::Sound, info, false, true);
}
void TTagCommands::EditVideoTag(const TTagInfo& info) {
    editWithForm(TTagKind::Video, TTagEditKind::Video, info, false, true);
}

void TTagCommands::EditAnchorTag(const TTagInfo& info) {
    const auto name = askAnchorName(FromCp1252(info.Count > 1 ? info.Parts[1] : std::string()));
    if (!name) return;
    replaceRange(info.StartTagBegin, info.StartTagEnd + 1, "<ANCHOR \"" + ToCp1252(*name) + "\">");
    ctx_.Editor()->setFocus();
}

}  // namespace qm
