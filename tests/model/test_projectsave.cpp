// A save killed at every step: a child process saves a project of a few
// megabytes and stops at one step of the save until it is killed there. The
// file on disk must always load whole as the old or the new project, and the
// next save must leave no temporary file behind. The child says where it
// stands, so no kill depends on how fast the machine is.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "util/child_process.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "model/project.h"
#include "model/projectfile.h"
#include "model_test_util.h"
#include "util/errors.h"
#include "util/fileio.h"

using qm::TProject;
namespace fs = std::filesystem;

namespace {

// A project of about `bytes` bytes: the rich project with its topics' text
// grown.
void BuildBigProject(TProject& p, std::size_t bytes, char fill) {
    qmtest::BuildRichProject(p);
    const int n = p.Topics.Count();
    for (int i = 0; i < n; ++i) p.Topics.GetNode(i).Text.assign(bytes / static_cast<std::size_t>(n), fill);
}

constexpr std::size_t kOldBytes = 3u << 20;
constexpr std::size_t kNewBytes = 4u << 20;

// The steps a kill can meet, what the folder holds then: the old file or the
// new one, and whether a temporary file is there. The hook runs before each
// step, so a save stopped at Create has made nothing yet and one stopped at
// FlushFolder has put the new file in place.
struct KillStep {
    qm::SaveStep step;
    bool newFile;
    bool temporary;
};
constexpr KillStep kKillSteps[] = {
    {qm::SaveStep::Create, false, false}, {qm::SaveStep::Write, false, true},  {qm::SaveStep::Flush, false, true},
    {qm::SaveStep::Close, false, true},   {qm::SaveStep::Rename, false, true}, {qm::SaveStep::FlushFolder, true, false},
};

#ifdef _WIN32
// The process that is killed: saves the new project to the path it is given
// after the number of the step to stop at, tells the parent when it reaches
// that step and waits there to be killed.
const int kSaveRole = qmtest::RegisterChildRole("save-big-project", [](const std::string& arg) {
    qmtest::ScopedScreen screen{1024, 768};
    const auto stopAt = static_cast<qm::SaveStep>(std::stoi(arg.substr(0, arg.find(' '))));
    TProject newProject;
    BuildBigProject(newProject, kNewBytes, 'n');
    qm::SetSaveFaultHookForTesting([stopAt](qm::SaveStep step) {
        if (step == stopAt) {
            qmtest::TellParentReady();
            qmtest::WaitForParent();
        }
        return 0;
    });
    newProject.SaveToFile(arg.substr(arg.find(' ') + 1));
    return 0;
});
#endif

int TemporariesIn(const fs::path& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().find(".saving-") != std::string::npos) ++n;
    return n;
}

TEST(ProjectSave, KilledAtAnyStepLeavesTheOldOrTheNewFileAndTheNextSaveCleansUp) {
    qmtest::ScopedScreen screen{1024, 768};
    qmtest::TempDir dir;
    const std::string target = dir.file("Big.qpf");
    TProject oldProject, newProject;
    BuildBigProject(oldProject, kOldBytes, 'o');
    BuildBigProject(newProject, kNewBytes, 'n');
    const std::string oldBytes = oldProject.SaveToBytes();
    const std::string newBytes = newProject.SaveToBytes();

    for (const KillStep& at : kKillSteps) {
        SCOPED_TRACE(std::string("killed before ") + std::string(qm::SaveStepName(at.step)));
        oldProject.SaveToFile(target);
#ifdef _WIN32
        qmtest::ChildProcess child("save-big-project", std::to_string(static_cast<int>(at.step)) + " " + target);
        ASSERT_TRUE(child.WaitReady(600000)) << "the child did not reach the step";
        child.Kill();
        ASSERT_EQ(child.Wait(), qmtest::ChildProcess::kKilled);
#else
        int ready[2];
        int hold[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(hold), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            ::close(hold[1]);
            // Says it reached the step, then waits on a pipe nobody writes.
            qm::SetSaveFaultHookForTesting([&](qm::SaveStep step) {
                char c = 1;
                if (step != at.step) return 0;
                if (::write(ready[1], &c, 1) != 1) ::_exit(2);
                (void)::read(hold[0], &c, 1);
                ::_exit(3);
            });
            try {
                newProject.SaveToFile(target);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1) << "the child did not reach the step";
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(ready[0]);
        ::close(hold[1]);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
#endif

        const std::string onDisk = qmtest::ReadBytes(target);
        EXPECT_TRUE(onDisk == (at.newFile ? newBytes : oldBytes)) << onDisk.size() << " bytes";
        TProject loaded;
        EXPECT_NO_THROW(loaded.LoadFromFile(target));
        EXPECT_EQ(loaded.Topics.Count(), oldProject.Topics.Count());
        EXPECT_EQ(TemporariesIn(dir.path()), at.temporary ? 1 : 0);

        // The next save of the same project file clears what the kill left.
        oldProject.SaveToFile(target);
        EXPECT_EQ(TemporariesIn(dir.path()), 0);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

// A module whose text the project file (and the editor) could not take back
// is refused by name, and the old file stays.
TEST(ProjectSave, AModuleTooLargeToSaveSaysSo) {
    qmtest::ScopedScreen screen{1024, 768};
    qmtest::TempDir dir;
    const std::string target = dir.file("p.qpf");
    TProject p;
    p.NewProject();
    p.SaveToFile(target);
    const std::string before = qmtest::ReadBytes(target);
    p.FileName = "previous.qpf";
    qm::TTopicNode& big = p.Topics.AddNew();
    big.SetName("Huge");
    big.Text.assign(qm::projectfile::MaxModuleTextBytes + 1, 'x');
    try {
        p.SaveToFile(target);
        ADD_FAILURE() << "saved";
    } catch (const qm::Error& e) {
        EXPECT_EQ(std::string(e.what()), "The module \"Huge\" is too large to save (the limit is 256 MB).");
    }
    EXPECT_EQ(p.FileName, "previous.qpf");
    EXPECT_EQ(qmtest::ReadBytes(target), before);
    EXPECT_EQ(TemporariesIn(dir.path()), 0);
    // At the limit it saves.
    big.Text.pop_back();
    EXPECT_NO_THROW(p.SaveToBytes());
}

TEST(ProjectOpen, AFileOverTheLimitIsRefusedAndNamed) {
    qmtest::ScopedScreen screen{1024, 768};
    qmtest::TempDir dir;
    const std::string target = dir.file("big.qpf");
    TProject p;
    p.NewProject();
    p.SaveToFile(target);
    fs::resize_file(target, qm::projectfile::MaxFileBytes + 1);  // a hole
    TProject q;
    q.NewProject();
    try {
        q.LoadFromFile(target);
        ADD_FAILURE() << "opened";
    } catch (const qm::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open " + target + " - The file is too large (the limit is 1024 MB).");
    }
    EXPECT_EQ(q.Topics.Count(), 0);
}

}  // namespace
