#pragma once
// The ten most recently used project files, slot 1 the most recent, kept
// under the key "MRU" of the settings store. The two menus that show them
// (the toolbar's drop-down and File > Reopen) are attached as callbacks, so
// the list stays free of any toolkit.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "util/settingsstore.h"

namespace qm {

inline constexpr int kMruCount = 10;
inline constexpr const char* kMruKey = "MRU";

class TMru {
public:
    // Sets menu item k (0 to 9): its caption and whether it is enabled.
    using MenuSetter = std::function<void(int k, const std::string& caption, bool enabled)>;

    // Moves an existing name (exact compare) or a new one to slot 1; a new
    // name pushes slot 10 out. An empty name only refreshes the menus.
    void Add(const std::string& file);
    // Removes the name; the later slots move up.
    void Remove(const std::string& file);
    // Clears the menus, then every slot.
    void Clear();
    // Slot i, 1-based; empty for a free slot or an index out of range.
    std::string GetItem(int i) const;
    int Count() const;  // used slots

    // Attaches a menu and fills it at once: with the captions of ClearMenus
    // while the list is empty, else with those of UpdateMenus.
    void AttachMenu(MenuSetter setter);
    // Item k shows "&" + k + " " + slot k+1, enabled, or "<No Project>", disabled.
    void UpdateMenus() const;
    // Item k shows "&" + k + " <No Project>", disabled.
    void ClearMenus() const;

    // Adds the non-empty values "MRU10" down to "MRU1", so "MRU1" ends in
    // slot 1. A missing key loads nothing. Never throws.
    void LoadFromRegistry(const SettingsStore& store);
    // Writes all ten values, empty ones too; failures are swallowed.
    void SaveToRegistry(SettingsStore& store) const;

private:
    void UpdateMenu(const MenuSetter& menu) const;
    void ClearMenu(const MenuSetter& menu) const;
    std::array<std::string, kMruCount> slots_;
    std::vector<MenuSetter> menus_;
};

}  // namespace qm
