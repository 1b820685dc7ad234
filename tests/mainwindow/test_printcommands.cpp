// Print and Print Setup on the real window, printed to PDF files: the
// dialog's preset, the open module or every module as one job, the copies
// and their collation made by the command, and the page set-up that the
// next Print uses.
#include <QFile>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <utility>
#include <vector>

#include "mainwindow/printcommands.h"
#include "mainwindow_fixture.h"
#include "util/fileio.h"

namespace qmtest {
namespace {

using qm::TNodeId;
using Printed = std::vector<std::pair<TNodeId, int>>;

// The page objects of a PDF file ("/Type /Page", not the "/Pages" tree).
int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(text.count(page));
}

// The first page's size in points, from its media box.
QSizeF PdfPageSize(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression box(
        QStringLiteral("/MediaBox\\s*\\[\\s*([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(f.readAll()));
    if (!m.hasMatch()) return {};
    return {m.captured(3).toDouble() - m.captured(1).toDouble(), m.captured(4).toDouble() - m.captured(2).toDouble()};
}

class PrintCommandsTest : public MainWindowTest {
protected:
    struct Choice {
        QPrinter::PrintRange range = QPrinter::Selection;
        int copies = 1;
        bool collate = false;
    };

    std::unique_ptr<qm::TfrmMain> StartSample() {
        auto w = Start({qm::FromCp1252(SaveSample())});
        EXPECT_TRUE(started);
        w->PrintCommands().OnPrintModule = [this](TNodeId id, int copy) { printed.emplace_back(id, copy); };
        return w;
    }
    QString PdfPath(const char* name) const { return QString::fromStdString(root_) + QString::fromLatin1(name); }

    // Answers the print dialog as a user choosing `choice` and a PDF file.
    void ExpectPrint(const QString& file, Choice choice) {
        ui.ExpectDialog(QStringLiteral("dlgPrint"), [file, choice](QDialog& d) {
            QPrinter* p = static_cast<QPrintDialog&>(d).printer();
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(file);
            p->setPrintRange(choice.range);
            p->setCopyCount(choice.copies);
            p->setCollateCopies(choice.collate);
            return int(QDialog::Accepted);
        });
    }
    // Every module of the project in its order, each `copies` times, as
    // collated or uncollated copies run.
    static Printed AllModules(qm::TfrmMain& w, int copies, bool collate) {
        Printed out;
        const qm::TTopics& topics = w.Project().Topics;
        if (collate) {
            for (int copy = 1; copy <= copies; ++copy)
                for (int i = 0; i < topics.Count(); ++i) out.emplace_back(topics.GetNode(i).Id(), copy);
        } else {
            for (int i = 0; i < topics.Count(); ++i)
                for (int copy = 1; copy <= copies; ++copy) out.emplace_back(topics.GetNode(i).Id(), copy);
        }
        return out;
    }

    Printed printed;
};

TEST_F(PrintCommandsTest, TheDialogStartsWithOneCopyAndTheSelection) {
    auto w = StartSample();
    // What an earlier print left in the printer.
    QPrinter& printer = w->PrintCommands().Printer();
    printer.setCopyCount(3);
    printer.setPrintRange(QPrinter::AllPages);
    QWidget* parent = nullptr;
    ui.ExpectDialog(QStringLiteral("dlgPrint"), [&](QDialog& d) {
        auto& dialog = static_cast<QPrintDialog&>(d);
        parent = dialog.parentWidget();
        EXPECT_EQ(dialog.printer(), &printer);
        EXPECT_EQ(dialog.printer()->copyCount(), 1);
        EXPECT_EQ(dialog.printer()->printRange(), QPrinter::Selection);
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintCollateCopies));
        return int(QDialog::Rejected);
    });
    Act(*w, "actPrint")->trigger();
    EXPECT_EQ(parent, w.get());
    EXPECT_TRUE(printed.empty());
}

// The selection prints the open module from the editor, once per copy, all
// in one file; the module is stored as it is, without opening it again.
TEST_F(PrintCommandsTest, TheSelectionPrintsTheOpenModule) {
    auto w = StartSample();
    OpenRow(*w, "lstTopics", QStringLiteral("Alpha"));
    const TNodeId alpha = w->CurrentModule();
    const std::size_t history = w->History().Back().size();
    w->Editor()->SetSelStart(0);
    w->Editor()->SetSelText("fresh ");
    // Another row selected, not opened: opening the list's choice would switch.
    auto* topics = Child<QListWidget>(*w, "lstTopics");
    topics->setCurrentItem(topics->findItems("Beta", Qt::MatchExactly).front());

    const QString one = PdfPath("one.pdf");
    ExpectPrint(one, {QPrinter::Selection, 1, false});
    Act(*w, "actPrint")->trigger();
    ui.ExpectAllAnswered("one copy");
    EXPECT_EQ(printed, (Printed{{alpha, 1}}));
    EXPECT_GE(PdfPages(one), 1);
    EXPECT_EQ(w->CurrentModule(), alpha);
    EXPECT_EQ(w->History().Back().size(), history);
    EXPECT_NE(w->Project().Topics.FindById(alpha)->Text.find("fresh"), std::string::npos);
    EXPECT_EQ(w->PrintCommands().Printer().docName(), "Alpha");

    printed.clear();
    const QString two = PdfPath("two.pdf");
    ExpectPrint(two, {QPrinter::Selection, 2, false});
    Act(*w, "actPrint")->trigger();
    EXPECT_EQ(printed, (Printed{{alpha, 1}, {alpha, 2}}));
    EXPECT_EQ(PdfPages(two), 2 * PdfPages(one));
    EXPECT_EQ(w->PrintCommands().Printer().copyCount(), 1);
}

// Every module, each from a new page, as one job: the copies in the order of
// their collation, and the printer's own count set back to one.
TEST_F(PrintCommandsTest, AllModulesWithCopiesAndCollation) {
    struct Row {
        const char* name;
        int copies;
        bool collate;
    };
    const Row rows[] = {{"one copy", 1, false}, {"two uncollated copies", 2, false}, {"two collated copies", 2, true}};
    auto w = StartSample();
    const int modules = w->Project().Topics.Count();
    ASSERT_EQ(modules, 4);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        printed.clear();
        const QString file = PdfPath(row.name) + ".pdf";
        ExpectPrint(file, {QPrinter::AllPages, row.copies, row.collate});
        Act(*w, "actPrint")->trigger();
        ui.ExpectAllAnswered(row.name);
        EXPECT_EQ(printed, AllModules(*w, row.copies, row.collate));
        // Each short module fills one page of its own.
        EXPECT_EQ(PdfPages(file), modules * row.copies);
        EXPECT_EQ(w->PrintCommands().Printer().copyCount(), 1);
    }
    // Uncollated: each module twice in a row.
    const Printed uncollated = AllModules(*w, 2, false);
    EXPECT_EQ(uncollated[0].first, uncollated[1].first);
}

