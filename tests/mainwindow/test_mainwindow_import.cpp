// The Import command driven through the main window's action, with the
// dialog's answer scripted: RTF pages into the open project, a HelpWorkshop
// project in place of it, and the failures that must leave it untouched.
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <fstream>
#include <regex>

#include "dialogs/programoptions.h"
#include "mainwindow/importcommands.h"
#include "mainwindow/navigationcommands.h"
#include "mainwindow/progresswindow.h"
#include "mainwindow/tagcommands.h"
#include "mainwindow_fixture.h"
#include "platform/qtcp1252.h"
#include "platform/qtprograms.h"
#include "preprocess/outputlog.h"
#include "preprocess/tagtext.h"
#include "richtext/richdoc.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

using qm::MsgKind;
using qm::MsgResult;

const std::string kWordRtf = QM_TEST_DATA_DIR "/import/word.rtf";
const std::string kProjDir = QM_TEST_DATA_DIR "/import/proj/";

QStringList ComboRows(qm::TfrmMain& w, const char* name) {
    QStringList out;
    auto* c = w.findChild<QComboBox*>(QString::fromLatin1(name));
    for (int i = 0; c && i < c->count(); ++i) out << c->itemText(i);
    return out;
}

class MainWindowImportTest : public MainWindowTest {};

// The tags of a module's text, in order.
std::vector<std::string> TagsOf(const std::string& rtf) {
    const std::string plain = qm::StripRtf(rtf);
    static const std::regex tag("<[^<>]*>");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(plain.begin(), plain.end(), tag); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

TEST_F(MainWindowImportTest, RtfPagesReplaceTheOpenTopicAndAreListed) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_TRUE(started);
    OpenRow(*w, "lstTopics", "Alpha");
    ASSERT_EQ(w->CurrentNode()->GetName(), "Alpha");
    const qm::TNodeId betaId = w->Project().Topics.FindByName("Beta")->Id();
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, true});
    Act(*w, "actImport")->trigger();

    // Alpha's place goes to the first page; the other two are appended.
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Beta", "Contents", "Intro", "Steps", "Term"}));
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"PopOne"});
    EXPECT_TRUE(ComboRows(*w, "cboTopics").contains(QStringLiteral("Steps")));
    EXPECT_EQ(w->Project().Topics.FindByName("Alpha"), nullptr);
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Intro");
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), QStringLiteral("Intro"));
    const QString shown = w->Editor()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Read the"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Alpha body")));
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_NE(w->Project().Topics.FindById(betaId), nullptr);
    EXPECT_FALSE(Child<qm::TfrmMessage>(*w, "frmMessage")->isVisible());

    // Opening another module stores the editor into Intro, not into a freed node.
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_NE(w->Project().Topics.FindByName("Intro")->Text.find("Read the"), std::string::npos);
}

TEST_F(MainWindowImportTest, RtfOnThePopupPageMakesPopups) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(1);
    OpenRow(*w, "lstPopups", "PopOne");
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, true});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstPopups"), (QStringList{"Intro", "Steps", "Term"}));
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Intro");
    EXPECT_TRUE(w->CurrentNode()->IsPopup());
}

TEST_F(MainWindowImportTest, RtfWithoutFootnotesBecomesTheOpenModulesText) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Beta");
    ExpectImport(qm::TImportRequest{kWordRtf, qm::TImportFilter::Rtf, false});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    EXPECT_EQ(w->CurrentNode()->GetName(), "Beta");
    EXPECT_TRUE(w->Editor()->toPlainText().contains(QStringLiteral("Read the")));
    EXPECT_FALSE(w->Editor()->toPlainText().contains(QStringLiteral("Beta body")));
    EXPECT_NE(w->Project().Topics.FindByName("Beta")->Text.find("Read the"), std::string::npos);
    // The import into the open topic is one edit: Undo brings the old text back.
    ASSERT_TRUE(w->Editor()->CanUndo());
    w->Editor()->Undo();
    EXPECT_TRUE(w->Editor()->toPlainText().startsWith(QStringLiteral("Beta body")));
    EXPECT_FALSE(w->Editor()->CanUndo());
}

