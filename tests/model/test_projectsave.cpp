// A save killed at any moment: a child process saves a project of a few
// megabytes and is killed at random moments (fixed seed). The file on disk
// must always load whole as the old or the new project, and the next save
// must leave no temporary file behind.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "util/child_process.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

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

#ifdef _WIN32
// The process that is killed: saves the new project to the path it is given,
// telling the parent when the file part of the save begins.
const int kSaveRole = qmtest::RegisterChildRole("save-big-project", [](const std::string& target) {
    qmtest::ScopedScreen screen{1024, 768};
    TProject newProject;
    BuildBigProject(newProject, kNewBytes, 'n');
    qm::SetSaveFaultHookForTesting([](qm::SaveStep step) {
        if (step == qm::SaveStep::Create) qmtest::TellParentReady();
        return 0;
    });
    newProject.SaveToFile(target);
    return 0;
});
#endif

int TemporariesIn(const fs::path& dir) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().find(".saving-") != std::string::npos) ++n;
    return n;
}

TEST(ProjectSave, KilledAtRandomMomentsLeavesTheOldOrTheNewFileAndNoTemporary) {
    qmtest::ScopedScreen screen{1024, 768};
    qmtest::TempDir dir;
    const std::string target = dir.file("Big.qpf");
    TProject oldProject, newProject;
    BuildBigProject(oldProject, kOldBytes, 'o');
    BuildBigProject(newProject, kNewBytes, 'n');
    const std::string oldBytes = oldProject.SaveToBytes();
    const std::string newBytes = newProject.SaveToBytes();

    // How long the file part of one save takes here (from creating the
    // temporary file to flushing the folder): the kills spread over it.
    std::chrono::steady_clock::time_point created, flushed;
    qm::SetSaveFaultHookForTesting([&](qm::SaveStep step) {
        if (step == qm::SaveStep::Create) created = std::chrono::steady_clock::now();
        if (step == qm::SaveStep::FlushFolder) flushed = std::chrono::steady_clock::now();
        return 0;
    });
    newProject.SaveToFile(dir.file("timing.qpf"));
    qm::SetSaveFaultHookForTesting({});
    fs::remove(dir.file("timing.qpf"));
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(flushed - created);
    const long window = std::max<long>(500, static_cast<long>(took.count()) * 5 / 4);

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long> delay(0, window);
    int leftTemporary = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        oldProject.SaveToFile(target);
#ifdef _WIN32
        qmtest::ChildProcess child("save-big-project", target);
        ASSERT_TRUE(child.WaitReady(60000)) << "the child did not begin its save";
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        child.Kill();
        const DWORD code = child.Wait();
        ASSERT_TRUE(code == qmtest::ChildProcess::kKilled || code == 0) << "exit code " << code;
#else
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            // Tells the parent when the file part of the save begins.
            const int fd = ready[1];
            qm::SetSaveFaultHookForTesting([fd](qm::SaveStep step) {
                const char go = 1;
                if (step == qm::SaveStep::Create && ::write(fd, &go, 1) != 1) ::_exit(2);
                return 0;
            });
            try {
                newProject.SaveToFile(target);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
#endif

        const std::string onDisk = qmtest::ReadBytes(target);
        EXPECT_TRUE(onDisk == oldBytes || onDisk == newBytes) << onDisk.size() << " bytes";
        TProject loaded;
        EXPECT_NO_THROW(loaded.LoadFromFile(target));
        EXPECT_EQ(loaded.Topics.Count(), oldProject.Topics.Count());
        if (TemporariesIn(dir.path()) > 0) ++leftTemporary;

        // The next save of the same project file clears what the kill left.
        oldProject.SaveToFile(target);
        EXPECT_EQ(TemporariesIn(dir.path()), 0);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
    // The kills must have hit saves in progress, or this tested nothing.
    EXPECT_GT(leftTemporary, 0);
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
