// The image viewer keeps its picture centred in whatever size the window has.
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "mainwindow/imgview.h"
#include "support/qtapp.h"

namespace {

class ImgViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }
};

TEST_F(ImgViewTest, StartsAsAPlainWindowOfItsOwnSize) {
    qm::TfrmImgView v(nullptr);
    EXPECT_EQ(v.objectName(), "frmImgView");
    EXPECT_EQ(v.windowTitle(), "Image Viewer");
    EXPECT_EQ(v.size(), QSize(454, 344));
    EXPECT_EQ(v.palette().color(QPalette::Window), v.palette().color(QPalette::Base));
    EXPECT_TRUE(v.findChildren<QScrollArea*>().isEmpty());
    EXPECT_TRUE(v.findChildren<QScrollBar*>().isEmpty());
    EXPECT_TRUE(v.imgImage->pixmap().isNull());
}

TEST_F(ImgViewTest, ThePictureStandsInTheMiddleAsTheWindowIsSized) {
    struct Row {
        const char* name;
        QSize picture;
        QSize client;
        QPoint expected;
    } rows[] = {
        {"100 x 50 in 454 x 344", {100, 50}, {454, 344}, {177, 147}},
        {"odd sizes divide down", {101, 51}, {455, 345}, {177, 147}},
        {"larger than the window is cut alike at both sides", {600, 400}, {454, 344}, {-73, -28}},
        {"in a small window", {10, 10}, {32, 32}, {11, 11}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qm::TfrmImgView v(nullptr);
        QImage picture(row.picture, QImage::Format_RGB32);
        picture.fill(Qt::red);
        v.SetGraphic(picture);
        EXPECT_EQ(v.imgImage->size(), row.picture);
        // A copy: changing the source later changes nothing shown.
        picture.fill(Qt::blue);
        EXPECT_EQ(v.imgImage->pixmap().toImage().pixelColor(0, 0), QColor(Qt::red));
        v.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
        // The window's own resize handler places the picture.
        v.resize(row.client);
        for (int i = 0; i < 100 && v.imgImage->pos() != row.expected; ++i) QTest::qWait(5);
        EXPECT_EQ(v.size(), row.client);
        EXPECT_EQ(v.imgImage->pos(), row.expected);
    }
}

TEST_F(ImgViewTest, ANullPictureShowsNothing) {
    qm::TfrmImgView v(nullptr);
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    v.SetGraphic(picture);
    v.SetGraphic(QImage());
    EXPECT_TRUE(v.imgImage->pixmap().isNull());
    EXPECT_EQ(v.imgImage->size(), QSize(0, 0));
}

}  // namespace
