// The .shg association: the edit of mimeapps.list that touches one line
// only, the files a build-tree run writes, and on and off in a scratch XDG
// home. The installed files are the ones the code writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <cstdlib>
#include "shgedit/association.h"
#include "support/qtapp.h"
#include "support/scratchdir.h"

namespace qm::shgedit {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void Write(const fs::path& p, const std::string& data) {
    fs::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << data;
}

TEST(ShgAssociation, EditMimeAppsChangesOnlyItsLine) {
    const std::string ours = "application/x-shg=pikeral.desktop";
    struct Row {
        const char* name;
        std::string before;
        bool on;
        std::string after;
    } rows[] = {
        {"on: an empty file gets the section", "", true, "[Default Applications]\n" + ours + "\n"},
        {"on: into the section, before the blank line that ends it",
         "[Default Applications]\ntext/plain=gedit.desktop\n\n[Added Associations]\nimage/png=eog.desktop\n", true,
         "[Default Applications]\ntext/plain=gedit.desktop\n" + ours +
             "\n\n[Added Associations]\nimage/png=eog.desktop\n"},
        {"on: another program's default line is replaced",
         "[Default Applications]\napplication/x-shg = gimp.desktop\ntext/plain=gedit.desktop\n", true,
         "[Default Applications]\n" + ours + "\ntext/plain=gedit.desktop\n"},
        {"on: the key in another section is not ours", "[Added Associations]\napplication/x-shg=gimp.desktop;\n", true,
         "[Added Associations]\napplication/x-shg=gimp.desktop;\n[Default Applications]\n" + ours + "\n"},
        {"on: CR LF and a last line without its end", "[Default Applications]\r\ntext/plain=gedit.desktop", true,
         "[Default Applications]\r\ntext/plain=gedit.desktop\r\n" + ours + "\r\n"},
        {"on: twice is once", "[Default Applications]\n" + ours + "\n", true, "[Default Applications]\n" + ours + "\n"},
        {"off: our line goes", "[Default Applications]\ntext/plain=gedit.desktop\n" + ours + "\n# note\n", false,
         "[Default Applications]\ntext/plain=gedit.desktop\n# note\n"},
        {"off: with a trailing semicolon", "[Default Applications]\napplication/x-shg=pikeral.desktop;\n", false,
         "[Default Applications]\n"},
        {"off: another program's default stays", "[Default Applications]\napplication/x-shg=gimp.desktop\n", false,
         "[Default Applications]\napplication/x-shg=gimp.desktop\n"},
        {"off: nothing there", "", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EditMimeApps(row.before, row.on), row.after);
    }
}

TEST(ShgAssociation, ExecQuotesTheProgramPath) {
    EXPECT_EQ(QuotedExec("/home/ann/my build/bin/pikeral"), "\"/home/ann/my build/bin/pikeral\" %f");
    // '$' '"' '`' and '\' take a backslash, which the value's own escape doubles; '%' doubles.
    EXPECT_EQ(QuotedExec("/a$b/c\"d/e`f/g\\h/100%"), "\"/a\\\\$b/c\\\\\"d/e\\\\`f/g\\\\\\\\h/100%%\" %f");
}

TEST(ShgAssociation, TheInstalledFilesAreTheOnesTheCodeWrites) {
    const fs::path data = fs::path(QM_TEST_DATA_DIR) / ".." / ".." / "data" / "linux";
    EXPECT_EQ(Read(data / "pikeral.desktop"), DesktopEntry("pikeral %f"));
    EXPECT_EQ(Read(data / "pikeral.xml"), MimePackage());
    // The type's name, the glob of any case and the two magics.
    const std::string package = MimePackage();
    for (const char* part : {"type=\"application/x-shg\"", "<comment>Segmented Hypergraphic</comment>",
                             "pattern=\"*.shg\" case-sensitive=\"false\"", "value=\"lp\"", "value=\"lP\""})
        EXPECT_NE(package.find(part), std::string::npos) << part;
}

class AssociationHome : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = scratch_.path();
        places_.ConfigHome = (home_ / "config").string();
        places_.DataHome = (home_ / "data").string();
        places_.ProgramPath = "/opt/build dir/bin/pikeral";
        places_.RunHelper = [this](const std::string& program, const std::vector<std::string>& args) {
            helpers_.push_back(program + " " + (args.empty() ? std::string() : args.front()));
        };
    }
    fs::path List() const { return home_ / "config" / "mimeapps.list"; }
    fs::path Desktop() const { return home_ / "data" / "applications" / "pikeral.desktop"; }
    fs::path Package() const { return home_ / "data" / "mime" / "packages" / "pikeral.xml"; }

    qmtest::ScratchDir scratch_{"qm_assoc_"};
    fs::path home_;
    TAssociationPlaces places_;
    std::vector<std::string> helpers_;
};

