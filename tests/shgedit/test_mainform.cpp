// Pikeral's frame end to end: a real file opened, drawn on, given a target
// and saved under a new name; what Open makes of each kind of file; the
// action states; the save questions when closing; overwriting; the
// recent-file list; the settings written at close; the hand-off lists; help.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "shgedit/handoff.h"
#include "shgedit/hspropsdlg.h"
#include "shgedit/optionsdlg.h"
#include "shgedit/selectdlg.h"
#include "shgedit_fixture.h"
#include "util/fileio.h"
#include "widgets/actioncheck.h"
#include "widgets/actiontable.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;
using qm::TShg;
using qm::shgedit::TfrmShg;

std::unique_ptr<TShg> Load(const std::string& path) {
    auto shg = std::make_unique<TShg>();
    shg->LoadFromFile(path);
    return shg;
}

// A free 20 x 12 area of the picture, away from every hotspot and its handles.
QPoint FreeSpot(const TShg& shg) {
    const int w = shg.Bitmap->Width, h = shg.Bitmap->Height;
    for (int y = 4; y + 16 < h; y += 2)
        for (int x = 4; x + 24 < w; x += 2) {
            const QRect area(x - 4, y - 4, 28, 20);
            bool free = true;
            for (std::int32_t i = 0; i < shg.Hotspots.Count() && free; ++i) {
                const qm::THotspot& s = shg.Hotspots.GetItem(i);
                free = !area.intersects(QRect(QPoint(s.Left, s.Top), QPoint(s.Right, s.Bottom)).adjusted(-4, -4, 4, 4));
            }
            if (free) return {x, y};
        }
    return {-1, -1};
}

TEST_F(ShgEditTest, ARealFileEndToEnd) {
    const std::string real = RealShg("FILEOPEN.SHG");
    const auto original = Load(real);
    ASSERT_GT(original->Hotspots.Count(), 0);
    Start({});
    Frame().show();
    ui.ExpectOpenFile(QString::fromStdString(real));
    Trigger("actOpen");
    TfrmShg* child = Frame().ActiveChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(Frame().Options().LastOpenDir, qm::ExtractFilePath(real));
    EXPECT_EQ(Frame().Mru().IndexOfFile(real), 0);

    // Draw a new hotspot on free picture with the mouse.
    const QPoint at = FreeSpot(child->Shg());
    ASSERT_GE(at.x(), 0) << "no free place on the picture";
    QWidget* canvas = child->Canvas();
    QTest::mousePress(canvas, Qt::LeftButton, {}, at);
    QTest::mouseMove(canvas, at + QPoint(10, 6));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, at + QPoint(20, 12));
    const int added = original->Hotspots.Count();
    ASSERT_EQ(child->Shg().Hotspots.Count(), added + 1);
    EXPECT_EQ(child->SelectedIndex(), added);

    // Its target: a jump.
    ui.ExpectDialog(QStringLiteral("frmHsProps"), [](QDialog& d) {
        auto& props = static_cast<qm::shgedit::TfrmHsProps&>(d);
        props.cboType->setCurrentIndex(1);
        props.cboBinding->setEditText(QStringLiteral("IDH_FILE_OPEN"));
        d.accept();
        return d.result();
    });
    Trigger("actHSProps");
    ASSERT_TRUE(child->Modified());

    const std::string saved = root_ + "saved copy.shg";
    ui.ExpectSaveFile(QString::fromStdString(saved));
    Trigger("actSaveAs");
    EXPECT_FALSE(child->Modified());
    EXPECT_EQ(child->Shg().FileName, saved);
    EXPECT_EQ(child->windowTitle(), QString::fromStdString(saved));
    EXPECT_EQ(Frame().Options().LastSaveDir, root_);

    const auto back = Load(saved);
    ASSERT_EQ(back->Hotspots.Count(), added + 1);
    for (std::int32_t i = 0; i < added; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back->Hotspots.GetItem(i), original->Hotspots.GetItem(i));
    }
    qm::THotspot expected;
    expected.ID = "Hotspot" + std::to_string(added + 1);
    expected.Kind = qm::THotspotKind::Jump;
    expected.Context = "IDH_FILE_OPEN";
    expected.Visible = false;  // the default attribute: invisible
    expected.Left = at.x();
    expected.Top = at.y();
    expected.Right = at.x() + 20;
    expected.Bottom = at.y() + 12;
    EXPECT_EQ(back->Hotspots.GetItem(added), expected);
    ASSERT_TRUE(back->Bitmap && original->Bitmap);
    EXPECT_EQ(back->Bitmap->Width, original->Bitmap->Width);
    EXPECT_EQ(back->Bitmap->Height, original->Bitmap->Height);
    for (int y = 0; y < back->Bitmap->Height; ++y)
        for (int x = 0; x < back->Bitmap->Width; ++x)
            ASSERT_EQ(back->Bitmap->PixelRgb(x, y), original->Bitmap->PixelRgb(x, y)) << x << ", " << y;
}

