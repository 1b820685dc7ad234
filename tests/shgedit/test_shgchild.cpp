// The child window under the mouse and the keys: drawing, selecting, moving
// and resizing hotspots on a 100 x 80 picture, with the edge cases of each;
// the clamp after an import; and the inverting paint.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSpinBox>
#include <functional>

#include "shgedit/hspropsdlg.h"
#include "shgedit_fixture.h"

namespace qmtest {
namespace {

using qm::THotspot;
using qm::shgedit::TfrmShg;

struct Rect {
    int l, t, r, b;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.l << ", " << r.t << ", " << r.r << ", " << r.b << ")";
}

Rect RectOf(const THotspot& h) { return {h.Left, h.Top, h.Right, h.Bottom}; }

class ChildTest : public ShgEditTest {
public:
    // A shown frame with one child on a 100 x 80 picture holding A (20, 20,
    // 60, 60) and B (70, 10, 90, 30).
    TfrmShg& OpenSample() {
        Start();
        Frame().show();
        child_ = Open(WriteShg("sample.shg", 100, 80, {Spot("A", 20, 20, 60, 60), Spot("B", 70, 10, 90, 30)}));
        return *child_;
    }
    QWidget* Canvas() const { return child_->Canvas(); }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(Canvas(), b, {}, QPoint(x, y)); }
    void Move(int x, int y) { QTest::mouseMove(Canvas(), QPoint(x, y)); }
    void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(Canvas(), b, {}, QPoint(x, y));
    }
    int Count() const { return child_->Shg().Hotspots.Count(); }
    Rect At(int i) const { return RectOf(child_->Shg().Hotspots.GetItem(i)); }

    TfrmShg* child_ = nullptr;
};

TEST_F(ChildTest, MouseTable) {
    struct Row {
        const char* name;
        std::function<void(ChildTest&)> act;
        std::vector<Rect> hotspots;  // afterwards, in list order
        int selected;
        int handle = -1;  // the handle index at the end of a resize
    } rows[] = {
        {"a click on empty picture makes nothing",
         [](ChildTest& t) {
             t.Press(5, 70);
             t.Release(5, 70);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}},
         -1},
        {"a zero-width drag makes nothing",
         [](ChildTest& t) {
             t.Press(10, 10);
             t.Move(10, 50);
             t.Release(10, 50);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}},
         -1},
        {"a drag draws a new hotspot, which is selected",
         [](ChildTest& t) {
             t.Press(5, 65);
             t.Move(12, 70);
             t.Release(15, 75);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}, {5, 65, 15, 75}},
         2},
        {"a drag up and left is stored the right way round",
         [](ChildTest& t) {
             t.Press(15, 75);
             t.Move(5, 65);
             t.Release(5, 65);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}, {5, 65, 15, 75}},
         2},
        {"a release beyond the picture is clipped to it",
         [](ChildTest& t) {
             t.Press(92, 70);
             t.Move(130, 100);
             t.Release(140, 120);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}, {92, 70, 100, 80}},
         2},
        {"a drag from the right edge outwards clips to nothing and goes",
         [](ChildTest& t) {
             t.Press(100, 40);
             t.Move(130, 60);
             t.Release(130, 60);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}},
         -1},
        {"a press on the edge still counts",
         [](ChildTest& t) {
             t.Press(100, 80);
             t.Move(95, 75);
             t.Release(94, 74);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}, {94, 74, 100, 80}},
         2},
        {"a press beyond the picture does nothing",
         [](ChildTest& t) {
             t.Press(101, 40);
             t.Move(60, 20);
             t.Release(60, 20);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}},
         -1},
        {"handle 3 dragged past the left edge becomes handle 2",
         [](ChildTest& t) {
             t.Press(30, 30);  // select A (and a move of nothing)
             t.Release(30, 30);
             t.Press(60, 40);  // its right-middle handle
             t.Move(10, 40);
             t.Move(5, 40);
             t.Release(5, 40);
         },
         {{5, 20, 20, 60}, {70, 10, 90, 30}},
         0,
         2},
        {"corner 7 dragged past the opposite corner becomes 4",
         [](ChildTest& t) {
             t.Press(30, 30);
             t.Release(30, 30);
             t.Press(60, 60);
             t.Move(10, 10);
             t.Release(10, 10);
         },
         {{10, 10, 20, 20}, {70, 10, 90, 30}},
         0,
         4},
        {"a move is pinned at 0 with its width kept",
         [](ChildTest& t) {
             t.Press(30, 30);
             t.Move(0, 30);
             t.Release(0, 30);
         },
         {{0, 20, 40, 60}, {70, 10, 90, 30}},
         0},
        {"a move is held inside the right and bottom edges",
         [](ChildTest& t) {
             t.Press(80, 20);
             t.Move(95, 78);
             t.Release(95, 78);
         },
         {{20, 20, 60, 60}, {80, 60, 100, 80}},
         1},
        {"the right button selects without dragging",
         [](ChildTest& t) {
             t.Press(80, 20, Qt::RightButton);
             t.Move(10, 10);
             t.Release(10, 10, Qt::RightButton);
         },
         {{20, 20, 60, 60}, {70, 10, 90, 30}},
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenSample();
        row.act(*this);
        // The right button's press also opens the context menu.
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        std::vector<Rect> got;
        for (int i = 0; i < Count(); ++i) got.push_back(At(i));
        EXPECT_EQ(got, row.hotspots);
        EXPECT_EQ(child_->SelectedIndex(), row.selected);
        if (row.handle >= 0) {
            EXPECT_EQ(child_->HandleIndex(), row.handle);
        }
        EXPECT_FALSE(child_->Creating() || child_->Moving() || child_->Resizing());
        child_->SetModified(false);
    }
}

