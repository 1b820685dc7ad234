// The data folder a program reads macros.cfg and its dictionaries from, for
// each way it may lie on the disk.
#include "platform/datafolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace qm {
namespace {

TEST(ProgramDataFolder, BesideTheProgramOrUnderTheInstallPrefix) {
    const struct {
        const char* name;
        std::function<void(const QDir& root)> make;  // bin/ always exists
        const char* expected;                        // relative to the root
    } rows[] = {
        {"a build tree: macros.cfg beside the program",
         [](const QDir& root) { QFile(root.filePath("bin/macros.cfg")).open(QIODevice::WriteOnly); }, "bin"},
        {"beside wins over an installed folder",
         [](const QDir& root) {
             root.mkpath("bin/Dictionaries");
             root.mkpath("share/quillmark");
         },
         "bin"},
        {"installed under a prefix", [](const QDir& root) { root.mkpath("share/quillmark/Dictionaries"); },
         "share/quillmark"},
        {"neither: the program's folder", [](const QDir&) {}, "bin"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QDir root(dir.path());
        ASSERT_TRUE(root.mkpath("bin"));
        row.make(root);
        EXPECT_EQ(QDir::cleanPath(ProgramDataFolder(root.filePath("bin"))),
                  QDir::cleanPath(root.filePath(row.expected)));
    }
}

}  // namespace
}  // namespace qm