TEST_F(ShgEditTest, OpenDispatch) {
    Start();
    const std::string shg = WriteShg("pic.shg", 30, 20, {Spot("One", 1, 1, 5, 5)});
    const std::string bytes = ReadBytes(shg);
    qm::TDib::Create(30, 20, 8).SaveToFile(root_ + "plain.bmp");
    const std::string bmp = ReadBytes(root_ + "plain.bmp");
    struct Row {
        const char* name;
        const char* file;
        std::string content;
        bool opens;
        bool isShg;
        int hotspots;
        const char* error;
    } rows[] = {
        {"x.SHG", "x.SHG", bytes, true, true, 1, nullptr},
        {"x.dat is read as .shg", "x.dat", bytes, true, true, 1, nullptr},
        {"x.bmp", "x.bmp", bmp, true, false, 0, nullptr},
        {"a bitmap named .shg opens as a bitmap", "renamed.shg", bmp, true, false, 0, nullptr},
        {"a bad file", "bad.shg", "hello, world", false, false, 0, qm::kInvalidShgMessage},
        {"a .bmp that is no bitmap", "bad.bmp", "hello, world", false, false, 0, nullptr},
        {"a file too large to be a picture", "huge.shg", bytes, false, false, 0, "is too large to be a picture."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = root_ + row.file;
        WriteBytes(path, row.content);
        // Sparse: no disk space is taken.
        if (std::string(row.file) == "huge.shg")
            std::filesystem::resize_file(qm::ToFsPath(path), qm::shgedit::kMaxPictureFile + 1);
        Frame().Mru().AddFile(path);
        if (!row.opens) ui.ExpectMessage(MsgKind::Error, row.error ? QString::fromLatin1(row.error) : QString());
        const int before = static_cast<int>(Frame().Children().size());
        EXPECT_EQ(Frame().OpenFile(path), row.opens);
        ui.ExpectAllAnswered(row.name);
        if (row.opens) {
            ASSERT_EQ(static_cast<int>(Frame().Children().size()), before + 1);
            const TShg& opened = Frame().ActiveChild()->Shg();
            EXPECT_EQ(opened.IsShg, row.isShg);
            EXPECT_EQ(opened.Hotspots.Count(), row.hotspots);
            EXPECT_EQ(opened.FileName, path);
            EXPECT_EQ(Frame().Mru().IndexOfFile(path), 0);
        } else {
            EXPECT_EQ(static_cast<int>(Frame().Children().size()), before);
            EXPECT_EQ(Frame().Mru().IndexOfFile(path), -1) << "a failed open leaves the recent files";
        }
    }
}

TEST_F(ShgEditTest, TheCommandLineFileAndItsMessages) {
    struct Row {
        const char* name;
        std::function<std::string(ShgEditTest&)> make;
        const char* message;  // nullptr: it opens
    } rows[] = {
        {"a picture opens and goes to the top of the recent files",
         [](ShgEditTest& t) { return t.WriteShg("arg.shg", 10, 10); }, nullptr},
        {"a missing file", [](ShgEditTest& t) { return t.root_ + "missing.shg"; }, "Unable to open the file "},
        {"a bad file shows the reader's message, once",
         [](ShgEditTest& t) {
             WriteBytes(t.root_ + "bad.shg", "MZ not a picture");
             return t.root_ + "bad.shg";
         },
         qm::kInvalidShgMessage},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        const std::string path = row.make(*this);
        if (row.message) ui.ExpectMessage(MsgKind::Error, QString::fromLatin1(row.message));
        const std::size_t messages = ui.MessageTexts().size();
        Frame().FormShow(
            {QStringLiteral("--handoff=") + QString::fromStdString(root_ + "none"), QString::fromStdString(path)});
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(ui.MessageTexts().size(), messages + (row.message ? 1 : 0));
        if (row.message && std::string(row.message) == qm::shgedit::kMsgUnableToOpen) {
            EXPECT_EQ(ui.MessageTexts().back(),
                      QStringLiteral("Unable to open the file ") + QString::fromStdString(path));
        }
        EXPECT_EQ(Frame().Children().size(), row.message ? 0 : 1);
        EXPECT_EQ(Frame().Mru().File(0), row.message ? std::string() : path);
    }
}

TEST_F(ShgEditTest, ActionStates) {
    Start();
    struct Row {
        const char* name;
        std::function<void(ShgEditTest&)> setUp;
        QStringList enabled;  // of the actions whose state has a rule
    } rows[] = {
        {"no window", [](ShgEditTest&) {}, {}},
        {"a picture without hotspots",
         [](ShgEditTest& t) { t.Open(t.WriteShg("none.shg", 20, 20)); },
         {"actClose", "actSave", "actSaveAs", "actImport", "actExport", "actPicProps"}},
        {"hotspots, none selected",
         [](ShgEditTest& t) { t.Open(t.WriteShg("some.shg", 20, 20, {Spot("S", 1, 1, 5, 5)})); },
         {"actClose", "actSave", "actSaveAs", "actImport", "actExport", "actPicProps", "actSelect"}},
        {"a selection",
         [](ShgEditTest& t) { t.Open(t.WriteShg("some.shg", 20, 20, {Spot("S", 1, 1, 5, 5)}))->SelectHotspot(0); },
         {"actClose", "actSave", "actSaveAs", "actImport", "actExport", "actPicProps", "actCut", "actCopy", "actDelete",
          "actSelect", "actHSProps"}},
        {"a copied hotspot and two windows",
         [](ShgEditTest& t) {
             t.Open(t.WriteShg("some.shg", 20, 20, {Spot("S", 1, 1, 5, 5)}))->SelectHotspot(0);
             t.Trigger("actCopy");
             t.Open(t.WriteShg("none.shg", 20, 20));
         },
         {"actClose", "actSave", "actSaveAs", "actImport", "actExport", "actPicProps", "actPaste", "actWindowPrev",
          "actWindowNext"}},
    };
    const QStringList ruled = {"actClose",    "actSave",    "actSaveAs",     "actImport",    "actExport",
                               "actPicProps", "actCut",     "actCopy",       "actPaste",     "actDelete",
                               "actSelect",   "actHSProps", "actWindowPrev", "actWindowNext"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start();
        row.setUp(*this);
        Frame().UpdateActionsNow();
        QStringList enabled;
        for (const QString& name : ruled)
            if (Act(name.toLatin1().constData())->isEnabled()) enabled << name;
        EXPECT_EQ(enabled, row.enabled);
    }
}

TEST_F(ShgEditTest, StatesFollowSignalsCoalesced) {
    Start();
    TfrmShg* child = Open(WriteShg("some.shg", 20, 20, {Spot("S", 1, 1, 5, 5)}));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Act("actCut")->isEnabled());
    const int runs = Frame().Actions().UpdateCount();
    child->SelectHotspot(0);
    child->SelectHotspot(-1);
    child->SelectHotspot(0);
    EXPECT_TRUE(Frame().Actions().UpdatePending());
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame().Actions().UpdateCount(), runs + 1);
    EXPECT_TRUE(Act("actCut")->isEnabled());
}

