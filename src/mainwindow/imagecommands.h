#pragma once
// The image commands: View Image shows the picture that the image tag at the
// caret names, Edit Image opens it for editing (a hypergraphic in Pikeral, a
// bitmap in the desktop's program for bitmaps), and Segmented Hypergraphic
// Editor starts Pikeral without a file.
//
// The picture is looked for in the project's image folders only. Before
// Pikeral starts, the names of the project's topics and popups go into two
// files of a private folder made for that one start, which Pikeral is told
// of ("--handoff=<folder>"), reads and removes.
#include <QImage>
#include <QSize>
#include <string>
#include <string_view>

#include "mainwindow/commandhandler.h"
#include "model/topics.h"
#include "util/externalprograms.h"
#include "util/qorstring.h"

class QAction;

namespace qm {

class TProject;
class TTagCommands;

inline constexpr const char* kMsgImageNotLocated = "The image could not be located in the project images search paths.";
inline constexpr const char* kMsgPikeralNotFound =
    "The Pikeral application could not be found in the Quillmark directory.";
// The hand-off files and the option that names their folder, as Pikeral
// reads them.
inline constexpr const char* kHandoffTopicsFile = "~QorTopics.dat";
inline constexpr const char* kHandoffPopupsFile = "~QorPopups.dat";
inline constexpr const char* kHandoffOptionPrefix = "--handoff=";

// The names of the project's topics or popups in the order of the window's
// combo boxes: ignoring case, equal names in list order.
StringList SortedModuleNames(const TProject& project, TopicKind kind);
// A hand-off file's bytes: each name (Windows-1252) ended by CR LF.
std::string HandoffFileText(const StringList& names);

// Pikeral's program file in the program's folder.
std::string ShgEditorProgram(const std::string& programFolder);

// The picture of an image file as the viewer shows it: a .shg through the
// hypergraphic reader, any other file through the toolkit's readers. A null
// image when nothing reads it (metafiles among them). Raises qm::Error for a
// .shg that cannot be read.
QImage LoadPreviewPicture(const std::string& path);

// The viewer's client size for a picture: 10 pixels more each way, at least
// 32 and at most the screen's size.
QSize ViewerClientSize(QSize picture, QSize screen);

class TImageCommands : public TCommandHandler {
public:
    // `programFolder` holds Pikeral; the hand-off folders are made in
    // `tempFolder` (empty: the system's temporary folder).
    TImageCommands(TMainContext& context, TTagCommands& tags, std::string programFolder, std::string tempFolder);

    void CreateActions(ActionTable& table) override;

    QAction* actViewImage = nullptr;
    QAction* actEditImage = nullptr;
    QAction* actShg = nullptr;

    void actViewImageExecute();
    void actEditImageExecute();
    void actShgExecute();

    // Writes the hand-off lists (a failure there only leaves Pikeral without
    // them) and starts Pikeral on `file`, or without a file when it is empty.
    LaunchResult LaunchShgEditor(const std::string& file);

private:
    // The file that the image tag at the caret names; "" when the caret is
    // in no image tag.
    std::string imageNameAtCaret();
    // The file's path in the image folders; "" after telling the user.
    std::string locate(const std::string& name);
    // A new private folder holding the two lists; "" when none could be made.
    std::string writeHandoffFolder();

    TTagCommands& tags_;
    std::string programFolder_;
    std::string tempFolder_;
};

}  // namespace qm
