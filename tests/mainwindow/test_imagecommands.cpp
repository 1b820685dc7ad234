// The image commands: the image search over the project's image folders,
// View Image and its window's size, Edit Image, and starting Pikeral with
// the hand-off lists in a private folder.
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "mainwindow/imagecommands.h"
#include "mainwindow/imgview.h"
#include "shg/qorshg.h"
#include "shgedit/handoff.h"
#include "tag_fixture.h"
#include "util/fileio.h"

namespace fs = std::filesystem;
using qm::MsgKind;
using qmtest::TagTest;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(qm::ToFsPath(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void MakeParent(const std::string& path) { fs::create_directories(qm::ToFsPath(path).parent_path()); }

// A bitmap of w x h whose pixels differ, so a copy can be told from a blank.
std::string WriteBitmap(const std::string& path, int w, int h) {
    MakeParent(path);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
    EXPECT_TRUE(image.save(qm::FromCp1252(path), "BMP")) << path;
    return path;
}

// A hypergraphic of w x h, 24 bits, with a pattern; returns its picture.
qm::TDib WriteHypergraphic(const std::string& path, int w, int h) {
    MakeParent(path);
    qm::TDib dib = qm::TDib::Create(w, h, 24);
    for (std::size_t i = 0; i < dib.Bits.size(); ++i) dib.Bits[i] = static_cast<char>(i * 31 % 251);
    qm::TShg shg;
    shg.Bitmap = std::make_unique<qm::TDib>(dib);
    EXPECT_TRUE(shg.SaveToFile(path)) << path;
    return dib;
}

void WriteRaw(const std::string& path, const std::string& bytes) {
    MakeParent(path);
    std::ofstream(qm::ToFsPath(path), std::ios::binary) << bytes;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(qm::ToFsPath(a), qm::ToFsPath(b), ec);
}

}  // namespace

// --- the search ---------------------------------------------------------------------------

TEST(ImageSearch, LooksInTheImageFoldersOnlyInTheirOrder) {
    struct Row {
        const char* name;
        std::vector<std::string> files;  // relative to the project's folder
        qm::StringList folders;          // BmRoot; "@" stands for the project's folder
        const char* image;               // the tag's file name
        const char* expected;            // relative to the project's folder; "" none
    } rows[] = {
        {"only in the project's own folder", {"only.bmp"}, {"@pics"}, "only.bmp", ""},
        {"the first of two folders wins", {"a/x.bmp", "b/x.bmp"}, {"@a", "@b"}, "x.bmp", "a/x.bmp"},
        {"the second when the first lacks it", {"b/y.bmp"}, {"@a", "@b"}, "y.bmp", "b/y.bmp"},
        {"a relative folder counts from the project's folder",
         {"rel/pics/r.bmp"},
         {"rel\\pics"},
         "r.bmp",
         "rel/pics/r.bmp"},
        {"a name in another case", {"c/Pic.BMP"}, {"@c"}, "pic.bmp", "c/Pic.BMP"},
        {"an empty entry names no folder", {"d/e.bmp"}, {"", "@d"}, "e.bmp", "d/e.bmp"},
        {"in no folder", {"z/elsewhere.bmp"}, {"@a"}, "elsewhere.bmp", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir scratch;
        const std::string root = qm::ToCp1252(scratch.path()) + "/";
        qm::TProject project;
        project.FileName = root + "help.qpf";
        for (const std::string& f : row.files) WriteRaw(root + f, "BM");
        for (const std::string& f : row.folders)
            project.BmRoot.push_back(f.rfind('@', 0) == 0 ? root + f.substr(1) : f);
        const std::string found = project.FindInImageFolders(row.image);
        if (std::string(row.expected).empty()) {
            EXPECT_EQ(found, "");
        } else {
            EXPECT_TRUE(SameFile(found, root + row.expected)) << found;
        }
    }
}

TEST(HandoffLists, NamesSortedAsTheComboBoxesSortThemEachEndedByCrLf) {
    qm::TProject p;
    auto add = [&](const char* name, qm::TopicKind kind) {
        qm::TTopicNode& node = p.Topics.AddNew();
        node.SetName(name);
        node.Kind = kind;
    };
    add("b", qm::TopicKind::Topic);
    add("A", qm::TopicKind::Topic);
    add("Caf\xE9", qm::TopicKind::Topic);  // one Windows-1252 byte stays one byte
    EXPECT_EQ(qm::HandoffFileText(qm::SortedModuleNames(p, qm::TopicKind::Topic)), "A\r\nb\r\nCaf\xE9\r\n");
    EXPECT_EQ(qm::HandoffFileText(qm::SortedModuleNames(p, qm::TopicKind::Popup)), "");
}

TEST(HandoffLists, TheOptionAndFileNamesArePikeralsOwn) {
    EXPECT_STREQ(qm::kHandoffOptionPrefix, qm::shgedit::kHandoffOption);
    EXPECT_STREQ(qm::kHandoffTopicsFile, qm::shgedit::kTopicsHandoffFile);
    EXPECT_STREQ(qm::kHandoffPopupsFile, qm::shgedit::kPopupsHandoffFile);
}

TEST(ViewerClientSize, PictureAndTenEachWayWithinThirtyTwoAndTheScreen) {
    struct Row {
        const char* name;
        QSize picture;
        QSize expected;
    } rows[] = {
        {"10 x 10", {10, 10}, {32, 32}},
        {"none", {0, 0}, {32, 32}},
        {"100 x 50", {100, 50}, {110, 60}},
        {"wider than the screen", {2000, 40}, {1024, 50}},
        {"taller than the screen", {40, 900}, {50, 768}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::ViewerClientSize(row.picture, {1024, 768}), row.expected);
    }
}

// --- the commands in the window -----------------------------------------------------------

class ImageCommandsTest : public TagTest {
protected:
    // The window on the tag project, with image folders `folders` (made
    // absolute under the scratch root unless they start with "="), and the
    // caret in `tag`.
    std::unique_ptr<qm::TfrmMain> StartAt(const QString& tag, const std::vector<std::string>& folders) {
        auto w = StartWith("x");
        w->Project().BmRoot.clear();
        for (const std::string& f : folders) w->Project().BmRoot.push_back(root_ + f);
        SetBody(*w, tag);
        if (!tag.isEmpty()) Select(*w, 2);
        return w;
    }

    struct Viewer {
        QString title;
        QSize client;
        QSize image;
        QPoint at;
        QImage picture;
        bool shown = false;
    };
    // Scripts the viewer: what it held when it came up.
    void ExpectViewer(Viewer& seen) {
        ui.ExpectDialog(QStringLiteral("frmImgView"), [&seen](QDialog& d) {
            auto& v = static_cast<qm::TfrmImgView&>(d);
            seen.shown = true;
            seen.title = v.windowTitle();
            seen.client = v.size();
            seen.image = v.imgImage->size();
            seen.at = v.imgImage->pos();
            seen.picture = v.imgImage->pixmap().toImage();
            return QDialog::Accepted;
        });
    }
    std::vector<std::string> TempEntries() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(qm::ToFsPath(root_ + "tmp")))
            out.push_back(e.path().filename().string());
        return out;
    }
    qmtest::FakeShellLauncher& Shell() { return ui.shell; }
};