TEST_F(ShgEditTest, TheSaveQuestionOnTwoWindows) {
    struct Row {
        const char* name;
        MsgResult first;                  // for a.shg, the window that is not active
        std::optional<MsgResult> second;  // for b.shg; nullopt: never asked
        bool closed;
        bool aSaved;
    } rows[] = {
        {"Yes saves that window's own picture", MsgResult::Yes, MsgResult::No, true, true},
        {"No to both loses both changes", MsgResult::No, MsgResult::No, true, false},
        {"Cancel stops the close at once", MsgResult::Cancel, std::nullopt, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        settings.DeleteKey("Pikeral");
        Start();
        Frame().show();
        const std::string a = WriteShg("a.shg", 20, 20), b = WriteShg("b.shg", 20, 20);
        const std::string aBefore = ReadBytes(a), bBefore = ReadBytes(b);
        TfrmShg* childA = Open(a);
        childA->AppendHotspot(Spot("New", 1, 1, 9, 9));
        TfrmShg* childB = Open(b);
        childB->AppendHotspot(Spot("Other", 2, 2, 8, 8));
        ASSERT_EQ(Frame().ActiveChild(), childB);
        ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes to ") + QString::fromStdString(a) + "?",
                         row.first);
        if (row.second)
            ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes to ") + QString::fromStdString(b),
                             *row.second);
        const auto settingsBefore = settings.Entries();
        const bool closed = Frame().close();
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(closed, row.closed);
        EXPECT_EQ(ReadBytes(b), bBefore) << "b's Yes was never given";
        if (row.aSaved)
            EXPECT_EQ(Load(a)->Hotspots.Count(), 1);
        else
            EXPECT_EQ(ReadBytes(a), aBefore);
        if (!row.closed) {
            EXPECT_EQ(Frame().Children().size(), 2);
            EXPECT_EQ(settings.Entries(), settingsBefore) << "settings are written only when the frame closes";
            // Leave without further questions.
            for (TfrmShg* c : Frame().Children()) c->SetModified(false);
        } else {
            EXPECT_TRUE(settings.ValueExists(qm::shgedit::kSettingsKey, "Position"));
        }
    }
}

