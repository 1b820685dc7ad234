#include "dialogs/dialogfactory.h"

#include <memory>

#include <QCoreApplication>
#include <QScopeGuard>

#include "dialogs/addtool.h"
#include "dialogs/autosizer.h"
#include "dialogs/browseedit.h"
#include "dialogs/buildtags.h"
#include "dialogs/contentsedit.h"
#include "dialogs/importcommand.h"
#include "dialogs/macroedit.h"
#include "dialogs/newbutton.h"
#include "dialogs/newimage.h"
#include "dialogs/newmacrotag.h"
#include "dialogs/newpopuplink.h"
#include "dialogs/newrtfexpr.h"
#include "dialogs/newsound.h"
#include "dialogs/newtopiclink.h"
#include "dialogs/newvideo.h"
#include "dialogs/paragraphdlg.h"
#include "dialogs/popupprops.h"
#include "dialogs/programoptions.h"
#include "dialogs/projectoptions.h"
#include "dialogs/renumberids.h"
#include "dialogs/reorganizestyles.h"
#include "dialogs/styledlg.h"
#include "dialogs/styleprops.h"
#include "dialogs/topicprops.h"
#include "dialogs/windowseditor.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "widgets/qmdialog.h"

namespace qm {

TDialogFactory::TDialogFactory(UiServices& ui, std::string programFolder)
    : ui_(ui), programFolder_(std::move(programFolder)) {
    if (programFolder_.empty()) programFolder_ = ToCp1252(QCoreApplication::applicationDirPath());
}

QWidget* TDialogFactory::Parent() const { return ui_.ParentWidget(); }

bool TDialogFactory::Run(QmDialog& dialog) {
    dialog.Activate();
    ui_.RunDialog(dialog);
    return dialog.Accepted();
}

std::optional<TImportRequest> TDialogFactory::ChooseImportFile() { return qm::ChooseImportFile(ui_); }

std::optional<std::string> TDialogFactory::RunMacroBuilder(const TMacros& macros, const std::string& preset,
                                                           QWidget* owner) {
    TfrmMacroEdit dialog(*this, macros, owner ? owner : Parent());
    if (!preset.empty()) dialog.SetExpression(preset);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Expression();
}

std::optional<TTagResult> TDialogFactory::RunTagDialog(TTagKind kind, const TTagPreset& preset, const TProject& project,
                                                       const TMacros& macros) {
    QWidget* parent = Parent();
    std::unique_ptr<TTagForm> form;
    switch (kind) {
        case TTagKind::TopicLink: form = std::make_unique<TfrmNewTopicLink>(ui_, project, parent); break;
        case TTagKind::PopupLink: form = std::make_unique<TfrmNewPopupLink>(ui_, project, parent); break;
        case TTagKind::Button: form = std::make_unique<TfrmNewButton>(*this, macros, parent); break;
        case TTagKind::MacroHotspot: form = std::make_unique<TfrmNewMacroTag>(*this, macros, project, parent); break;
        case TTagKind::Sound: form = std::make_unique<TfrmNewSound>(ui_, parent); break;
        case TTagKind::Video: form = std::make_unique<TfrmNewVideo>(ui_, parent); break;
        case TTagKind::Rtf: form = std::make_unique<TfrmNewRtfExpr>(ui_, parent); break;
        case TTagKind::Image: form = std::make_unique<TfrmNewImage>(ui_, project, parent); break;
    }
    if (!form) return std::nullopt;
    form->Preset(preset);
    if (!Run(*form)) return std::nullopt;
    return form->Result();
}

// --- formatting ---

std::optional<TParagraphFormat> TDialogFactory::RunParagraph(const TParagraphRequest& request, QWidget* owner) {
    TfrmParagraph dialog(ui_, owner ? owner : Parent());
    // The unit first: the presets convert with it.
    if (request.ScaleMode) dialog.SetScaleMode(*request.ScaleMode);
    const TParagraphFormat& f = request.Format;
    dialog.SetParaAttributes(f.StartIndent, f.Offset, f.Alignment, f.RightIndent);
    dialog.SetSpacingAttributes(f.SpaceBefore, f.SpaceAfter, f.LineSpacingRule, f.LineSpacing);
    if (request.ShowTabs)
        dialog.SetTabsAttributes(f.Tabs);
    else
        dialog.HideTabsPage();
    if (!Run(dialog)) return std::nullopt;
    return dialog.Format();
}

std::optional<int> TDialogFactory::RunStyles(TStyles& styles, int selectedLine, const TFontInfo& defaultFont) {
    TfrmStyles dialog(*this, styles, Parent());
    dialog.SelectLine(selectedLine);
    dialog.DefaultFont = defaultFont;
    if (!Run(dialog)) return std::nullopt;
    return dialog.SelectedLine();
}

std::optional<TStyle> TDialogFactory::RunStyleProperties(const TStyles& styles, const TStyle& style, int editIndex,
                                                         const std::string& name, QWidget* owner) {
    TfrmStyleProperties dialog(*this, styles, owner ? owner : Parent());
    dialog.Preset(style, editIndex, name);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Style();
}

std::optional<TStyles> TDialogFactory::RunReorganizeStyles(const TStyles& styles, int selectedLine, QWidget* owner) {
    TfrmReorganizeStyles dialog(ui_, styles, selectedLine, owner ? owner : Parent());
    if (!Run(dialog)) return std::nullopt;
    return dialog.Working();
}

// --- topics and popups, the export choice, user tools ---------------------------------

bool TDialogFactory::RunTopicProps(TTopicNode& node, const TProject& project, const TMacros& macros) {
    TfrmTopicProps dialog(*this, project, macros, Parent());
    dialog.LoadTopic(node);
    return Run(dialog);
}

bool TDialogFactory::RunPopupProps(TTopicNode& node, const TProject& project) {
    TfrmPopupProps dialog(ui_, project, Parent());
    dialog.LoadPopup(node);
    return Run(dialog);
}

std::optional<TExportChoice> TDialogFactory::RunExportChoice(const TExportChoice& preset) {
    TfrmExport dialog(ui_, Parent());
    dialog.SetChoice(preset);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Choice();
}

std::optional<TTool> TDialogFactory::RunAddTool(const TTool& tool) {
    TfrmAddTool dialog(ui_, Parent());
    dialog.SetTool(tool);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Tool();
}

// --- the contents file editor ---

void TDialogFactory::RunContentsEditor(const TProject& project, const TMacros& macros) {
    // While it runs, the editor owns the boxes and dialogs it opens.
    QWidget* const parent = Parent();
    TfrmContentsEdit editor(*this, project, macros, true, parent);
    ui_.SetParentWidget(&editor);
    const auto restore = qScopeGuard([&] { ui_.SetParentWidget(parent); });
    ui_.RunDialog(editor);
}

// --- project and program settings ---------------------------------------------------

bool TDialogFactory::RunProjectOptions(TProject& project, const TMacros& macros) {
    TfrmProjectOptions dialog(*this, project, macros, Parent());
    return Run(dialog);
}

std::optional<std::string> TDialogFactory::RunBuildTags(const StringList& tags, QWidget* owner) {
    TfrmBuildTags dialog(ui_, owner ? owner : Parent());
    dialog.SetTags(tags);
    if (!Run(dialog)) return std::nullopt;
    return dialog.Tag();
}

bool TDialogFactory::RunWindowsEditor(TProject& project, const TMacros& macros) {
    TfrmWindows dialog(*this, project, macros, Parent());
    return Run(dialog);
}

std::optional<std::array<int, 4>> TDialogFactory::RunAutoSizer(const std::array<int, 4>& rect, QWidget* owner) {
    TfrmAutoSizer dialog(ui_, rect, owner ? owner : Parent());
    if (!Run(dialog)) return std::nullopt;
    return dialog.Result();
}

bool TDialogFactory::RunBrowseEditor(TProject& project) {
    TfrmBrowseEdit dialog(ui_, project, Parent());
    return Run(dialog);
}

std::optional<std::array<std::int64_t, 3>> TDialogFactory::RunRenumberIds(const TProject& project) {
    TfrmRenumberIds dialog(ui_, project.Topics.TopicCount(), project.Topics.PopupCount(), Parent());
    if (!Run(dialog)) return std::nullopt;
    const bool topicsFirst = dialog.TopicsFirst();
    const std::int64_t topics = topicsFirst ? dialog.FirstStart() : dialog.SecondStart();
    const std::int64_t popups = topicsFirst ? dialog.SecondStart() : dialog.FirstStart();
    return std::array<std::int64_t, 3>{topics, popups, dialog.Increment()};
}

bool TDialogFactory::RunOptions(TOptionsRun& run) {
    TfrmOptions dialog(ui_, run, Parent());
    Run(dialog);
    dialog.TakeResults();
    return run.Accepted;
}

}  // namespace qm
