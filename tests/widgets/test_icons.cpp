// The compiled-in icon set: every Tango icon the list names and every one of
// our drawings is a resource that draws at 16 and 22 pixels. The tests run
// offscreen, where Qt knows no icon theme, so an icon that draws here was
// not looked up in a desktop theme. Also the numbered glyph lists, the
// names the sources ask for, and a contact sheet of the whole set for
// tools/screenshot-icons.sh.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include "support/icondraw.h"
#include "support/qtapp.h"
#include "support/scripteduiservices.h"
#include "widgets/actiontable.h"
#include "widgets/icons.h"

namespace qm {
namespace {

using qmtest::DrawIcon;
using qmtest::DrawnPixels;
using qmtest::DrawsAt;

QString SourceRoot() { return QDir::cleanPath(QStringLiteral(QM_TEST_DATA_DIR "/../..")); }

// The names data/icons/tango.txt lists (the part after the category).
QStringList TangoNames() {
    QFile file(SourceRoot() + QStringLiteral("/data/icons/tango.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
    QStringList names;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        names << line.section(QLatin1Char('/'), -1);
    }
    return names;
}

// The SVG files of data/icons/, by name.
QStringList DrawingFiles() {
    QStringList names;
    for (const QFileInfo& f : QDir(SourceRoot() + QStringLiteral("/data/icons")).entryInfoList({"*.svg"}, QDir::Files))
        names << f.completeBaseName();
    names.sort();
    return names;
}

class IconSet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

TEST_F(IconSet, EveryTangoIconOfTheListIsBuiltInAtBothSizes) {
    const QStringList names = TangoNames();
    ASSERT_GT(names.size(), 20);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QmHasIcon(name));
        const QIcon icon = QmIcon(name);
        ASSERT_FALSE(icon.isNull());
        // The theme's own pictures, not one scaled to the other.
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(22, 22)}));
        EXPECT_TRUE(DrawsAt(icon, 16));
        EXPECT_TRUE(DrawsAt(icon, 22));
        EXPECT_FALSE(QmOwnIconNames().contains(name)) << "drawn by us and taken from Tango";
    }
}

TEST_F(IconSet, EveryDrawingIsBuiltInAndDrawsAtBothSizes) {
    const QStringList files = DrawingFiles();
    ASSERT_GT(files.size(), 50);
    EXPECT_EQ(QmOwnIconNames(), files);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QIcon icon = QmIcon(name);
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(DrawsAt(icon, 16));
        EXPECT_TRUE(DrawsAt(icon, 22));
        // Drawn on the 16-pixel grid, so it fills the square rather than a corner of it.
        const QImage image = DrawIcon(icon, 16);
        int left = 16, right = -1, top = 16, bottom = -1;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(image.pixel(x, y)) > 32) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        EXPECT_GE(std::max(right - left, bottom - top), 8) << "the drawing is tiny";
    }
}

TEST_F(IconSet, TheSetIsTangoAndTheDrawingsAndNothingElse) {
    QStringList expected = TangoNames() + DrawingFiles();
    expected.sort();
    EXPECT_EQ(QmIconNames(), expected);
}

TEST_F(IconSet, DisabledIconsAreDrawnGrey) {
    for (const char* name : {"edit-undo", "tag-anchor"}) {
        SCOPED_TRACE(name);
        const QIcon icon = QmIcon(QString::fromLatin1(name));
        const QImage normal = DrawIcon(icon, 16);
        const QImage disabled = DrawIcon(icon, 16, QIcon::Disabled);
        EXPECT_NE(normal, disabled);
        // The disabled look has no strong colour left.
        int coloured = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QColor c = QColor::fromRgba(disabled.pixel(x, y));
                if (c.alpha() > 128 && c.hsvSaturation() > 100) ++coloured;
            }
        EXPECT_EQ(coloured, 0);
    }
}