TEST_F(ShgEditTest, SaveAsAndExportAskBeforeReplacing) {
    Start();
    TfrmShg* child = Open(WriteShg("pic.shg", 20, 20, {Spot("S", 1, 1, 5, 5)}));
    const std::string other = WriteShg("other.shg", 5, 5);
    const std::string otherBefore = ReadBytes(other);
    // No: the dialog again; then cancelled: nothing written.
    ui.ExpectSaveFile(QString::fromStdString(other));
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("already exists"), MsgResult::No);
    ui.ExpectSaveFile(std::nullopt);
    EXPECT_FALSE(Frame().SaveActiveAs());
    EXPECT_EQ(ReadBytes(other), otherBefore);
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_FALSE(ui.fileRequests[0].confirmOverwrite) << "one question, ours";
    EXPECT_EQ(ui.fileRequests[1].fileName, QString::fromStdString(other)) << "the dialog comes back on the name";
    // Yes replaces it.
    ui.ExpectSaveFile(QString::fromStdString(other));
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("already exists"), MsgResult::Yes);
    EXPECT_TRUE(Frame().SaveActiveAs());
    EXPECT_EQ(Load(other)->Hotspots.Count(), 1);
    EXPECT_EQ(child->Shg().FileName, other);
    // Then Save writes the new file without asking.
    child->AppendHotspot(Spot("T", 2, 2, 6, 6));
    Trigger("actSave");
    EXPECT_EQ(Load(other)->Hotspots.Count(), 2);

    // Export: the same question before a file is replaced.
    const std::string bmp = root_ + "other.bmp";
    WriteBytes(bmp, "old");
    ui.ExpectSaveFile(QString::fromStdString(bmp));
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("already exists"), MsgResult::No);
    ui.ExpectSaveFile(std::nullopt);
    Trigger("actExport");
    EXPECT_EQ(ReadBytes(bmp), "old");
    ui.ExpectSaveFile(QString::fromStdString(bmp));
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("already exists"), MsgResult::Yes);
    Trigger("actExport");
    EXPECT_EQ(qm::TDib::LoadFromFile(bmp).Width, 20);
}

