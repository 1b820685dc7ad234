// Help-compiler project parser: any bytes either parse or raise qm::Error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/hpjfile.h"
#include "util/errors.h"
#include "util/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    qm::THpjFile hpj;
    try {
        hpj.Parse(qm::SplitLines(text));
    } catch (const qm::Error&) {
    }
    if (hpj.OptionKeys.size() != hpj.OptionValues.size() || hpj.MapIds.size() != hpj.MapValues.size() ||
        hpj.WindowCount() > qm::THpjFile::kMaxWindows)
        __builtin_trap();
    for (int i = 0; i < hpj.WindowCount(); ++i) (void)hpj.GetWindow(i);
    // Every line also goes through the window reader on its own.
    for (const std::string& line : qm::SplitLines(text)) {
        try {
            (void)qm::THpjFile::ParseWindowLine(line);
        } catch (const qm::Error&) {
        }
    }
    return 0;
}
