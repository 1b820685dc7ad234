// Every command of the main window in one table: its key, the menu it sits
// in, its icon, and whether it is enabled with the editor focused and no
// selection, with "abc" selected, and with the focus in the topic list. The
// window must have exactly the table's commands; no two share a key, and
// the focused editor takes no command's key but those it carries out the
// same way itself. Then the enabling of the list commands on both pages.
#include <QClipboard>
#include <QImage>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "widgets/commandbar.h"
#include "mainwindow_fixture.h"
#include "widgets/actioncheck.h"
#include "widgets/actiontable.h"

namespace qmtest {
namespace {

constexpr bool y = true;
constexpr bool n = false;

struct ActionRow {
    const char* name;
    const char* key;   // QKeySequence text; "" for none
    const char* menu;  // the menu bar's menus down to the item, or the pop-up menu holding it
    // Enabled with the editor focused and nothing selected, with "abc"
    // selected in it, and with the focus in lstTopics (first row selected).
    bool editor, selection, list;
};

// clang-format off
const ActionRow kActions[] = {
    // File
    {"actNew",                   "Ctrl+N",       "mnuFile",                        y, y, y},
    {"actOpen",                  "Ctrl+O",       "mnuFile",                        y, y, y},
    {"actSave",                  "Ctrl+S",       "mnuFile",                        y, y, y},
    {"actSaveAs",                "",             "mnuFile",                        y, y, y},
    {"actClose",                 "",             "mnuFile",                        y, y, y},
    {"actImport",                "",             "mnuFile/mnuFileImport",          y, y, y},
    {"actImportRtf",             "",             "mnuFile/mnuFileImport",          y, y, y},
    {"actImportText",            "",             "mnuFile/mnuFileImport",          y, y, y},
    {"actExportRtf",             "",             "mnuFile/mnuFileExport",          y, y, y},
    {"actExportIdConstants",     "",             "mnuFile/mnuFileExport",          y, y, y},
    {"actPrint",                 "Ctrl+P",       "mnuFile",                        y, y, y},
    {"actPrintSetup",            "",             "mnuFile",                        y, y, y},
    {"actExit",                  "Alt+F4",       "mnuFile",                        y, y, y},
    // Edit: undo and the clipboard follow the focused control; the list
    // keeps the editor's state but offers Delete.
    {"actUndo",                  "Ctrl+Z",       "mnuEdit",                        n, n, n},
    {"actRedo",                  "Ctrl+Y",       "mnuEdit",                        n, n, n},
    {"actCut",                   "Ctrl+X",       "mnuEdit",                        n, y, n},
    {"actCopy",                  "Ctrl+C",       "mnuEdit",                        n, y, n},
    {"actPaste",                 "Ctrl+V",       "mnuEdit",                        y, y, y},
    {"actDelete",                "Del",          "mnuEdit",                        n, y, y},
    {"actSelectAll",             "Ctrl+A",       "mnuEdit",                        y, y, y},
    {"actFind",                  "Ctrl+F",       "mnuEdit",                        y, y, y},
    {"actReplace",               "Ctrl+R",       "mnuEdit",                        y, y, y},
    {"actFindNext",              "F3",           "mnuEdit",                        y, y, y},
    {"actGotoLine",              "Ctrl+G",       "mnuEdit",                        y, y, y},
    {"actAddToKeywords",         "",             "mnuEdit",                        n, y, n},
    {"actAddToAKeywords",        "",             "mnuEdit",                        n, y, n},
    // View
    {"actToggleStandard",        "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleFormat",          "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleView",            "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleBuild",           "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleTopics",          "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleTools",           "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleTags",            "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleProject",         "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actToggleHistory",         "",             "mnuView/mnuViewToolbars",        y, y, y},
    {"actDockAll",               "",             "mnuView",                        y, y, y},
    {"actToggleExplorer",        "F6",           "mnuView",                        y, y, y},
    {"actToggleMessages",        "Shift+F2",     "mnuView",                        y, y, y},
    {"actToggleRuler",           "",             "mnuView",                        y, y, y},
    {"actToggleGutter",          "",             "mnuView",                        y, y, y},
    {"actToggleSpecChars",       "Shift+F5",     "mnuView",                        y, y, y},
    {"actToggleRtf",             "Shift+F6",     "mnuView",                        y, y, y},
    // Format
    {"actFont",                  "",             "mnuFormat",                      y, y, y},
    {"actParagraph",             "",             "mnuFormat",                      y, y, y},
    {"actStyles",                "",             "mnuFormat",                      y, y, y},
    {"actBold",                  "Ctrl+B",       "mnuFormat",                      y, y, y},
    {"actItalic",                "Ctrl+I",       "mnuFormat",                      y, y, y},
    {"actUnderline",             "Ctrl+U",       "mnuFormat",                      y, y, y},
    {"actStrikeout",             "",             "mnuFormat",                      y, y, y},
    {"actAlignLeft",             "Ctrl+L",       "mnuFormat",                      y, y, y},
    {"actAlignCenter",           "Ctrl+E",       "mnuFormat",                      y, y, y},
    {"actAlignRight",            "Ctrl+Shift+R", "mnuFormat",                      y, y, y},
    {"actBulletIndent",          "",             "mnuFormat",                      y, y, y},
    {"actNumberingIndent",       "",             "mnuFormat",                      n, n, n},
    {"actSetTextColor",          "",             "mnuFormat",                      y, y, y},
    {"actConvertLower",          "",             "mnuFormat",                      n, y, n},
    {"actConvertUpper",          "",             "mnuFormat",                      n, y, n},
    {"actStyleCopy",             "Ctrl+Shift+C", "mnuFormat",                      y, y, y},
    // Tag
    {"actAddTopicLink",          "Ctrl+Shift+L", "mnuTag",                         y, y, y},
    {"actAddPopupLink",          "Ctrl+Shift+P", "mnuTag",                         y, y, y},
    {"actAddNoScroll",           "Ctrl+Shift+N", "mnuTag",                         y, y, y},
    {"actAddAnchor",             "Ctrl+Shift+A", "mnuTag",                         y, y, y},
    {"actAddMacro",              "Ctrl+Shift+M", "mnuTag",                         y, y, y},
    {"actAddBitmap",             "Ctrl+Shift+I", "mnuTag",                         y, y, y},
    {"actAddButton",             "Ctrl+Shift+B", "mnuTag",                         y, y, y},
    {"actAddSound",              "",             "mnuTag",                         y, y, y},
    {"actAddVideo",              "",             "mnuTag",                         y, y, y},
    {"actAddRtfTag",             "",             "mnuTag",                         y, y, y},
    {"actStartTag",              "",             "mnuTag",                         y, y, y},
    {"actEndTag",                "",             "mnuTag",                         y, y, y},
    {"actEditTag",               "F10",          "mnuTag",                         y, y, y},
    {"actViewImage",             "",             "mnuTag",                         y, y, y},
    {"actEditImage",             "",             "mnuTag",                         y, y, y},
    {"actListMembers",           "Ctrl+Space",   "mnuTag",                         y, y, y},
    {"actPopTopics",             "",             "mnuTag",                         y, y, y},
    {"actPopPopups",             "",             "mnuTag",                         y, y, y},
    // Project (the first topic selected: there is no previous one)
    {"actCompile",               "F5",           "mnuProject",                     y, y, y},
    {"actView",                  "",             "mnuProject",                     y, y, y},
    {"actViewCurTopic",          "",             "mnuProject",                     y, y, y},
    {"actAddTopic",              "F8",           "mnuProject",                     y, y, y},
    {"actAddPopup",              "F9",           "mnuProject",                     y, y, y},
    {"actRemoveTopic",           "",             "mnuProject",                     y, y, y},
    {"actRename",                "F2",           "mnuProject/mnuProjectSelection", y, y, y},
    {"mnuProjectRenumberItem",   "",             "mnuProject/mnuProjectSelection", y, y, y},
    {"mnuProjectItemProperties", "F4",           "mnuProject/mnuProjectSelection", y, y, y},
    {"actTopicProps",            "",             "mnuProject/mnuProjectSelection", y, y, y},
    {"actPopupProps",            "",             "mnuProject/mnuProjectSelection", y, y, y},
    {"actCreateTableOfContents", "",             "mnuProject/mnuProjectSelection", y, y, y},
    {"actSetContents",           "",             "mnuProject",                     y, y, y},
    {"actSetEditing",            "",             "mnuProject",                     y, y, y},
    {"actSetDone",               "",             "mnuProject",                     y, y, y},
    {"actWinEdit",               "Ctrl+W",       "mnuProject",                     y, y, y},
    {"actBrowseEdit",            "",             "mnuProject",                     y, y, y},
    {"actRenumberIDs",           "",             "mnuProject",                     y, y, y},
    {"actProjectOptions",        "",             "mnuProject",                     y, y, y},
    // Navigate (no history and no bookmarks yet)
    {"actNavToFirst",            "",             "mnuNavigate",                    y, y, y},
    {"actNavToPrev",             "",             "mnuNavigate",                    n, n, n},
    {"actNavToNext",             "",             "mnuNavigate",                    y, y, y},
    {"actNavToLast",             "",             "mnuNavigate",                    y, y, y},
    {"actHistClear",             "",             "mnuNavigate",                    y, y, y},
    {"actHistBack",              "Alt+Left",     "mnuNavigate",                    n, n, n},
    {"actHistForward",           "Alt+Right",    "mnuNavigate",                    n, n, n},
    {"actFollowLink",            "F12",          "mnuNavigate",                    y, y, y},
    {"actToggleBookmark",        "Ctrl+F2",      "mnuNavigate",                    y, y, y},
    {"actNavToNextBookmark",     "Alt+PgDown",   "mnuNavigate",                    n, n, n},
    {"actNavToPrevBookmark",     "Alt+PgUp",     "mnuNavigate",                    n, n, n},
    {"actClearBookmarks",        "",             "mnuNavigate",                    n, n, n},
    // Tools
    {"actCheckSpell",            "F7",           "mnuTools",                       y, y, y},
    {"actCheckSpellAll",         "",             "mnuTools",                       y, y, y},
    {"actContentsEdit",          "",             "mnuTools",                       y, y, y},
    {"actMacroBuilder",          "Ctrl+M",       "mnuTools",                       y, y, y},
    {"actShg",                   "Ctrl+H",       "mnuTools",                       y, y, y},
    {"actOptions",               "",             "mnuTools",                       y, y, y},
    // Help
    {"actHelpContents",          "F1",           "mnuHelp",                        y, y, y},
    {"actHelpIndex",             "",             "mnuHelp",                        y, y, y},
    {"actHelpOnHelp",            "",             "mnuHelp",                        y, y, y},
    {"actTutorial",              "",             "mnuHelp",                        y, y, y},
    {"mnuHelpAbout",             "",             "mnuHelp",                        y, y, y},
    // The explorer's pop-up menu
    {"mnuProjPopNew",            "",             "ProjectPopMenu",                 y, y, y},
    {"mnuProjPopRemove",         "",             "ProjectPopMenu",                 y, y, y},
    {"mnuProjPopRename",         "",             "ProjectPopMenu",                 y, y, y},
    {"mnuProjPopRenumber",       "",             "ProjectPopMenu",                 y, y, y},
    {"mnuProjPopProperties",     "",             "ProjectPopMenu",                 y, y, y},
    // The Rich Text Output pane's pop-up menu (nothing selected or typed there)
    {"actRtfUpdate",             "",             "mnuPopRtf",                      y, y, y},
    {"actRtfRefresh",            "",             "mnuPopRtf",                      y, y, y},
    {"actRtfClose",              "",             "mnuPopRtf",                      y, y, y},
    {"actRtfSelectAll",          "",             "mnuPopRtf",                      y, y, y},
    {"actRtfCopy",               "",             "mnuPopRtf",                      n, n, n},
    {"actRtfCut",                "",             "mnuPopRtf",                      n, n, n},
    {"actRtfPaste",              "",             "mnuPopRtf",                      y, y, y},
    {"actRtfUndo",               "",             "mnuPopRtf",                      n, n, n},
};
// clang-format on

// The commands the focused editor carries out itself, the same way, when
// their keys reach it.
const QSet<QString> kEditorOwnKeys = {"actUndo",  "actRedo",   "actCut",      "actCopy",
                                      "actPaste", "actDelete", "actSelectAll"};

class ActionTableTest : public MainWindowTest {
protected:
    // Every topic and the popup read "abc def", so "abc" can be selected
    // whichever module is open.
    std::string SaveAbcSample() {
        qm::TProject p;
        p.NewProject();
        p.Topics.GetNode(0).Text = BodyRtf("abc def");
        for (auto [name, id, kind] :
             {std::tuple{"Beta", 20, qm::TopicKind::Topic}, std::tuple{"Alpha", 10, qm::TopicKind::Topic},
              std::tuple{"PopOne", 100, qm::TopicKind::Popup}}) {
            qm::TTopicNode& node = p.Topics.AddNew();
            node.SetName(name);
            node.ContextId = id;
            node.Kind = kind;
            node.Text = BodyRtf("abc def");
        }
        const std::string path = root_ + "abc.qpf";
        p.SaveToFile(path);
        return path;
    }