TEST_F(ImageCommandsTest, ViewImageSizesTheWindowToThePicture) {
    auto w = StartWith("x");
    const QSize screen = w->screen()->size();
    struct Row {
        const char* name;
        std::string file;
        QSize picture;  // as written
        QSize client;   // the viewer's client area
        QSize shown;    // the picture it shows
    } rows[] = {
        {"a 10 x 10 bitmap opens 32 x 32", "ten.bmp", {10, 10}, {32, 32}, {10, 10}},
        {"100 x 50", "wide.bmp", {100, 50}, {110, 60}, {100, 50}},
        {"larger than the screen opens the screen's size", "huge.bmp", screen + QSize(40, 40), screen,
         screen + QSize(40, 40)},
        {"a metafile shows nothing in 32 x 32", "chart.wmf", {}, {32, 32}, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = root_ + "pics/" + row.file;
        if (row.picture.isValid())
            WriteBitmap(path, row.picture.width(), row.picture.height());
        else
            WriteRaw(path, std::string("\xD7\xCD\xC6\x9A\0\0", 6) + std::string(40, '\0'));
        w->Project().BmRoot = {root_ + "pics"};
        SetBody(*w, "<IMAGE \"" + QString::fromStdString(row.file) + "\">");
        Select(*w, 3);
        Viewer seen;
        ExpectViewer(seen);
        Act(*w, "actViewImage")->trigger();
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.title, qm::FromCp1252(path));
        EXPECT_EQ(seen.client, row.client);
        EXPECT_EQ(seen.image, row.shown);
        EXPECT_EQ(seen.at, QPoint(row.client.width() / 2 - row.shown.width() / 2,
                                  row.client.height() / 2 - row.shown.height() / 2));
        if (row.picture.isValid()) {
            QImage expected(qm::FromCp1252(path));
            EXPECT_EQ(seen.picture.convertToFormat(QImage::Format_RGB32),
                      expected.convertToFormat(QImage::Format_RGB32));
        }
        // Made for this one view and gone after it.
        EXPECT_EQ(w->findChild<qm::TfrmImgView*>(), nullptr);
    }
}

