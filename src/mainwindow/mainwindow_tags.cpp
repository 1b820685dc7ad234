// What the tag commands need of the main window: the project's image folders
// and the state of Copy Format.
#include "mainwindow/mainwindow.h"
#include "util/qorstring.h"

namespace qm {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A folder without its trailing separators; a root ("/", "C:\") keeps its
// own, without which it would name something else.
std::string WithoutTrailingSeparator(std::string folder) {
    auto isRoot = [](const std::string& f) { return f.size() == 1 || (f.size() == 3 && f[1] == ':'); };
    while (folder.size() > 1 && IsSeparator(folder.back()) && !isRoot(folder)) folder.pop_back();
    return folder;
}

// Equal ignoring ASCII case, "\" and "/" alike, and trailing separators.
bool SameFolderName(const std::string& a, const std::string& b) {
    const std::string x = WithoutTrailingSeparator(a);
    const std::string y = WithoutTrailingSeparator(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (IsSeparator(x[i]) && IsSeparator(y[i])) continue;
        if (AsciiLower(x[i]) != AsciiLower(y[i])) return false;
    }
    return true;
}

}  // namespace

void TfrmMain::AddImageFolder(const std::string& folder) {
    const std::string wanted = WithoutTrailingSeparator(Trim(folder));
    // A bare file name has no folder: an empty entry would stand for the
    // current folder of whoever builds the project.
    if (wanted.empty() || !project_) return;
    for (const std::string& known : project_->BmRoot)
        if (SameFolderName(known, wanted)) return;
    const std::string own = ExtractFilePath(project_->FileName);
    if (!own.empty() && SameFolderName(own, wanted)) return;
    project_->BmRoot.push_back(wanted);
}

bool TfrmMain::CopyFormatOn() const { return formatPainter_[0] || formatPainter_[1]; }

}  // namespace qm
