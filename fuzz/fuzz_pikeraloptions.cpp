// fuzz-needs: Qt6Core
// fuzz-units: qtsettingsstore.cpp shgedit/options.cpp shgedit/mru.cpp
// Reads random bytes as the settings file both programs share and reads
// Pikeral's options and recent files from it, as Pikeral does at start-up.
// Besides not crashing: the hotspot defaults are items the option lists
// offer, and what was read writes and reads back the same, through the
// in-memory store and through the settings file.
#include <cstddef>
#include <cstdint>
#include <string>

#include <QString>

#include "fuzzfiles.h"
#include "platform/qtsettingsstore.h"
#include "shgedit/mru.h"
#include "shgedit/options.h"
#include "util/settingsstore.h"

namespace {

using qm::shgedit::TMru;
using qm::shgedit::TOptions;
using qmfuzz::Check;

QString QtName(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

bool SameFiles(const TMru& a, const TMru& b) {
    for (int i = 0; i < TMru::kCount; ++i)
        if (a.File(i) != b.File(i)) return false;
    return true;
}

// Reads both from `store` into fresh objects and checks they are `options`
// and `mru` again.
void CheckReadsBack(const qm::SettingsStore& store, const TOptions& options, const TMru& mru) {
    TOptions o;
    o.ReadFromRegistry(store);
    Check(o == options);
    TMru m(qm::shgedit::kMruKey);
    m.ReadFromRegistry(store);
    Check(SameFiles(m, mru));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qmfuzz::ScratchFolder scratch;
    const auto file = scratch.Write("Quillmark.conf", std::string_view(reinterpret_cast<const char*>(data), size));
    TOptions options;
    TMru mru(qm::shgedit::kMruKey);
    {
        const qm::QtSettingsStore store(QtName(file));
        options.SetDefaults();
        options.ReadFromRegistry(store);
        mru.ReadFromRegistry(store);
    }
    Check(options.DefAttribute >= 0 && options.DefAttribute <= 1);
    Check(options.DefType >= 0 && options.DefType <= 2);

    qm::MemorySettingsStore memory;
    options.WriteToRegistry(memory);
    mru.WriteToRegistry(memory);
    CheckReadsBack(memory, options, mru);

    const auto again = scratch.path() / "again.conf";
    {
        qm::QtSettingsStore store(QtName(again));
        options.WriteToRegistry(store);
        mru.WriteToRegistry(store);
        Check(store.Sync());
    }
    CheckReadsBack(qm::QtSettingsStore(QtName(again)), options, mru);
    return 0;
}