TEST_F(ImageCommandsTest, ViewImageShowsAHypergraphicsPicture) {
    const qm::TDib dib = WriteHypergraphic(root_ + "shg/map.shg", 40, 25);
    auto w = StartAt("<IMAGER \"MAP.SHG\">", {"shg"});
    Viewer seen;
    ExpectViewer(seen);
    Act(*w, "actViewImage")->trigger();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.client, QSize(50, 35));
    ASSERT_EQ(seen.picture.size(), QSize(40, 25));
    for (const QPoint p : {QPoint(0, 0), QPoint(39, 0), QPoint(17, 11), QPoint(0, 24), QPoint(39, 24)})
        EXPECT_EQ(seen.picture.pixel(p) & 0xFFFFFFu, dib.PixelRgb(p.x(), p.y())) << p.x() << "," << p.y();
}

TEST_F(ImageCommandsTest, AnImageInNoImageFolderIsReported) {
    // Beside the project file only: that folder is not searched.
    WriteBitmap(root_ + "beside.bmp", 4, 4);
    WriteHypergraphic(root_ + "beside.shg", 4, 4);
    auto w = StartAt("<IMAGE \"beside.bmp\">", {"pics"});
    for (const char* action : {"actViewImage", "actEditImage"}) {
        SCOPED_TRACE(action);
        ui.ExpectMessage(MsgKind::Error, QString::fromLatin1(qm::kMsgImageNotLocated));
        Act(*w, action)->trigger();
    }
    SetBody(*w, "<IMAGE \"beside.shg\">");
    Select(*w, 2);
    ui.ExpectMessage(MsgKind::Error, QString::fromLatin1(qm::kMsgImageNotLocated));
    Act(*w, "actEditImage")->trigger();
    EXPECT_TRUE(Shell().opened.empty());
    EXPECT_TRUE(Shell().started.empty());
}

TEST_F(ImageCommandsTest, OutsideAnImageTagNothingHappens) {
    WriteBitmap(root_ + "pics/a.bmp", 4, 4);
    auto w = StartAt("", {"pics"});
    for (const QString& body : {QStringLiteral("plain a.bmp text"), QStringLiteral("<LINK TOPIC=\"a.bmp\">x</LINK>"),
                                QStringLiteral("<IMAGES \"a.bmp\">"), QStringLiteral("<SOUND \"a.bmp\">")}) {
        SCOPED_TRACE(body.toStdString());
        SetBody(*w, body);
        Select(*w, 2);
        Act(*w, "actViewImage")->trigger();
        Act(*w, "actEditImage")->trigger();
    }
    // No box, no viewer (the scripted services fail on any), nothing started.
    EXPECT_TRUE(ui.records.empty());
    EXPECT_TRUE(Shell().opened.empty());
    EXPECT_TRUE(Shell().started.empty());
}

