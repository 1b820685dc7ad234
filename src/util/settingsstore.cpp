#include "util/settingsstore.h"

#include <algorithm>
#include <cstring>

#include "util/qorstring.h"

namespace qm {

SettingValue SettingValue::String(std::string_view s) {
    SettingValue v;
    v.Type = SettingType::String;
    v.Data = std::string(s);
    return v;
}

SettingValue SettingValue::Integer(std::int32_t n) {
    SettingValue v;
    v.Type = SettingType::Integer;
    v.Number = n;
    return v;
}

SettingValue SettingValue::Binary(std::string_view bytes) {
    SettingValue v;
    v.Type = SettingType::Binary;
    v.Data = std::string(bytes);
    return v;
}

namespace {

[[noreturn]] void FailMissing(std::string_view name) {
    throw ESettingsRead("Failed to get data for '" + QuoteInput(name) + "'");
}

}  // namespace

void SettingsStore::FailUnreadable(std::string_view key, std::string_view name) const {
    const std::string k = NormalizeSettingsKey(key);
    const bool known = std::any_of(unreadable_.begin(), unreadable_.end(), [&](const UnreadableValue& u) {
        return SameText(u.Key, k) && SameText(u.Name, name);
    });
    if (!known) unreadable_.push_back(UnreadableValue{k, std::string(name)});
    throw ESettingsRead("Invalid data type for '" + QuoteInput(name) + "'");
}

std::optional<std::string> SettingsStore::PlainText(std::string_view, std::string_view) const { return std::nullopt; }

std::vector<SettingsStore::UnreadableValue> SettingsStore::TakeUnreadable() {
    std::vector<UnreadableValue> out;
    out.swap(unreadable_);
    return out;
}

std::string SettingsStore::DescribeUnreadable(const UnreadableValue& value) {
    return "The setting \"" + SettingsSubKey(value.Key, value.Name) + "\" could not be read; its default is used.";
}

std::vector<std::string> SettingsStore::TakeReadProblems() {
    std::vector<std::string> out;
    for (const UnreadableValue& u : TakeUnreadable()) out.push_back(DescribeUnreadable(u));
    return out;
}

bool SettingsStore::ValueExists(std::string_view key, std::string_view name) const {
    return GetValue(key, name).has_value();
}

std::optional<std::size_t> SettingsStore::ValueSize(std::string_view key, std::string_view name) const {
    const auto v = GetValue(key, name);
    if (!v) return std::nullopt;
    if (v->Type == SettingType::Integer) return sizeof(std::int32_t);
    return v->Data.size();
}

std::optional<std::string> SettingsStore::FindString(std::string_view key, std::string_view name) const {
    const auto v = GetValue(key, name);
    if (!v) return std::nullopt;
    if (v->Type == SettingType::String) return v->Data;
    if (auto text = PlainText(key, name)) return text;
    FailUnreadable(key, name);
}

std::optional<std::int32_t> SettingsStore::FindInteger(std::string_view key, std::string_view name) const {
    const auto v = GetValue(key, name);
    if (!v) return std::nullopt;
    if (v->Type != SettingType::Integer) FailUnreadable(key, name);
    return v->Number;
}

std::optional<bool> SettingsStore::FindBool(std::string_view key, std::string_view name) const {
    const auto n = FindInteger(key, name);
    if (!n) return std::nullopt;
    return *n != 0;
}

std::string SettingsStore::ReadString(std::string_view key, std::string_view name) const {
    return FindString(key, name).value_or(std::string());
}

std::int32_t SettingsStore::ReadInteger(std::string_view key, std::string_view name) const {
    const auto n = FindInteger(key, name);
    if (!n) FailMissing(name);
    return *n;
}

bool SettingsStore::ReadBool(std::string_view key, std::string_view name) const { return ReadInteger(key, name) != 0; }

std::optional<std::size_t> SettingsStore::ReadBinary(std::string_view key, std::string_view name, void* dest,
                                                     std::size_t size) const {
    const auto v = GetValue(key, name);
    if (!v) return std::nullopt;
    if (v->Type != SettingType::Binary || v->Data.size() > size) FailUnreadable(key, name);
    if (!v->Data.empty()) std::memcpy(dest, v->Data.data(), v->Data.size());
    return v->Data.size();
}

void SettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view value) {
    SetValue(key, name, SettingValue::String(value));
}