TEST_F(MainWindowImportTest, TextFileIsLoadedIntoTheOpenModule) {
    const std::string txt = root_ + "notes.txt";
    {
        std::ofstream out(txt, std::ios::binary);
        out << "First line\r\nSecond line\r\n";
    }
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    ExpectImport(qm::TImportRequest{txt, qm::TImportFilter::Text, false});
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
    const QString shown = w->Editor()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Second line"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Alpha body")));
    OpenRow(*w, "lstTopics", "Beta");
    EXPECT_NE(w->Project().Topics.FindByName("Alpha")->Text.find("Second line"), std::string::npos);
}

TEST_F(MainWindowImportTest, HpjReplacesTheProjectAfterTheSaveQuestion) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    OpenRow(*w, "lstTopics", "Beta");
    ASSERT_FALSE(w->BackHistory().isEmpty());
    w->Project().Modified = true;
    ExpectImport(qm::TImportRequest{kProjDir + "Sample.hpj", qm::TImportFilter::Hpj, false});
    ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes to project sample.qpf?"), MsgResult::No);
    Act(*w, "actImport")->trigger();

    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Details", "Welcome", "Welcome_1"}));
    EXPECT_TRUE(Rows(*w, "lstPopups").isEmpty());
    EXPECT_EQ(w->Project().FileName, "");
    EXPECT_TRUE(w->Project().Modified);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quillmark 1.51 - [Untitled]"));
    EXPECT_TRUE(w->BackHistory().isEmpty());
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "Welcome");
    EXPECT_EQ(Child<QListWidget>(*w, "lstTopics")->currentItem()->text(), QStringLiteral("Welcome"));
    EXPECT_FALSE(w->Editor()->toPlainText().isEmpty());
}

TEST_F(MainWindowImportTest, RefusedOrFailedImportLeavesTheProject) {
    struct Case {
        const char* what;
        std::string file;
        qm::TImportFilter filter;
        bool modified;
    };
    const std::string sample = SaveSample();
    for (const Case& c : {Case{"save question cancelled", kProjDir + "Sample.hpj", qm::TImportFilter::Hpj, true},
                          Case{"file of the .hpj missing", kProjDir + "MissingFile.hpj", qm::TImportFilter::Hpj, false},
                          Case{"RTF file missing", root_ + "none.rtf", qm::TImportFilter::Rtf, false}}) {
        SCOPED_TRACE(c.what);
        auto w = Start({qm::FromCp1252(sample)});
        OpenRow(*w, "lstTopics", "Alpha");
        w->Project().Modified = c.modified;
        ExpectImport(qm::TImportRequest{c.file, c.filter, true});
        if (c.modified)
            ui.ExpectMessage(MsgKind::Confirmation, QStringLiteral("Save changes"), MsgResult::Cancel);
        else
            ui.ExpectMessage(MsgKind::Error, QString());
        Act(*w, "actImport")->trigger();
        ui.ExpectAllAnswered(c.what);
        EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
        EXPECT_EQ(w->Project().FileName, sample);
        EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
        EXPECT_TRUE(w->Editor()->toPlainText().contains(QStringLiteral("Alpha body")));
        EXPECT_FALSE(Child<qm::TfrmMessage>(*w, "frmMessage")->isVisible());
    }
}

TEST_F(MainWindowImportTest, CancelledDialogDoesNothing) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    OpenRow(*w, "lstTopics", "Alpha");
    w->Project().Modified = true;
    ExpectImport(std::nullopt);
    Act(*w, "actImport")->trigger();
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"Alpha", "Beta", "Contents"}));
    EXPECT_EQ(w->CurrentNode()->GetName(), "Alpha");
}

