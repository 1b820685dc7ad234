#pragma once
// A real main window, started offscreen on scripted UI services and an
// in-memory settings store, with a scratch folder for projects and the
// work folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/importdialog.h"
#include "import/import.h"
#include "editor/richtext2.h"
#include "mainwindow/buildcommands.h"
#include "mainwindow/projectcommands.h"
#include "mainwindow/mainwindow.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "util/settingsstore.h"

namespace qmtest {

// A small topic body in the editor's dialect.
inline std::string BodyRtf(const std::string& text) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 " + text +
           "\\par\r\n}";
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = qm::ToCp1252(dir_.path()) + "/";
        std::filesystem::create_directories(root_ + "prog");
        std::filesystem::create_directories(root_ + "tmp");
    }

    void TearDown() override { ui.ExpectAllAnswered(); }

    // Scripts the next import dialog: it chooses the request's file, type and
    // footnote box and closes with OK; nullopt cancels it.
    void ExpectImport(std::optional<qm::TImportRequest> choice) {
        ui.ExpectDialog(QStringLiteral("dlgImport"), [choice](QDialog& d) {
            auto& dlg = static_cast<qm::TImportDlg&>(d);
            if (!choice) {
                d.reject();
                return d.result();
            }
            dlg.SetFilterIndex(static_cast<int>(choice->Filter));
            if (dlg.FootnotesBox()->isEnabled()) dlg.FootnotesBox()->setChecked(choice->UseFootnotes);
            dlg.selectFile(qm::FromCp1252(choice->FileName));
            // Straight to the dialog's own close, as OK would: the file
            // dialog's check for an existing file is not what is tried here.
            d.done(QDialog::Accepted);
            return d.result();
        });
    }

    std::unique_ptr<qm::TfrmMain> Start(const QStringList& args = {}, std::function<void()> hook = {}) {
        qm::TMainWindowEnv env;
        env.Ui = &ui;
        env.Settings = store ? store : &settings;
        env.ProgramFolder = root_ + "prog";
        env.PersonalDictionaryFolder = root_ + "user/Dictionaries";
        env.TempFolder = root_ + "tmp";
        env.WaitScale = 0;
        env.OnCreateObjects = std::move(hook);
        env.OnFree = [this](const char* what) { freed.emplace_back(what); };
        env.OnLoadModule = [this](qm::TNodeId id) {
            if (onLoadModule) onLoadModule(id);
        };
        auto w = std::make_unique<qm::TfrmMain>(env);
        ui.SetParentWidget(w.get());
        started = w->Startup(args);
        return w;
    }

    // A saved project: the contents topic, topics "Beta" (20) and "Alpha"
    // (10) in that order, and the popup "PopOne" (100).
    std::string SaveSample(const std::string& name = "sample.qpf") {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("Contents text");
        auto add = [&](const char* n, int id, qm::TopicKind kind, const std::string& body) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(n);
            node.SetTitle(std::string(n) + " title");
            node.ContextId = id;
            node.Kind = kind;
            node.Text = BodyRtf(body);
        };
        add("Beta", 20, qm::TopicKind::Topic, "Beta body");
        add("Alpha", 10, qm::TopicKind::Topic, "Alpha body");
        add("PopOne", 100, qm::TopicKind::Popup, "Popup body");
        const std::string path = root_ + name;
        p.SaveToFile(path);
        return path;
    }

    static QAction* Act(qm::TfrmMain& w, const char* name) {
        QAction* a = w.findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    template <class T>
    static T* Child(qm::TfrmMain& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Names of the list's rows, in order.
    static QStringList Rows(qm::TfrmMain& w, const char* list) {
        QStringList out;
        auto* l = Child<QListWidget>(w, list);
        for (int i = 0; l && i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }
    static QStringList TreeRows(qm::TfrmMain& w, const char* tree) {
        QStringList out;
        auto* t = Child<QTreeWidget>(w, tree);
        for (int i = 0; t && i < t->topLevelItemCount(); ++i) out << t->topLevelItem(i)->text(0);
        return out;
    }
    // Opens the row named `name` of the list through its double-click handler.
    static void OpenRow(qm::TfrmMain& w, const char* list, const QString& name) {
        auto* l = Child<QListWidget>(w, list);
        const auto found = l->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        l->setCurrentItem(found.front());
        emit l->itemDoubleClicked(found.front());
    }
    static std::string CurrentName(qm::TfrmMain& w) {
        const qm::TTopicNode* n = w.CurrentNode();
        return n ? n->GetName() : std::string();
    }
    static QString EditorText(qm::TfrmMain& w) { return w.Editor()->toPlainText(); }

    ScriptedUiServices ui;
    qm::MemorySettingsStore settings;
    // When set, the window keeps its settings here instead (a settings file).
    qm::SettingsStore* store = nullptr;
    std::vector<std::string> freed;
    // Runs as the open routine loads a module (may throw, as a failed load).
    std::function<void(qm::TNodeId)> onLoadModule;
    bool started = false;
    QTemporaryDir dir_;
    std::string root_;
};

}  // namespace qmtest