TEST_F(ImageCommandsTest, EditImageOpensBitmapsAndStartsPikeralOnHypergraphics) {
    WriteBitmap(root_ + "pics/photo.bmp", 4, 4);
    WriteHypergraphic(root_ + "pics/map.shg", 4, 4);
    WriteRaw(root_ + "pics/chart.wmf", "metafile");
    auto w = StartAt("", {"pics"});
    struct Row {
        const char* name;
        QString tag;
        std::vector<std::string> opened;
        std::string startedFile;  // "" none started
    } rows[] = {
        {"a bitmap goes to the desktop", "<IMAGE \"photo.bmp\">", {root_ + "pics/photo.bmp"}, ""},
        {"a hypergraphic goes to Pikeral", "<IMAGEL \"map.shg\">", {}, root_ + "pics/map.shg"},
        {"a metafile does nothing", "<IMAGE \"chart.wmf\">", {}, ""},
        // The extension is looked at first: a missing one is not even looked for.
        {"a missing picture of another kind says nothing", "<IMAGE \"gone.png\">", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Shell().opened.clear();
        Shell().started.clear();
        SetBody(*w, row.tag);
        Select(*w, 2);
        Act(*w, "actEditImage")->trigger();
        EXPECT_EQ(Shell().opened, row.opened);
        if (row.startedFile.empty()) {
            EXPECT_TRUE(Shell().started.empty());
        } else {
            ASSERT_EQ(Shell().started.size(), 1u);
            ASSERT_EQ(Shell().started[0].arguments.size(), 2u);
            EXPECT_EQ(Shell().started[0].arguments[1], row.startedFile);
        }
    }
    EXPECT_TRUE(ui.records.empty());
}

TEST_F(ImageCommandsTest, APathWithBlanksReachesPikeralAsOneArgument) {
    WriteHypergraphic(root_ + "my pictures/a b.shg", 4, 4);
    auto w = StartAt("<IMAGE \"a b.shg\">", {"my pictures"});
    Act(*w, "actEditImage")->trigger();
    ASSERT_EQ(Shell().started.size(), 1u);
    const auto& s = Shell().started[0];
    EXPECT_EQ(s.program, root_ + "prog/pikeral");
    ASSERT_EQ(s.arguments.size(), 2u);
    EXPECT_EQ(s.arguments[0].rfind(qm::kHandoffOptionPrefix, 0), 0u);
    EXPECT_EQ(s.arguments[1], root_ + "my pictures/a b.shg");
    // Pikeral's reading of its command line takes the same two apart.
    QStringList args;
    for (const std::string& a : s.arguments) args << qm::FromCp1252(a);
    EXPECT_EQ(qm::shgedit::FileArgumentOf(args), qm::FromCp1252(root_ + "my pictures/a b.shg"));
}

TEST_F(ImageCommandsTest, PikeralGetsTheProjectsNamesInAPrivateFolder) {
    auto w = StartAt("", {});
    EXPECT_EQ(Act(*w, "actShg")->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
    Act(*w, "actShg")->trigger();
    ASSERT_EQ(Shell().started.size(), 1u);
    const auto s = Shell().started[0];
    EXPECT_EQ(s.program, root_ + "prog/pikeral");
    ASSERT_EQ(s.arguments.size(), 1u);  // no file
    const std::string folder = s.arguments[0].substr(std::string(qm::kHandoffOptionPrefix).size());
    EXPECT_EQ(qm::ToFsPath(folder).parent_path(), qm::ToFsPath(root_ + "tmp"));
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
#endif
    EXPECT_EQ(ReadFile(folder + "/~QorTopics.dat"), "Alpha\r\nBeta\r\nContents\r\nintro\r\n");
    EXPECT_EQ(ReadFile(folder + "/~QorPopups.dat"), "PopOne\r\n");
    // Pikeral reads both lists and takes the folder away.
    const auto lists = qm::shgedit::TakeHandoffLists(qm::FromCp1252(folder));
    EXPECT_EQ(lists.Topics, (qm::StringList{"Alpha", "Beta", "Contents", "intro"}));
    EXPECT_EQ(lists.Popups, qm::StringList{"PopOne"});
    EXPECT_FALSE(fs::exists(qm::ToFsPath(folder)));

    // Each start has a folder of its own.
    Act(*w, "actShg")->trigger();
    ASSERT_EQ(Shell().started.size(), 2u);
    EXPECT_NE(Shell().started[1].arguments[0], s.arguments[0]);
}

TEST_F(ImageCommandsTest, AProjectWithoutPopupsHandsAnEmptyPopupsFile) {
    auto w = Start();
    ASSERT_TRUE(started);
    Act(*w, "actShg")->trigger();
    ASSERT_EQ(Shell().started.size(), 1u);
    const std::string folder = Shell().started[0].arguments[0].substr(std::string(qm::kHandoffOptionPrefix).size());
    EXPECT_EQ(ReadFile(folder + "/~QorTopics.dat"), "Contents\r\n");
    ASSERT_TRUE(fs::is_regular_file(qm::ToFsPath(folder + "/~QorPopups.dat")));
    EXPECT_EQ(ReadFile(folder + "/~QorPopups.dat"), "");
}

TEST_F(ImageCommandsTest, AFailedStartIsReportedAndLeavesNoFolderBehind) {
    WriteBitmap(root_ + "pics/photo.bmp", 4, 4);
    WriteHypergraphic(root_ + "pics/map.shg", 4, 4);
    auto w = StartAt("", {"pics"});
    Shell().answer = {false, "No program opens \"photo.bmp\"."};
    struct Row {
        const char* name;
        QString tag;
        const char* action;
        QString message;
    } rows[] = {
        {"a hypergraphic", "<IMAGE \"map.shg\">", "actEditImage", QString::fromLatin1(qm::kMsgPikeralNotFound)},
        {"the editor alone", "", "actShg", QString::fromLatin1(qm::kMsgPikeralNotFound)},
        // The desktop's reason, not a word about Pikeral.
        {"a bitmap", "<IMAGE \"photo.bmp\">", "actEditImage", "No program opens \"photo.bmp\"."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetBody(*w, row.tag);
        Select(*w, row.tag.isEmpty() ? 0 : 2);
        ui.ExpectMessage(MsgKind::Error, row.message);
        Act(*w, row.action)->trigger();
        EXPECT_EQ(ui.MessageTexts().back(), row.message);
        EXPECT_TRUE(TempEntries().empty());
    }
}

TEST_F(ImageCommandsTest, TheEditorMenusImageItemsRunTheCommands) {
    WriteBitmap(root_ + "pics/a.bmp", 6, 4);
    auto w = StartAt("<IMAGE \"a.bmp\">", {"pics"});
    qm::TTagCommands& tags = w->TagCommands();
    emit tags.EditorPopMenu->aboutToShow();
    Viewer seen;
    ExpectViewer(seen);
    tags.mnuEditorPopViewImage->trigger();
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.image, QSize(6, 4));
    tags.mnuEditorPopEditImage->trigger();
    EXPECT_EQ(Shell().opened, std::vector<std::string>{root_ + "pics/a.bmp"});
}

// Pictures of the viewer on a real hypergraphic and of the about box.
// tools/screenshot-imageviewer.sh runs this under Xvfb and keeps
// out/screenshots/imageviewer.png and about.png (QM_SCREENSHOT_DIR);
// otherwise they go to a scratch folder.
TEST_F(ImageCommandsTest, ScreenshotOfTheViewerAndTheAboutBox) {
    const std::string fixtures = QM_FIXTURES_DIR;
    const std::string shg = fixtures + "/shg/FILEOPEN.SHG";
    if (!qm::FileExists(shg)) GTEST_SKIP() << "no " << shg;
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = qm::FromCp1252(root_);
    auto w = StartAt("<IMAGE \"FILEOPEN.SHG\">", {});
    w->Project().BmRoot = {fixtures + "/shg"};
    auto grab = [](QDialog& d, const QString& file) {
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        QApplication::processEvents();
        const QImage shot = d.grab().toImage();
        EXPECT_FALSE(shot.isNull());
        EXPECT_TRUE(shot.save(file, "PNG")) << file.toStdString();
        d.hide();
    };
    ui.ExpectDialog(QStringLiteral("frmImgView"), [&](QDialog& d) {
        grab(d, folder + "/imageviewer.png");
        return QDialog::Accepted;
    });
    Act(*w, "actViewImage")->trigger();
    ui.ExpectDialog(QStringLiteral("frmAbout"), [&](QDialog& d) {
        grab(d, folder + "/about.png");
        return QDialog::Accepted;
    });
    Act(*w, "mnuHelpAbout")->trigger();
}

TEST_F(ImageCommandsTest, AnUnreadableHypergraphicIsReportedWithoutAViewer) {
    WriteRaw(root_ + "shg/bad.shg", "lp not really a hypergraphic");
    auto w = StartAt("<IMAGE \"bad.shg\">", {"shg"});
    ui.ExpectMessage(MsgKind::Error, QStringLiteral("not a valid segmented hypergraphic"));
    Act(*w, "actViewImage")->trigger();
    ASSERT_EQ(ui.records.size(), 1u);
    EXPECT_EQ(ui.records[0].request, qmtest::ScriptedUiServices::Request::Message);
    EXPECT_EQ(w->findChild<qm::TfrmImgView*>(), nullptr);
}
