#include "shgedit/mru.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "util/fileio.h"
#include "util/qorstring.h"

namespace qm::shgedit {

std::string AbsoluteFileName(const std::string& name) {
    if (name.empty()) return {};
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(ToFsPath(name), ec);
    if (ec) return name;
    return FromFsPath(p.lexically_normal());
}

bool SameFileName(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return SameText(AbsoluteFileName(a), AbsoluteFileName(b));
#else
    // File names are case-sensitive here: "a.shg" and "A.SHG" are two files.
    return AbsoluteFileName(a) == AbsoluteFileName(b);
#endif
}

TMru::TMru(std::string registryKey) : key_(std::move(registryKey)) {}

const std::string& TMru::File(int i) const {
    static const std::string none;
    return i >= 0 && i < kCount ? files_[static_cast<std::size_t>(i)] : none;
}

void TMru::AttachMenu(MenuSetter setter) {
    menu_ = std::move(setter);
    Refresh();
}

std::string TMru::Caption(int k) const {
    const std::string& file = File(k);
    return "&" + std::to_string(k + 1) + " " + (file.empty() ? std::string("<None>") : file);
}

void TMru::Refresh() const {
    if (!menu_) return;
    for (int k = 0; k < kCount; ++k) menu_(k, Caption(k), !File(k).empty());
}

int TMru::IndexOfFile(const std::string& name) const {
    if (name.empty()) return -1;
    for (int i = 0; i < kCount; ++i)
        if (!files_[static_cast<std::size_t>(i)].empty() && SameFileName(files_[static_cast<std::size_t>(i)], name))
            return i;
    return -1;
}

void TMru::AddFile(const std::string& name) {
    if (name.empty()) return;
    int i = IndexOfFile(name);
    if (i < 0) i = kCount - 1;  // the oldest goes
    for (int k = i; k > 0; --k) files_[static_cast<std::size_t>(k)] = files_[static_cast<std::size_t>(k - 1)];
    files_[0] = AbsoluteFileName(name);
    Refresh();
}

void TMru::RemoveFile(const std::string& name) {
    const int i = IndexOfFile(name);
    if (i < 0) return;
    for (int k = i; k < kCount - 1; ++k) files_[static_cast<std::size_t>(k)] = files_[static_cast<std::size_t>(k + 1)];
    files_[kCount - 1].clear();
    Refresh();
}

void TMru::ReadFromRegistry(const SettingsStore& store) {
    try {
        if (!store.KeyExists(key_)) return;
        for (int i = 0; i < kCount; ++i) {
            std::string& entry = files_[static_cast<std::size_t>(i)];
            try {
                entry = store.ReadString(key_, std::to_string(i));
            } catch (const std::exception&) {
                entry.clear();
            }
        }
    } catch (const std::exception&) {
        // An unreadable store leaves the list as it was.
    }
    Refresh();
}

void TMru::WriteToRegistry(SettingsStore& store) const {
    try {
        for (int i = 0; i < kCount; ++i)
            store.WriteString(key_, std::to_string(i), files_[static_cast<std::size_t>(i)]);
    } catch (const std::exception&) {
    }
}

}  // namespace qm::shgedit
