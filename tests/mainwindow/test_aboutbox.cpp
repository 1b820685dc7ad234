// The about box: what it shows, and that a click anywhere or any key closes
// it; Help > About makes one for each showing.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "mainwindow/aboutbox.h"
#include "mainwindow_fixture.h"
#include "support/icondraw.h"
#include "widgets/icons.h"

namespace {

using qmtest::MainWindowTest;

class AboutBoxTest : public MainWindowTest {};

TEST_F(AboutBoxTest, ABorderlessBoxWithTheProductAndTheIconsCredit) {
    qm::TfrmAbout about(nullptr);
    EXPECT_EQ(about.objectName(), "frmAbout");
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(about.minimumSize(), QSize(440, 292));
    EXPECT_EQ(about.maximumSize(), QSize(440, 292));
    EXPECT_EQ(about.font().family(), "Tahoma");
    EXPECT_EQ(about.lblProduct->text(), "Quillmark 1.51");
    EXPECT_EQ(about.lblCredit->text(),
              "Icons from the Tango Desktop Project (public domain) and the Quillmark developers");
    const QPalette p = about.palette();
    EXPECT_EQ(p.color(QPalette::Window), QApplication::palette().color(QPalette::HighlightedText));
}

// The picture is the program's icon from the compiled-in set, drawn large.
TEST_F(AboutBoxTest, ShowsTheProgramsIcon) {
    qm::TfrmAbout about(nullptr);
    const QPixmap shown = about.imgProduct->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(96, 96));
    EXPECT_EQ(shown.toImage(), qm::QmIcon(QStringLiteral("quillmark")).pixmap(96, 96).toImage());
    EXPECT_GE(qmtest::DrawnPixels(qm::QmIcon(QStringLiteral("quillmark")), 96), 96 * 96 / 4);
}

TEST_F(AboutBoxTest, AClickAnywhereOrAnyKeyClosesIt) {
    struct Row {
        const char* name;
        std::function<void(qm::TfrmAbout&)> act;
    } rows[] = {
        {"a click on the box", [](qm::TfrmAbout& a) { QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 5)); }},
        {"a right click", [](qm::TfrmAbout& a) { QTest::mouseClick(&a, Qt::RightButton, {}, QPoint(400, 250)); }},
        {"a click on the picture", [](qm::TfrmAbout& a) { QTest::mouseClick(a.imgProduct, Qt::LeftButton); }},
        {"a click on the name", [](qm::TfrmAbout& a) { QTest::mouseClick(a.lblProduct, Qt::LeftButton); }},
        {"a letter", [](qm::TfrmAbout& a) { QTest::keyClick(&a, Qt::Key_Q); }},
        {"Escape", [](qm::TfrmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }},
        {"Enter", [](qm::TfrmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qm::TfrmAbout about(nullptr);
        QSignalSpy finished(&about, &QDialog::finished);
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        row.act(about);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_FALSE(about.isVisible());
    }
}

TEST_F(AboutBoxTest, HelpAboutShowsAFreshBoxAndFreesIt) {
    auto w = Start();
    ASSERT_TRUE(started);
    EXPECT_EQ(w->findChild<qm::TfrmAbout*>(), nullptr);  // none waits from the start
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        bool closed = false;
        ui.ExpectDialog(QStringLiteral("frmAbout"), [&closed, &w](QDialog& d) {
            EXPECT_EQ(d.parentWidget(), w.get());
            QObject::connect(&d, &QDialog::finished, [&closed] { closed = true; });
            QTest::keyClick(&d, Qt::Key_Space);
            return d.result();
        });
        Act(*w, "mnuHelpAbout")->trigger();
        EXPECT_TRUE(closed);
        EXPECT_EQ(w->findChild<qm::TfrmAbout*>(), nullptr);
    }
}

}  // namespace
