#pragma once
// Test-side encoders and a free-form .shg composer, so that files our writer
// never produces (other packings, picture types, magics, bad figures) can be
// made byte by byte.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "shg/qorshg.h"

namespace shgtest {

inline void PutU16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// Greedy LZ77 in the help compiler's layout: a flag byte per eight items
// (bit set = reference), a reference is u16 with 12 bits distance - 1 and
// 4 bits length - 3.
inline std::string PackLz77(std::string_view in) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t flagAt = out.size();
        out.push_back('\0');
        std::uint8_t flags = 0;
        for (int bit = 0; bit < 8 && i < in.size(); ++bit) {
            std::size_t bestLen = 0, bestDist = 0;
            std::size_t maxDist = std::min<std::size_t>(i, 4096);
            for (std::size_t dist = 1; dist <= maxDist; ++dist) {
                std::size_t len = 0;
                while (len < 18 && i + len < in.size() && in[i + len - dist] == in[i + len]) ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = dist;
                }
            }
            if (bestLen >= 3) {
                flags |= static_cast<std::uint8_t>(1u << bit);
                PutU16(out, static_cast<std::uint32_t>(((bestLen - 3) << 12) | (bestDist - 1)));
                i += bestLen;
            } else {
                out.push_back(in[i++]);
            }
        }
        out[flagAt] = static_cast<char>(flags);
    }
    return out;
}

// Run-length packing: runs of 3 or more as (k, byte), the rest as (0x80 + k,
// k bytes).
inline std::string PackRunLength(std::string_view in) {
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        std::size_t run = 1;
        while (i + run < in.size() && run < 127 && in[i + run] == in[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<char>(run));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        std::size_t start = i, n = 0;
        while (i < in.size() && n < 127) {
            std::size_t r = 1;
            while (i + r < in.size() && r < 3 && in[i + r] == in[i]) ++r;
            if (r >= 3) break;
            ++i;
            ++n;
        }
        out.push_back(static_cast<char>(0x80 + n));
        out.append(in.substr(start, n));
    }
    return out;
}

struct PictureLayout {
    std::uint16_t magic = 0x706C;
    std::uint16_t pictureCount = 1;
    std::string gap;  // bytes between the file header and the picture
    std::uint8_t type = 6;
    std::uint8_t packing = 0;
    std::uint32_t xDpi = 96, yDpi = 96, planes = 1, bits = 8;
    std::uint32_t width = 1, height = 1, colorsUsed = 0, important = 0;
    std::string palette;   // stored as is
    std::string image;     // stored as is (already packed)
    std::string hotspots;  // a whole hotspot block, or empty
    // When set, replaces the image data size written in the header.
    std::int64_t imageSizeOverride = -1;
};

inline std::string BuildShg(const PictureLayout& s) {
    std::string out;
    PutU16(out, s.magic);
    PutU16(out, s.pictureCount);
    PutU32(out, static_cast<std::uint32_t>(4 + 4 * s.pictureCount + s.gap.size()));
    for (int i = 1; i < s.pictureCount; ++i) PutU32(out, 0);
    out += s.gap;
    std::string fields;
    std::uint32_t counted = 0;
    counted += qm::TShg::WriteCompressedDword(fields, s.xDpi);
    counted += qm::TShg::WriteCompressedDword(fields, s.yDpi);
    counted += qm::TShg::WriteCompressedWord(fields, s.planes);
    counted += qm::TShg::WriteCompressedWord(fields, s.bits);
    counted += qm::TShg::WriteCompressedDword(fields, s.width);
    counted += qm::TShg::WriteCompressedDword(fields, s.height);
    counted += qm::TShg::WriteCompressedDword(fields, s.colorsUsed);
    counted += qm::TShg::WriteCompressedDword(fields, s.important);
    auto imageSize = static_cast<std::uint32_t>(s.imageSizeOverride >= 0 ? s.imageSizeOverride
                                                                         : static_cast<std::int64_t>(s.image.size()));
    counted += qm::TShg::WriteCompressedDword(fields, imageSize);
    counted += qm::TShg::WriteCompressedDword(fields, static_cast<std::uint32_t>(s.hotspots.size()));
    std::uint32_t imageOffset = counted + 10 + static_cast<std::uint32_t>(s.palette.size());
    out.push_back(static_cast<char>(s.type));
    out.push_back(static_cast<char>(s.packing));
    out += fields;
    PutU32(out, imageOffset);
    PutU32(out, s.hotspots.empty() ? 0 : imageOffset + static_cast<std::uint32_t>(s.image.size()));
    out += s.palette;
    out += s.image;
    out += s.hotspots;
    return out;
}

// A one-hotspot block with the given figures, for hostile-input tests.
inline std::string HotspotBlock(std::uint16_t count, std::uint32_t macroSize, std::string_view rest) {
    std::string b;
    b.push_back('\x01');
    PutU16(b, count);
    PutU32(b, macroSize);
    b += rest;
    return b;
}

}  // namespace shgtest

namespace qm {
// Readable failure output for bitmaps.
inline void PrintTo(const TDib& d, std::ostream* os) {
    *os << d.Width << "x" << d.Height << " " << d.BitsPerPixel << " bpp, " << d.Palette.size() << " colours (used "
        << d.ColorsUsed << "), " << d.Bits.size() << " pixel bytes";
}
}  // namespace qm
