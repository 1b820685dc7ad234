// The typed settings file's reader: values outside any group survive a write
// and a read next to grouped ones, and a file over the reader's limit is not
// read at all.
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
