#pragma once
// Fakes of the external programs: they record every call and answer as the
// test sets them up.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "util/externalprograms.h"

namespace qmtest {

class FakeCompilerRunner : public qm::CompilerRunner {
public:
    qm::CompilerAvailability availability = qm::CompilerAvailability::Native;
    qm::CompilerResult result{true, 0, {}};
    // Runs inside Run, before it returns (e.g. to write a report file).
    std::function<void(const qm::CompilerCall&)> onRun;
    std::vector<qm::CompilerCall> calls;
    mutable std::vector<std::string> checked;  // files passed to Availability

    qm::CompilerAvailability Availability(const std::string& compilerFile) const override {
        checked.push_back(compilerFile);
        return availability;
    }
    qm::CompilerResult Run(const qm::CompilerCall& call) override {
        calls.push_back(call);
        if (onRun) onRun(call);
        return result;
    }
};

class FakeHelpViewer : public qm::HelpViewer {
public:
    struct Shown {
        std::string helpFile;
        int context;
    };
    int quits = 0;
    std::vector<Shown> shown;
    bool answer = true;

    void Quit() override { ++quits; }
    bool ShowContext(const std::string& helpFile, int context) override {
        shown.push_back({helpFile, context});
        return answer;
    }
    // Contents and index are recorded with the contexts -1 and -2.
    bool ShowContents(const std::string& helpFile) override {
        shown.push_back({helpFile, -1});
        return answer;
    }
    bool ShowIndex(const std::string& helpFile, const std::string& keyword) override {
        shown.push_back({helpFile, -2});
        indexKeywords.push_back(keyword);
        return answer;
    }
    std::vector<std::string> indexKeywords;
};

class FakeShellLauncher : public qm::ShellLauncher {
public:
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
        std::string workingFolder;
    };
    std::vector<std::string> opened;
    std::vector<Started> started;
    qm::LaunchResult answer{true, {}};

    qm::LaunchResult Open(const std::string& target) override {
        opened.push_back(target);
        return answer;
    }
    qm::LaunchResult Start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingFolder) override {
        started.push_back({program, arguments, workingFolder});
        return answer;
    }
};

}  // namespace qmtest