TEST_F(ShgEditTest, TheExportNameChangesOnlyTheFileNamesExtension) {
    struct Row {
        const char* name;
        const char* folder;
        const char* file;
        const char* preset;
    } rows[] = {
        {"an extension", "", "pic.shg", "pic.bmp"},
        {"a dotted folder, no extension", "my.pictures/", "pic", "my.pictures/pic.bmp"},
        {"two dots", "", "pic.v2.shg", "pic.v2.bmp"},
    };
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir().mkpath(QString::fromStdString(root_ + row.folder));
        const std::string path = WriteShg(std::string(row.folder) + row.file, 4, 4);
        Open(path);
        ui.fileRequests.clear();
        ui.ExpectSaveFile(std::nullopt);
        Trigger("actExport");
        ASSERT_EQ(ui.fileRequests.size(), 1u);
        EXPECT_EQ(ui.fileRequests[0].caption, QStringLiteral("Export Bitmap"));
        EXPECT_EQ(ui.fileRequests[0].fileName, QString::fromStdString(root_ + row.preset));
    }
}

// "lp", two pictures, the offset table, then our picture twice.
std::string TwoPictures(const std::string& single) {
    const std::string picture = single.substr(8);
    std::string out = "lp";
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    u16(2);
    u32(12);
    u32(12 + static_cast<std::uint32_t>(picture.size()));
    return out + picture + picture;
}

TEST_F(ShgEditTest, SavingOverAFileOfSeveralPicturesAsksFirst) {
    Start();
    const std::string path = root_ + "multi.shg";
    WriteBytes(path, TwoPictures(ReadBytes(WriteShg("single.shg", 10, 10, {Spot("S", 1, 1, 5, 5)}))));
    const std::string before = ReadBytes(path);
    EXPECT_EQ(qm::shgedit::PicturesInFile(path), 2);
    TfrmShg* child = Open(path);
    child->AppendHotspot(Spot("T", 2, 2, 6, 6));
    ui.ExpectMessage(MsgKind::Confirmation,
                     QStringLiteral("This file holds 2 pictures; only the first is kept. Save anyway?"), MsgResult::No);
    EXPECT_FALSE(Frame().SaveActive());
    EXPECT_EQ(ReadBytes(path), before) << "No keeps the file as it was";
    EXPECT_TRUE(child->Modified());
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("2 pictures"), MsgResult::Yes);
    EXPECT_TRUE(Frame().SaveActive());
    EXPECT_EQ(qm::shgedit::PicturesInFile(path), 1);
    EXPECT_EQ(Load(path)->Hotspots.Count(), 2);
    EXPECT_FALSE(child->Modified());
}

TEST_F(ShgEditTest, ABitmapNamedShgIsNeverOverwrittenBySurprise) {
    Start();
    const std::string path = root_ + "renamed.shg";
    qm::TDib::Create(12, 8, 24).SaveToFile(path);
    const std::string before = ReadBytes(path);
    TfrmShg* child = Open(path);
    EXPECT_FALSE(child->Shg().IsShg);
    child->AppendHotspot(Spot("S", 1, 1, 5, 5));
    // Save asks for a name; cancelled, the bitmap stays as it was.
    ui.ExpectSaveFile(std::nullopt);
    Trigger("actSave");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(child->Modified());
    // The picture properties say what it is.
    ui.ExpectDialog(QStringLiteral("frmProperties"), [](QDialog& d) {
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("lblPicType"))->text(), QStringLiteral("Bitmap"));
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("lblColors"))->text(), QStringLiteral("16 777 216 colors"));
        d.accept();
        return d.result();
    });
    Trigger("actPicProps");
    child->SetModified(false);
}

TEST_F(ShgEditTest, AFailedRecentFileOpenLeavesTheNameRemoved) {
    const std::string good = WriteShg("good.shg", 10, 10);
    const std::string bad = root_ + "bad.shg";
    WriteBytes(bad, "not a picture");
    settings.WriteString(qm::shgedit::kMruKey, "0", bad);
    settings.WriteString(qm::shgedit::kMruKey, "1", good);
    Start();
    QMenu* file = Frame().findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_NE(file, nullptr);
    ASSERT_GE(file->actions().size(), qm::shgedit::kMruMenuIndex + 4);
    QAction* first = file->actions().at(qm::shgedit::kMruMenuIndex);
    EXPECT_EQ(first->text(), QStringLiteral("&1 ") + QString::fromStdString(bad));
    EXPECT_EQ(first->statusTip(), QStringLiteral("Opens this document."));
    ui.ExpectMessage(MsgKind::Error, QString::fromLatin1(qm::kInvalidShgMessage));
    first->trigger();
    ui.ExpectAllAnswered();
    EXPECT_EQ(Frame().Mru().File(0), good);
    EXPECT_EQ(Frame().Mru().IndexOfFile(bad), -1);
    EXPECT_EQ(first->text(), QStringLiteral("&1 ") + QString::fromStdString(good));
    // A good one opens and moves to the top.
    file->actions().at(qm::shgedit::kMruMenuIndex)->trigger();
    EXPECT_EQ(Frame().Children().size(), 1);
    EXPECT_EQ(Frame().Mru().File(0), good);
}

