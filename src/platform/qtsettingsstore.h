#pragma once
// The settings store of the desktop, through QSettings. On Windows it is the
// registry key Software\Velgrave\Quillmark of the current user; elsewhere it
// is the file Velgrave/Quillmark.conf in the user's configuration folder,
// written in a typed text format of our own so that a number stays a number,
// a string that looks like one stays a string, and binary data keeps its size.
#include <memory>

#include <QSettings>
#include <QString>

#include "util/settingsstore.h"

namespace qm {

inline constexpr const char* kOrganisationName = "Velgrave";
inline constexpr const char* kApplicationName = "Quillmark";

class QtSettingsStore : public SettingsStore {
public:
    // The current user's settings of the program.
    QtSettingsStore();
    // Settings kept in the given file, in the typed format.
    explicit QtSettingsStore(const QString& fileName);
    ~QtSettingsStore() override;

    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    // The typed file format, registered with QSettings on first use.
    static QSettings::Format TypedFormat();
    // A settings file larger than this is not read (the store starts empty).
    static constexpr qint64 kMaxFileBytes = qint64{16} << 20;
    // The typed format's reader and writer on bytes (for the fuzz target and
    // the tests). The reader skips lines that do not parse.
    static bool ParseTyped(const QByteArray& data, QSettings::SettingsMap& map);
    static QByteArray FormatTyped(const QSettings::SettingsMap& map);

    // Writes pending changes out; false when the backend reports an error.
    bool Sync();
    QString FileName() const;

    bool KeyExists(std::string_view key) const override;
    void DeleteKey(std::string_view key) override;
    // QSettings keeps values and sub-keys in one name space: deleting a value
    // also deletes a sub-key of the same name.
    bool DeleteValue(std::string_view key, std::string_view name) override;
    std::optional<SettingValue> GetValue(std::string_view key, std::string_view name) const override;
    void SetValue(std::string_view key, std::string_view name, const SettingValue& value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace qm
