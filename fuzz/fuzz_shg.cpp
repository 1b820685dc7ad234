// Feeds arbitrary bytes to the .shg reader and the .bmp reader. Whatever reads
// must also write and read back to the same hotspots and pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shg/qorshg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qm::TShg shg;
    try {
        shg.LoadFromBytes(bytes);
    } catch (const qm::Error&) {
        shg.Bitmap.reset();
    }
    if (shg.Bitmap) {
        const qm::TDib& d = *shg.Bitmap;
        // Touch the corners so out-of-range pixel reads would show.
        (void)d.PixelRgb(0, 0);
        (void)d.PixelRgb(d.Width - 1, d.Height - 1);
        std::string saved;
        try {
            saved = shg.SaveToBytes();
        } catch (const qm::Error&) {
            // Too many hotspots for one picture: nothing to compare.
        }
        if (!saved.empty()) {
            qm::TShg back;
            back.LoadFromBytes(saved);  // our own output must always read
            if (!(back.Hotspots.Count() == shg.Hotspots.Count()) || back.Bitmap->Bits != d.Bits ||
                back.SaveToBytes() != saved)
                std::abort();
        }
    }
    try {
        qm::TDib bmp = qm::TDib::LoadFromBmp(bytes);
        std::string again = bmp.SaveToBmp();
        if (qm::TDib::LoadFromBmp(again).Bits != bmp.Bits) std::abort();
    } catch (const qm::Error&) {
    }
    return 0;
}
