#pragma once
// The settings store of the desktop, through QSettings. On Windows it is the
// registry key Software\Velgrave\Quillmark of the current user; elsewhere it
// is the file Velgrave/Quillmark.conf in the user's configuration folder,
// written in a typed text format of our own so that a number stays a number,
// a string that looks like one stays a string, and binary data keeps its size.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QList>
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

    // One line of a settings file, for messages: its number from 1, as written.
    struct FileLine {
        int Number = 0;
        QByteArray Text;
    };
    // What the reader met besides the values: where each value stands, the
    // values written without quotes as a person wrote them, and the lines it
    // could not understand at all (skipped).
    struct ParseNotes {
        QHash<QString, FileLine> ValueLines;  // by the value's full key
        QHash<QString, QString> PlainValues;  // by the value's full key
        QList<FileLine> NotUnderstood;
    };
    // The typed format's reader and writer on bytes (for the fuzz target and
    // the tests). The reader takes a value written without quotes that is no
    // number as that text; it skips lines without a name and "=".
    static bool ParseTyped(const QByteArray& data, QSettings::SettingsMap& map, ParseNotes* notes = nullptr);
    static QByteArray FormatTyped(const QSettings::SettingsMap& map);

    // Writes pending changes out; false when the backend reports an error.
    bool Sync();
    QString FileName() const;

    // The lines of the settings file that were not understood and each value
    // that was there but could not be read as asked, in the file's order:
    // 'Line 3 of "/home/me/.config/Velgrave/Quillmark.conf" was not
    // understood: "HistoryStack=lots". Its default is used.'
    std::vector<std::string> TakeReadProblems() override;

    bool KeyExists(std::string_view key) const override;
    void DeleteKey(std::string_view key) override;
    // QSettings keeps values and sub-keys in one name space: deleting a value
    // also deletes a sub-key of the same name.
    bool DeleteValue(std::string_view key, std::string_view name) override;
    std::optional<SettingValue> GetValue(std::string_view key, std::string_view name) const override;
    void SetValue(std::string_view key, std::string_view name, const SettingValue& value) override;

protected:
    std::optional<std::string> PlainText(std::string_view key, std::string_view name) const override;

private:
    // Reads the file once more for the notes on its lines.
    void NoteFile();
    // The notes on a value that is changed or removed (and, with `below`, on
    // every value under that key) no longer hold.
    void ForgetNotes(const QString& path, bool below);

    std::unique_ptr<QSettings> settings_;
    ParseNotes notes_;
    bool written_ = false;  // changed since the file was read
};

}  // namespace qm
