#include "util/externalprograms.h"

namespace qm {

std::string CompilerFile(const std::string& compilerPath) {
    std::string file = compilerPath;
    if (!file.empty() && file.back() != '\\' && file.back() != '/') {
#ifdef _WIN32
        // Keep a path written with "/" alone readable in messages.
        file += (file.find('/') != std::string::npos && file.find('\\') == std::string::npos) ? '/' : '\\';
#else
        // A POSIX folder: keep the path readable in messages.
        file += (file.find('\\') != std::string::npos && file.find('/') == std::string::npos) ? '\\' : '/';
#endif
    }
    return file + "hcrtf.exe";
}

std::string CompilerSwitches(bool acViewCnt, bool acDoNothing, bool acViewCurrent) {
    if (acViewCnt) return "-xh";
    if (acDoNothing || acViewCurrent) return "-x";
    return {};
}

std::vector<std::string> CompilerArguments(const CompilerCall& call) {
    if (call.switches.empty()) return {};
    return {call.switches, call.projectFile};
}

}  // namespace qm
