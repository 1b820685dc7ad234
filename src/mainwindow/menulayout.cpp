#include "mainwindow/menulayout.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "util/errors.h"
#include "widgets/actiontable.h"

namespace qm {

const TWindowLayout& MainWindowLayout() {
    static const TWindowLayout layout{
        {"mnuFile", "mnuEdit", "mnuView", "mnuFormat", "mnuTag", "mnuProject", "mnuNavigate", "mnuTools", "mnuHelp"},
        {
            {"mnuFile",
             "&File",
             {"actNew", "actOpen", "mnuFileReopen", "actSave", "actSaveAs", "actClose", "-", "mnuFileImport",
              "mnuFileExport", "-", "actPrint", "actPrintSetup", "-", "actExit"}},
            {"mnuFileImport", "&Import", {"actImport", "actImportRtf", "actImportText"}},
            {"mnuFileExport", "&Export", {"actExportRtf", "actExportIdConstants"}},
            {"mnuEdit",
             "&Edit",
             {"actUndo", "actRedo", "-", "actCut", "actCopy", "actPaste", "actDelete", "-", "actSelectAll", "-",
              "actFind", "actReplace", "actFindNext", "actGotoLine", "-", "actAddToKeywords", "actAddToAKeywords"}},
            {"mnuView",
             "&View",
             {"mnuViewToolbars", "actDockAll", "-", "actToggleExplorer", "actToggleMessages", "-", "actToggleRuler",
              "actToggleGutter", "actToggleSpecChars", "actToggleRtf"}},
            {"mnuViewToolbars",
             "&Toolbars",
             {"actToggleStandard", "actToggleFormat", "actToggleView", "actToggleBuild", "actToggleTopics",
              "actToggleTools", "actToggleTags", "actToggleProject", "actToggleHistory"}},
            {"mnuFormat",
             "F&ormat",
             {"actFont",
              "actParagraph",
              "actStyles",
              "-",
              "actBold",
              "actItalic",
              "actUnderline",
              "actStrikeout",
              "-",
              "actAlignLeft",
              "actAlignCenter",
              "actAlignRight",
              "actBulletIndent",
              "actNumberingIndent",
              "-",
              "actSetTextColor|ColorPopMenu",
              "-",
              "actConvertLower",
              "actConvertUpper",
              "-",
              "actStyleCopy"}},
            {"mnuTag",
             "Ta&g",
             {"actAddTopicLink",
              "actAddPopupLink",
              "actAddNoScroll",
              "actAddAnchor",
              "actAddMacro",
              "actAddBitmap",
              "actAddButton",
              "-",
              "actAddSound",
              "actAddVideo",
              "actAddRtfTag",
              "-",
              "actStartTag",
              "actEndTag",
              "-",
              "actEditTag",
              "actViewImage",
              "actEditImage",
              "-",
              "actListMembers",
              "actPopTopics",
              "actPopPopups"}},
            {"mnuProject",
             "&Project",
             {"actCompile", "actView", "actViewCurTopic", "-", "actAddTopic", "actAddPopup", "actRemoveTopic", "-",
              "mnuProjectSelection", "-", "actSetContents", "actSetEditing", "actSetDone", "-", "actWinEdit",
              "actBrowseEdit", "actRenumberIDs", "actProjectOptions"}},
            {"mnuProjectSelection",
             "Se&lection",
             {"actRename", "mnuProjectRenumberItem", "mnuProjectItemProperties", "actTopicProps", "actPopupProps", "-",
              "actCreateTableOfContents"}},
            {"mnuNavigate",
             "&Navigate",
             {"actNavToFirst", "actNavToPrev", "actNavToNext", "actNavToLast", "actHistClear", "-", "actHistBack",
              "actHistForward", "actFollowLink", "-", "actToggleBookmark", "actNavToNextBookmark",
              "actNavToPrevBookmark", "actClearBookmarks"}},
            {"mnuTools",
             "&Tools",
             {"actCheckSpell", "actCheckSpellAll", "-", "actContentsEdit", "actMacroBuilder", "actShg", "-",
              "actOptions", "mnuToolsUserTools"}},
            {"mnuHelp",
             "&Help",
             {"actHelpContents", "actHelpIndex", "-", "actHelpOnHelp", "actTutorial", "-", "mnuHelpAbout"}},
        },
        {
            {
                {"tbStandard",
                 "Standard",
                 {"actNew", "actOpen|MruPopup", "actSave", "-", "actCut", "actCopy", "actPaste", "-", "actUndo",
                  "actRedo", "-", "actPrint", "-", "actFind"}},
                {"tbFormat",
                 "Format",
                 {"cboStyles", "cboFonts", "cboFontSize", "-", "actBold", "actItalic", "actUnderline", "-",
                  "actAlignLeft", "actAlignCenter", "actAlignRight", "actBulletIndent", "-", "tbbColors",
                  "actStyleCopy"}},
                {"tbView",
                 "View",
                 {"actToggleExplorer", "actToggleMessages", "-", "actToggleRuler", "actToggleGutter",
                  "actToggleSpecChars", "actToggleRtf"}},
            },
            {
                {"tbTopics", "Topics", {"cboTopics", "cboPopups"}},
                {"tbBuild", "Build", {"actCompile", "actView", "actViewCurTopic"}},
                {"tbProject",
                 "Project",
                 {"actAddTopic", "actAddPopup", "tbbRemoveSelection", "tbbSelectionProps", "-", "actSetContents", "-",
                  "actProjectOptions"}},
                {"tbTools",
                 "Tools",
                 {"actCheckSpell", "actCheckSpellAll", "-", "actContentsEdit", "actMacroBuilder", "actShg"}},
                {"tbTags",
                 "Tags",
                 {"actAddTopicLink", "actAddPopupLink", "actAddNoScroll", "actAddAnchor", "actAddMacro", "actAddBitmap",
                  "actAddButton"}},
                {"tbHistory", "History", {}},
            },
        },
    };
    return layout;
}

QList<QMenu*> TBuiltLayout::AllMenus() const {
    QList<QMenu*> out = Menus.values();
    for (QMenu* m : Menus)
        for (QAction* a : m->actions())
            if (QMenu* sub = a->menu(); sub && !out.contains(sub)) out << sub;
    return out;
}

namespace {

class Builder {
public:
    Builder(QMainWindow& window, const ActionTable& actions, const TNamedParts& named, const TWindowLayout& layout)
        : window_(window), actions_(actions), named_(named), layout_(layout) {
        for (const TLayoutRow& row : layout_.Menus) rows_.insert(QString::fromLatin1(row.objectName), &row);
    }

