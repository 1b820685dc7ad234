#include "platform/qtsettingsstore.h"

#include <algorithm>
#include <limits>
#include <utility>

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include "util/cp1252.h"
#include "util/errors.h"

namespace qm {

namespace {

QString ToQt(std::string_view cp1252) { return QString::fromStdU16String(Cp1252ToUtf16(cp1252)); }

std::string FromQt(const QString& s) { return Utf16ToCp1252(s.toStdU16String()); }

// "Styles\3" + "Name" -> "Styles/3/Name".
QString QtPath(std::string_view key, std::string_view name) {
    QString path = ToQt(NormalizeSettingsKey(key)).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.empty()) return path;
    return path.isEmpty() ? ToQt(name) : path + QLatin1Char('/') + ToQt(name);
}

// --- The typed file format ---
//
//   ; comment
//   [Styles/3]
//   Name="Normal"        a string (UTF-8, control and non-ASCII bytes %-encoded)
//   FontHeight=8         a 32-bit number
//   FontStyle=hex:01     binary data
//
// Group and value names are %-encoded where they hold anything but letters,
// digits and a few safe marks. For a file written by hand: blanks around
// names and values are dropped, a value in none of these forms is the text
// as written (Path=/home/me/hc), and a line without a name and "=" is
// skipped (the store tells which, TakeReadProblems).

const QByteArray kNameSafe = " ()!$&'*+,:@";

QByteArray ValueSafe() {
    QByteArray safe;
    for (char c = 0x20; c < 0x7F; ++c)
        if (c != '%') safe += c;
    return safe;
}

// UTF-8 as it stands: a byte-order mark at the start of a part is a
// character like any other, so a name or value reads back as it was written.
QString Utf8(const QByteArray& bytes) {
    QStringDecoder decode(QStringDecoder::Utf8,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decode(bytes);
}

QByteArray EncodeName(const QString& name) {
    QByteArray out = QUrl::toPercentEncoding(name, kNameSafe);
    // The reader trims blanks around names, so a blank at either end is encoded.
    if (out.startsWith(' ')) out.replace(0, 1, "%20");
    if (out.endsWith(' ')) out.replace(out.size() - 1, 1, "%20");
    return out;
}

QString DecodeName(const QByteArray& raw) { return Utf8(QByteArray::fromPercentEncoding(raw)); }

QByteArray EncodeGroup(const QString& group) {
    QByteArrayList parts;
    for (const QString& p : group.split(QLatin1Char('/'))) parts << EncodeName(p);
    return parts.join('/');
}

QString DecodeGroup(const QByteArray& raw) {
    QStringList parts;
    for (const QByteArray& p : raw.split('/')) parts << DecodeName(p);
    return parts.join(QLatin1Char('/'));
}

QByteArray EncodeValue(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: return QByteArray::number(v.toLongLong());
        case QMetaType::Bool: return v.toBool() ? "1" : "0";
        case QMetaType::QByteArray: return "hex:" + v.toByteArray().toHex();
        default: return '"' + QUrl::toPercentEncoding(v.toString(), ValueSafe()) + '"';
    }
}

bool IsHex(const QByteArray& s) {
    if (s.size() % 2 != 0) return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

bool DecodeValue(const QByteArray& raw, QVariant& out) {
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"')) {
        out = Utf8(QByteArray::fromPercentEncoding(raw.mid(1, raw.size() - 2)));
        return true;
    }
    if (raw.startsWith("hex:")) {
        const QByteArray hex = raw.mid(4);
        if (!IsHex(hex)) return false;
        out = QByteArray::fromHex(hex);
        return true;
    }
    bool ok = false;
    const int n = raw.toInt(&ok, 10);
    if (!ok) return false;
    out = n;
    return true;
}

bool ReadTyped(QIODevice& device, QSettings::SettingsMap& map) {
    // A settings file is a few kilobytes; a huge one is not read at all.
    if (device.size() > static_cast<qint64>(QtSettingsStore::kMaxFileBytes)) return false;
    return QtSettingsStore::ParseTyped(device.readAll(), map);
}

bool WriteTyped(QIODevice& device, const QSettings::SettingsMap& map) {
    const QByteArray out = QtSettingsStore::FormatTyped(map);
    return device.write(out) == out.size();
}

}  // namespace