TEST_F(ChildTest, ANewHotspotTakesTheDefaults) {
    OpenSample();
    Frame().Options().DefID = "Spot";
    Frame().Options().DefType = 2;
    Frame().Options().DefAttribute = 0;
    Press(5, 65);
    Release(15, 75);
    ASSERT_EQ(Count(), 3);
    const THotspot& h = child_->Shg().Hotspots.GetItem(2);
    EXPECT_EQ(h.ID, "Spot3");  // Count + 1, whatever IDs exist
    EXPECT_EQ(h.Kind, qm::THotspotKind::Macro);
    EXPECT_TRUE(h.Visible);
    EXPECT_TRUE(child_->Modified());
}

TEST_F(ChildTest, ADoubleClickOpensThePropertiesAndTheNextClickWorks) {
    OpenSample();
    ui.ExpectDialog(QStringLiteral("frmHsProps"), [](QDialog& d) {
        auto& props = static_cast<qm::shgedit::TfrmHsProps&>(d);
        EXPECT_EQ(props.txtID->text(), QStringLiteral("A"));
        d.reject();
        return d.result();
    });
    // As the window system sends it: press, release, then the double click
    // in place of the second press, and its release.
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseDClick(Canvas(), Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, QPoint(30, 30));
    ui.ExpectAllAnswered();
    EXPECT_FALSE(child_->Moving());
    EXPECT_EQ(At(0), (Rect{20, 20, 60, 60}));
    // A real click right after it is not swallowed: it selects B.
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(80, 20));
    EXPECT_EQ(child_->SelectedIndex(), 1);
    EXPECT_FALSE(child_->Modified());
}

TEST_F(ChildTest, PropertiesOkNormalisesAndClips) {
    OpenSample();
    child_->SelectHotspot(0);
    ui.ExpectDialog(QStringLiteral("frmHsProps"), [](QDialog& d) {
        auto& props = static_cast<qm::shgedit::TfrmHsProps&>(d);
        props.txtID->setText(QStringLiteral("Renamed"));
        props.cboAttribute->setCurrentIndex(1);
        props.txtLeft->setValue(150);  // right of Right: the pair swaps, then clips
        props.txtRight->setValue(30);
        props.txtTop->setValue(70);
        props.txtBottom->setValue(10);
        d.accept();
        return d.result();
    });
    Trigger("actHSProps");
    const THotspot& h = child_->Shg().Hotspots.GetItem(0);
    EXPECT_EQ(h.ID, "Renamed");
    EXPECT_FALSE(h.Visible);
    EXPECT_EQ(RectOf(h), (Rect{30, 10, 100, 70}));
    EXPECT_TRUE(child_->Modified());
}

TEST_F(ChildTest, KeysAtTheirLimits) {
    struct Row {
        const char* name;
        Rect start;
        int key;
        Qt::KeyboardModifiers mods;
        Rect end;
    } rows[] = {
        {"left", {5, 5, 10, 10}, Qt::Key_Left, {}, {4, 5, 9, 10}},
        {"left at 0", {0, 5, 10, 10}, Qt::Key_Left, {}, {0, 5, 10, 10}},
        {"right", {5, 5, 10, 10}, Qt::Key_Right, {}, {6, 5, 11, 10}},
        {"right at the width", {90, 5, 100, 10}, Qt::Key_Right, {}, {90, 5, 100, 10}},
        {"up at 0", {5, 0, 10, 10}, Qt::Key_Up, {}, {5, 0, 10, 10}},
        {"up", {5, 5, 10, 10}, Qt::Key_Up, {}, {5, 4, 10, 9}},
        {"down at the height", {5, 70, 10, 80}, Qt::Key_Down, {}, {5, 70, 10, 80}},
        {"down", {5, 5, 10, 10}, Qt::Key_Down, {}, {5, 6, 10, 11}},
        {"shift+left narrows", {5, 5, 10, 10}, Qt::Key_Left, Qt::ShiftModifier, {5, 5, 9, 10}},
        {"shift+left at one pixel", {5, 5, 6, 10}, Qt::Key_Left, Qt::ShiftModifier, {5, 5, 6, 10}},
        {"shift+right at the width", {5, 5, 100, 10}, Qt::Key_Right, Qt::ShiftModifier, {5, 5, 100, 10}},
        {"shift+right widens", {5, 5, 10, 10}, Qt::Key_Right, Qt::ShiftModifier, {5, 5, 11, 10}},
        {"shift+up at one pixel", {5, 5, 10, 6}, Qt::Key_Up, Qt::ShiftModifier, {5, 5, 10, 6}},
        {"shift+down at the height", {5, 5, 10, 80}, Qt::Key_Down, Qt::ShiftModifier, {5, 5, 10, 80}},
        {"shift+down", {5, 5, 10, 10}, Qt::Key_Down, Qt::ShiftModifier, {5, 5, 10, 11}},
    };
    Start();
    Frame().show();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        child_ = Open(WriteShg("keys.shg", 100, 80, {Spot("K", row.start.l, row.start.t, row.start.r, row.start.b)}));
        child_->SelectHotspot(0);
        QTest::keyClick(Canvas(), static_cast<Qt::Key>(row.key), row.mods);
        EXPECT_EQ(At(0), row.end);
        EXPECT_EQ(child_->Modified(), !(row.end == row.start));
        child_->SetModified(false);
        child_->parentWidget()->close();
    }
    // Without a selection the keys do nothing.
    child_ = Open(WriteShg("keys.shg", 100, 80, {Spot("K", 5, 5, 10, 10)}));
    QTest::keyClick(Canvas(), Qt::Key_Right);
    EXPECT_EQ(At(0), (Rect{5, 5, 10, 10}));
    EXPECT_FALSE(child_->Modified());
}

