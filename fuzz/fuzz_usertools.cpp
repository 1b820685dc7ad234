// fuzz-needs: Qt6Core
// fuzz-units: qtsettingsstore.cpp
// Reads random bytes as the settings file and loads the Tools menu's list
// from it, as the main window does at start-up. Besides not crashing: at most
// ten tools, one change notice for each, and what was loaded saves and loads
// back the same, through the in-memory store and through the settings file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QString>

#include "fuzzfiles.h"
#include "model/usertools.h"
#include "platform/qtsettingsstore.h"
#include "util/settingsstore.h"

namespace {

using qmfuzz::Check;

std::vector<qm::TTool> ToolsOf(const qm::TUserTools& tools) {
    std::vector<qm::TTool> out;
    for (int i = 0; i < tools.Count(); ++i) out.push_back(tools.GetTool(i));
    return out;
}

QString QtName(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qmfuzz::ScratchFolder scratch;
    const auto file = scratch.Write("Quillmark.conf", std::string_view(reinterpret_cast<const char*>(data), size));
    qm::TUserTools tools;
    int changes = 0;
    tools.SetOnChange([&changes] { ++changes; });
    {
        const qm::QtSettingsStore store(QtName(file));
        tools.LoadFromRegistry(store);
    }
    Check(tools.Count() <= qm::kMaxUserTools);
    Check(changes == tools.Count());  // one change per tool added

    qm::MemorySettingsStore memory;
    tools.SaveToRegistry(memory);
    qm::TUserTools fromMemory;
    fromMemory.LoadFromRegistry(memory);
    Check(ToolsOf(fromMemory) == ToolsOf(tools));

    const auto again = scratch.path() / "again.conf";
    {
        qm::QtSettingsStore store(QtName(again));
        tools.SaveToRegistry(store);
        Check(store.Sync());
    }
    qm::TUserTools fromFile;
    fromFile.LoadFromRegistry(qm::QtSettingsStore(QtName(again)));
    Check(ToolsOf(fromFile) == ToolsOf(tools));
    return 0;
}
