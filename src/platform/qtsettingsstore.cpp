#include "platform/qtsettingsstore.h"

#include <limits>

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include "util/cp1252.h"

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
// digits and a few safe marks. Lines that do not parse are skipped.

const QByteArray kNameSafe = " ()!$&'*+,:@";

QByteArray ValueSafe() {
    QByteArray safe;
    for (char c = 0x20; c < 0x7F; ++c)
        if (c != '%') safe += c;
    return safe;
}

QByteArray EncodeName(const QString& name) { return QUrl::toPercentEncoding(name, kNameSafe); }

QString DecodeName(const QByteArray& raw) { return QString::fromUtf8(QByteArray::fromPercentEncoding(raw)); }

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
        out = QString::fromUtf8(QByteArray::fromPercentEncoding(raw.mid(1, raw.size() - 2)));
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

bool QtSettingsStore::ParseTyped(const QByteArray& all, QSettings::SettingsMap& map) {
    QString group;
    for (QByteArray line : all.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            group = DecodeGroup(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) continue;
        QVariant value;
        if (!DecodeValue(line.mid(eq + 1), value)) continue;
        const QString name = DecodeName(line.left(eq));
        map.insert(group.isEmpty() ? name : group + QLatin1Char('/') + name, value);
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
#endif
}

QtSettingsStore::QtSettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, TypedFormat())) {}

QtSettingsStore::~QtSettingsStore() = default;

bool QtSettingsStore::Sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
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
    if (path.isEmpty())
        settings_->clear();
    else
        settings_->remove(path);
}

bool QtSettingsStore::DeleteValue(std::string_view key, std::string_view name) {
    const QString path = QtPath(key, name);
    if (name.empty() || !settings_->contains(path)) return false;
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
    settings_->setValue(QtPath(key, name), v);
}

}  // namespace qm
