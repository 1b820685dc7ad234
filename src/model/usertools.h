#pragma once
// The external programs of the Tools menu, at most 10, numbered from 0, kept
// under the key "Tools" of the settings store. The menu and the tools' icons
// belong to the GUI, which listens for changes and rebuilds its items from
// the list, so every item always runs the tool its caption names.
#include <functional>
#include <string>
#include <vector>

#include "util/settingsstore.h"

namespace qm {

inline constexpr int kMaxUserTools = 10;
inline constexpr const char* kToolsKey = "Tools";

struct TTool {
    std::string Path;  // the program to run
    std::string Name;  // the display name
    bool operator==(const TTool&) const = default;
};

class TUserTools {
public:
    // Appends a tool; refused (false) when there are already 10.
    bool Add(const std::string& path, const std::string& name);
    // Changes tool i (0-based); ignored when out of range.
    void SetTool(int i, const std::string& path, const std::string& name);
    // A copy of tool i; empty when out of range.
    TTool GetTool(int i) const;
    // Removes tool i; the following tools move down one place.
    void Delete(int i);
    void Clear();
    int Count() const { return static_cast<int>(tools_.size()); }
    bool CanAdd() const { return Count() < kMaxUserTools; }

    // Caption of tool i's menu item: "&" + i + " " + name.
    std::string MenuCaption(int i) const;
    // Hint of tool i's menu item: "|" + name.
    std::string MenuHint(int i) const;

    // Called after every change of the list (add, edit, delete, load).
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // Adds the stored tools to the list; a missing key loads nothing, a
    // "Count" above 10 is taken as 10, and without a readable "Count" the
    // tools stored one after another are read. A path or name that is
    // missing or cannot be read is empty; the tool stays. Never throws.
    void LoadFromRegistry(const SettingsStore& store);
    // Deletes "ToolPath" + n and "ToolName" + n for n = 1 to 10, then writes
    // "Count" and each pair. Failures are swallowed.
    void SaveToRegistry(SettingsStore& store) const;

private:
    void Changed() const;
    std::vector<TTool> tools_;
    std::function<void()> onChange_;
};

}  // namespace qm