TEST_F(IconSet, AnUnknownNameGivesANullIcon) {
    for (const char* name : {"no-such-icon", "", "16/edit-undo", "edit-undo.png"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(QmHasIcon(QString::fromLatin1(name)));
        EXPECT_TRUE(QmIcon(QString::fromLatin1(name)).isNull());
    }
}

// The tool-bar toggles and Dock All of the main window's View menu.
TEST_F(IconSet, TheToolBarTogglesAndDockAllHaveTheirPictures) {
    for (const char* name : {"view-toolbar", "dock-all"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(DrawsAt(QmIcon(QString::fromLatin1(name)), 16));
    }
    EXPECT_NE(DrawIcon(QmIcon(QStringLiteral("view-toolbar")), 16), DrawIcon(QmIcon(QStringLiteral("dock-all")), 16));
}

// Even where a desktop theme would have the picture, a name outside the set
// stays without one: nothing is looked up in the theme.
TEST_F(IconSet, ANameOutsideTheSetIsNotLookedUpInATheme) {
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("Tango"));
    const bool themeHasIt = QIcon::hasThemeIcon(QStringLiteral("document-print-preview"));
    EXPECT_FALSE(QmHasIcon(QStringLiteral("document-print-preview")));
    EXPECT_TRUE(QmIcon(QStringLiteral("document-print-preview")).isNull());
    QMainWindow window;
    qmtest::ScriptedUiServices ui;
    ActionTable table(&window, ui);
    QAction* outside = table.Add({"actOutside", "Outside", "", "", "document-print-preview", {}});
    QAction* inside = table.Add({"actInside", "Inside", "", "", "edit-undo", {}});
    QAction* none = table.Add({"actNone", "None", "", "", "", {}});
    QIcon::setThemeName(theme);
    QIcon::setThemeSearchPaths(paths);
    if (!themeHasIt) GTEST_SKIP() << "no Tango theme installed to tempt the look-up";
    EXPECT_TRUE(outside->icon().isNull());
    EXPECT_EQ(DrawIcon(inside->icon(), 16), DrawIcon(QmIcon(QStringLiteral("edit-undo")), 16));
    EXPECT_TRUE(none->icon().isNull());
}

// Every index the windows draw from a list, and what stands there.
TEST_F(IconSet, TheGlyphListsHoldEveryIndexTheWindowsDraw) {
    struct Row {
        const char* name;
        const TImageList& list;
        std::vector<int> indexes;
    } rows[] = {
        {"command bars", imlCommandBars(), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
        {"commands", imlCommands(), {36, 37, 38, 39, 40, 41, 47, 50, 72, 73}},
        {"build log", imlMisc(), {2, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.list.Indexes(), row.indexes);
        for (int index : row.indexes) {
            SCOPED_TRACE(index);
            EXPECT_TRUE(QmHasIcon(row.list.Name(index))) << row.list.Name(index).toStdString();
            EXPECT_TRUE(DrawsAt(row.list.Glyph(index), 16));
        }
        EXPECT_TRUE(row.list.Glyph(-1).isNull());
        EXPECT_TRUE(row.list.Name(-1).isEmpty());
        EXPECT_TRUE(row.list.Glyph(1000).isNull());
    }
    // The lists keep apart what the windows keep apart.
    QSet<QString> bar;
    for (int i : imlCommandBars().Indexes()) bar.insert(imlCommandBars().Name(i));
    EXPECT_EQ(bar.size(), 20);
    EXPECT_NE(imlCommands().Name(kGlyphTopic), imlCommands().Name(kGlyphPopup));
    EXPECT_EQ(imlCommands().Name(kGlyphNewTopic), imlCommandBars().Name(0));
    EXPECT_EQ(imlCommands().Name(kGlyphNewPopup), imlCommandBars().Name(1));
}

// The names the sources hand to QmIcon as literals: a misspelt one would
// only show as a missing picture.
TEST_F(IconSet, EveryNameTheSourcesAskForIsInTheSet) {
    const QRegularExpression call(QStringLiteral(R"re(QmIcon\(\s*(?:QStringLiteral\(\s*)?"([^"]*)")re"));
    int found = 0;
    QDirIterator it(SourceRoot() + QStringLiteral("/src"), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = call.globalMatch(text); m.hasNext();) {
            const QString name = m.next().captured(1);
            SCOPED_TRACE((it.fileName() + QStringLiteral(": ") + name).toStdString());
            EXPECT_TRUE(QmHasIcon(name));
            ++found;
        }
    }
    EXPECT_GT(found, 5) << "the pattern no longer matches the calls";
}

// A contact sheet of the set: each icon at 16 and 22 pixels, and both
// enlarged to show their pixels, then its name. tools/screenshot-icons.sh
// names the file in QM_SCREENSHOT_ICONS; without it the sheet is only drawn.
TEST_F(IconSet, ContactSheet) {
    const QStringList own = QmOwnIconNames();
    QStringList names = own;
    for (const QString& n : QmIconNames())
        if (!own.contains(n)) names << n;  // ours first, then Tango's
    constexpr int cellW = 330, cellH = 74, columns = 4;
    const int rows = (static_cast<int>(names.size()) + columns - 1) / columns;
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (int i = 0; i < names.size(); ++i) {
        const QIcon icon = QmIcon(names[i]);
        const QPoint at((i % columns) * cellW, (i / columns) * cellH);
        const bool mine = i < own.size();
        p.fillRect(QRect(at, QSize(cellW, cellH)).adjusted(1, 1, -1, -1), mine ? QColor(0xf4, 0xf4, 0xf0) : Qt::white);
        p.drawImage(at + QPoint(6, 6), DrawIcon(icon, 16));
        p.drawImage(at + QPoint(6, 28), DrawIcon(icon, 22));
        p.drawImage(at + QPoint(6, 54), DrawIcon(icon, 16, QIcon::Disabled));
        p.drawImage(QRect(at + QPoint(36, 5), QSize(64, 64)), DrawIcon(icon, 16));
        p.drawImage(QRect(at + QPoint(106, 2), QSize(66, 66)), DrawIcon(icon, 22));
        p.setPen(Qt::black);
        p.drawText(QRect(at + QPoint(178, 0), QSize(cellW - 180, cellH)), Qt::AlignVCenter | Qt::TextWordWrap,
                   names[i]);
        EXPECT_TRUE(DrawsAt(icon, 16)) << names[i].toStdString();
    }
    p.end();
    const QString file = qEnvironmentVariable("QM_SCREENSHOT_ICONS");
    if (!file.isEmpty()) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        EXPECT_TRUE(sheet.save(file, "PNG")) << file.toStdString();
    }
}

}  // namespace
}  // namespace qm
