#pragma once
// The build: Build (the preprocessor, then the help compiler), View Help
// File and View Current Topic, and the compiler's report.
#include <optional>
#include <string>
#include <string_view>

#include "mainwindow/commandhandler.h"
#include "util/qorstring.h"

class QAction;

namespace qm {

inline constexpr const char* kMsgNoTempFolder = "Quillmark was unable to locate the Windows Temp directory.";
inline constexpr const char* kMsgMustSave = "Project must be saved before being compiled.";
inline constexpr const char* kMsgNoCompiler = "WinHelp compiler (hcrtf.exe) not found on specified path.";
inline constexpr const char* kMsgCouldNotCompile = "Could not compile file.";
inline constexpr const char* kMsgNoHelpFile = "The help file does not exist.";
inline constexpr const char* kMsgWineCannotRunCompiler =
    "The help compiler could not run through wine. hcrtf.exe is a 32-bit Windows program, so wine needs its "
    "32-bit support: on Debian, run \"dpkg --add-architecture i386\", then install the packages wine and wine32.";
inline constexpr int kHelpContextNoCompiler = 325;

class TBuildCommands : public TCommandHandler {
public:
    // `tempFolder`: the temporary folder to use; empty for the system's.
    TBuildCommands(TMainContext& context, std::string tempFolder)
        : TCommandHandler(context), tempFolder_(std::move(tempFolder)) {}

    void CreateActions(ActionTable& table) override;

    QAction* actCompile = nullptr;
    QAction* actView = nullptr;
    QAction* actViewCurTopic = nullptr;

    void actCompileExecute();
    void actViewExecute();
    void actViewCurTopicExecute();

    // Reads the compiler's report from the work folder into its tree.
    void LoadCompilerReport();
    // Empties the work folder (plain files only).
    void ClearTempFolder();
    // The work folder of this user (prepared on use by the build), with its
    // trailing separator; empty when the temporary folder is unknown.
    std::string WorkFolder() const;
    // The temporary folder with its trailing separator; empty when unknown.
    std::string TempRoot() const;

private:
    // The compiler's report in the work folder; nullopt when there is none.
    std::optional<std::string> ReadReport() const;

    std::string tempFolder_;
};

}  // namespace qm
