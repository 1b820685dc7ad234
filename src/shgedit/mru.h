#pragma once
// Pikeral's recent files: four slots, entry 0 the most recent, shown as the
// items 13 to 16 of the File menu and kept as the string values "0" to "3"
// under "Pikeral\Mru". The menu is attached as a callback, so the list itself
// needs no toolkit.
#include <array>
#include <functional>
#include <string>

#include "util/settingsstore.h"

namespace qm::shgedit {

// The form in which recent-file names are kept and compared: made absolute
// and tidied ("a/./b" is "a/b"); on Windows letter case is then ignored too.
std::string AbsoluteFileName(const std::string& name);
bool SameFileName(const std::string& a, const std::string& b);

class TMru {
public:
    static constexpr int kCount = 4;
    // Sets menu item k (0-based): its caption and whether it is enabled.
    using MenuSetter = std::function<void(int k, const std::string& caption, bool enabled)>;

    explicit TMru(std::string registryKey);

    // Entry i (0-based); empty for a free slot or an index out of range.
    const std::string& File(int i) const;
    // Slot i, 1-based, for the menu: File(i - 1).
    std::string GetItem(int slot) const { return File(slot - 1); }

    // Attaches a menu and captions its items at once.
    void AttachMenu(MenuSetter setter);

    // Puts the name (made absolute) at the top: an entry already in the list
    // moves there, a new one pushes the last entry out. An empty name changes
    // nothing.
    void AddFile(const std::string& name);
    // Takes the name out; the later entries move up and the last slot empties.
    void RemoveFile(const std::string& name);
    // The entry that names the same file, or -1.
    int IndexOfFile(const std::string& name) const;

    // Reads the four values; a missing key changes nothing, a missing or
    // unreadable value reads as empty. Never throws.
    void ReadFromRegistry(const SettingsStore& store);
    // Writes every entry, empty ones too; errors are swallowed.
    void WriteToRegistry(SettingsStore& store) const;

    // The caption of item k: "&1 name", or "&1 <None>" for an empty slot.
    std::string Caption(int k) const;

private:
    void Refresh() const;

    std::string key_;
    std::array<std::string, kCount> files_;
    MenuSetter menu_;
};

}  // namespace qm::shgedit
