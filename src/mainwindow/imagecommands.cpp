#include "mainwindow/imagecommands.h"

#include <QAction>
#include <QImageReader>
#include <QMainWindow>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <vector>

#include "editor/richtext2.h"
#include "mainwindow/imgview.h"
#include "mainwindow/maincontext.h"
#include "mainwindow/tagcommands.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "preprocess/edittags.h"
#include "shg/qorshg.h"
#include "shgedit/dibimage.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorsystem.h"
#include "util/workfolder.h"
#include "widgets/actiontable.h"

namespace qm {

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
constexpr const char* kShgEditorFile = "Pikeral.exe";
#else
constexpr char kSep = '/';
constexpr const char* kShgEditorFile = "pikeral";
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A model path as this system writes it ("\" becomes "/" off Windows), for
// another program's command line.
std::string NativeForm(const std::string& path) { return FromFsPath(ToFsPath(path)); }

QString FilePath(const std::string& path) { return QString::fromStdU16String(ToFsPath(path).u16string()); }

constexpr const char* kHandoffFolderPrefix = "Quillmark-handoff-";

}  // namespace

StringList SortedModuleNames(const TProject& project, TopicKind kind) {
    const std::vector<const TTopicNode*> nodes = project.Topics.NodesOfKindByName(kind);
    StringList names;
    names.reserve(nodes.size());
    for (const TTopicNode* n : nodes) names.push_back(n->GetName());
    return names;
}

std::string HandoffFileText(const StringList& names) {
    std::string text;
    for (const std::string& name : names) text += name + "\r\n";
    return text;
}

std::string ShgEditorProgram(const std::string& programFolder) {
    std::string program = programFolder;
    if (!program.empty() && !IsSeparator(program.back())) program += kSep;
    return program + kShgEditorFile;
}

QImage LoadPreviewPicture(const std::string& path) {
    if (SameText(ExtractExtension(path), "SHG")) {
        TShg shg;
        shg.LoadFromFile(path);
        return shg.Bitmap ? shgedit::DibToImage(*shg.Bitmap) : QImage();
    }
    QImageReader reader(FilePath(path));
    return reader.read();
}

QSize ViewerClientSize(QSize picture, QSize screen) {
    auto side = [](int pictureSide, int screenSide) {
        return std::min(std::max(pictureSide + 10, 32), std::max(screenSide, 32));
    };
    return {side(picture.width(), screen.width()), side(picture.height(), screen.height())};
}

TImageCommands::TImageCommands(TMainContext& context, TTagCommands& tags, std::string programFolder,
                               std::string tempFolder)
    : TCommandHandler(context),
      tags_(tags),
      programFolder_(std::move(programFolder)),
      tempFolder_(std::move(tempFolder)) {}

void TImageCommands::CreateActions(ActionTable& table) {
    actViewImage = table.Add({"actViewImage", "Vie&w Image", "", "View Image|Shows the image of the tag at the caret.",
                              "image-x-generic", [this] { actViewImageExecute(); }});
    actEditImage = table.Add({"actEditImage", "Edit Ima&ge...", "",
                              "Edit Image|Opens the image of the tag at the caret for editing.", "image-edit",
                              [this] { actEditImageExecute(); }});
    actShg = table.Add({"actShg", "Segmented &Hypergraphic Editor", "Ctrl+H",
                        "Segmented Hypergraphic Editor|Starts the hotspot editor Pikeral.", "pikeral",
                        [this] { actShgExecute(); }});
}

std::string TImageCommands::imageNameAtCaret() {
    const TRichText2* editor = ctx_.Editor();
    if (!editor) return {};
    const TTagInfo info = tags_.ParseTagAt(editor->GetSelStart());
    return IsImageTag(info) ? info.Parts[1] : std::string();
}

std::string TImageCommands::locate(const std::string& name) {
    std::string path = ctx_.Project().FindInImageFolders(name);
    if (path.empty()) ctx_.Ui().ErrorBox(QString::fromLatin1(kMsgImageNotLocated));
    return path;
}

void TImageCommands::actViewImageExecute() {
    const std::string name = imageNameAtCaret();
    if (name.empty()) return;
    const std::string path = locate(name);
    if (path.empty()) return;
    const QImage picture = LoadPreviewPicture(path);
    TfrmImgView view(&ctx_.Window());
    view.SetGraphic(picture);
    view.setWindowTitle(FromCp1252(path));
    const QScreen* screen = ctx_.Window().screen();
    view.resize(ViewerClientSize(picture.size(), screen ? screen->size() : QSize(INT_MAX, INT_MAX)));
    // A window never shown has its resize still to come: centre the picture now.
    view.FormResize();
    ctx_.Ui().RunDialog(view);
}

void TImageCommands::actEditImageExecute() {
    const std::string name = imageNameAtCaret();
    if (name.empty()) return;
    // Only what the editors here open: nothing is looked for otherwise.
    const bool bitmap = SameText(ExtractExtension(name), "BMP");
    if (!bitmap && !SameText(ExtractExtension(name), "SHG")) return;
    const std::string path = locate(name);
    if (path.empty()) return;
    if (bitmap) {
        // The desktop says why no program opened it.
        const LaunchResult r = ctx_.Ui().Shell().Open(path);
        if (!r.ok) ctx_.Ui().ErrorBox(FromCp1252(r.failure));
        return;
    }
    if (!LaunchShgEditor(path).ok) ctx_.Ui().ErrorBox(QString::fromLatin1(kMsgPikeralNotFound));
}

void TImageCommands::actShgExecute() {
    if (!LaunchShgEditor({}).ok) ctx_.Ui().ErrorBox(QString::fromLatin1(kMsgPikeralNotFound));
}

std::string TImageCommands::writeHandoffFolder() {
    const std::string temp = tempFolder_.empty() ? GetTempFolder() : tempFolder_;
    std::string folder;
    try {
        folder = MakePrivateFolder(temp, kHandoffFolderPrefix);
    } catch (const Error&) {
        return {};  // Pikeral then starts without the lists
    }
    // A list that cannot be written is left out; Pikeral reads what it finds.
    WriteNewFile(folder + kHandoffTopicsFile, HandoffFileText(SortedModuleNames(ctx_.Project(), TopicKind::Topic)));
    WriteNewFile(folder + kHandoffPopupsFile, HandoffFileText(SortedModuleNames(ctx_.Project(), TopicKind::Popup)));
    return folder;
}

LaunchResult TImageCommands::LaunchShgEditor(const std::string& file) {
    const std::string folder = writeHandoffFolder();
    std::vector<std::string> arguments;
    if (!folder.empty()) {
        std::string bare = folder;
        while (bare.size() > 1 && IsSeparator(bare.back())) bare.pop_back();
        arguments.push_back(kHandoffOptionPrefix + NativeForm(bare));
    }
    // One argument, blanks and all.
    if (!file.empty()) arguments.push_back(NativeForm(file));
    LaunchResult r = ctx_.Ui().Shell().Start(ShgEditorProgram(programFolder_), arguments, {});
    // Nobody is there to take the lists away.
    if (!r.ok && !folder.empty()) RemovePrivateFolder(folder);
    return r;
}

}  // namespace qm
