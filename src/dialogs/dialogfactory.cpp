#include "dialogs/dialogfactory.h"

#include <memory>

#include <QCoreApplication>

#include "dialogs/addtool.h"
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
#include "dialogs/popupprops.h"
#include "dialogs/topicprops.h"
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

}  // namespace qm
