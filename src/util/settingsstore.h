#pragma once
// Typed settings in a tree of keys, with the semantics of the Windows registry
// that the settings code relies on. Both programs keep their settings through
// this interface; the GUI installs a QSettings-backed store, tests use the
// in-memory one below.
//
// Key paths are relative to the program's root key (Software, Velgrave,
// Quillmark under the current user) and use "\" (or "/") between parts, e.g.
// "Settings" or "Styles\3". Key paths and value names compare without regard
// to ASCII case, as in the registry. A key exists while it or a key below it
// holds a value.
//
// Reading never writes: no read creates a key or a value.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/errors.h"

namespace qm {

enum class SettingType { String, Integer, Binary };

// One stored value. Strings hold Windows-1252 bytes; binary data is raw bytes.
struct SettingValue {
    SettingType Type = SettingType::String;
    std::string Data;         // String and Binary
    std::int32_t Number = 0;  // Integer

    static SettingValue String(std::string_view s);
    static SettingValue Integer(std::int32_t n);
    static SettingValue Binary(std::string_view bytes);

    bool operator==(const SettingValue&) const = default;
};

// A value that cannot be read as asked: a missing number, or a value of the
// wrong type or size. The settings code catches it and gives that value its
// default; the text never reaches the user (TakeReadProblems says what was
// not understood).
class ESettingsRead : public Error {
public:
    using Error::Error;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // --- The backend: untyped access ---
    virtual bool KeyExists(std::string_view key) const = 0;
    // Removes the key with its values and every key below it.
    virtual void DeleteKey(std::string_view key) = 0;
    // Removes one value; true when there was one.
    virtual bool DeleteValue(std::string_view key, std::string_view name) = 0;
    virtual std::optional<SettingValue> GetValue(std::string_view key, std::string_view name) const = 0;
    virtual void SetValue(std::string_view key, std::string_view name, const SettingValue& value) = 0;

    // --- Typed reading with registry semantics ---
    bool ValueExists(std::string_view key, std::string_view name) const;
    // Size in bytes of a binary or string value, 4 for a number; nullopt when missing.
    std::optional<std::size_t> ValueSize(std::string_view key, std::string_view name) const;
    // A missing string reads as empty; a value of another type throws
    // ESettingsRead, except one the store keeps as text written by hand
    // (PlainText), which reads as that text.
    std::string ReadString(std::string_view key, std::string_view name) const;
    // A missing value or one of another type throws ESettingsRead.
    std::int32_t ReadInteger(std::string_view key, std::string_view name) const;
    // A number, 0 false and anything else true; fails like ReadInteger.
    bool ReadBool(std::string_view key, std::string_view name) const;
    // The same reads, telling a missing value (nullopt) from one that is
    // there; one that is there but cannot be read as asked throws.
    std::optional<std::string> FindString(std::string_view key, std::string_view name) const;
    std::optional<std::int32_t> FindInteger(std::string_view key, std::string_view name) const;
    std::optional<bool> FindBool(std::string_view key, std::string_view name) const;
    // Copies a binary value into `dest` (at most `size` bytes) and returns the
    // number of bytes copied. A missing value copies nothing and returns
    // nullopt, leaving `dest` as it was; a value of another type or longer
    // than `size` throws ESettingsRead.
    std::optional<std::size_t> ReadBinary(std::string_view key, std::string_view name, void* dest,
                                          std::size_t size) const;

    // Every read above that finds a value it cannot read as asked notes it.
    // This hands out those notes, and what else the store could not
    // understand (lines of a settings file), one sentence each for the user,
    // and forgets them. The program shows them once, at start-up.
    virtual std::vector<std::string> TakeReadProblems();

    void WriteString(std::string_view key, std::string_view name, std::string_view value);
    void WriteInteger(std::string_view key, std::string_view name, std::int32_t value);
    // Written as the number 0 or 1.
    void WriteBool(std::string_view key, std::string_view name, bool value);
    void WriteBinary(std::string_view key, std::string_view name, const void* data, std::size_t size);

protected:
    // The text of a value as a person wrote it, for a store kept in a text
    // file: a plain unquoted value, which the reads take as text where text
    // is asked for. Nullopt where the store has no such thing.
    virtual std::optional<std::string> PlainText(std::string_view key, std::string_view name) const;
    // The values that were there but could not be read as asked, noted since
    // the last call, each once in the order met; the notes are forgotten.
    struct UnreadableValue {
        std::string Key;
        std::string Name;
    };
    std::vector<UnreadableValue> TakeUnreadable();
    // 'The setting "Settings\HistoryStack" could not be read; its default is used.'
    static std::string DescribeUnreadable(const UnreadableValue& value);

private:
    [[noreturn]] void FailUnreadable(std::string_view key, std::string_view name) const;
    mutable std::vector<UnreadableValue> unreadable_;
};

// Normalises a key path: "/" becomes "\", runs of separators collapse, and
// leading and trailing separators go.
std::string NormalizeSettingsKey(std::string_view key);
// Joins a key path and a sub-key.
std::string SettingsSubKey(std::string_view key, std::string_view sub);

// Settings kept in memory, for tests and for runs that must not touch the
// user's settings.
class MemorySettingsStore : public SettingsStore {
public:
    bool KeyExists(std::string_view key) const override;
    void DeleteKey(std::string_view key) override;
    bool DeleteValue(std::string_view key, std::string_view name) override;
    std::optional<SettingValue> GetValue(std::string_view key, std::string_view name) const override;
    void SetValue(std::string_view key, std::string_view name, const SettingValue& value) override;

    // Every value as "key\name" (case as last written) -> value, sorted.
    std::map<std::string, SettingValue> Entries() const;
    bool Empty() const { return keys_.empty(); }

private:
    struct Entry {
        std::string Name;  // as written
        SettingValue Value;
    };
    struct Key {
        std::string Path;                     // as first written
        std::map<std::string, Entry> Values;  // by lower-case name
    };
    std::map<std::string, Key> keys_;  // by lower-case normalised path
};

}  // namespace qm