// A project as older tools and hand editing left it, imported through the
// Import command, saved, opened again and built with the stand-in compiler.
class LegacyProjectTest : public MainWindowImportTest {
protected:
    void Write(const std::string& name, const std::string& text) {
        const std::string path = root_ + "legacy/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // A 2 x 2 bitmap of 24 bits per pixel, as RTF writes it in hex digits.
    static std::string DibHex() {
        return "28000000020000000200000001001800000000001000000000000000000000000000000000000000"
               "0000ffffffff00000000ff00ff000000";
    }

    void WriteProject() {
        Write("legacy.hpj",
              "; Written by hand over the years\n"
              "[OPTIONS]\n"
              "TITLE=Legacy Help\n"
              "HLP=.\\legacy.hlp\n"
              "\n"
              "; the first topic\n"
              "CONTENTS=main\n"
              "BMROOT=BITMAPS, SHG\n"
              "COMPRESS=HIGH\n"
              "LCID=0x409 0x0 0x0\n"
              "\n"
              "[FILES]\n"
              "; the topics\n"
              ";   in two files\n"
              "\n"
              "first.rtf\n"
              "second.rtf\n"
              "\n"
              "[WINDOWS]\n"
              "main=,(0,0,1023,1023),1,(255,255,255),(192,192,192),0\n"
              "\n"
              "[CONFIG]\n"
              "BrowseButtons()\n"
              "\n"
              "[MAP]\n"
              "#include <ids.h>\n"
              "\n"
              "[ALIAS]\n"
              "start=main\n");
        Write("ids.h", "// context numbers of the application\r\n#define main 100\r\n#define edit-file 0x200\r\n");
        Write("BITMAPS/logo.bmp", "BM");
        std::filesystem::create_directories(root_ + "legacy/SHG");
        Write("first.rtf",
              "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\plain\\f0\\fs20\r\n"
              "#{\\footnote main}${\\footnote Main}K{\\footnote files;editing}K{\\footnote Editing;start}\r\n"
              "Welcome. {\\strike Edit a file}{\\v edit-file} or see a {\\ul term}{\\v def}.\\par\r\n"
              "{\\ul Quit now}{\\v !Exit()}\\par\r\n"
              "Steps{\\uldb \\par Open the steps}{\\v steps}\\par\r\n"
              "\\{bmc logo.bmp\\} {\\pict\\dibitmap0\\picw2\\pich2 " +
                  DibHex() +
                  "}\\par\r\n"
                  "}");
        Write("second.rtf",
              "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\plain\\f0\\fs20\r\n"
              "#{\\footnote edit-file}${\\footnote Editing a file}K{\\footnote editing}\r\n"
              "To edit a file, {\\uldb go back}{\\v main}.\\par\r\n"
              "\\trowd\\cellx2000\\cellx4000\\pard\\intbl Key\\cell Action\\cell\\row\r\n"
              "\\trowd\\cellx2000\\cellx4000\\pard\\intbl F1\\cell Help\\cell\\row\r\n"
              "\\pard After the table.\\par\r\n"
              "\\page #{\\footnote steps}${\\footnote Steps}Step one.\\par\r\n"
              "\\page #{\\footnote def}A term.\\par\r\n"
              "}");
    }
};

TEST_F(LegacyProjectTest, ImportsSavesReloadsAndBuildsWhole) {
    WriteProject();
    auto w = Start({qm::FromCp1252(SaveSample())});
    w->ShowPane(qm::Pane::Messages, false);  // the import shows it
    ExpectImport(qm::TImportRequest{root_ + "legacy/legacy.hpj", qm::TImportFilter::Hpj, false});
    Act(*w, "actImport")->trigger();
    ui.ExpectAllAnswered("import");

    // Every topic arrives under its own name; the record only popups reach
    // is a popup.
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"edit_file", "main", "steps"}));
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"def"});
    ASSERT_NE(w->CurrentNode(), nullptr);
    EXPECT_EQ(w->CurrentNode()->GetName(), "main");

    // The messages pane lists what the project could not hold.
    const QString notes = TreeRows(*w, "tvwQuillmark").join("\n");
    EXPECT_TRUE(w->PaneShown(qm::Pane::Messages));
    for (const char* part : {"LCID=0x409 0x0 0x0", "The alias of [ALIAS] was resolved"})
        EXPECT_TRUE(notes.contains(QString::fromLatin1(part))) << part << " in\n" << notes.toStdString();

    const std::string saved = root_ + "legacy/legacy.qpf";
    ui.ExpectSaveFile(qm::FromCp1252(saved));
    Act(*w, "actSave")->trigger();
    ui.ExpectAllAnswered("save");
    ASSERT_EQ(w->Project().FileName, saved);
    w.reset();

    qm::TProject back;
    back.LoadFromFile(saved);
    const qm::TTopicNode* main = back.Topics.FindByName("main");
    const qm::TTopicNode* edit = back.Topics.FindByName("edit_file");
    ASSERT_TRUE(main && edit);
    // The numbers of the map; the others are numbered.
    EXPECT_EQ(main->ContextId, 100);
    EXPECT_EQ(edit->ContextId, 0x200);
    EXPECT_TRUE(main->IsContents);
    EXPECT_EQ(main->Keywords, (qm::StringList{"files", "editing", "start"}));
    EXPECT_EQ(TagsOf(main->Text),
              (std::vector<std::string>{"<LINK TOPIC=\"edit_file\">", "</LINK>", "<LINK POPUP=\"def\">", "</LINK>",
                                        "<MACRO Exit()>", "</MACRO>", "<LINK TOPIC=\"steps\">", "</LINK>",
                                        "<IMAGEC \"logo.bmp\">", "<IMAGE \"main1.bmp\">"}));
    EXPECT_TRUE(qm::FileExists(root_ + "legacy/BITMAPS/main1.bmp"));
    // The table's rows and cells: a definition, then each cell's end.
    const std::string def = "<RTF \"\\\\trowd\\\\cellx2000\\\\cellx4000 \">";
    const std::string cell = "<RTF \"\\\\cell \">", last = "<RTF \"\\\\cell \\\\row \">";
    EXPECT_EQ(TagsOf(edit->Text),
              (std::vector<std::string>{"<LINK TOPIC=\"main\">", "</LINK>", def, cell, last, def, cell, last}));
    // The window, its colours and its start-up macro; the image folders and
    // the compression.
    ASSERT_EQ(back.Windows.Count(), 1);
    const qm::TWindowDef& win = back.Windows.GetWindow(1);
    EXPECT_EQ(win.GetName(), "main");
    EXPECT_EQ(win.Rgb2, 0xFFFFFFu);  // the topic area stays white
    EXPECT_EQ(win.Rgb1, 0xC0C0C0u);
    EXPECT_EQ(win.Macros, qm::StringList{"BrowseButtons()"});
    EXPECT_EQ(back.BmRoot, (qm::StringList{root_ + "legacy/BITMAPS", root_ + "legacy/SHG"}));
    EXPECT_EQ(back.CompressMode, qm::CompressMode::Maximum);

    // Built, the log holds no error and no warning: the sources hold none.
    auto built = Start({qm::FromCp1252(saved)});
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe"));
    built->Options().CompilerPath = standin;
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);
    Act(*built, "actCompile")->trigger();
    const QStringList log = TreeRows(*built, "tvwQuillmark");
    EXPECT_TRUE(log.contains(QStringLiteral("0 errors, 0 warnings."))) << log.join("\n").toStdString();
    EXPECT_TRUE(qm::FileExists(root_ + "legacy/legacy.hlp"));
}