TEST_F(ChildTest, ImportOfASmallerPictureClampsTheHotspots) {
    struct Row {
        const char* name;
        Rect before;
        Rect after;
    } rows[] = {
        {"starts beyond: moved in, width kept", {180, 10, 230, 20}, {50, 10, 100, 20}},
        {"wider than the picture: spans it", {20, 10, 170, 20}, {0, 10, 100, 20}},
        {"starts on the edge: moved in, not cut to nothing", {100, 10, 130, 20}, {70, 10, 100, 20}},
        {"ends beyond: cut at the edge", {80, 10, 120, 20}, {80, 10, 100, 20}},
        {"inside: unchanged", {10, 10, 40, 20}, {10, 10, 40, 20}},
        {"the vertical axis on its own", {10, 90, 40, 120}, {10, 50, 40, 80}},
    };
    Start();
    const std::string small = root_ + "small.bmp";
    qm::TDib::Create(100, 80, 8).SaveToFile(small);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        child_ =
            Open(WriteShg("big.shg", 300, 300, {Spot("S", row.before.l, row.before.t, row.before.r, row.before.b)}));
        ui.ExpectOpenFile(QString::fromStdString(small));
        Trigger("actImport");
        EXPECT_EQ(child_->PictureWidth(), 100);
        EXPECT_EQ(At(0), row.after);
        // The picture, its name and kind: the imported pixels, the old file.
        EXPECT_EQ(child_->Shg().FileName, root_ + "big.shg");
        EXPECT_TRUE(child_->Shg().IsShg);
        EXPECT_TRUE(child_->Modified()) << "an import is a change to save";
        child_->SetModified(false);
        child_->parentWidget()->close();
    }
}

TEST_F(ChildTest, OutlinesAndHandlesInvertThePicture) {
    OpenSample();
    QImage shown = Canvas()->grab(QRect(0, 0, 100, 80)).toImage().convertToFormat(QImage::Format_RGB32);
    const qm::TDib& dib = *child_->Shg().Bitmap;
    auto picture = [&](int x, int y) { return 0xFF000000u | dib.PixelRgb(x, y); };
    auto inverted = [&](int x, int y) { return 0xFF000000u | (~dib.PixelRgb(x, y) & 0xFFFFFF); };
    EXPECT_EQ(shown.pixel(20, 20), inverted(20, 20)) << "A's top-left corner";
    EXPECT_EQ(shown.pixel(59, 40), inverted(59, 40)) << "A's right edge, the last column inside";
    EXPECT_EQ(shown.pixel(60, 40), picture(60, 40)) << "just right of A";
    EXPECT_EQ(shown.pixel(40, 40), picture(40, 40)) << "A's inside is untouched";
    // The selection's handles invert too: A's top-middle handle covers (37..42, 17..22).
    child_->SelectHotspot(0);
    shown = Canvas()->grab(QRect(0, 0, 100, 80)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(38, 18), inverted(38, 18));
    EXPECT_EQ(shown.pixel(38, 20), picture(38, 20)) << "outline and handle cancel where they meet";
}

TEST_F(ChildTest, TheContextMenuDefaultsToHotspotProperties) {
    OpenSample();
    ASSERT_NE(child_->PopMenu, nullptr);
    EXPECT_EQ(child_->PopMenu->defaultAction(), Act("actHSProps"));
    QStringList items;
    for (QAction* a : child_->PopMenu->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(items, (QStringList{"actCut", "actCopy", "actPaste", "actDelete", "-", "actHSProps"}));
    // The drawing widget sits in a scroll area.
    EXPECT_EQ(child_->ScrollArea()->widget(), Canvas());
    EXPECT_EQ(child_->objectName(), QStringLiteral("frmShg"));
}

}  // namespace
}  // namespace qmtest