bool QtSettingsStore::ParseTyped(const QByteArray& data, QSettings::SettingsMap& map, ParseNotes* notes) {
    // A file saved by a Windows editor may start with a byte-order mark.
    const QByteArray all = data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
    QString group;
    int number = 0;
    for (QByteArray line : all.split('\n')) {
        ++number;
        if (line.endsWith('\r')) line.chop(1);
        // A person writing the file may put blanks around names and values.
        const QByteArray text = line.trimmed();
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('#')) continue;
        if (text.startsWith('[') && text.endsWith(']')) {
            group = DecodeGroup(text.mid(1, text.size() - 2).trimmed());
            continue;
        }
        const qsizetype eq = text.indexOf('=');
        const QByteArray rawName = eq < 0 ? QByteArray() : text.left(eq).trimmed();
        if (rawName.isEmpty()) {
            if (notes) notes->NotUnderstood.append(FileLine{number, line});
            continue;
        }
        const QByteArray raw = text.mid(eq + 1).trimmed();
        QVariant value;
        // A value without the format's marks (a path written without its
        // quotes) is what a person means: that text.
        const bool plain = !DecodeValue(raw, value);
        if (plain) value = Utf8(raw);
        const QString name = DecodeName(rawName);
        const QString key = group.isEmpty() ? name : group + QLatin1Char('/') + name;
        map.insert(key, value);
        if (notes) {
            notes->ValueLines.insert(key, FileLine{number, line});
            if (plain || value.metaType().id() == QMetaType::Int)
                notes->PlainValues.insert(key, Utf8(raw));
            else
                notes->PlainValues.remove(key);
        }
    }
    return true;
}

QByteArray QtSettingsStore::FormatTyped(const QSettings::SettingsMap& map) {
    QByteArray out = "; Quillmark settings: \"text\", a number, or hex:bytes\r\n";
    // Values outside any group come first: after a group header they would
    // read back inside that group.
    for (int pass = 0; pass < 2; ++pass) {
        QString current;
        bool first = true;
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            const QString& key = it.key();
            const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
            if ((slash < 0) != (pass == 0)) continue;
            const QString group = slash < 0 ? QString() : key.left(slash);
            const QString name = slash < 0 ? key : key.mid(slash + 1);
            if (first || group != current) {
                if (!group.isEmpty()) out += "[" + EncodeGroup(group) + "]\r\n";
                current = group;
                first = false;
            }
            out += EncodeName(name) + '=' + EncodeValue(it.value()) + "\r\n";
        }
    }
    return out;
}

QSettings::Format QtSettingsStore::TypedFormat() {
    static const QSettings::Format format = QSettings::registerFormat("conf", ReadTyped, WriteTyped);
    return format;
}

QtSettingsStore::QtSettingsStore() {
#ifdef Q_OS_WIN
    // The registry keeps types of its own.
    settings_ =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisationName, kApplicationName);
#else
    settings_ = std::make_unique<QSettings>(TypedFormat(), QSettings::UserScope, kOrganisationName, kApplicationName);
    NoteFile();
#endif
}

QtSettingsStore::QtSettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, TypedFormat())) {
    NoteFile();
}

QtSettingsStore::~QtSettingsStore() = default;

void QtSettingsStore::NoteFile() {
    QFile file(settings_->fileName());
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) return;
    QSettings::SettingsMap unused;
    ParseTyped(file.readAll(), unused, &notes_);
}

void QtSettingsStore::ForgetNotes(const QString& path, bool below) {
    if (path.isEmpty() && below) {
        notes_.ValueLines.clear();
        notes_.PlainValues.clear();
        return;
    }
    notes_.ValueLines.remove(path);
    notes_.PlainValues.remove(path);
    if (!below) return;
    const QString prefix = path + QLatin1Char('/');
    notes_.ValueLines.removeIf([&](const auto& it) { return it.key().startsWith(prefix); });
    notes_.PlainValues.removeIf([&](const auto& it) { return it.key().startsWith(prefix); });
}

bool QtSettingsStore::Sync() {
    settings_->sync();
    // A file written anew has none of the lines noted when it was read.
    if (written_) notes_ = ParseNotes{};
    written_ = false;
    return settings_->status() == QSettings::NoError;
}