// A module longer than a page goes on over further pages, and the next
// module still starts on a page of its own.
TEST_F(PrintCommandsTest, ALongModuleTakesSeveralPages) {
    auto w = StartSample();
    OpenRow(*w, "lstTopics", QStringLiteral("Beta"));
    QString lines;
    for (int i = 0; i < 200; ++i) lines += QStringLiteral("line %1\n").arg(i);
    w->Editor()->selectAll();
    w->Editor()->SetSelText(lines);
    const QString selection = PdfPath("beta.pdf");
    ExpectPrint(selection, {QPrinter::Selection, 1, false});
    Act(*w, "actPrint")->trigger();
    const int betaPages = PdfPages(selection);
    ASSERT_GT(betaPages, 1);
    const QString all = PdfPath("all.pdf");
    ExpectPrint(all, {QPrinter::AllPages, 1, false});
    Act(*w, "actPrint")->trigger();
    EXPECT_EQ(PdfPages(all), betaPages + w->Project().Topics.Count() - 1);
}

TEST_F(PrintCommandsTest, APrinterThatCannotStartIsReported) {
    auto w = StartSample();
    const QString file = PdfPath("no such folder/out.pdf");
    ExpectPrint(file, {QPrinter::AllPages, 1, false});
    ui.ExpectMessage(qm::MsgKind::Error, QStringLiteral("Cannot print to the file ") + file);
    Act(*w, "actPrint")->trigger();
    EXPECT_TRUE(printed.empty());
    EXPECT_FALSE(QFile::exists(file));
}

// Print Setup works on Print's printer: its landscape page is the next
// print's page.
TEST_F(PrintCommandsTest, PrintSetupChoicesHoldForTheNextPrint) {
    auto w = StartSample();
    const QString before = PdfPath("portrait.pdf");
    ExpectPrint(before, {QPrinter::Selection, 1, false});
    Act(*w, "actPrint")->trigger();
    const QSizeF portrait = PdfPageSize(before);
    ASSERT_GT(portrait.height(), portrait.width());

    QWidget* parent = nullptr;
    ui.ExpectDialog(QStringLiteral("dlgPageSetup"), [&](QDialog& d) {
        auto& dialog = static_cast<QPageSetupDialog&>(d);
        parent = dialog.parentWidget();
        EXPECT_EQ(dialog.printer(), &w->PrintCommands().Printer());
        // What the dialog's OK puts into its printer (exec() does it).
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    });
    Act(*w, "actPrintSetup")->trigger();
    ui.ExpectAllAnswered("page setup");
    EXPECT_EQ(parent, w.get());
    EXPECT_EQ(w->PrintCommands().Printer().pageLayout().orientation(), QPageLayout::Landscape);

    const QString after = PdfPath("landscape.pdf");
    ExpectPrint(after, {QPrinter::Selection, 1, false});
    Act(*w, "actPrint")->trigger();
    const QSizeF landscape = PdfPageSize(after);
    EXPECT_GT(landscape.width(), landscape.height());
    EXPECT_NEAR(landscape.width(), portrait.height(), 1.0);
}

// The printed sample project, for tools/screenshot-print.sh, which turns the
// pages into pictures (QM_PRINT_PDF names the file; else a scratch file).
TEST_F(PrintCommandsTest, PrintOfTheSampleProject) {
    const std::string sample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";
    ASSERT_TRUE(qm::FileExists(sample)) << sample;
    auto w = Start({qm::FromCp1252(sample)});
    ASSERT_TRUE(started);
    w->PrintCommands().OnPrintModule = [this](TNodeId id, int copy) { printed.emplace_back(id, copy); };
    QString file = qEnvironmentVariable("QM_PRINT_PDF");
    if (file.isEmpty()) file = PdfPath("sample.pdf");
    ExpectPrint(file, {QPrinter::AllPages, 1, false});
    Act(*w, "actPrint")->trigger();
    EXPECT_EQ(printed, AllModules(*w, 1, false));
    EXPECT_GE(PdfPages(file), w->Project().Topics.Count());
}

}  // namespace
}  // namespace qmtest