// The real MFC project: imported through the window, its notes say what the
// first build will report and where the options make each check a warning;
// done so, it is saved and built with the stand-in compiler.
TEST_F(MainWindowImportTest, TheMfcProjectSaysWhyItsBuildStopsAndBuildsOnceTheChecksAreWarnings) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    ExpectImport(qm::TImportRequest{QM_FIXTURES_DIR "/mfc-help/Pegasus.hpj", qm::TImportFilter::Hpj, false});
    Act(*w, "actImport")->trigger();
    ui.ExpectAllAnswered("import");
    ASSERT_EQ(w->Project().Topics.Count(), 83);
    const QStringList notes = TreeRows(*w, "tvwQuillmark");

    // The place the notes name, as the window and the options dialog caption it.
    const auto plain = [](QString caption) { return caption.remove(QLatin1Char('&')).remove(QStringLiteral("...")); };
    auto* tools = w->findChild<QMenu*>(QStringLiteral("mnuTools"));
    ASSERT_NE(tools, nullptr);
    const QString where = plain(tools->title()) + " > " + plain(Act(*w, "actOptions")->text()) + ", page \"" +
                          QString::fromLatin1(qm::kPreprocessorPageCaption) + "\".";
    const QString links = "\"" + plain(QString::fromLatin1(qm::BuildCheckCaption(qm::Check::UnresolvedLink))) + "\"";
    const QString images = "\"" + plain(QString::fromLatin1(qm::BuildCheckCaption(qm::Check::ImageNotFound))) + "\"";
    EXPECT_EQ(links, QStringLiteral("\"Unresolved topic link in module [module]\""));
    // The link to the template's menu_record topic, which the sources never
    // wrote, and the toolbar pictures, which the fixture does not hold.
    for (const QString& line :
         {"The build will stop on 1 error " + links + ". To go on, mark it \"Warning\" in " + where,
          "The build will stop on 37 errors " + images + ". To go on, mark it \"Warning\" in " + where})
        EXPECT_TRUE(notes.contains(line)) << line.toStdString() << "\nin\n" << notes.join("\n").toStdString();
    EXPECT_TRUE(notes.contains(QStringLiteral(
        "The 41 aliases of [ALIAS] were resolved: the links, popups, macros and [MAP] numbers that named an alias now "
        "name its topic.")))
        << notes.join("\n").toStdString();

    // As the notes say; the defaults stay the defaults elsewhere.
    w->Options().SetErrorType(qm::Check::UnresolvedLink, 1);
    w->Options().SetErrorType(qm::Check::ImageNotFound, 1);
    const std::string saved = root_ + "pegasus/Pegasus.qpf";
    std::filesystem::create_directories(root_ + "pegasus");
    ui.ExpectSaveFile(qm::FromCp1252(saved));
    Act(*w, "actSave")->trigger();
    ui.ExpectAllAnswered("save");
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe"));
    w->Options().CompilerPath = standin;
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);
    Act(*w, "actCompile")->trigger();
    const QStringList log = TreeRows(*w, "tvwQuillmark");
    EXPECT_TRUE(log.contains(QStringLiteral("0 errors, 38 warnings."))) << log.join("\n").toStdString();
    EXPECT_TRUE(qm::FileExists(root_ + "pegasus/Pegasus.hlp"));
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join("|").toStdString();
}