    TBuiltLayout Build() {
        for (const char* name : layout_.MenuBar) window_.menuBar()->addMenu(Menu(QString::fromLatin1(name)));
        bool first = true;
        for (const std::vector<TLayoutRow>& line : layout_.ToolBarLines) {
            if (!first) window_.addToolBarBreak(Qt::TopToolBarArea);
            first = false;
            for (const TLayoutRow& row : line) window_.addToolBar(Qt::TopToolBarArea, ToolBar(row));
        }
        // A sub-menu that no item places would be lost without a word.
        for (const TLayoutRow& row : layout_.Menus)
            if (!built_.Menus.contains(QString::fromLatin1(row.objectName)))
                Fail(QString::fromLatin1(row.objectName), "the menus", "which is laid out but placed nowhere.");
        return std::move(built_);
    }

private:
    [[noreturn]] static void Fail(const QString& item, const char* where, const char* why) {
        throw Error("The layout of " + std::string(where) + " names \"" + item.toStdString() + "\", " + why);
    }

    QAction* ActionOf(const QString& name) const {
        if (QAction* a = actions_.Find(name)) return a;
        return qobject_cast<QAction*>(named_.value(name));
    }

    // A menu the table lays out, made on its first use.
    QMenu* Menu(const QString& name) {
        if (QMenu* m = built_.Menus.value(name)) return m;
        const TLayoutRow* row = rows_.value(name);
        if (!row) Fail(name, "the menu bar", "which is no menu of the table.");
        auto* menu = new QMenu(QString::fromUtf8(row->caption), &window_);
        menu->setObjectName(name);
        built_.Menus.insert(name, menu);
        for (const char* item : row->items) AddToMenu(*menu, *row, QString::fromLatin1(item));
        return menu;
    }

