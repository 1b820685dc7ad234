// Import RTF, Import Text and Export RTF on the real window: the file
// replaces the open module's text as one undoable step, text files in
// UTF-8 or Windows-1252, and the export saved whole or not at all.
#include <filesystem>
#include <fstream>

#include "mainwindow/transfercommands.h"
#include "tag_fixture.h"
#include "util/fileio.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

using qm::MsgKind;

class TransferCommandsTest : public TagTest {
protected:
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = root_ + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadFile(const std::string& path) { return qm::ReadWholeFile(path); }
    static QString StatusText(qm::TfrmMain& w) { return w.Status().Text(0); }
};

TEST_F(TransferCommandsTest, ImportRtfReplacesTheTextInOneUndoStep) {
    auto w = StartWith("old text");
    const std::string file = WriteFile("in.rtf", BodyRtf("imported {\\b bold} text"));
    ui.ExpectOpenFile(qm::FromCp1252(file));
    Act(*w, "actImportRtf")->trigger();
    ui.ExpectAllAnswered();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter, "Rich text files (*.rtf)");
    EXPECT_EQ(ui.fileRequests[0].defaultSuffix, "rtf");
    EXPECT_EQ(EditorText(*w), "imported bold text");
    EXPECT_TRUE(w->Project().Modified);
    SelectText(*w, "bold");
    EXPECT_EQ(w->Editor()->SelAttributes.GetStyle() & qm::fsBold, unsigned(qm::fsBold));

    w->Editor()->Undo();
    EXPECT_EQ(EditorText(*w), "old text");
    EXPECT_FALSE(w->Editor()->CanUndo());
}

// Text files are read as UTF-8 when they are valid UTF-8, else as
// Windows-1252; one Undo brings the old text back.
TEST_F(TransferCommandsTest, ImportTextReadsUtf8AndWindows1252) {
    struct Row {
        const char* name;
        std::string bytes;
        QString text;
    };
    const Row rows[] = {
        {"UTF-8", "caf\xC3\xA9 \xE2\x82\xAC\r\nsecond line", QStringLiteral("caf\u00E9 \u20AC\nsecond line")},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBF"
         "caf\xC3\xA9",
         QStringLiteral("caf\u00E9")},
        {"Windows-1252", "caf\xE9 \x80\r\nsecond line", QStringLiteral("caf\u00E9 \u20AC\nsecond line")},
        {"RTF-looking text stays text", "{\\rtf1 not rtf}", QStringLiteral("{\\rtf1 not rtf}")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartWith("old text");
        ui.ExpectOpenFile(qm::FromCp1252(WriteFile("in.txt", row.bytes)));
        Act(*w, "actImportText")->trigger();
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(ui.fileRequests.back().filter, "Text files (*.txt)");
        EXPECT_EQ(ui.fileRequests.back().defaultSuffix, "txt");
        EXPECT_EQ(EditorText(*w), row.text);
        EXPECT_TRUE(w->Project().Modified);
        w->Editor()->Undo();
        EXPECT_EQ(EditorText(*w), "old text");
    }
}

// A file that cannot be read, or is too large, is refused naming it;
// nothing changes. A cancelled dialog changes nothing either.
TEST_F(TransferCommandsTest, AnImportThatCannotReadChangesNothing) {
    const std::string big = root_ + "big.txt";
    {
        std::ofstream(big, std::ios::binary) << "x";
        // Sparse: the size is there without the bytes.
        std::filesystem::resize_file(big, (std::uintmax_t{256} << 20) + 1);
    }
    struct Row {
        const char* name;
        const char* action;
        std::optional<QString> file;
        const char* message;  // part of the error box; nullptr: none
    };
    const QString missing = QString::fromStdString(root_) + "missing.rtf";
    const Row rows[] = {
        {"missing RTF file", "actImportRtf", missing, "missing.rtf"},
        {"too large text file", "actImportText", QString::fromStdString(big), "The file is too large"},
        {"too large RTF file", "actImportRtf", QString::fromStdString(big), "big.txt"},
        {"cancelled", "actImportText", std::nullopt, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto w = StartWith("old text");
        ui.ExpectOpenFile(row.file);
        if (row.message) ui.ExpectMessage(MsgKind::Error, QString::fromLatin1(row.message));
        Act(*w, row.action)->trigger();
        ui.ExpectAllAnswered(row.name);
        if (row.message && row.file) {
            EXPECT_TRUE(ui.MessageTexts().back().contains(*row.file));
        }
        EXPECT_EQ(EditorText(*w), "old text");
        EXPECT_FALSE(w->Project().Modified);
        EXPECT_FALSE(w->Editor()->CanUndo());
    }
}

TEST_F(TransferCommandsTest, ExportWritesTheEditorsRtf) {
    auto w = StartWith("to export");
    const std::string file = root_ + "out.rtf";
    ui.ExpectSaveFile(qm::FromCp1252(file));
    Act(*w, "actExportRtf")->trigger();
    ui.ExpectAllAnswered();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter, "Rich text files (*.rtf)");
    EXPECT_EQ(ui.fileRequests[0].defaultSuffix, "rtf");
    EXPECT_TRUE(ui.fileRequests[0].confirmOverwrite);
    EXPECT_EQ(ReadFile(file), w->Editor()->GetRtfText());
    EXPECT_EQ(StatusText(*w), "Topic exported sucessfully to rtf file.");
    EXPECT_FALSE(w->Project().Modified);
    // The exported file reads back as the same text.
    auto check = StartWith("");
    ui.ExpectOpenFile(qm::FromCp1252(file));
    Act(*check, "actImportRtf")->trigger();
    EXPECT_EQ(EditorText(*check), "to export");
}

// A save that fails names the file, shows no success and leaves the old
// file whole.
TEST_F(TransferCommandsTest, AFailedExportNamesTheFileAndKeepsTheOldOne) {
    struct Row {
        const char* name;
        std::string target;
        bool failRename;  // the save's last step fails
    };
    std::filesystem::create_directories(root_ + "folder.rtf");
    const Row rows[] = {
        {"a folder in the way", root_ + "folder.rtf", false},
        {"the rename fails", root_ + "old.rtf", true},
    };
    const std::string old = "{\\rtf1 the old file}";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.failRename) WriteFile("old.rtf", old);
        auto w = StartWith("new text");
        w->Status().SetReady();
        qm::SetSaveFaultHookForTesting(
            [&row](qm::SaveStep step) { return row.failRename && step == qm::SaveStep::Rename ? EACCES : 0; });
        ui.ExpectSaveFile(qm::FromCp1252(row.target));
        ui.ExpectMessage(MsgKind::Error, QString());
        Act(*w, "actExportRtf")->trigger();
        qm::SetSaveFaultHookForTesting({});
        ui.ExpectAllAnswered(row.name);
        EXPECT_TRUE(ui.MessageTexts().back().contains(qm::FromCp1252(row.target)))
            << ui.MessageTexts().back().toStdString();
        EXPECT_EQ(StatusText(*w), "Ready.");
        if (row.failRename) {
            EXPECT_EQ(ReadFile(row.target), old);
        }
        EXPECT_TRUE(std::filesystem::is_directory(root_ + "folder.rtf"));
    }
}

}  // namespace
}  // namespace qmtest
