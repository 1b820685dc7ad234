#include "model/mru.h"

#include <algorithm>

namespace qm {

void TMru::Add(const std::string& file) {
    if (!file.empty()) {
        auto it = std::find(slots_.begin(), slots_.end(), file);
        // An existing name moves up from its slot; a new one pushes the last out.
        if (it == slots_.end()) it = slots_.end() - 1;
        std::rotate(slots_.begin(), it, it + 1);
        slots_.front() = file;
    }
    UpdateMenus();
}

void TMru::Remove(const std::string& file) {
    auto it = std::find(slots_.begin(), slots_.end(), file);
    if (it != slots_.end() && !file.empty()) {
        std::rotate(it, it + 1, slots_.end());
        slots_.back().clear();
    }
    UpdateMenus();
}

void TMru::Clear() {
    ClearMenus();
    for (std::string& s : slots_) s.clear();
}

std::string TMru::GetItem(int i) const {
    return i >= 1 && i <= kMruCount ? slots_[static_cast<std::size_t>(i - 1)] : std::string();
}

int TMru::Count() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const std::string& s) { return !s.empty(); }));
}

void TMru::AttachMenu(MenuSetter setter) {
    // An empty list shows the cleared captions, as at start-up before anything is loaded.
    if (Count() == 0)
        ClearMenu(setter);
    else
        UpdateMenu(setter);
    menus_.push_back(std::move(setter));
}

void TMru::UpdateMenu(const MenuSetter& menu) const {
    for (int k = 0; k < kMruCount; ++k) {
        const std::string& name = slots_[static_cast<std::size_t>(k)];
        const bool used = !name.empty();
        menu(k, used ? "&" + std::to_string(k) + " " + name : "<No Project>", used);
    }
}

void TMru::ClearMenu(const MenuSetter& menu) const {
    for (int k = 0; k < kMruCount; ++k) menu(k, "&" + std::to_string(k) + " <No Project>", false);
}

void TMru::UpdateMenus() const {
    for (const MenuSetter& m : menus_) UpdateMenu(m);
}

void TMru::ClearMenus() const {
    for (const MenuSetter& m : menus_) ClearMenu(m);
}

void TMru::LoadFromRegistry(const SettingsStore& store) {
    if (!store.KeyExists(kMruKey)) return;
    for (int n = kMruCount; n >= 1; --n) {
        try {
            const std::string file = store.ReadString(kMruKey, "MRU" + std::to_string(n));
            if (!file.empty()) Add(file);
        } catch (const qm::Error&) {
            // A value that is not a string is skipped.
        }
    }
}

void TMru::SaveToRegistry(SettingsStore& store) const {
    try {
        for (int n = 1; n <= kMruCount; ++n)
            store.WriteString(kMruKey, "MRU" + std::to_string(n), slots_[static_cast<std::size_t>(n - 1)]);
    } catch (const qm::Error&) {
        // Nothing is reported for settings that cannot be saved.
    }
}

}  // namespace qm
