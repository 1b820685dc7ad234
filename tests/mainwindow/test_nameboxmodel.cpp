// The tool bar's name boxes hold their rows in a plain list model: the box's
// own calls must work on it as on the toolkit's item model.
#include "mainwindow/nameboxmodel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPixmap>
#include <QSignalSpy>

#include "support/qtapp.h"

namespace qm {
namespace {

class NameBoxModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qmtest::EnsureQtApp(); }

    void SetUp() override {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        glyph_ = QIcon(red);
        model_ = new TNameBoxModel(glyph_, &box_);
        box_.setModel(model_);
    }

    QStringList Texts() const {
        QStringList out;
        for (int i = 0; i < box_.count(); ++i) out << box_.itemText(i);
        return out;
    }

    QIcon glyph_;
    QComboBox box_;
    TNameBoxModel* model_ = nullptr;
};

TEST_F(NameBoxModel, TheBoxsCallsWorkOnTheRows) {
    QSignalSpy resets(model_, &QAbstractItemModel::modelReset);
    model_->Reset({{QStringLiteral("Alpha"), 11}, {QStringLiteral("Gamma"), 33}});
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(Texts(), (QStringList{"Alpha", "Gamma"}));

    // As the window adds a row in its sorted place and renames one.
    box_.insertItem(1, glyph_, QStringLiteral("Beta"), QVariant::fromValue<qulonglong>(22));
    EXPECT_EQ(Texts(), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(box_.itemData(1).toULongLong(), 22u);
    EXPECT_EQ(box_.findData(QVariant::fromValue<qulonglong>(33)), 2);
    EXPECT_EQ(box_.findData(QVariant::fromValue<qulonglong>(99)), -1);
    EXPECT_EQ(box_.findText(QStringLiteral("gamma"), Qt::MatchFixedString), 2);
    box_.setItemText(0, QStringLiteral("Aleph"));
    EXPECT_EQ(box_.itemText(0), "Aleph");
    EXPECT_EQ(box_.itemIcon(2).pixmap(16, 16).toImage(), glyph_.pixmap(16, 16).toImage());

    box_.setCurrentIndex(2);
    EXPECT_EQ(box_.currentText(), "Gamma");
    EXPECT_EQ(box_.currentData().toULongLong(), 33u);
    box_.removeItem(0);
    EXPECT_EQ(Texts(), (QStringList{"Beta", "Gamma"}));
    EXPECT_EQ(box_.currentText(), "Gamma");  // the current row follows its row

    box_.clear();
    EXPECT_EQ(box_.count(), 0);
    EXPECT_EQ(box_.currentIndex(), -1);
}

TEST_F(NameBoxModel, RowsOutOfRangeAreRefused) {
    model_->Reset({{QStringLiteral("Only"), 1}});
    EXPECT_FALSE(model_->insertRows(2, 1));
    EXPECT_FALSE(model_->insertRows(0, 0));
    EXPECT_FALSE(model_->removeRows(0, 2));
    EXPECT_FALSE(model_->removeRows(-1, 1));
    EXPECT_FALSE(model_->setData(model_->index(1, 0), QStringLiteral("x")));
    EXPECT_FALSE(model_->data(model_->index(0, 0), Qt::ToolTipRole).isValid());
    EXPECT_EQ(model_->rowCount(model_->index(0, 0)), 0);  // a flat list
    EXPECT_EQ(box_.count(), 1);
}

}  // namespace
}  // namespace qm