std::optional<std::string> QtSettingsStore::PlainText(std::string_view key, std::string_view name) const {
    const auto it = notes_.PlainValues.constFind(QtPath(key, name));
    if (it == notes_.PlainValues.constEnd()) return std::nullopt;
    return FromQt(it.value());
}

namespace {

std::string LineSentence(const QString& file, const QtSettingsStore::FileLine& line, const char* outcome) {
    return "Line " + std::to_string(line.Number) + " of \"" + QuoteInput(FromQt(file)) + "\" was not understood: \"" +
           QuoteInput(FromQt(QString::fromUtf8(line.Text))) + "\". " + outcome;
}

}  // namespace

std::vector<std::string> QtSettingsStore::TakeReadProblems() {
    // By line; a value the file no longer holds as it was read comes last.
    std::vector<std::pair<int, std::string>> told;
    for (const FileLine& line : notes_.NotUnderstood)
        told.emplace_back(line.Number, LineSentence(settings_->fileName(), line, "It is skipped."));
    notes_.NotUnderstood.clear();
    for (const UnreadableValue& u : TakeUnreadable()) {
        const auto it = notes_.ValueLines.constFind(QtPath(u.Key, u.Name));
        if (it != notes_.ValueLines.constEnd())
            told.emplace_back(it->Number, LineSentence(settings_->fileName(), it.value(), "Its default is used."));
        else
            told.emplace_back(std::numeric_limits<int>::max(), DescribeUnreadable(u));
    }
    std::stable_sort(told.begin(), told.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (auto& t : told) out.push_back(std::move(t.second));
    return out;
}

QString QtSettingsStore::FileName() const { return settings_->fileName(); }

bool QtSettingsStore::KeyExists(std::string_view key) const {
    const QString path = QtPath(key, {});
    if (path.isEmpty()) return !settings_->allKeys().isEmpty();
    settings_->beginGroup(path);
    const bool exists = !settings_->allKeys().isEmpty();
    settings_->endGroup();
    return exists;
}

void QtSettingsStore::DeleteKey(std::string_view key) {
    const QString path = QtPath(key, {});
    ForgetNotes(path, true);
    written_ = true;
    if (path.isEmpty())
        settings_->clear();
    else
        settings_->remove(path);
}

bool QtSettingsStore::DeleteValue(std::string_view key, std::string_view name) {
    const QString path = QtPath(key, name);
    if (name.empty() || !settings_->contains(path)) return false;
    ForgetNotes(path, true);
    written_ = true;
    settings_->remove(path);
    return true;
}

std::optional<SettingValue> QtSettingsStore::GetValue(std::string_view key, std::string_view name) const {
    if (name.empty()) return std::nullopt;
    const QVariant v = settings_->value(QtPath(key, name));
    if (!v.isValid()) return std::nullopt;
    switch (v.metaType().id()) {
        case QMetaType::Int: return SettingValue::Integer(v.toInt());
        case QMetaType::UInt:  // a registry DWORD reads back as the same 32 bits
            return SettingValue::Integer(static_cast<std::int32_t>(v.toUInt()));
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            const qlonglong n = v.toLongLong();
            if (n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max())
                return SettingValue::Integer(static_cast<std::int32_t>(n));
            return SettingValue::String(FromQt(v.toString()));  // too wide for a number
        }
        case QMetaType::Bool: return SettingValue::Integer(v.toBool() ? 1 : 0);
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            return SettingValue::Binary(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
        }
        default: return SettingValue::String(FromQt(v.toString()));
    }
}

void QtSettingsStore::SetValue(std::string_view key, std::string_view name, const SettingValue& value) {
    if (name.empty()) return;
    QVariant v;
    switch (value.Type) {
        case SettingType::String: v = ToQt(value.Data); break;
        case SettingType::Integer: v = static_cast<int>(value.Number); break;
        case SettingType::Binary: v = QByteArray(value.Data.data(), static_cast<qsizetype>(value.Data.size())); break;
    }
    const QString path = QtPath(key, name);
    ForgetNotes(path, false);
    written_ = true;
    settings_->setValue(path, v);
}

}  // namespace qm
