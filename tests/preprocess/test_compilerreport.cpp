// The compiler's report: its rows as the messages pane shows them, whether it
// tells of an error, and reading it from the work folder.
#include "preprocess/compilerreport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scratchdir.h"
#include "util/errors.h"

namespace qm {
namespace {

TEST(CompilerReportLines, CutsAtCrLfAndWidensTabs) {
    struct Case {
        std::string report;
        StringList lines;
    };
    const Case cases[] = {
        {"", {}},
        {"no line end", {}},
        {"one\r\ntwo\r\nrest", {"one", "two"}},
        {"a\tb\r\n", {"a   b"}},
        {"\r\n\r\n", {"", ""}},
        {"lf only\nstill\r\n", {"lf only\nstill"}},
        {std::string("x\r\ny\0z\r\n", 8), {"x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(CompilerReportLines(c.report), c.lines) << c.report;
}

TEST(CompilerReportLines, StopsAtTheSizeLimit) {
    const std::string line(98, 'x');
    std::string report;
    while (report.size() < kMaxCompilerReportBytes + 1000) report += line + "\r\n";
    const StringList lines = CompilerReportLines(report);
    EXPECT_EQ(lines.size(), kMaxCompilerReportBytes / 100);
    EXPECT_EQ(lines.back(), line);
    // An error past the limit is not read either.
    EXPECT_FALSE(CompilerReportHasErrors(report + "HC5011: Error: late\r\n"));
    EXPECT_TRUE(CompilerReportHasErrors("HC5011: Error: early\r\n" + report));
}

TEST(CompilerReportHasErrors, ErrorsByNumberOrWord) {
    struct Row {
        const char* name;
        std::string report;
        bool errors;
    };
    const Row rows[] = {
        {"empty", "", false},
        {"error", "HC5011: Error: C:\\Temp\\Intro.rtf, topic #1: Unrecognized text formatting.\r\n", true},
        {"warning", "HC3025: Warning: C:\\Temp\\Intro.rtf, topic #2: Jump to undefined Topic ID: \"Nowhere\".\r\n",
         false},
        {"note", "HC1002: Note: Using existing phrase table: Guide.ph.\r\n", false},
        {"error numbered like a warning", "HC3001: Error: something\r\n", true},
        {"error word in another case", "HC6000: ERROR: cannot open\r\n", true},
        {"fatal number without the word", "HC5999: Cannot write the help file.\r\n", true},
        {"blanks before the number", "   HC5011: Error: x\r\n", true},
        {"among other lines", "Microsoft style banner\r\nHC3025: Warning: x\r\nHC5100: Error: y\r\nDone\r\n", true},
        {"last line without CR LF", "Compiling\r\nHC5011: Error: x", true},
        {"LF line ends", "Compiling\nHC5011: Error: x\n", true},
        {"warnings only", "HC3025: Warning: a\r\nHC3096: Warning: b\r\n", false},
        {"stand-in report",
         "Stand-in help compiler\r\nCompiling /tmp/Guide.hpj\r\n"
         "Warning: file not found: /tmp/work/Intro.rtf\r\nTopic files:\t0 of 1\r\n"
         "Created /tmp/Guide.hlp\r\n",
         false},
        {"the word without a number", "Error: no number\r\n", false},
        {"three digits", "HC501: Error: x\r\n", false},
        {"no colon after the number", "HC5011 Error x\r\n", false},
        {"number inside a word", "XHC5011: Error: x\r\n", false},
        {"file named like a number", "Created C:\\HC5011.hlp\r\n", false},
        {"after a NUL", std::string("fine\r\n\0HC5011: Error: x\r\n", 25), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CompilerReportHasErrors(row.report), row.errors);
    }
}

TEST(ReadCompilerReport, ReadsTheReportButNotThroughALink) {
    qmtest::ScratchDir dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir.path() / "work");
    const std::string work = dir.file("work");
    qmtest::WriteRaw(work + "/hcwreport.log", "HC3025: Warning: x\r\n");
    EXPECT_EQ(ReadCompilerReport(work), "HC3025: Warning: x\r\n");
    EXPECT_EQ(ReadCompilerReport(work + "/"), "HC3025: Warning: x\r\n");

    qmtest::WriteRaw(work + "/hcwreport.log", std::string(kMaxCompilerReportBytes + 10, 'x'));
    EXPECT_EQ(ReadCompilerReport(work).size(), kMaxCompilerReportBytes);
    fs::remove(work + "/hcwreport.log");
    EXPECT_THROW(ReadCompilerReport(work), EFileAccess);

    // A link planted in place of the report shows nothing of what it points to.
    qmtest::WriteRaw(dir.file("secret"), "private\r\n");
    QM_SYMLINK_OR_SKIP(dir.file("secret"), work + "/hcwreport.log");
    EXPECT_THROW(ReadCompilerReport(work), EFileAccess);
}

}  // namespace
}  // namespace qm
