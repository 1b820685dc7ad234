#include "model/usertools.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace qm {

bool TUserTools::Add(const std::string& path, const std::string& name) {
    if (!CanAdd()) return false;
    tools_.push_back(TTool{path, name});
    Changed();
    return true;
}

void TUserTools::SetTool(int i, const std::string& path, const std::string& name) {
    if (i < 0 || i >= Count()) return;
    tools_[static_cast<std::size_t>(i)] = TTool{path, name};
    Changed();
}

TTool TUserTools::GetTool(int i) const { return i >= 0 && i < Count() ? tools_[static_cast<std::size_t>(i)] : TTool{}; }

void TUserTools::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    tools_.erase(tools_.begin() + i);
    Changed();
}

void TUserTools::Clear() {
    if (tools_.empty()) return;
    tools_.clear();
    Changed();
}

std::string TUserTools::MenuCaption(int i) const { return "&" + std::to_string(i) + " " + GetTool(i).Name; }

std::string TUserTools::MenuHint(int i) const { return "|" + GetTool(i).Name; }

void TUserTools::Changed() const {
    if (onChange_) onChange_();
}

void TUserTools::LoadFromRegistry(const SettingsStore& store) {
    try {
        if (!store.KeyExists(kToolsKey)) return;
    } catch (const std::exception&) {
        return;
    }
    auto text = [&](const std::string& name) {
        try {
            return store.ReadString(kToolsKey, name);
        } catch (const std::exception&) {
            return std::string();  // the store noted what it could not read
        }
    };
    auto stored = [&](int n) {
        try {
            return store.ValueExists(kToolsKey, "ToolPath" + std::to_string(n)) ||
                   store.ValueExists(kToolsKey, "ToolName" + std::to_string(n));
        } catch (const std::exception&) {
            return false;
        }
    };
    // Without a readable count, the tools stored one after another.
    std::optional<std::int32_t> count;
    try {
        count = store.FindInteger(kToolsKey, "Count");
    } catch (const std::exception&) {
    }
    for (int n = 1; CanAdd() && (count ? n <= *count : stored(n)); ++n)
        Add(text("ToolPath" + std::to_string(n)), text("ToolName" + std::to_string(n)));
}

void TUserTools::SaveToRegistry(SettingsStore& store) const {
    try {
        for (int n = 1; n <= kMaxUserTools; ++n) {
            store.DeleteValue(kToolsKey, "ToolPath" + std::to_string(n));
            store.DeleteValue(kToolsKey, "ToolName" + std::to_string(n));
        }
        store.WriteInteger(kToolsKey, "Count", Count());
        for (int n = 1; n <= Count(); ++n) {
            const TTool& t = tools_[static_cast<std::size_t>(n - 1)];
            store.WriteString(kToolsKey, "ToolPath" + std::to_string(n), t.Path);
            store.WriteString(kToolsKey, "ToolName" + std::to_string(n), t.Name);
        }
    } catch (const qm::Error&) {
        // Nothing is reported for settings that cannot be saved.
    }
}

}  // namespace qm
