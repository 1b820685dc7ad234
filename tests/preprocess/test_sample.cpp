// The bundled sample project (examples/Sample.qpf) opens and builds cleanly,
// and holds what it is there to show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "model/project.h"
#include "preprocess/outputlog.h"
#include "preprocess/projectwriter.h"
#include "preprocess/topicwriter.h"
#include "support/scratchdir.h"
#include "util/fileio.h"

using namespace qm;

namespace {

const std::string kSample = std::string(QM_TEST_DATA_DIR) + "/../../examples/Sample.qpf";

bool BodyHas(const TTopicNode& n, const char* text) { return n.Text.find(text) != std::string::npos; }

}  // namespace

TEST(SampleProject, HoldsTopicsPopupsAWindowLinksAndKeywords) {
    TProject p;
    p.LoadFromFile(kSample);
    EXPECT_GE(p.Topics.TopicCount(), 3);
    EXPECT_GE(p.Topics.PopupCount(), 2);
    ASSERT_NE(p.Topics.FindContents(), nullptr);
    EXPECT_TRUE(p.Windows.NameExists("note"));
    bool topicLink = false, popupLink = false, windowLink = false, macro = false, keywords = false;
    for (const auto& n : p.Topics) {
        topicLink |= BodyHas(*n, "<LINK TOPIC=");
        popupLink |= BodyHas(*n, "<LINK POPUP=");
        windowLink |= BodyHas(*n, "WINDOW=note");
        macro |= BodyHas(*n, "<MACRO ");
        keywords |= !n->Keywords.empty();
    }
    EXPECT_TRUE(topicLink && popupLink && windowLink && macro && keywords);
    EXPECT_EQ(p.GetHlpFile(), "Sample.hlp");
}

TEST(SampleProject, BuildsWithoutFindings) {
    TProject p;
    p.LoadFromFile(kSample);
    const qmtest::ScratchDir work("qm_sample_");
    const std::string folder = work.str() + "/";
    TOutputLog log;
    WriteTopicFiles(p, folder, log);
    for (const TError& e : log.Entries()) ADD_FAILURE() << "finding " << e.Code << ": " << e.Text;
    EXPECT_EQ(log.ErrorCount(), 0);
    EXPECT_EQ(log.WarningCount(), 0);
    for (const auto& n : p.Topics) EXPECT_TRUE(std::filesystem::exists(folder + n->GetName() + ".rtf")) << n->GetName();
}

// A sample with a browse sequence needs BrowseButtons() in its main window
// and a title, or the real compiler warns about it.
TEST(SampleProject, CompilesCleanWithTheRealCompiler) {
    TProject p;
    p.LoadFromFile(kSample);
    EXPECT_FALSE(p.GetTitle().empty());
    ASSERT_GE(p.Windows.Count(), 1);
    const TWindowDef& main = p.Windows.GetWindow(1);
    EXPECT_EQ(main.GetName(), "main");
    EXPECT_FALSE(main.GetCaption().empty());
    bool browses = false;
    for (const auto& n : p.Topics) browses |= !n->GetBrowse().empty();
    ASSERT_TRUE(browses) << "the sample is meant to show a browse sequence";
    EXPECT_EQ(main.Macros, StringList{"BrowseButtons()"});
    // It reaches the help project under [CONFIG], the main window's section.
    const std::string hpj = HelpProjectText(p, "/tmp/work");
    EXPECT_NE(hpj.find("\r\n[CONFIG]\r\nBrowseButtons()\r\n"), std::string::npos);
}

#ifdef QM_BUILT_SAMPLE
TEST(SampleProject, CommittedCopyIsWhatTheToolWrites) {
    EXPECT_TRUE(ReadWholeFile(kSample) == ReadWholeFile(QM_BUILT_SAMPLE))
        << "examples/Sample.qpf is out of date: copy " << QM_BUILT_SAMPLE << " over it";
}
#endif