// One line per check that finds something, errors with where the options
// make the check a warning; a project the build refuses says only that.
TEST(BuildForecastNotes, OneLinePerCheckThatFindsSomething) {
    qm::TBuildForecast f;
    f.Errors[qm::Check::TopicInPopupLink - 1] = 2;
    f.Warnings[qm::Check::ImageNotFound - 1] = 1;
    EXPECT_EQ(qm::BuildForecastNotes(f),
              (qm::StringList{"The build will stop on 2 errors \"Provided topic in popup link in module [module]\". To "
                              "go on, mark it \"Warning\" in Tools > Options, page \"Preprocessor\".",
                              "The build will report 1 warning \"Image not found in module [module]\" and go on."}));
    EXPECT_TRUE(qm::BuildForecastNotes(qm::TBuildForecast{}).empty());
    f.Refusal = "The module name \"CON\" cannot be used as a file name.";
    EXPECT_EQ(qm::BuildForecastNotes(f),
              qm::StringList{
                  "The build will stop before its checks: The module name \"CON\" cannot be used as a file name."});
}

// A picture of the window after the import of the hand-kept project, its
// notes in the messages pane. tools/screenshot-import.sh keeps it
// (QM_SCREENSHOT_DIR); otherwise it goes to a scratch folder.
TEST_F(LegacyProjectTest, ScreenshotOfTheImportNotes) {
    WriteProject();
    auto w = Start({qm::FromCp1252(SaveSample())});
    w->resize(1100, 720);
    w->show();
    ExpectImport(qm::TImportRequest{root_ + "legacy/legacy.hpj", qm::TImportFilter::Hpj, false});
    Act(*w, "actImport")->trigger();
    QApplication::processEvents();
    ASSERT_GE(TreeRows(*w, "tvwQuillmark").size(), 2);
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QString::fromStdString(root_);
    EXPECT_TRUE(w->grab().toImage().save(folder + "/import-notes.png", "PNG"));
}