    // The menu each action sits in: the menu bar's, depth first in their
    // order, as "mnuProject/mnuProjectSelection"; else the pop-up menu's name.
    static QHash<QAction*, QString> MenuPaths(qm::TfrmMain& w) {
        QHash<QAction*, QString> where;
        std::function<void(QMenu*, const QString&)> walk = [&](QMenu* menu, const QString& above) {
            const QString path = above.isEmpty() ? menu->objectName() : above + QLatin1Char('/') + menu->objectName();
            for (QAction* a : menu->actions()) {
                if (!where.contains(a)) where.insert(a, path);
                if (a->menu()) walk(a->menu(), path);
            }
        };
        for (QAction* a : w.menuBar()->actions())
            if (a->menu()) walk(a->menu(), {});
        for (QMenu* menu : w.findChildren<QMenu*>())
            for (QAction* a : menu->actions())
                if (!where.contains(a)) where.insert(a, menu->objectName());
        return where;
    }

    static bool DrawsSomething(const QIcon& icon) {
        const QImage image = icon.pixmap(16, 16).toImage();
        for (int yy = 0; yy < image.height(); ++yy)
            for (int xx = 0; xx < image.width(); ++xx)
                if (qAlpha(image.pixel(xx, yy)) != 0) return true;
        return false;
    }
};

TEST_F(ActionTableTest, EveryCommandHasItsKeyMenuIconAndEnabling) {
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    auto w = Start({qm::FromCp1252(SaveAbcSample())});
    ASSERT_TRUE(started);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    auto* topics = Child<QListWidget>(*w, "lstTopics");
    ASSERT_EQ(Child<QTabWidget>(*w, "tbsProject")->currentIndex(), 0);
    ASSERT_EQ(topics->currentRow(), 0);

    // The same commands in the window and in the table.
    QStringList inWindow, inTable;
    for (QAction* a : w->Actions().Actions()) inWindow << a->objectName();
    for (const ActionRow& r : kActions) inTable << QString::fromLatin1(r.name);
    EXPECT_EQ(QSet<QString>(inWindow.begin(), inWindow.end()) - QSet<QString>(inTable.begin(), inTable.end()),
              QSet<QString>())
        << "commands of the window that the table lacks";
    EXPECT_EQ(QSet<QString>(inTable.begin(), inTable.end()) - QSet<QString>(inWindow.begin(), inWindow.end()),
              QSet<QString>())
        << "commands of the table that the window lacks";
    EXPECT_EQ(inTable.size(), QSet<QString>(inTable.begin(), inTable.end()).size()) << "a command listed twice";
    EXPECT_EQ(qm::ShortcutConflicts(w->Actions().Actions()).join(QStringLiteral("; ")).toStdString(), "");

    // The three situations, the list between the two editor ones so that
    // what the list leaves as it was is the editor's state without a selection.
    auto* editor = w->Editor();
    QHash<QString, std::array<bool, 3>> enabled;
    auto record = [&](int situation) {
        w->Actions().UpdateNow();
        for (QAction* a : w->Actions().Actions()) enabled[a->objectName()][situation] = a->isEnabled();
    };
    editor->setFocus();
    editor->SetSelStart(0);
    editor->SetSelLength(0);
    QApplication::processEvents();
    ASSERT_TRUE(editor->hasFocus());
    record(0);
    topics->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(topics->hasFocus());
    record(2);
    editor->setFocus();
    editor->SetSelStart(0);
    editor->SetSelLength(3);
    QApplication::processEvents();
    ASSERT_TRUE(editor->hasFocus());
    ASSERT_EQ(editor->textCursor().selectedText(), QStringLiteral("abc"));
    record(1);

    const QHash<QAction*, QString> menus = MenuPaths(*w);
    for (const ActionRow& r : kActions) {
        SCOPED_TRACE(r.name);
        QAction* a = w->Actions().Find(QString::fromLatin1(r.name));
        if (!a) continue;  // reported above
        const QList<QKeySequence> keys =
            *r.key ? QList<QKeySequence>{QKeySequence(QString::fromLatin1(r.key))} : QList<QKeySequence>{};
        EXPECT_EQ(a->shortcuts(), keys) << "key " << a->shortcut().toString().toStdString();
        EXPECT_EQ(menus.value(a).toStdString(), r.menu);
        EXPECT_TRUE(DrawsSomething(a->icon())) << "no icon";
        const std::array<bool, 3> state = enabled.value(a->objectName());
        EXPECT_EQ(state[0], r.editor) << "enabled with the editor focused";
        EXPECT_EQ(state[1], r.selection) << "enabled with \"abc\" selected";
        EXPECT_EQ(state[2], r.list) << "enabled with the focus in lstTopics";
    }

    // No key the focused editor takes for itself, but those it carries out the same way.
    editor->setFocus();
    QApplication::processEvents();
    for (QAction* a : w->Actions().Actions()) {
        for (const QKeySequence& key : a->shortcuts()) {
            SCOPED_TRACE(a->objectName().toStdString() + " " + key.toString().toStdString());
            QKeyEvent override(QEvent::ShortcutOverride, key[0].key(), key[0].keyboardModifiers());
            override.ignore();
            QApplication::sendEvent(editor, &override);
            if (!kEditorOwnKeys.contains(a->objectName())) {
                EXPECT_FALSE(override.isAccepted()) << "the editor eats it";
            }
        }
    }
}

// Moving through the list, renaming and the selected item's commands need a
// selected row on both pages; Previous needs one before it; the contents
// page is set on the topics page only. The editor bar's buttons follow.
TEST_F(ActionTableTest, TheListCommandsNeedASelectedRowOnBothPages) {
    struct Row {
        const char* name;
        int page;
        int row;  // -1: none selected
        bool first, prev, next, last, item, contents;
    } rows[] = {
        {"topics, none selected", 0, -1, n, n, n, n, n, n}, {"topics, the first", 0, 0, y, n, y, y, y, y},
        {"topics, the middle", 0, 1, y, y, y, y, y, y},     {"topics, the last", 0, 2, y, y, n, y, y, y},
        {"popups, none selected", 1, -1, n, n, n, n, n, n}, {"popups, the only one", 1, 0, y, n, n, y, y, n},
    };
    auto w = Start({qm::FromCp1252(SaveSample())});
    ASSERT_EQ(Rows(*w, "lstTopics").size(), 3);
    ASSERT_EQ(Rows(*w, "lstPopups").size(), 1);
    auto* editorBar = Child<qm::TQorCommandBar>(*w, "ncbEditor");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Child<QTabWidget>(*w, "tbsProject")->setCurrentIndex(r.page);
        Child<QListWidget>(*w, r.page == 0 ? "lstTopics" : "lstPopups")->setCurrentRow(r.row);
        w->updateActions();
        const struct {
            const char* action;
            bool on;
            int button;  // its editor bar button, 0 for none
        } expected[] = {
            {"actNavToFirst", r.first, 6},
            {"actNavToPrev", r.prev, 7},
            {"actNavToNext", r.next, 8},
            {"actNavToLast", r.last, 9},
            {"actRename", r.item, 0},
            {"mnuProjectRenumberItem", r.item, 0},
            {"mnuProjectItemProperties", r.item, 0},
            {"actSetContents", r.contents, 0},
        };
        for (const auto& e : expected) {
            SCOPED_TRACE(e.action);
            EXPECT_EQ(Act(*w, e.action)->isEnabled(), e.on);
            if (e.button) {
                EXPECT_EQ(editorBar->Button(e.button)->isEnabled(), e.on);
            }
        }
    }
}

}  // namespace
}  // namespace qmtest
