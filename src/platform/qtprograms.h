#pragma once
// Qt implementations of the external programs.
#include <memory>
#include <optional>
#include <vector>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "util/externalprograms.h"

namespace qm {

class UiServices;

// The full path of `program` found on the PATH; empty when absent.
QString FindOnPath(const QString& program);

// True when `file` runs natively: on Windows any existing file; elsewhere an
// executable file (owner's x bit) that starts with an ELF header or "#!".
bool IsNativeExecutable(const QString& file);

// A POSIX path as a Windows program under wine sees it ("Z:\..."); other
// text unchanged.
QString WinePath(const QString& path);

class QtCompilerRunner : public CompilerRunner {
public:
    CompilerAvailability Availability(const std::string& compilerFile) const override;
    // Starts the compiler natively or through wine (then the project path is
    // given as a wine path) and waits for the process to end.
    CompilerResult Run(const CompilerCall& call) override;
};

// The help viewer: on Windows the system's WinHelp viewer; elsewhere
// "wine winhlp32 <file>" when wine is on the PATH, else an information box
// that says how to view the file.
// The viewers it started are its child processes: Quit (and the end of the
// program) closes exactly those, never a process that merely reuses an id.
class QtHelpViewer : public HelpViewer {
public:
    explicit QtHelpViewer(UiServices& ui);
    ~QtHelpViewer() override;
    void Quit() override;
    bool Show(const HelpRequest& request) override;
    // Viewers started here that are still running.
    int RunningViewers() const;

private:
    // Starts the viewer on `helpFile` with `switches` in front of the file;
    // a `window` follows the file as "file>window".
    bool Start(const std::string& helpFile, const QStringList& switches, const std::string& window = {});
    UiServices& ui_;
    std::vector<std::unique_ptr<QProcess>> viewers_;
};

class QtShellLauncher : public ShellLauncher {
public:
    LaunchResult Open(const std::string& target) override;
    LaunchResult Start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override;
};

}  // namespace qm