TEST_F(ShgEditTest, TheMenusAsLaidOut) {
    Start();
    QStringList file;
    for (QAction* a : Frame().findChild<QMenu*>(QStringLiteral("mnuFile"))->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->objectName().isEmpty() ? a->text() : a->objectName());
    EXPECT_EQ(file,
              (QStringList{"actOpen", "actClose", "-", "actSave", "actSaveAs", "-", "actImport", "actExport", "-",
                           "actPicProps", "-", "actExit", "-", "&1 <None>", "&2 <None>", "&3 <None>", "&4 <None>"}));
    EXPECT_TRUE(qm::ShortcutConflicts(Frame().Actions().Actions()).isEmpty());
    EXPECT_TRUE(qm::MenuMnemonicConflicts(Frame()).isEmpty())
        << qm::MenuMnemonicConflicts(Frame()).join("\n").toStdString();
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Pikeral v1.02"));
    EXPECT_EQ(Act("actHSProps")->shortcut(), QKeySequence(QStringLiteral("F4")));
    EXPECT_EQ(Act("actOpen")->toolTip(), QStringLiteral("Open"));
    EXPECT_EQ(Act("actOpen")->statusTip(), QStringLiteral("Opens an existing document."));
}

TEST_F(ShgEditTest, CutCopyPaste) {
    Start();
    TfrmShg* child = Open(WriteShg("pic.shg", 50, 50, {Spot("A", 10, 20, 30, 25), Spot("B", 1, 1, 3, 3)}));
    child->SelectHotspot(0);
    Trigger("actCopy");
    Trigger("actPaste");
    Trigger("actPaste");
    ASSERT_EQ(child->Shg().Hotspots.Count(), 4);
    for (int i : {2, 3}) {
        SCOPED_TRACE(i);
        const qm::THotspot& h = child->Shg().Hotspots.GetItem(i);
        EXPECT_EQ(h.ID, "A");
        EXPECT_EQ(h.Context, "TARGET");
        EXPECT_EQ((std::array<int, 4>{h.Left, h.Top, h.Right, h.Bottom}), (std::array<int, 4>{0, 0, 20, 5}));
    }
    EXPECT_EQ(child->SelectedIndex(), 3);
    Trigger("actCut");
    EXPECT_EQ(child->Shg().Hotspots.Count(), 3);
    EXPECT_FALSE(child->HasSelection());
    // The clipboard outlives its window.
    child->SetModified(false);
    child->parentWidget()->close();
    TfrmShg* other = Open(WriteShg("other.shg", 50, 50));
    Trigger("actPaste");
    EXPECT_EQ(other->Shg().Hotspots.Count(), 1);
    child = other;
    child->SelectHotspot(0);
    Trigger("actDelete");
    EXPECT_EQ(child->Shg().Hotspots.Count(), 0);
    EXPECT_TRUE(child->Modified());
    child->SetModified(false);
}

TEST_F(ShgEditTest, SelectPicksTheChosenHotspot) {
    Start();
    TfrmShg* child = Open(WriteShg("pic.shg", 50, 50, {Spot("Hotspot10", 1, 1, 3, 3), Spot("Hotspot1", 5, 5, 9, 9)}));
    ui.ExpectDialog(QStringLiteral("frmSelect"), [](QDialog& d) {
        auto& select = static_cast<qm::shgedit::TfrmSelect&>(d);
        select.lstHotspotsClick(select.lstHotspots->item(1));
        d.accept();
        return d.result();
    });
    Trigger("actSelect");
    EXPECT_EQ(child->SelectedIndex(), 1);
    // With no item selected, nothing changes.
    ui.ExpectDialog(QStringLiteral("frmSelect"), [](QDialog& d) {
        static_cast<qm::shgedit::TfrmSelect&>(d).txtHotspot->setText(QStringLiteral("zzz"));
        d.accept();
        return d.result();
    });
    Trigger("actSelect");
    EXPECT_EQ(child->SelectedIndex(), 1);
}

