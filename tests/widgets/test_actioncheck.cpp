// The checks that find two actions on one key and two menu items on one
// letter, tried on small windows made to have (or not have) such conflicts.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "support/qtapp.h"
#include "widgets/actioncheck.h"

namespace qm {
namespace {

TEST(ActionCheck, MnemonicOfACaption) {
    struct Row {
        const char* name;
        const char* caption;
        QChar mnemonic;
    } rows[] = {
        {"first letter", "&New", QLatin1Char('N')},
        {"inside", "Save &As...", QLatin1Char('A')},
        {"lower case is folded", "E&xit", QLatin1Char('X')},
        {"none", "Build...", QChar()},
        {"literal ampersand", "Tom && Jerry", QChar()},
        {"after a literal one", "A&&B &Cut", QLatin1Char('C')},
        {"trailing ampersand", "Odd&", QChar()},
        {"digit", "&0 <No Project>", QLatin1Char('0')},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(Mnemonic(QString::fromLatin1(r.caption)), r.mnemonic);
    }
}

TEST(ActionCheck, TwoActionsOnOneKeyAreFound) {
    qmtest::EnsureQtApp();
    QMainWindow window;
    auto add = [&](const char* name, const char* key) {
        auto* a = new QAction(&window);
        a->setObjectName(QString::fromLatin1(name));
        if (*key) a->setShortcut(QKeySequence(QString::fromLatin1(key)));
        return a;
    };
    QList<QAction*> actions{add("actCompile", "F5"), add("actSave", "Ctrl+S"), add("actNone", ""),
                            add("actRefresh", "F5")};
    EXPECT_EQ(ShortcutConflicts(actions), QStringList{QStringLiteral("F5: actCompile, actRefresh")});
    actions.removeLast();
    EXPECT_TRUE(ShortcutConflicts(actions).isEmpty());
}

TEST(ActionCheck, TwoItemsOnOneLetterAreFoundInEveryMenu) {
    qmtest::EnsureQtApp();
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(QStringLiteral("&Save"));
    file->addSeparator();
    file->addAction(QStringLiteral("Save &As..."));
    QAction* hidden = file->addAction(QStringLiteral("&Sort"));
    hidden->setVisible(false);
    EXPECT_TRUE(MenuMnemonicConflicts(window).isEmpty());

    // The same letter in a sub-menu, in a pop-up menu and on the bar.
    QMenu* sub = file->addMenu(QStringLiteral("&Reopen"));
    sub->setObjectName(QStringLiteral("mnuFileReopen"));
    sub->addAction(QStringLiteral("&1 a.qpf"));
    sub->addAction(QStringLiteral("&1 b.qpf"));
    auto* popup = new QMenu(&window);
    popup->setObjectName(QStringLiteral("ProjectPopMenu"));
    popup->addAction(QStringLiteral("&Edit"));
    popup->addAction(QStringLiteral("&edit again"));
    window.menuBar()->addMenu(QStringLiteral("&Format"));
    const QStringList found = MenuMnemonicConflicts(window);
    EXPECT_TRUE(found.contains(QStringLiteral("mnuFileReopen - 1: &1 a.qpf, &1 b.qpf")))
        << found.join('\n').toStdString();
    EXPECT_TRUE(found.contains(QStringLiteral("ProjectPopMenu - E: &Edit, &edit again")))
        << found.join('\n').toStdString();
    EXPECT_TRUE(found.contains(QStringLiteral("menu bar - F: &File, &Format"))) << found.join('\n').toStdString();
    EXPECT_EQ(found.size(), 3);

    hidden->setVisible(true);
    EXPECT_TRUE(MenuMnemonicConflicts(window).contains(QStringLiteral("mnuFile - S: &Save, &Sort")));
}

}  // namespace
}  // namespace qm
