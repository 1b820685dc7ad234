// Start-up on a settings file written by hand: the README's way of setting
// the compiler works on a fresh home, and what the file holds that cannot be
// read is told in the window, never in a box before it.
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <regex>
#include <sstream>

#include "mainwindow_fixture.h"
#include "model/options.h"
#include "platform/qtprograms.h"
#include "platform/qtsettingsstore.h"
#include "util/fileio.h"
#include "widgets/statusbar.h"

namespace qmtest {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The settings file the README shows: its indented block from "[Settings]"
// on, as the text a user types.
std::string ReadmeSnippet() {
    const std::string readme = ReadText(QM_TEST_DATA_DIR "/../../README.md");
    std::istringstream in(readme);
    std::string line, snippet;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "    [Settings]") inside = true;
        if (!inside) continue;
        if (line.rfind("    ", 0) != 0) break;
        snippet += line.substr(4) + "\n";
    }
    return snippet;
}

class SettingsFileStartTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(home_.isValid());
        // A fresh home: the program's own settings file lives in it.
        QSettings::setPath(qm::QtSettingsStore::TypedFormat(), QSettings::UserScope, home_.path());
    }
    QString SettingsFile() const { return home_.filePath(QStringLiteral("Velgrave/Quillmark.conf")); }
    void WriteSettings(const std::string& text) {
        std::filesystem::create_directories(qm::ToCp1252(home_.filePath(QStringLiteral("Velgrave"))));
        std::ofstream(qm::ToCp1252(SettingsFile()), std::ios::binary) << text;
    }
    QTemporaryDir home_;
};

TEST_F(SettingsFileStartTest, TheReadmeSnippetSetsTheCompilerOfAFreshHome) {
    const std::string snippet = ReadmeSnippet();
    const std::regex pathLine("^CompilerPath=(\"?)([^\"\n]*)\\1$", std::regex::multiline);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(snippet, m, pathLine)) << "README's snippet:\n" << snippet;
    const std::string standin = qm::ToCp1252(QCoreApplication::applicationDirPath() + "/standin");
    ASSERT_TRUE(qm::FileExists(standin + "/hcrtf.exe")) << "the stand-in compiler is built with the tests";

    const struct {
        const char* name;
        std::string value;  // what takes the README's path's place
    } rows[] = {
        {"as the README writes it", m[1].str() + standin + m[1].str()},
        {"without the quotes", standin},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteSettings(m.prefix().str() + "CompilerPath=" + row.value + m.suffix().str());
        std::filesystem::create_directories(root_ + row.name);
        const std::string project = SaveSample(std::string(row.name) + "/sample.qpf");
        {
            qm::QtSettingsStore file;
            ASSERT_EQ(file.FileName(), SettingsFile());
            store = &file;
            qm::QtCompilerRunner runner;
            ui.UseCompiler(&runner);
            auto w = Start({qm::FromCp1252(project)});
            ASSERT_TRUE(started);
            EXPECT_EQ(w->Options().CompilerPath, standin);
            // Everything the file does not hold has its default.
            EXPECT_TRUE(w->Options().ShowMessages);
            EXPECT_EQ(w->Options().HistoryStack, 300);

            // F5, as the user presses it in the window.
            w->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
            QTest::keyClick(w->Editor(), Qt::Key_F5);
            EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join("|").toStdString();
            EXPECT_TRUE(qm::FileExists(root_ + row.name + "/sample.hlp"));
            EXPECT_TRUE(TreeRows(*w, "tvwQuillmark").contains("0 errors, 0 warnings."));
            w.reset();
            ui.UseCompiler(nullptr);
            store = nullptr;
        }
        ui.ExpectAllAnswered(row.name);
    }
}

TEST_F(SettingsFileStartTest, WhatTheFileHoldsThatCannotBeReadIsToldInTheWindow) {
    WriteSettings(
        "[Settings]\n"
        "CompilerPath=/home/me/helpcompiler\n"
        "HistoryStack=lots\n"
        "ShowRuler: yes\n");
    qm::QtSettingsStore file;
    store = &file;
    auto w = Start();  // an unscripted box would fail here
    ASSERT_TRUE(started);
    EXPECT_EQ(w->Options().CompilerPath, "/home/me/helpcompiler");
    EXPECT_EQ(w->Options().HistoryStack, 300);

    const std::string name = qm::ToCp1252(SettingsFile());
    const QString skipped =
        qm::FromCp1252("Line 4 of \"" + name + "\" was not understood: \"ShowRuler: yes\". It is skipped.");
    const QString defaulted =
        qm::FromCp1252("Line 3 of \"" + name + "\" was not understood: \"HistoryStack=lots\". Its default is used.");
    EXPECT_EQ(TreeRows(*w, "tvwQuillmark"), (QStringList{defaulted, skipped}));
    EXPECT_EQ(w->Status().Text(0), defaulted + " (1 more in the messages pane)");
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
    w.reset();
    store = nullptr;
}

}  // namespace
}  // namespace qmtest
