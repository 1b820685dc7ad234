// The typed settings file's reader: values outside any group survive a write
// and a read next to grouped ones, so do names that the reader's trimming
// could touch, and a file over the reader's limit is not read at all.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/qtsettingsstore.h"

namespace qm {
namespace {

TEST(TypedSettingsFile, ValuesOutsideAnyGroupStayThereAfterAWrite) {
    QSettings::SettingsMap map;
    map.insert("Alpha/Inner", 1);
    map.insert("Root", QString("at the root"));  // sorts after "Alpha/..."
    map.insert("Zeta/Deep/Value", QByteArray("\x01\x02", 2));
    map.insert("Top", 7);
    const QByteArray text = QtSettingsStore::FormatTyped(map);
    QSettings::SettingsMap again;
    ASSERT_TRUE(QtSettingsStore::ParseTyped(text, again));
    EXPECT_EQ(again, map) << text.toStdString();
}

// The reader trims blanks and takes a first byte-order mark for a person's
// editor; names and values that hold such things must still come back.
TEST(TypedSettingsFile, BlanksAndByteOrderMarksInNamesSurviveAWrite) {
    QSettings::SettingsMap map;
    map.insert(QStringLiteral(" Lead/Trail "), QStringLiteral("  both ends  "));
    const QString mark(QChar(0xFEFF));
    map.insert(QStringLiteral("Group/") + mark + QStringLiteral("Marked"), 4);
    map.insert(mark, mark + QStringLiteral("value"));
    map.insert(QStringLiteral("Tab\t"), QStringLiteral("\t"));
    const QByteArray text = QtSettingsStore::FormatTyped(map);
    QSettings::SettingsMap again;
    ASSERT_TRUE(QtSettingsStore::ParseTyped(text, again));
    EXPECT_EQ(again, map) << text.toStdString();

    // Written by hand: what the first read gives, a write and a read keep.
    for (const char* hand : {"%op=1\n", "[a%2F\xEF\xBB\xBF]\nb=x\n", "a%2F\xEF\xBB\xBF=x\n", " %20 = y \n"}) {
        SCOPED_TRACE(hand);
        QSettings::SettingsMap first, second;
        QtSettingsStore::ParseTyped(hand, first);
        ASSERT_EQ(first.size(), 1);
        QtSettingsStore::ParseTyped(QtSettingsStore::FormatTyped(first), second);
        EXPECT_EQ(second, first);
    }
}

TEST(TypedSettingsFile, AFileOverTheLimitIsNotRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath("big.conf");
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\r\nValue=5\r\n");
        ASSERT_TRUE(f.resize(QtSettingsStore::kMaxFileBytes + 1));
    }
    {
        QtSettingsStore store(name);
        EXPECT_FALSE(store.GetValue("Settings", "Value").has_value());
    }
    {
        QFile f(name);
        ASSERT_TRUE(f.resize(64));  // "[Settings]\r\nValue=5\r\n" and NULs
    }
    QtSettingsStore store(name);
    const auto v = store.GetValue("Settings", "Value");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, SettingValue::Integer(5));
}

}  // namespace
}  // namespace qm