// A project whose topics hold tables as word processors write them, with a
// jump, a popup and a picture in their cells: imported through the Import
// command, edited in a cell, saved, opened again, the jump's target renamed
// and built with the stand-in compiler.
class TableProjectTest : public MainWindowImportTest {
protected:
    void Write(const std::string& name, const std::string& text) {
        const std::string path = root_ + "tables/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    void WriteProject() {
        Write("tables.hpj", "[OPTIONS]\r\nTITLE=Tables\r\nCONTENTS=commands\r\n\r\n[FILES]\r\ntables.rtf\r\n");
        Write("tool.bmp", "BM");
        Write("tables.rtf",
              // A table as Word writes it, after a normal paragraph: each
              // row's definition before its cells and again before its end.
              "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
              "{\\f1\\fswiss\\fcharset0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\r\n"
              "\\pard\\plain\\widctlpar\\f1\\fs20 {\\super #{\\footnote \\pard\\plain {\\super #} commands}}"
              "{\\super ${\\footnote \\pard\\plain {\\super $} Commands}}The commands of the program:\\par\r\n"
              "\\trowd\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 \\clbrdrt\\brdrs\\brdrw10\\brdrcf1 \\cellx3000"
              "\\clbrdrt\\brdrs\\brdrw10 \\cellx8000\\pard\\plain\\widctlpar\\intbl\\f1\\fs20 {\\uldb Open}"
              "{\\v open_file}\\cell {Shows a }{\\ul term}{\\v term}{ of the trade.}\\cell "
              "\\pard\\plain\\widctlpar\\intbl\\f1\\fs20 {\\trowd\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 "
              "\\clbrdrt\\brdrs\\brdrw10\\brdrcf1 \\cellx3000\\clbrdrt\\brdrs\\brdrw10 \\cellx8000\\row }\r\n"
              "\\trowd\\trgaph108\\trleft-108 \\cellx3000\\cellx8000\\pard\\plain\\widctlpar\\intbl\\f1\\fs20 "
              "{\\{bmc tool.bmp\\} Tool}\\cell {Runs the tool.}\\cell \\pard\\plain\\widctlpar\\intbl\\f1\\fs20 "
              "{\\trowd\\trgaph108\\trleft-108 \\cellx3000\\cellx8000\\row }\r\n"
              "\\pard\\plain\\widctlpar\\f1\\fs20 After the table.\\par\r\n\\page "
              // As RoboHELP writes it, its last row the topic's end.
              "{\\super #{\\footnote {\\super #} toolbar}}{\\super ${\\footnote {\\super $} Toolbar}}"
              "{\\f1 The buttons:}\\par\r\n"
              "\\trowd \\trgaph108\\trleft-108 \\cellx1302\\cellx8622\\pard \\sl240\\intbl {\\f1\\uldb Open}"
              "{\\v\\f1 open_file}{\\f1 \\cell }{\\f1 Opens a file.}{\\f1 \\cell }\\pard \\intbl {\\f1 \\row }"
              "\\trowd \\trgaph108\\trleft-108 \\cellx1302\\cellx8622\\pard \\sl240\\intbl {\\f1 \\{bmc tool.bmp\\}}"
              "{\\f1 \\cell }{\\f1 A {\\ul term}{\\v term}.}{\\f1 \\cell }\\pard \\intbl {\\f1 \\row }\r\n\\page "
              "{\\super #{\\footnote open_file}}{\\super ${\\footnote Opening a file}}Open a file.\\par\r\n\\page "
              "{\\super #{\\footnote term}}A term.\\par\r\n}");
    }

    // The editor's paragraphs.
    static QStringList EditorLines(qm::TfrmMain& w) {
        return QString::fromStdU16String(w.Editor()->GetCharText()).split(QChar(qm::kParagraphSeparator));
    }

    // A built topic's tables: per row its cells' visible text ("\r" between
    // a cell's paragraphs), and the paragraphs outside them.
    static std::vector<std::vector<std::string>> BuiltRows(const std::string& rtf, std::vector<std::string>& outside,
                                                           std::vector<int>& edges) {
        const qm::RtfTablesAndText read = qm::ReadRtfTables(rtf);
        std::vector<std::vector<std::string>> rows;
        EXPECT_EQ(read.tables.size(), 1u);
        for (const qm::RtfTable& table : read.tables)
            for (const qm::RtfTableRow& row : table.rows) {
                rows.emplace_back();
                edges = row.cellRight;
                for (const qm::RtfTableCell& cell : row.cells) {
                    std::string text;
                    for (std::size_t i = 0; i < cell.paragraphs.size(); ++i) {
                        if (i > 0) text += '\r';
                        for (const qm::TextRun& run : cell.paragraphs[i].runs())
                            if (!run.format.hidden)
                                for (char16_t c : run.text) text += static_cast<char>(c);
                    }
                    rows.back().push_back(text);
                }
            }
        for (const qm::Paragraph& p : read.paragraphs) {
            std::string text;
            for (char16_t c : p.text()) text += static_cast<char>(c);
            outside.push_back(text);
        }
        return rows;
    }

    std::unique_ptr<qm::TfrmMain> StartImported() {
        WriteProject();
        auto w = Start({qm::FromCp1252(SaveSample())});
        ExpectImport(qm::TImportRequest{root_ + "tables/tables.hpj", qm::TImportFilter::Hpj, false});
        Act(*w, "actImport")->trigger();
        ui.ExpectAllAnswered("import");
        return w;
    }
};