TEST_F(ShgEditTest, SettingsAreWrittenAtCloseAndThePlacementComesBack) {
    Start();
    // A first run: the defaults, and the window's own place and size.
    EXPECT_EQ(Frame().size(), QSize(800, 600));
    EXPECT_TRUE(Act("actViewToolbar")->isChecked());
    EXPECT_TRUE(Act("actViewStatusBar")->isChecked());
    EXPECT_EQ(Frame().Options().DefID, "Hotspot");
    Frame().setGeometry(40, 50, 620, 430);
    Trigger("actViewToolbar");
    ASSERT_TRUE(Frame().close());
    qm::shgedit::TOptions stored;
    stored.ReadFromRegistry(settings);
    EXPECT_FALSE(stored.ViewToolbar);
    EXPECT_TRUE(stored.ViewStatusBar);
    EXPECT_EQ(stored.Position.Length, 44u);
    EXPECT_EQ(stored.Position.ShowCmd, qm::shgedit::kShowNormal);
    EXPECT_EQ(stored.Position.Right - stored.Position.Left, 620);
    EXPECT_EQ(stored.Position.Bottom - stored.Position.Top, 430);
    EXPECT_TRUE(settings.ValueExists(qm::shgedit::kMruKey, "3"));

    // Far off the screen: brought back onto it, size kept where it fits.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    stored.Position =
        qm::shgedit::TWindowPlacement::FromWindow(screen.right() + 5000, screen.bottom() + 5000, 300, 200, false);
    stored.WriteToRegistry(settings);
    Start();
    EXPECT_FALSE(Act("actViewToolbar")->isChecked());
    EXPECT_TRUE(Frame().Toolbar()->isHidden());
    EXPECT_TRUE(screen.contains(Frame().geometry())) << "restored onto the screen";
    EXPECT_EQ(Frame().geometry().size(), QSize(300, 200));
}

// A value of the wrong kind takes its default and is named in the status bar
// at start-up; what could be read is kept, and no box is shown.
TEST_F(ShgEditTest, UnreadableSettingsAreNamedInTheStatusBar) {
    Start();
    EXPECT_EQ(Frame().Status().Text(0), "Ready.");
    ASSERT_TRUE(Frame().close());
    settings.WriteString(qm::shgedit::kSettingsKey, "ViewToolbar", "no");
    settings.WriteString(qm::shgedit::kSettingsKey, "DefType", "jump");
    settings.WriteString(qm::shgedit::kSettingsKey, "DefID", "Spot");
    Start();
    EXPECT_TRUE(Act("actViewToolbar")->isChecked());
    EXPECT_EQ(Frame().Options().DefID, "Spot");
    EXPECT_EQ(Frame().Status().Text(0).toStdString(),
              "The setting \"Pikeral\\Settings\\ViewToolbar\" could not be read; its default is used. (1 more)");
}

TEST_F(ShgEditTest, WindowArrangements) {
    Start();
    Frame().resize(800, 600);
    Frame().show();
    QApplication::processEvents();
    Open(WriteShg("a.shg", 40, 30));
    Open(WriteShg("b.shg", 40, 30));
    const QRect area = Frame().MdiArea()->viewport()->rect();
    auto geometries = [&] {
        std::vector<QRect> out;
        for (QMdiSubWindow* sw : Frame().MdiArea()->subWindowList()) out.push_back(sw->geometry());
        return out;
    };
    Trigger("actWindowTileHorizontal");
    const int half = area.height() / 2;
    EXPECT_EQ(geometries(), (std::vector<QRect>{QRect(0, 0, area.width(), half),
                                                QRect(0, half, area.width(), area.height() - half)}));
    Trigger("actWindowTileVertical");
    const int middle = area.width() / 2;
    EXPECT_EQ(geometries(), (std::vector<QRect>{QRect(0, 0, middle, area.height()),
                                                QRect(middle, 0, area.width() - middle, area.height())}));
    Trigger("actWindowMinimizeAll");
    for (QMdiSubWindow* sw : Frame().MdiArea()->subWindowList()) {
        EXPECT_TRUE(sw->isMinimized());
        EXPECT_EQ(sw->geometry().bottom(), area.bottom()) << "iconized windows line the bottom";
    }
    const std::vector<QRect> icons = geometries();
    EXPECT_LE(icons[0].right(), icons[1].left()) << "side by side";
}

