// fuzz-needs: Qt6Core
// fuzz-units: qtsettingsstore.cpp
// Reads random bytes as the typed settings file of the desktop store. Besides
// not crashing, what was read must survive a write and a read again: every
// key whose name part is not empty comes back with its value.
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QSettings>

#include "platform/qtsettingsstore.h"

namespace {

// A key the format can hold: a name after its last "/", not below the root.
bool Representable(const QString& key) { return !key.endsWith(QLatin1Char('/')) && !key.startsWith(QLatin1Char('/')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QSettings::SettingsMap first;
    if (!qm::QtSettingsStore::ParseTyped(bytes, first)) std::abort();  // the parser skips what it cannot read
    bool representable = true;
    for (auto it = first.constBegin(); it != first.constEnd(); ++it) representable &= Representable(it.key());
    QSettings::SettingsMap again;
    qm::QtSettingsStore::ParseTyped(qm::QtSettingsStore::FormatTyped(first), again);
    if (representable && again != first) std::abort();
    return 0;
}