TEST_F(TableProjectTest, CellsAreTextWithTheirTagsThroughEditSaveRenameAndBuild) {
    auto w = StartImported();
    EXPECT_EQ(Rows(*w, "lstTopics"), (QStringList{"commands", "open_file", "toolbar"}));
    EXPECT_EQ(Rows(*w, "lstPopups"), QStringList{"term"});
    ASSERT_EQ(CurrentName(*w), "commands");
    // Nothing was left out, so there is nothing to note.
    EXPECT_TRUE(TreeRows(*w, "tvwQuillmark").isEmpty()) << TreeRows(*w, "tvwQuillmark").join("\n").toStdString();

    // In the editor each row starts with its definition and each cell is a
    // paragraph ending in its end; the jump, popup and picture are tags.
    const QStringList lines = EditorLines(*w);
    ASSERT_EQ(lines.size(), 8) << lines.join("\n").toStdString();
    EXPECT_EQ(lines[0], "The commands of the program:");
    for (int row : {1, 4}) {
        EXPECT_TRUE(lines[row].startsWith(R"(<RTF "\\trowd\\trgaph108\\trleft-108)")) << lines[row].toStdString();
        EXPECT_TRUE(lines[row].contains(R"(\\cellx3000\\)")) << lines[row].toStdString();
        EXPECT_TRUE(lines[row].endsWith(R"(\\cellx8000 ">)")) << lines[row].toStdString();
    }
    EXPECT_FALSE(lines[1].contains("brdrcf")) << "a colour of the source's table";
    EXPECT_EQ(lines[2], R"(<LINK TOPIC="open_file">Open</LINK><RTF "\\cell ">)");
    EXPECT_EQ(lines[3], R"(Shows a <LINK POPUP="term">term</LINK> of the trade.<RTF "\\cell \\row ">)");
    EXPECT_EQ(lines[5], R"(<IMAGEC "tool.bmp"> Tool<RTF "\\cell ">)");
    EXPECT_EQ(lines[6], R"(Runs the tool.<RTF "\\cell \\row ">)");
    EXPECT_EQ(lines[7], "After the table.");
    // The editor reads them as the tags they are: the link in the cell is
    // followed.
    const int open = static_cast<int>(lines[0].size() + lines[1].size() + 2) + 27;  // in "Open"
    EXPECT_EQ(w->TagCommands().ParseTagAt(open).Name(), "LINK");
    EXPECT_EQ(w->TagCommands().ParseTagAt(open + 15).Name(), "RTF");  // the cell's end
    EXPECT_TRUE(w->NavigationCommands().FollowLinkAt(open));
    EXPECT_EQ(CurrentName(*w), "open_file");

    // Typing in a cell and Enter in it: the cell holds two paragraphs.
    OpenRow(*w, "lstTopics", "commands");
    const int runsEnd = static_cast<int>(lines[0].size() + lines[1].size() + lines[2].size() + lines[3].size() +
                                         lines[4].size() + lines[5].size() + 6) +
                        14;  // after "Runs the tool."
    w->Editor()->SetSelStart(runsEnd);
    w->Editor()->SetSelLength(0);
    QTest::keyClicks(w->Editor(), " Fast.");
    QTest::keyClick(w->Editor(), Qt::Key_Return);
    QTest::keyClicks(w->Editor(), "Second line.");
    EXPECT_EQ(EditorLines(*w)[6], "Runs the tool. Fast.");
    EXPECT_EQ(EditorLines(*w)[7], R"(Second line.<RTF "\\cell \\row ">)");

    const std::string saved = root_ + "tables/tables.qpf";
    ui.ExpectSaveFile(qm::FromCp1252(saved));
    Act(*w, "actSave")->trigger();
    ui.ExpectAllAnswered("save");
    w.reset();

    // Opened again, the jump's target renamed: the links in the cells follow.
    auto again = Start({qm::FromCp1252(saved)});
    ASSERT_TRUE(started);
    again->Options().UpdateOnRename = true;
    auto* list = Child<QListWidget>(*again, "lstTopics");
    list->setCurrentItem(list->findItems("open_file", Qt::MatchExactly).front());
    ui.ExpectInput(QStringLiteral("open_a_file"), "New topic name:");
    Act(*again, "actRename")->trigger();
    ui.ExpectAllAnswered("rename");
    OpenRow(*again, "lstTopics", "open_a_file");
    for (const char* topic : {"commands", "toolbar"}) {
        SCOPED_TRACE(topic);
        const std::vector<std::string> tags = TagsOf(again->Project().Topics.FindByName(topic)->Text);
        EXPECT_NE(std::find(tags.begin(), tags.end(), "<LINK TOPIC=\"open_a_file\">"), tags.end());
        EXPECT_EQ(std::find(tags.begin(), tags.end(), "<LINK TOPIC=\"open_file\">"), tags.end());
    }

    // Built: each topic holds its table, row by row and cell by cell, with
    // its hotspots and picture in the cells.
    const std::string kept = root_ + "kept";
    qputenv("QM_STANDIN_KEEP", QByteArray::fromStdString(kept));
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe"));
    again->Options().CompilerPath = standin;
    qm::QtCompilerRunner runner;
    ui.UseCompiler(&runner);
    Act(*again, "actCompile")->trigger();
    qunsetenv("QM_STANDIN_KEEP");
    const QStringList log = TreeRows(*again, "tvwQuillmark");
    EXPECT_TRUE(log.contains(QStringLiteral("0 errors, 0 warnings."))) << log.join("\n").toStdString();

    const std::string commands = qm::ReadWholeFile(kept + "/commands.rtf");
    std::vector<std::string> outside;
    std::vector<int> edges;
    EXPECT_EQ(BuiltRows(commands, outside, edges),
              (std::vector<std::vector<std::string>>{{"Open", "Shows a term of the trade."},
                                                     {"{bmc tool.bmp} Tool", "Runs the tool. Fast.\rSecond line."}}));
    EXPECT_EQ(edges, (std::vector<int>{3000, 8000}));
    ASSERT_EQ(outside.size(), 2u);
    EXPECT_TRUE(outside[0].ends_with("The commands of the program:")) << outside[0];
    EXPECT_EQ(outside[1], "After the table.");
    for (const char* code : {"\\uldb Open\\ulnone\\v open_a_file\\v0 \\cell ", "\\ul term\\ulnone\\v term\\v0 ",
                             "\\{bmc tool.bmp\\}", "\\brdrs\\brdrw10"})
        EXPECT_NE(commands.find(code), std::string::npos) << code << " in\n" << commands;

    const std::string toolbar = qm::ReadWholeFile(kept + "/toolbar.rtf");
    outside.clear();
    EXPECT_EQ(BuiltRows(toolbar, outside, edges),
              (std::vector<std::vector<std::string>>{{"Open", "Opens a file."}, {"{bmc tool.bmp}", "A term."}}));
    EXPECT_EQ(edges, (std::vector<int>{1302, 8622}));
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_TRUE(outside[0].ends_with("The buttons:")) << outside[0];
    EXPECT_NE(toolbar.find("\\uldb Open\\ulnone\\v open_a_file\\v0 \\cell "), std::string::npos) << toolbar;
}

// A picture of the window with the imported table open in the editor.
// tools/screenshot-import.sh keeps it (QM_SCREENSHOT_DIR); otherwise it goes
// to a scratch folder.
TEST_F(TableProjectTest, ScreenshotOfTheImportedTable) {
    auto w = StartImported();
    w->resize(1100, 720);
    w->show();
    QApplication::processEvents();
    ASSERT_EQ(CurrentName(*w), "commands");
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QString::fromStdString(root_);
    EXPECT_TRUE(w->grab().toImage().save(folder + "/import-table.png", "PNG"));
}

// The same after the import of the MFC project, whose notes end in what its
// first build will report (import-forecast.png).
TEST_F(MainWindowImportTest, ScreenshotOfTheNotesOfTheMfcProject) {
    auto w = Start({qm::FromCp1252(SaveSample())});
    w->resize(1100, 720);
    w->show();
    ExpectImport(qm::TImportRequest{QM_FIXTURES_DIR "/mfc-help/Pegasus.hpj", qm::TImportFilter::Hpj, false});
    Act(*w, "actImport")->trigger();
    QApplication::processEvents();
    ASSERT_GE(TreeRows(*w, "tvwQuillmark").size(), 4);
    QString folder = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = QString::fromStdString(root_);
    EXPECT_TRUE(w->grab().toImage().save(folder + "/import-forecast.png", "PNG"));
}

}  // namespace
}  // namespace qmtest