void SettingsStore::WriteInteger(std::string_view key, std::string_view name, std::int32_t value) {
    SetValue(key, name, SettingValue::Integer(value));
}

void SettingsStore::WriteBool(std::string_view key, std::string_view name, bool value) {
    SetValue(key, name, SettingValue::Integer(value ? 1 : 0));
}

void SettingsStore::WriteBinary(std::string_view key, std::string_view name, const void* data, std::size_t size) {
    SetValue(key, name,
             SettingValue::Binary(size ? std::string_view(static_cast<const char*>(data), size) : std::string_view()));
}

std::string NormalizeSettingsKey(std::string_view key) {
    std::string out;
    out.reserve(key.size());
    for (char c : key) {
        if (c == '/' || c == '\\') {
            if (!out.empty() && out.back() != '\\') out += '\\';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string SettingsSubKey(std::string_view key, std::string_view sub) {
    return NormalizeSettingsKey(std::string(key) + "\\" + std::string(sub));
}

// --- MemorySettingsStore ---

bool MemorySettingsStore::KeyExists(std::string_view key) const {
    const std::string k = AsciiLowerStr(NormalizeSettingsKey(key));
    if (k.empty()) return !keys_.empty();
    if (keys_.count(k)) return true;
    // A key below this one keeps it alive.
    const std::string prefix = k + "\\";
    auto it = keys_.lower_bound(prefix);
    return it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

void MemorySettingsStore::DeleteKey(std::string_view key) {
    const std::string k = AsciiLowerStr(NormalizeSettingsKey(key));
    if (k.empty()) {
        keys_.clear();
        return;
    }
    const std::string prefix = k + "\\";
    for (auto it = keys_.lower_bound(k); it != keys_.end();) {
        if (it->first == k || it->first.compare(0, prefix.size(), prefix) == 0)
            it = keys_.erase(it);
        else if (it->first > prefix)
            break;
        else
            ++it;
    }
}

bool MemorySettingsStore::DeleteValue(std::string_view key, std::string_view name) {
    auto it = keys_.find(AsciiLowerStr(NormalizeSettingsKey(key)));
    if (it == keys_.end()) return false;
    const bool removed = it->second.Values.erase(AsciiLowerStr(name)) > 0;
    if (it->second.Values.empty()) keys_.erase(it);
    return removed;
}

std::optional<SettingValue> MemorySettingsStore::GetValue(std::string_view key, std::string_view name) const {
    auto it = keys_.find(AsciiLowerStr(NormalizeSettingsKey(key)));
    if (it == keys_.end()) return std::nullopt;
    auto v = it->second.Values.find(AsciiLowerStr(name));
    if (v == it->second.Values.end()) return std::nullopt;
    return v->second.Value;
}

void MemorySettingsStore::SetValue(std::string_view key, std::string_view name, const SettingValue& value) {
    const std::string path = NormalizeSettingsKey(key);
    Key& k = keys_[AsciiLowerStr(path)];
    if (k.Path.empty()) k.Path = path;
    Entry& e = k.Values[AsciiLowerStr(name)];
    e.Name = std::string(name);
    e.Value = value;
}

std::map<std::string, SettingValue> MemorySettingsStore::Entries() const {
    std::map<std::string, SettingValue> out;
    for (const auto& [lower, key] : keys_)
        for (const auto& [lname, entry] : key.Values) out[key.Path + "\\" + entry.Name] = entry.Value;
    return out;
}

}  // namespace qm
