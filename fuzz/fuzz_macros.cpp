// Feeds arbitrary bytes to the macro catalogue reader: every line must either
// give a complete entry or be skipped, never crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/macros.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qm::TMacros macros;
    const int malformed = macros.LoadFromText(text);
    if (malformed < 0) std::abort();
    for (int i = 0; i < macros.Count(); ++i) {
        const qm::TMacroInfo* m = macros.GetMacro(i);
        if (!m || m->ParamCount < 0 || m->ParamCount > qm::kMaxMacroParams) std::abort();
    }
    return 0;
}