TEST_F(AssociationHome, ABuildTreeRunWritesBothFilesAndTheDefault) {
    Write(List(), "[Default Applications]\ntext/plain=gedit.desktop\n");
    EXPECT_TRUE(RegisterFileType(true, places_));
    EXPECT_EQ(Read(List()), "[Default Applications]\ntext/plain=gedit.desktop\napplication/x-shg=pikeral.desktop\n");
    EXPECT_EQ(Read(Desktop()), DesktopEntry("\"/opt/build dir/bin/pikeral\" %f"));
    EXPECT_EQ(Read(Package()), MimePackage());
    EXPECT_EQ(helpers_,
              (std::vector<std::string>{"update-mime-database " + (home_ / "data" / "mime").string(),
                                        "update-desktop-database " + (home_ / "data" / "applications").string()}));

    // Off takes back what on wrote, and only that.
    EXPECT_TRUE(RegisterFileType(false, places_));
    EXPECT_EQ(Read(List()), "[Default Applications]\ntext/plain=gedit.desktop\n");
    EXPECT_FALSE(fs::exists(Desktop()));
    EXPECT_FALSE(fs::exists(Package()));
}

TEST_F(AssociationHome, AnInstalledProgramOnlySetsTheDefault) {
    places_.Installed = true;
    EXPECT_TRUE(RegisterFileType(true, places_));
    EXPECT_EQ(Read(List()), "[Default Applications]\napplication/x-shg=pikeral.desktop\n");
    EXPECT_FALSE(fs::exists(Desktop()));
    EXPECT_TRUE(helpers_.empty());
    EXPECT_TRUE(RegisterFileType(false, places_));
    EXPECT_EQ(Read(List()), "[Default Applications]\n");
}

TEST_F(AssociationHome, ALinkedListStaysALink) {
    places_.Installed = true;
    const fs::path real = home_ / "dotfiles" / "mimeapps.list";
    Write(real, "[Default Applications]\n");
    fs::create_directories(List().parent_path());
    fs::create_symlink(real, List());
    EXPECT_TRUE(RegisterFileType(true, places_));
    EXPECT_TRUE(fs::is_symlink(List()));
    EXPECT_EQ(Read(real), "[Default Applications]\napplication/x-shg=pikeral.desktop\n");
}

TEST_F(AssociationHome, OffWithoutAListWritesNothingAndErrorsAreSwallowed) {
    places_.Installed = true;
    EXPECT_TRUE(RegisterFileType(false, places_));
    EXPECT_FALSE(fs::exists(List()));
    // A config home that is a file: nothing can be written, nothing is thrown.
    Write(home_ / "blocked", "x");
    places_.ConfigHome = (home_ / "blocked").string();
    EXPECT_FALSE(RegisterFileType(true, places_));
    // No config home at all: nothing happens.
    EXPECT_FALSE(RegisterFileType(true, TAssociationPlaces{}));
}

TEST_F(AssociationHome, TheEnvironmentsXdgFoldersAreUsed) {
    qmtest::EnsureQtApp();
    const std::string config = (home_ / "xdg-config").string(), data = (home_ / "xdg-data").string();
    const std::string oldConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string oldData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    const TAssociationPlaces places = CurrentAssociationPlaces();
    auto restore = [&](const char* name, const std::string& value) {
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    };
    restore("XDG_CONFIG_HOME", oldConfig);
    restore("XDG_DATA_HOME", oldData);
    EXPECT_EQ(places.ConfigHome, config);
    EXPECT_EQ(places.DataHome, data);
    // The test program runs from the build tree: nothing is installed beside it.
    EXPECT_FALSE(places.Installed);
    EXPECT_EQ(places.ProgramPath.front(), '/');

    // On and off with the program's own places, helpers and all.
    EXPECT_TRUE(RegisterFileType(true, places));
    EXPECT_EQ(Read(fs::path(config) / "mimeapps.list"), "[Default Applications]\napplication/x-shg=pikeral.desktop\n");
    const std::string desktop = Read(fs::path(data) / "applications" / "pikeral.desktop");
    EXPECT_NE(desktop.find("Exec=\"" + places.ProgramPath + "\" %f\n"), std::string::npos) << desktop;
    EXPECT_TRUE(fs::exists(fs::path(data) / "mime" / "packages" / "pikeral.xml"));
    EXPECT_TRUE(RegisterFileType(false, places));
    EXPECT_EQ(Read(fs::path(config) / "mimeapps.list"), "[Default Applications]\n");
    EXPECT_FALSE(fs::exists(fs::path(data) / "applications" / "pikeral.desktop"));
    EXPECT_FALSE(fs::exists(fs::path(data) / "mime" / "packages" / "pikeral.xml"));
}

}  // namespace
}  // namespace qm::shgedit