    void AddToMenu(QMenu& menu, const TLayoutRow& row, const QString& item) {
        if (item == QLatin1String("-")) {
            menu.addSeparator();
            return;
        }
        if (item.contains(QLatin1Char('|'))) {
            const auto [action, dropDown] = DropDown(row, item);
            action->setMenu(dropDown);
            menu.addAction(action);
            return;
        }
        if (QAction* a = ActionOf(item)) {
            menu.addAction(a);
            return;
        }
        if (rows_.contains(item)) {
            menu.addMenu(Menu(item));
            return;
        }
        if (auto* sub = qobject_cast<QMenu*>(named_.value(item))) {
            menu.addMenu(sub);
            return;
        }
        if (named_.contains(item)) Fail(item, row.objectName, "which cannot stand in a menu.");
        Fail(item, row.objectName, "which is neither a command nor a known menu or control.");
    }

    std::pair<QAction*, QMenu*> DropDown(const TLayoutRow& row, const QString& item) const {
        const QString actionName = item.section(QLatin1Char('|'), 0, 0);
        const QString menuName = item.section(QLatin1Char('|'), 1);
        QAction* action = actions_.Find(actionName);
        if (!action) Fail(actionName, row.objectName, "which is no command.");
        auto* menu = qobject_cast<QMenu*>(named_.value(menuName));
        if (!menu) Fail(menuName, row.objectName, "which is no known menu.");
        return {action, menu};
    }

    QToolBar* ToolBar(const TLayoutRow& row) {
        const QString name = QString::fromLatin1(row.objectName);
        auto* bar = qobject_cast<QToolBar*>(named_.value(name));
        if (!bar) {
            if (named_.contains(name) || rows_.contains(name) || actions_.Find(name))
                Fail(name, "the tool bars", "which is no tool bar.");
            bar = new QToolBar(QString::fromUtf8(row.caption), &window_);
            bar->setObjectName(name);
        }
        bar->setAllowedAreas(Qt::TopToolBarArea);
        built_.ToolBars.insert(name, bar);
        for (const char* raw : row.items) {
            const QString item = QString::fromLatin1(raw);
            if (item == QLatin1String("-")) {
                bar->addSeparator();
            } else if (item.contains(QLatin1Char('|'))) {
                const auto [action, dropDown] = DropDown(row, item);
                auto* button = new QToolButton(bar);
                button->setObjectName(QStringLiteral("tbb") + action->objectName().mid(3));
                button->setDefaultAction(action);
                button->setMenu(dropDown);
                button->setPopupMode(QToolButton::MenuButtonPopup);
                bar->addWidget(button);
            } else if (QAction* a = ActionOf(item)) {
                bar->addAction(a);
            } else if (auto* w = qobject_cast<QWidget*>(named_.value(item)); w && !qobject_cast<QMenu*>(w)) {
                bar->addWidget(w);
            } else if (named_.contains(item) || rows_.contains(item)) {
                Fail(item, row.objectName, "which cannot stand in a tool bar.");
            } else {
                Fail(item, row.objectName, "which is neither a command nor a known menu or control.");
            }
        }
        return bar;
    }

    QMainWindow& window_;
    const ActionTable& actions_;
    const TNamedParts& named_;
    const TWindowLayout& layout_;
    QHash<QString, const TLayoutRow*> rows_;
    TBuiltLayout built_;
};

}  // namespace

TBuiltLayout BuildLayout(QMainWindow& window, const ActionTable& actions, const TNamedParts& named,
                         const TWindowLayout& layout) {
    return Builder(window, actions, named, layout).Build();
}

}  // namespace qm
