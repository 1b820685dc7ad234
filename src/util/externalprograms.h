#pragma once
// The programs outside the system that the main window drives: the help
// compiler, the help viewer and the shell. The main window talks to these
// interfaces only, so tests run it with fakes or with the native stand-in
// compiler, and each platform supplies its own way of starting them.
#include <cstddef>
#include <string>
#include <vector>

namespace qm {

// The compiler's file inside the folder of the CompilerPath option.
std::string CompilerFile(const std::string& compilerPath);  // IncludeBackslash(path) + "hcrtf.exe"

// How the compiler at a given path can be run here.
enum class CompilerAvailability {
    Missing,      // no file there: the caller's "not found" path applies
    Native,       // runs directly (Windows, or a native stand-in)
    ThroughWine,  // a Windows program, started through "wine" on the PATH
    NoWine,       // a Windows program, but "wine" is not on the PATH
};

// The message for CompilerAvailability::NoWine.
inline constexpr const char* kMsgCompilerNeedsWine =
    "The WinHelp compiler (hcrtf.exe) was found, but it is a Windows program and "
    "\"wine\" is not installed or not on the PATH, so it cannot be run. "
    "Install wine, or set the compiler path to a compiler that runs on this system.";

// One run of the compiler.
struct CompilerCall {
    std::string compilerFile;   // full path of "hcrtf.exe"
    std::string switches;       // "-xh", "-x" or empty (then no argument at all)
    std::string projectFile;    // the help project, passed as ONE argument
    std::string workingFolder;  // the folder of the help project
};

// The switches the after-build options ask for: AcViewCnt -> "-xh"; else
// AcDoNothing or AcViewCurrent -> "-x"; else none (the project is then not
// passed either).
std::string CompilerSwitches(bool acViewCnt, bool acDoNothing, bool acViewCurrent);

// The argument list of a call: {} when it has no switches, else
// {switches, projectFile}. The project path stays one argument, blanks and all.
std::vector<std::string> CompilerArguments(const CompilerCall& call);

struct CompilerResult {
    bool started = false;  // false: the process could not be started
    int exitCode = -1;     // the process's exit code when it started
    std::string failure;   // why it did not start (empty when it started)
    // The end of what the compiler wrote on its error output (cp1252, at most
    // kCompilerErrorOutputTail bytes): what a run without a report can show.
    std::string errorOutput;
};
inline constexpr std::size_t kCompilerErrorOutputTail = 4096;

class CompilerRunner {
public:
    virtual ~CompilerRunner() = default;
    virtual CompilerAvailability Availability(const std::string& compilerFile) const = 0;
    // Starts the compiler and waits until its process has ended, however long
    // that takes; never polls an exit-code sentinel. A failed start returns
    // started == false with the reason; it never throws for that.
    virtual CompilerResult Run(const CompilerCall& call) = 0;
};

// What a help request shows of its file.
enum class HelpCommand {
    Contents,  // the contents (the Help Topics window)
    Index,     // the index, at a keyword
    Context,   // the topic with a context number
};

// One request to the help viewer: the file, what to show of it and the
// file's window to show it in.
struct HelpRequest {
    // A path, or a bare file name that the viewer finds in its own folders
    // (the viewer's own help, "Winhlp32.hlp").
    std::string helpFile;
    HelpCommand command = HelpCommand::Contents;
    int context = 0;      // Context: the topic's context number
    std::string keyword;  // Index: the keyword (empty: the index as it opens)
    std::string window;   // a window the file defines ("wnTutor"); empty: its main window
    bool operator==(const HelpRequest&) const = default;
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Asks every viewer this program opened to quit, so that the help file
    // can be rewritten. Harmless when none is open.
    virtual void Quit() = 0;
    // Shows what `request` asks for. Returns false when no viewer could be
    // started; the viewer has then told the user how to view the file.
    virtual bool Show(const HelpRequest& request) = 0;

    // Shorthands for the file's main window: `helpFile` (a built .hlp) at
    // the topic with context number `context`, at its contents, at its index
    // at `keyword` (empty: the index as it opens). False as for Show.
    bool ShowContext(const std::string& helpFile, int context) {
        return Show({helpFile, HelpCommand::Context, context, {}, {}});
    }
    bool ShowContents(const std::string& helpFile) { return Show({helpFile, HelpCommand::Contents, 0, {}, {}}); }
    bool ShowIndex(const std::string& helpFile, const std::string& keyword) {
        return Show({helpFile, HelpCommand::Index, 0, keyword, {}});
    }
};

struct LaunchResult {
    bool ok = false;
    std::string failure;  // why the launch failed (empty on success)
};

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // Opens a document or URL with the desktop's associated program
    // (the shell's "open" verb).
    virtual LaunchResult Open(const std::string& target) = 0;
    // Starts a program detached, with separate arguments, in `workingFolder`
    // (empty: the current folder).
    virtual LaunchResult Start(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) = 0;
};

}  // namespace qm
