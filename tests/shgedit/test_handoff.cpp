// The command line and the hand-off lists Quillmark leaves for Pikeral: read
// from the folder the option names, with any line end, then deleted with the
// folder; links are never followed; nothing happens without the option.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shgedit/handoff.h"
#include "support/qtapp.h"

namespace qm::shgedit {
namespace {

void Write(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

TEST(PikeralCommandLine, TheOptionAndTheFile) {
    struct Row {
        const char* name;
        QStringList args;
        QString folder;
        std::optional<QString> file;
    } rows[] = {
        {"nothing", {}, {}, std::nullopt},
        {"a file", {"/p/a.shg"}, {}, QStringLiteral("/p/a.shg")},
        {"the option first",
         {"--handoff=/tmp/h 1", "/p/a b.shg"},
         QStringLiteral("/tmp/h 1"),
         QStringLiteral("/p/a b.shg")},
        {"the option after the file",
         {"/p/a.shg", "--handoff=/tmp/h"},
         QStringLiteral("/tmp/h"),
         QStringLiteral("/p/a.shg")},
        {"the option alone", {"--handoff=/tmp/h"}, QStringLiteral("/tmp/h"), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HandoffFolderOf(row.args), row.folder);
        EXPECT_EQ(FileArgumentOf(row.args), row.file);
    }
}

class HandoffTest : public ::testing::Test {
protected:
    void SetUp() override {
        qmtest::EnsureQtApp();
        ASSERT_TRUE(dir_.isValid());
        folder_ = dir_.filePath(QStringLiteral("handoff"));
        ASSERT_TRUE(QDir().mkpath(folder_));
    }
    QString In(const char* name) const { return QDir(folder_).filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    QString folder_;
};

TEST_F(HandoffTest, ReadsBothListsThenDeletesThemAndTheFolder) {
    struct Row {
        const char* name;
        QByteArray topics;
        QByteArray popups;
        StringList expectedTopics;
        StringList expectedPopups;
    } rows[] = {
        {"CR LF, as Quillmark writes them, and an empty popups file", "A\r\nb\r\n", "", {"A", "b"}, {}},
        {"LF and CR line ends", "One\nTwo\rThree", "P1\r\nP2", {"One", "Two", "Three"}, {"P1", "P2"}},
        {"Windows-1252 names stay bytes", "Caf\xE9\r\n", "\x80uro\r\n", {"Caf\xE9"}, {"\x80uro"}},
        {"empty lines are no names", "\r\nA\r\n\r\n", "\n\n", {"A"}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(QDir().mkpath(folder_));
        Write(In(kTopicsHandoffFile), row.topics);
        Write(In(kPopupsHandoffFile), row.popups);
        const THandoffLists lists = TakeHandoffLists(folder_);
        EXPECT_EQ(lists.Topics, row.expectedTopics);
        EXPECT_EQ(lists.Popups, row.expectedPopups);
        EXPECT_FALSE(QFileInfo::exists(folder_)) << "the emptied folder goes too";
    }
}

TEST_F(HandoffTest, AFolderWithOtherFilesStays) {
    Write(In(kTopicsHandoffFile), "A\r\n");
    Write(In("other.txt"), "keep");
    const THandoffLists lists = TakeHandoffLists(folder_);
    EXPECT_EQ(lists.Topics, StringList{"A"});
    EXPECT_TRUE(lists.Popups.empty());
    EXPECT_FALSE(QFileInfo::exists(In(kTopicsHandoffFile)));
    EXPECT_TRUE(QFileInfo::exists(In("other.txt")));
}

TEST_F(HandoffTest, ALinkIsNeitherReadNorDeleted) {
    const QString target = dir_.filePath(QStringLiteral("secret.txt"));
    Write(target, "Secret\r\n");
    ASSERT_TRUE(QFile::link(target, In(kTopicsHandoffFile)));
    Write(In(kPopupsHandoffFile), "P\r\n");
    const THandoffLists lists = TakeHandoffLists(folder_);
    EXPECT_TRUE(lists.Topics.empty());
    EXPECT_EQ(lists.Popups, StringList{"P"});
    EXPECT_TRUE(QFileInfo(In(kTopicsHandoffFile)).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_TRUE(QFileInfo::exists(folder_)) << "a folder still holding the link stays";
}

TEST_F(HandoffTest, WithoutTheOptionNothingOfTheCurrentFolderIsTouched) {
    Write(In(kTopicsHandoffFile), "A\r\n");
    Write(In(kPopupsHandoffFile), "B\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_));
    const THandoffLists lists = TakeHandoffLists(QString());
    QDir::setCurrent(before);
    EXPECT_TRUE(lists.Topics.empty());
    EXPECT_TRUE(lists.Popups.empty());
    EXPECT_TRUE(QFileInfo::exists(In(kTopicsHandoffFile)));
    EXPECT_TRUE(QFileInfo::exists(In(kPopupsHandoffFile)));
}

TEST_F(HandoffTest, AMissingFolderGivesEmptyLists) {
    const THandoffLists lists = TakeHandoffLists(dir_.filePath(QStringLiteral("gone")));
    EXPECT_TRUE(lists.Topics.empty());
    EXPECT_TRUE(lists.Popups.empty());
}

}  // namespace
}  // namespace qm::shgedit
