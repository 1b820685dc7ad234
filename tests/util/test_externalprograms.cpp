// The compiler's file and command line as the build forms them.
#include "util/externalprograms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qm;

TEST(ExternalPrograms, CompilerFileJoinsTheFolderOnce) {
    struct Case {
        const char* path;
        const char* file;
    } cases[] = {
        {"/opt/hc", "/opt/hc/hcrtf.exe"},
        {"/opt/hc/", "/opt/hc/hcrtf.exe"},
        {"C:\\Program Files\\HW\\", "C:\\Program Files\\HW\\hcrtf.exe"},
        {"C:\\HW", "C:\\HW\\hcrtf.exe"},
        {"", "hcrtf.exe"},
    };
    for (const Case& c : cases) EXPECT_EQ(CompilerFile(c.path), c.file) << c.path;
}

TEST(ExternalPrograms, SwitchesFollowTheAfterBuildChoice) {
    struct Case {
        bool cnt, nothing, current;
        const char* switches;
    } cases[] = {
        {true, false, false, "-xh"}, {true, false, true, "-xh"}, {false, true, false, "-x"},
        {false, false, true, "-x"},  {false, false, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompilerSwitches(c.cnt, c.nothing, c.current), c.switches) << c.cnt << c.nothing << c.current;
}

TEST(ExternalPrograms, TheProjectPathIsOneArgument) {
    CompilerCall call{"/hc/hcrtf.exe", "-xh", "/home/a b/My Help; x.hpj", "/home/a b"};
    EXPECT_EQ(CompilerArguments(call), (std::vector<std::string>{"-xh", "/home/a b/My Help; x.hpj"}));
    call.switches.clear();
    EXPECT_TRUE(CompilerArguments(call).empty());
}
