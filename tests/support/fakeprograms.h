#pragma once
// Fakes of the external programs: they record every call and answer as the
// test sets them up.
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "util/externalprograms.h"

namespace qmtest {

class FakeCompilerRunner : public qm::CompilerRunner {
public:
    qm::CompilerAvailability availability = qm::CompilerAvailability::Native;
    qm::CompilerResult result{true, 0, {}, {}};
    // Runs inside Run, before it returns (e.g. to write a report file).
    std::function<void(const qm::CompilerCall&)> onRun;
    // What Run writes where the help project's ERRORLOG= line points, as the
    // compiler does; nullopt writes no report.
    std::optional<std::string> report = std::string("Compiling the help project.\r\nNo errors.\r\n");
    std::vector<qm::CompilerCall> calls;
    mutable std::vector<std::string> checked;  // files passed to Availability

    qm::CompilerAvailability Availability(const std::string& compilerFile) const override {
        checked.push_back(compilerFile);
        return availability;
    }
    qm::CompilerResult Run(const qm::CompilerCall& call) override {
        calls.push_back(call);
        if (report) WriteReport(call.projectFile, *report);
        if (onRun) onRun(call);
        return result;
    }

    // Writes `text` at the ERRORLOG= path of the help project; a wine path
    // ("Z:\\tmp\\x") is taken back to the file system's.
    static void WriteReport(const std::string& projectFile, const std::string& text) {
        std::ifstream in(projectFile, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("ERRORLOG=", 0) != 0) continue;
            std::string path = line.substr(9);
            if (path.rfind("Z:", 0) == 0) {
                path = path.substr(2);
                for (char& c : path)
                    if (c == '\\') c = '/';
            }
            std::ofstream(path, std::ios::binary) << text;
            return;
        }
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
    // Contents and index are recorded with the contexts kContents and kIndex.
    static constexpr int kContents = -1;
    static constexpr int kIndex = -2;
    // Every request as it came.
    std::vector<qm::HelpRequest> requests;
    bool Show(const qm::HelpRequest& request) override {
        requests.push_back(request);
        switch (request.command) {
            case qm::HelpCommand::Context: shown.push_back({request.helpFile, request.context}); break;
            case qm::HelpCommand::Contents: shown.push_back({request.helpFile, kContents}); break;
            case qm::HelpCommand::Index:
                shown.push_back({request.helpFile, kIndex});
                indexKeywords.push_back(request.keyword);
                break;
        }
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
