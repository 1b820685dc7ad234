// Loads arbitrary bytes as a project file. A load either succeeds or raises
// qm::Error with the project cleared; a loaded project saves to bytes that load
// back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/project.h"
#include "util/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qm::TProject p;
    try {
        p.LoadFromBytes(bytes, "fuzz.qpf");
    } catch (const qm::Error&) {
        if (p.Topics.Count() != 0 || p.Windows.Count() != 0 || !p.BmRoot.empty()) __builtin_trap();
        return 0;
    }
    const std::string saved = p.SaveToBytes();
    qm::TProject q;
    q.LoadFromBytes(saved, "again.qpf");
    if (q.SaveToBytes() != saved) __builtin_trap();
    return 0;
}
