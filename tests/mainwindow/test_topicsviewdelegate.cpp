#include "mainwindow/topicsviewdelegate.h"

#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStandardItemModel>

#include <functional>

#include "model/styles.h"

namespace qm {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 20;

class TopicsViewDelegate : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }

    void SetUp() override {
        options_.EditStyle = kFontBold;
        options_.EditColor = 0x000000FF;  // red, as stored 0x00BBGGRR
        options_.DoneStyle = 0;
        options_.DoneColor = 0x0000FF00;  // green
        QPixmap magenta(16, 16);
        magenta.fill(QColor(255, 0, 255));
        icon_ = QIcon(magenta);
        model_.appendRow(new QStandardItem("ignored"));
    }

    QImage Render(std::optional<TTopicRowInfo> row, bool selected) {
        TTopicsViewDelegate delegate(
            options_, [row](const QModelIndex&) { return row; }, icon_);
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::black);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, kWidth, kHeight);
        option.state = selected ? QStyle::State_Selected : QStyle::State_None;
        option.palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
        QFont font("DejaVu Sans");
        font.setPixelSize(14);
        option.font = font;
        QPainter painter(&image);
        delegate.paint(&painter, option, model_.index(0, 0));
        painter.end();
        return image;
    }

    // Pixels in columns [x0, x1) that match the test.
    static int Count(const QImage& image, int x0, int x1, const std::function<bool(QColor)>& test) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 1; y < kHeight - 1; ++y)
                if (test(image.pixelColor(x, y))) ++n;
        return n;
    }
    static bool Navy(QColor c) { return c.red() < 40 && c.green() < 40 && c.blue() > 90 && c.blue() < 170; }
    static bool Red(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
    static bool Green(QColor c) { return c.green() > 200 && c.red() < 60 && c.blue() < 60; }
    static bool White(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }

    TOptions options_;
    QIcon icon_;
    QStandardItemModel model_;
};

TEST_F(TopicsViewDelegate, EditStateContentsTopic) {
    const QImage img = Render(TTopicRowInfo{1234, "Intro", true, 1}, false);
    EXPECT_EQ(img.pixelColor(kWidth - 5, kHeight / 2), QColor(Qt::white));
    // Silver frame: top, bottom and the column line at x = 49.
    EXPECT_EQ(img.pixelColor(200, 0), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(img.pixelColor(200, kHeight - 1), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(img.pixelColor(49, kHeight / 2), QColor(0xC0, 0xC0, 0xC0));
    // The ID in navy left of the line, the image after it, the name in the edit colour.
    EXPECT_GT(Count(img, 3, 49, Navy), 5);
    EXPECT_EQ(img.pixelColor(58, kHeight / 2), QColor(255, 0, 255));
    EXPECT_GT(Count(img, 67, kWidth, Red), 5);
    EXPECT_EQ(Count(img, 0, 67, Red), 0);
    EXPECT_EQ(Count(img, 67, kWidth, Green), 0);
}

TEST_F(TopicsViewDelegate, DoneStateWithoutImage) {
    const QImage img = Render(TTopicRowInfo{7, "Other", false, 0}, false);
    EXPECT_GT(Count(img, 67, kWidth, Green), 5);
    EXPECT_EQ(Count(img, 67, kWidth, Red), 0);
    EXPECT_EQ(Count(img, 50, 67, [](QColor c) { return c == QColor(255, 0, 255); }), 0);
}

TEST_F(TopicsViewDelegate, SelectedLineIsWhiteOnHighlight) {
    const QImage img = Render(TTopicRowInfo{1234, "Intro", false, 1}, true);
    EXPECT_EQ(img.pixelColor(kWidth - 5, kHeight / 2), QColor(0, 0, 255));
    EXPECT_GT(Count(img, 3, 49, White), 5);
    EXPECT_GT(Count(img, 67, kWidth, White), 5);
    EXPECT_EQ(Count(img, 67, kWidth, Red), 0);
    EXPECT_EQ(Count(img, 3, 49, Navy), 0);
}

TEST_F(TopicsViewDelegate, VanishedNodeDrawsAnEmptyLine) {
    const QImage img = Render(std::nullopt, false);
    EXPECT_EQ(Count(img, 3, 49, Navy), 0);
    EXPECT_EQ(Count(img, 50, kWidth, [](QColor c) { return !White(c); }), 0);
    EXPECT_EQ(img.pixelColor(49, kHeight / 2), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(TopicsViewDelegate, UnderscoresAreNotCutAtTheLinesOwnHeight) {
    // A name of underscores only: all of it lies in the descent, where the
    // grid line at the bottom would cover it if the line were too low.
    const std::optional<TTopicRowInfo> row = TTopicRowInfo{7, "_____", false, 0};
    TTopicsViewDelegate delegate(
        options_, [row](const QModelIndex&) { return row; }, icon_);
    QStyleOptionViewItem option;
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    option.font = font;
    const int height = delegate.sizeHint(option, model_.index(0, 0)).height();
    QFont bold = font;
    bold.setBold(true);
    EXPECT_GE(height, QFontMetrics(bold).height() + 2);
    QImage image(kWidth, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    option.rect = QRect(0, 0, kWidth, height);
    QPainter painter(&image);
    delegate.paint(&painter, option, model_.index(0, 0));
    painter.end();
    int green = 0;
    for (int x = 67; x < kWidth; ++x)
        for (int y = 1; y < height - 1; ++y)
            if (Green(image.pixelColor(x, y))) ++green;
    EXPECT_GT(green, 10);
}

}  // namespace
}  // namespace qm