TEST(ClampToScreen, Table) {
    const QRect screen(0, 0, 1000, 700);
    struct Row {
        const char* name;
        QRect in;
        QRect out;
    } rows[] = {
        {"inside", {10, 10, 300, 200}, {10, 10, 300, 200}},
        {"beyond the bottom right", {900, 650, 300, 200}, {700, 500, 300, 200}},
        {"above the top left", {-50, -20, 300, 200}, {0, 0, 300, 200}},
        {"larger than the screen", {-50, -20, 3000, 2000}, {0, 0, 1000, 700}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qm::shgedit::ClampToScreen(row.in, screen), row.out);
    }
}

TEST_F(ShgEditTest, TheHandoffListsFeedTheBindingBox) {
    const QString folder = QString::fromStdString(root_ + "handoff");
    QDir().mkpath(folder);
    WriteBytes(root_ + "handoff/~QorTopics.dat", "A\r\nb\r\n");
    WriteBytes(root_ + "handoff/~QorPopups.dat", "");
    Start(folder);
    EXPECT_EQ(Frame().TopicNames(), (qm::StringList{"A", "b"}));
    EXPECT_TRUE(Frame().PopupNames().empty());
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the files and their folder are gone";
    TfrmShg* child = Open(WriteShg("pic.shg", 20, 20, {Spot("S", 1, 1, 5, 5)}));
    child->SelectHotspot(0);
    ui.ExpectDialog(QStringLiteral("frmHsProps"), [](QDialog& d) {
        auto* binding = d.findChild<QComboBox*>(QStringLiteral("cboBinding"));
        QStringList items;
        for (int i = 0; i < binding->count(); ++i) items << binding->itemText(i);
        EXPECT_EQ(items, (QStringList{"A", "b"}));  // a jump offers the topics
        d.reject();
        return d.result();
    });
    Trigger("actHSProps");
    EXPECT_FALSE(child->Modified());
}

TEST_F(ShgEditTest, HelpAndPreferences) {
    association.ConfigHome = root_ + "config";
    association.DataHome = root_ + "data";
    association.ProgramPath = "/opt/pikeral";
    association.Installed = true;
    Start();
    Trigger("actHelpContents");
    Trigger("actHelpIndex");
    EXPECT_EQ(ui.helpContentsCalls, 1);
    EXPECT_EQ(ui.helpIndexKeywords, QStringList{QString()});
    EXPECT_TRUE(ui.HelpFile().endsWith(QStringLiteral("/Pikeral.hlp")));

    // Cancel changes nothing; OK stores and registers the association.
    ui.ExpectDialog(QStringLiteral("frmOptions"), [](QDialog& d) {
        d.reject();
        return d.result();
    });
    Trigger("actOptions");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(root_ + "config/mimeapps.list")));
    ui.ExpectDialog(QStringLiteral("frmOptions"), [](QDialog& d) {
        auto& options = static_cast<qm::shgedit::TfrmOptions&>(d);
        EXPECT_TRUE(options.chkAssociate->isChecked());
        options.txtID->setText(QStringLiteral("Spot"));
        d.accept();
        return d.result();
    });
    Trigger("actOptions");
    EXPECT_EQ(Frame().Options().DefID, "Spot");
    EXPECT_EQ(ReadBytes(root_ + "config/mimeapps.list"), "[Default Applications]\napplication/x-shg=pikeral.desktop\n");
    ui.ExpectDialog(QStringLiteral("frmAbout"), [](QDialog& d) {
        d.accept();
        return d.result();
    });
    Trigger("actAbout");
}

}  // namespace
}  // namespace qmtest
