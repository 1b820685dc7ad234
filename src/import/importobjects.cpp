#include "import/importobjects.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

#include "import/rtfscan.h"
#include "preprocess/tagtext.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/qorsystem.h"

namespace qm {

using namespace rtfscan;

namespace {

// ---------------------------------------------------------------------------
// Little-endian bytes

std::uint32_t U16(std::string_view d, std::size_t at) {
    return static_cast<unsigned char>(d[at]) | (static_cast<std::uint32_t>(static_cast<unsigned char>(d[at + 1])) << 8);
}

std::uint32_t U32(std::string_view d, std::size_t at) { return U16(d, at) | (U16(d, at + 2) << 16); }

std::int32_t I16(std::string_view d, std::size_t at) { return static_cast<std::int16_t>(U16(d, at)); }

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// ---------------------------------------------------------------------------
// Image files

// A bitmap file: the 14-byte file header before a device-independent bitmap
// (its header, colour table and bits).
bool DibFile(std::string_view dib, std::string& out) {
    if (dib.size() < 12) return false;
    const std::uint32_t header = U32(dib, 0);
    std::uint32_t bitCount = 0;
    std::uint64_t tableBytes = 0;
    if (header == 12) {
        bitCount = U16(dib, 10);
        if (bitCount <= 8) tableBytes = (std::uint64_t{1} << bitCount) * 3;
    } else if (header >= 40 && header <= dib.size()) {
        bitCount = U16(dib, 14);
        const std::uint32_t compression = U32(dib, 16);
        const std::uint32_t used = U32(dib, 32);
        const std::uint64_t entries = used != 0 ? used : bitCount <= 8 ? (std::uint64_t{1} << bitCount) : 0;
        tableBytes = entries * 4;
        // The colour masks of a bare info header.
        if (header == 40 && compression == 3) tableBytes += 12;
        if (header == 40 && compression == 6) tableBytes += 16;
        // A PNG or JPEG inside a bitmap header is no bitmap the compiler reads.
        if (compression == 4 || compression == 5) return false;
    } else {
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    const std::uint64_t offset = 14 + std::uint64_t{header} + tableBytes;
    if (offset - 14 > dib.size() || dib.size() > std::numeric_limits<std::uint32_t>::max() - 14) return false;
    out.clear();
    out.reserve(dib.size() + 14);
    out += "BM";
    Put32(out, static_cast<std::uint32_t>(dib.size() + 14));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offset));
    out.append(dib);
    return true;
}

// The colours of a 4-bit device bitmap: the standard 16 of the display.
constexpr std::uint8_t kVgaColours[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// A bitmap file for a device-dependent bitmap: its rows, top row first and
// padded to words, become a device-independent bitmap's, bottom row first and
// padded to double words. Planar and palette-less 8-bit bitmaps are refused.
bool DeviceBitmapFile(const TEmbeddedPicture& p, std::string& out) {
    const long w = p.PicW, h = p.PicH, bpp = p.BitsPixel;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767 || p.Planes != 1) return false;
    if (bpp != 1 && bpp != 4 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    const std::uint64_t bits = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(bpp);
    const std::uint64_t srcStride = p.WidthBytes > 0 ? static_cast<std::uint64_t>(p.WidthBytes) : (bits + 15) / 16 * 2;
    if (srcStride * 8 < bits || srcStride * static_cast<std::uint64_t>(h) > p.Data.size()) return false;
    const std::uint64_t dstStride = (bits + 31) / 32 * 4;
    const std::uint32_t colours = bpp == 1 ? 2 : bpp == 4 ? 16 : 0;
    const std::uint64_t offset = 14 + 40 + std::uint64_t{colours} * 4;
    const std::uint64_t size = offset + dstStride * static_cast<std::uint64_t>(h);
    if (size > std::numeric_limits<std::uint32_t>::max()) return false;
    out.clear();
    out.reserve(static_cast<std::size_t>(size));
    out += "BM";
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offset));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bpp));
    Put32(out, 0);  // uncompressed
    Put32(out, static_cast<std::uint32_t>(dstStride * static_cast<std::uint64_t>(h)));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint8_t* rgb = bpp == 1 ? kVgaColours[i == 0 ? 0 : 15] : kVgaColours[i];
        out += static_cast<char>(rgb[2]);
        out += static_cast<char>(rgb[1]);
        out += static_cast<char>(rgb[0]);
        out += '\0';
    }
    const std::size_t copy = static_cast<std::size_t>(std::min(srcStride, dstStride));
    for (long y = h - 1; y >= 0; --y) {
        out.append(p.Data, static_cast<std::size_t>(static_cast<std::uint64_t>(y) * srcStride), copy);
        out.append(static_cast<std::size_t>(dstStride) - copy, '\0');
    }
    return true;
}

std::int32_t ClampShort(long long v) { return static_cast<std::int32_t>(std::clamp<long long>(v, -32768, 32767)); }

// A placeable metafile: the header that gives the picture its size before the
// metafile's records. The size is the window the records set up (and the
// goal size the RTF asks for), else the picture's own size.
bool MetafileFile(const TEmbeddedPicture& p, std::string& out) {
    const std::string& d = p.Data;
    if (d.size() < 18) return false;
    const std::uint32_t type = U16(d, 0);
    if ((type != 1 && type != 2) || U16(d, 2) != 9) return false;
    bool haveOrg = false, haveExt = false;
    long long ox = 0, oy = 0, ex = 0, ey = 0;
    for (std::size_t at = 18; at + 6 <= d.size();) {
        const std::uint64_t bytes = std::uint64_t{U32(d, at)} * 2;
        const std::uint32_t function = U16(d, at + 4);
        if (bytes < 6 || bytes > d.size() - at) break;
        if (function == 0) break;
        if (bytes >= 10 && function == 0x020B && !haveOrg) {
            oy = I16(d, at + 6);
            ox = I16(d, at + 8);
            haveOrg = true;
        } else if (bytes >= 10 && function == 0x020C && !haveExt) {
            ey = I16(d, at + 6);
            ex = I16(d, at + 8);
            haveExt = true;
        }
        at += static_cast<std::size_t>(bytes);
    }
    long long left = 0, top = 0, right = 0, bottom = 0, inch = 1440;
    if (haveExt && ex != 0 && ey != 0) {
        left = std::min(ox, ox + ex);
        right = std::max(ox, ox + ex);
        top = std::min(oy, oy + ey);
        bottom = std::max(oy, oy + ey);
        if (p.GoalW > 0)
            inch = (right - left) * 1440 / p.GoalW;
        else if (p.GoalH > 0)
            inch = (bottom - top) * 1440 / p.GoalH;
    } else if (p.KindParam == 1 && p.PicW > 0 && p.PicH > 0) {
        // Text mapping: the size is in pixels.
        right = p.PicW;
        bottom = p.PicH;
        inch = 96;
    } else if (p.GoalW > 0 && p.GoalH > 0) {
        right = p.GoalW;
        bottom = p.GoalH;
    } else {
        return false;
    }
    out.clear();
    out.reserve(d.size() + 22);
    Put32(out, 0x9AC6CDD7u);
    Put16(out, 0);
    for (long long v : {left, top, right, bottom}) Put16(out, static_cast<std::uint32_t>(ClampShort(v)) & 0xFFFF);
    Put16(out, static_cast<std::uint32_t>(std::clamp<long long>(inch, 1, 65535)));
    Put32(out, 0);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= U16(out, i);
    Put16(out, sum);
    out += d;
    return true;
}

}  // namespace

TEmbeddedPicture ParsePicture(std::string_view g) {
    TEmbeddedPicture p;
    if (g.empty() || g[0] != '{') return p;
    p.Data.reserve(g.size() / 2);
    Lexer lx(g, 1);
    Token t;
    int high = -1;  // the first digit of a byte whose second is still to come
    while (lx.Next(t)) {
        if (t.kind == Tok::Close) break;
        if (t.kind == Tok::Open) {
            lx.Seek(GroupEnd(g, t.begin));  // \*\picprop, \*\blipuid, ...
            continue;
        }
        if (t.kind == Tok::Text) {
            for (std::size_t i = t.begin; i < t.end && !p.BadData; ++i) {
                const char c = g[i];
                const int v = HexValue(c);
                if (v < 0) {
                    if (c != ' ' && c != '\r' && c != '\n' && c != '\t') p.BadData = true;
                    continue;
                }
                if (high < 0) {
                    high = v;
                } else {
                    p.Data += static_cast<char>(high * 16 + v);
                    high = -1;
                }
            }
            continue;
        }
        if (t.kind != Tok::Word) continue;
        const std::string_view n = t.name;
        if (n == "bin") {
            // The data follows the word (and its blank) byte for byte.
            std::size_t at = t.begin + 4;
            while (at < t.end && IsDigit(g[at])) ++at;
            if (t.blank && at < t.end) ++at;
            p.Data.append(g.substr(at, t.end - at));
        } else if (n == "dibitmap" || n == "wbitmap" || n == "wmetafile" || n == "emfblip" || n == "pngblip" ||
                   n == "jpegblip" || n == "macpict" || n == "pmmetafile") {
            p.Kind = std::string(n);
            p.KindParam = t.hasParam ? t.param : 0;
        } else if (t.hasParam) {
            if (n == "picw") p.PicW = t.param;
            if (n == "pich") p.PicH = t.param;
            if (n == "picwgoal") p.GoalW = t.param;
            if (n == "pichgoal") p.GoalH = t.param;
            if (n == "wbmbitspixel") p.BitsPixel = t.param;
            if (n == "wbmplanes") p.Planes = t.param;
            if (n == "wbmwidthbytes") p.WidthBytes = t.param;
        }
    }
    return p;
}

bool PictureFileBytes(const TEmbeddedPicture& p, std::string& bytes, std::string& extension, std::string& what) {
    if (p.Kind == "dibitmap") {
        what = "a bitmap";
        extension = "bmp";
        return !p.BadData && DibFile(p.Data, bytes);
    }
    if (p.Kind == "wbitmap") {
        what = "a bitmap";
        extension = "bmp";
        return !p.BadData && DeviceBitmapFile(p, bytes);
    }
    if (p.Kind == "wmetafile") {
        what = "a metafile";
        extension = "wmf";
        return !p.BadData && MetafileFile(p, bytes);
    }
    if (p.Kind == "pngblip")
        what = "a PNG picture";
    else if (p.Kind == "jpegblip")
        what = "a JPEG picture";
    else if (p.Kind == "emfblip")
        what = "an enhanced metafile";
    else
        what = "a picture of an unknown kind";
    return false;
}

// ---------------------------------------------------------------------------

TPictureFolder::TPictureFolder(std::string folder, TImportNotes* notes) : folder_(std::move(folder)), notes_(notes) {}

namespace {

// Whether anything stands at `name` in `folder`: a file under any case, a
// folder or a link.
bool NameTaken(const std::string& folder, const std::string& name) {
    if (!FindFileInFolder(folder, name).empty()) return true;
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(ToFsPath(IncludeBackslash(folder) + name), ec);
    return !ec && status.type() != std::filesystem::file_type::not_found;
}

}  // namespace

std::string TPictureFolder::Save(const std::string& bytes, std::string_view extension, std::string_view topicName) {
    // Long topic names leave room for the number and the extension.
    std::string base(topicName.substr(0, 200));
    if (base.empty()) base = "Picture";
    int& n = next_[AsciiLowerStr(base)];
    std::string name;
    do {
        name = base + std::to_string(++n) + "." + std::string(extension);
    } while (NameTaken(folder_, name));
    const std::string path = IncludeBackslash(folder_) + name;
    try {
        // A link planted at the name is replaced, never written through.
        WriteFileAtomic(path, bytes, LinkAtTarget::Replace);
    } catch (const Error& e) {
        if (notes_) notes_->Add("An embedded picture of the topic " + Quoted(topicName) + " was left out: " + e.what());
        return {};
    }
    written_.push_back(path);
    return name;
}

void TPictureFolder::Discard() {
    for (const std::string& path : written_) {
        std::error_code ec;
        std::filesystem::remove(ToFsPath(path), ec);
    }
    written_.clear();
}

// ---------------------------------------------------------------------------

std::string RawRtfTag(std::string_view codes) {
    // The codes without their line breaks: the reader of the module's text
    // ignores them, and a control word must not run into the text after one.
    std::string flat;
    flat.reserve(codes.size());
    Lexer lx(codes);
    Token t;
    bool openWord = false;  // the last token is a control word without its delimiter
    while (lx.Next(t)) {
        if (t.kind != Tok::Text) {
            flat.append(codes.substr(t.begin, t.end - t.begin));
            openWord = t.kind == Tok::Word && !t.blank && !(t.name == "bin" && t.hasParam);
            continue;
        }
        std::string text;
        for (std::size_t i = t.begin; i < t.end; ++i)
            if (codes[i] != '\r' && codes[i] != '\n') text += codes[i];
        if (text.empty()) continue;
        const char c = text[0];
        if (openWord && (IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == ' ')) flat += ' ';
        flat += text;
        openWord = false;
    }
    std::string out = "<RTF \"";
    out.reserve(flat.size() + flat.size() / 8 + 8);
    for (char c : flat) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            // The tag's value ends at a quote, the tag at a ">".
            case '"': out += "\\\\'22"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&rt;"; break;
            default: out += c;
        }
    }
    out += "\">";
    return out;
}

namespace {

bool IsPictureDestination(std::string_view d) {
    return d == "pict" || d == "shppict" || d == "nonshppict" || d == "object";
}

// The "\pict" groups inside [from, to), nested ones included, in order.
void CollectPictures(std::string_view s, std::size_t from, std::size_t to,
                     std::vector<std::pair<std::size_t, std::size_t>>& out, bool resultsOnly = false) {
    Lexer lx(s, from);
    Token t;
    while (lx.Pos() < to && lx.Next(t)) {
        if (t.kind != Tok::Open) continue;
        const std::string_view d = DestinationName(s, t.begin);
        const std::size_t end = std::min(GroupEnd(s, t.begin), to);
        if (resultsOnly) {
            // An object shows its result; its data is for the program that made it.
            if (d == "result") CollectPictures(s, t.begin + 1, end, out);
            lx.Seek(end);
        } else if (d == "pict") {
            out.emplace_back(t.begin, end);
            lx.Seek(end);
        }
    }
}

// A table found in the text: [begin, end), the groups its text closes that
// opened before it (`closes`) and the groups it opens that close after it
// (`opens`).
struct TableSpan {
    std::size_t begin = 0, end = 0;
    int closes = 0, opens = 0;
};

bool IsBlankText(std::string_view s, const Token& t) {
    return s.substr(t.begin, t.end - t.begin).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Whether more rows follow the "\row" that ends before `from`: a "\trowd" or
// "\intbl" comes before any text or paragraph end.
bool TableGoesOn(std::string_view s, std::size_t from) {
    Lexer lx(s, from);
    Token t;
    while (lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open:
                if (KindOfGroup(s, t.begin) != GroupKind::Plain) lx.Seek(GroupEnd(s, t.begin));
                break;
            case Tok::Close: break;
            case Tok::Text:
                if (!IsBlankText(s, t)) return false;
                break;
            case Tok::Symbol: return false;
            case Tok::Word:
                if (t.name == "trowd" || t.name == "intbl" || (t.name == "itap" && t.hasParam && t.param > 0))
                    return true;
                if (t.name == "par" || t.name == "page" || t.name == "sect" || t.name == "row" || t.name == "cell")
                    return false;
                break;
        }
    }
    return false;
}

// The table that starts at `begin`: rows up to the last "\row" that more rows
// do not follow. `stop` is where the search ended when there is none.
bool ScanTable(std::string_view s, std::size_t begin, TableSpan& span, std::size_t& stop) {
    Lexer lx(s, begin);
    Token t;
    int depth = 0, lowest = 0;
    bool inTable = true;  // the paragraph is a table's
    bool haveRow = false;
    while (lx.Next(t)) {
        stop = t.end;
        bool broken = false;
        switch (t.kind) {
            case Tok::Open:
                if (KindOfGroup(s, t.begin) != GroupKind::Plain) {
                    lx.Seek(GroupEnd(s, t.begin));
                    stop = lx.Pos();
                } else {
                    ++depth;
                }
                break;
            case Tok::Close: lowest = std::min(lowest, --depth); break;
            case Tok::Text: broken = !inTable && !IsBlankText(s, t); break;
            case Tok::Symbol: broken = !inTable; break;
            case Tok::Word:
                if (t.name == "bin" || t.name == "page" || t.name == "sect") {
                    broken = true;
                } else if (t.name == "pard") {
                    inTable = false;
                } else if (t.name == "trowd" || t.name == "intbl") {
                    inTable = true;
                } else if (t.name == "itap" && t.hasParam) {
                    inTable = t.param > 0;
                } else if (t.name == "par") {
                    broken = !inTable;
                } else if (IsWord(t, "row")) {
                    haveRow = true;
                    span.begin = begin;
                    span.end = t.end;
                    span.closes = -lowest;
                    span.opens = depth - lowest;
                    if (!TableGoesOn(s, t.end)) return true;
                }
                break;
        }
        if (broken) return haveRow;
    }
    return haveRow;
}

// Every table of the text, outside footnotes and hidden destinations, in order.
std::vector<TableSpan> FindTables(std::string_view s) {
    std::vector<TableSpan> out;
    Lexer lx(s);
    Token t;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t paraStart = kNone;  // the "\pard" that begins the current paragraph
    std::size_t floor = 0;          // no table starts before a failed search's end
    while (lx.Next(t)) {
        if (t.kind == Tok::Open) {
            if (KindOfGroup(s, t.begin) != GroupKind::Plain) lx.Seek(GroupEnd(s, t.begin));
            continue;
        }
        if (t.kind != Tok::Word) continue;
        const std::string_view n = t.name;
        if (n == "par" || n == "row" || n == "cell" || n == "sect" || n == "page") {
            paraStart = kNone;
        } else if (n == "pard") {
            if (paraStart == kNone) paraStart = t.begin;
        } else if ((n == "trowd" || n == "intbl") && t.begin >= floor) {
            // A table's first paragraph begins at its "\pard".
            const std::size_t begin = n == "intbl" && paraStart != kNone ? paraStart : t.begin;
            TableSpan span;
            std::size_t stop = t.end;
            if (ScanTable(s, begin, span, stop)) {
                out.push_back(span);
                lx.Seek(span.end);
                paraStart = kNone;
            } else {
                floor = stop;
            }
        }
    }
    return out;
}

// Words whose number is an index into the source's font, colour or style
// table, which the built topic does not have.
bool IsTableNumberWord(std::string_view n) {
    return n == "f" || n == "cf" || n == "cb" || n == "highlight" || n == "chcbpat" || n == "chcfpat" ||
           n == "clcbpat" || n == "clcfpat" || n == "trcbpat" || n == "trcfpat" || n == "brdrcf" || n == "cbpat" ||
           n == "cfpat" || n == "ts";
}

// Words that stand for text (or end it) in a cell.
bool IsCharacterWord(std::string_view n) {
    return n == "tab" || n == "line" || n == "emdash" || n == "endash" || n == "bullet" || n == "lquote" ||
           n == "rquote" || n == "ldblquote" || n == "rdblquote" || n == "u" || n == "emspace" || n == "enspace" ||
           n == "qmspace" || n == "chftn" || n == "par" || n == "page" || n == "sect";
}

// Whether one of the table's cells holds a table of its own.
bool IsNestedTable(std::string_view s, const TableSpan& span) {
    Lexer lx(s, span.begin);
    Token t;
    while (lx.Pos() < span.end && lx.Next(t)) {
        if (t.kind != Tok::Word) continue;
        if (t.name == "nestcell" || t.name == "nestrow" || t.name == "nesttableprops" ||
            (t.name == "itap" && t.hasParam && t.param > 1))
            return true;
    }
    return false;
}

// A row's definition: the "\trowd" at `at` with the row's and its cells'
// properties after it, up to the last "\cellx" of the run (the whole run when
// it has none). The codes leave out the numbers of the source's tables and
// end in a blank; `end` is where the definition ends in the text.
std::string RowDefinition(std::string_view s, std::size_t at, std::size_t limit, std::size_t& end) {
    Lexer lx(s, at);
    Token t;
    std::string codes;
    std::size_t cellxLength = std::string::npos, cellxEnd = at;
    end = at;
    bool first = true;
    while (lx.Pos() < limit && lx.Next(t)) {
        if (t.kind == Tok::Text && IsBlankText(s, t)) continue;
        if (t.kind == Tok::Open && KindOfGroup(s, t.begin) == GroupKind::Hidden) {
            const std::size_t e = std::min(GroupEnd(s, t.begin), limit);
            codes.append(s, t.begin, e - t.begin);
            end = e;
            lx.Seek(e);
            continue;
        }
        if (t.kind != Tok::Word) break;
        const std::string_view n = t.name;
        if ((n == "trowd" && !first) || n == "pard" || n == "plain" || n == "intbl" || n == "itap" || n == "cell" ||
            n == "row" || IsCharacterWord(n))
            break;
        first = false;
        end = t.end;
        if (!(t.hasParam && IsTableNumberWord(n))) codes.append(s, t.begin, t.end - t.begin - (t.blank ? 1 : 0));
        if (n == "cellx") {
            cellxLength = codes.size();
            cellxEnd = t.end;
        }
    }
    if (cellxLength != std::string::npos) {
        codes.resize(cellxLength);
        end = cellxEnd;
    }
    return codes + " ";
}

// Whether the row that begins at `from` starts with a definition of its own
// before its first text.
bool RowHasOwnDefinition(std::string_view s, std::size_t from, std::size_t limit) {
    Lexer lx(s, from);
    Token t;
    while (lx.Pos() < limit && lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open:
                if (KindOfGroup(s, t.begin) != GroupKind::Plain) lx.Seek(GroupEnd(s, t.begin));
                break;
            case Tok::Close: break;
            case Tok::Text:
                if (!IsBlankText(s, t)) return false;
                break;
            case Tok::Symbol: return false;
            case Tok::Word:
                if (t.name == "trowd") return true;
                if (t.name == "cell" || t.name == "row" || IsCharacterWord(t.name)) return false;
                break;
        }
    }
    return false;
}

// The definition that a row beginning at `from` gives after its cells, before
// its "\row" (as some writers give it there only); empty when none.
std::string TrailingDefinition(std::string_view s, std::size_t from, std::size_t limit) {
    Lexer lx(s, from);
    Token t;
    std::string def;
    while (lx.Pos() < limit && lx.Next(t)) {
        if (t.kind == Tok::Open && KindOfGroup(s, t.begin) != GroupKind::Plain) {
            lx.Seek(GroupEnd(s, t.begin));
        } else if (IsWord(t, "trowd")) {
            std::size_t end = t.end;
            def = RowDefinition(s, t.begin, limit, end);
            lx.Seek(std::max(end, t.end));
        } else if (IsWord(t, "row")) {
            return def;
        }
    }
    return {};
}

// Whether the "\cell" that ends before `from` is its row's last: only
// formatting, groups and the row's definition stand before the "\row"
// (whose end goes to `rowEnd`).
bool RowEndsAfterCell(std::string_view s, std::size_t from, std::size_t limit, std::size_t& rowEnd) {
    Lexer lx(s, from);
    Token t;
    while (lx.Pos() < limit && lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open:
                if (KindOfGroup(s, t.begin) != GroupKind::Plain) lx.Seek(GroupEnd(s, t.begin));
                break;
            case Tok::Close: break;
            case Tok::Text:
                if (!IsBlankText(s, t)) return false;
                break;
            case Tok::Symbol: return false;
            case Tok::Word:
                if (IsWord(t, "row")) {
                    rowEnd = t.end;
                    return true;
                }
                if (t.name == "cell" || IsCharacterWord(t.name)) return false;
                break;
        }
    }
    return false;
}

// The braces of [from, to), so that what is left out between them keeps the
// groups balanced (destinations that open and close there go whole).
void AppendBraces(std::string_view s, std::size_t from, std::size_t to, std::string& out) {
    Lexer lx(s, from);
    Token t;
    while (lx.Pos() < to && lx.Next(t)) {
        if (t.kind == Tok::Open) {
            if (KindOfGroup(s, t.begin) != GroupKind::Plain)
                lx.Seek(GroupEnd(s, t.begin));
            else
                out += '{';
        } else if (t.kind == Tok::Close) {
            out += '}';
        }
    }
}

// The text a table's raw tag stands in: its own group without a hotspot's
// look, so that the editor shows it as plain text.
std::string TableTagText(std::string_view codes) {
    return "{\\ulnone\\strike0\\v0 " + EscapeRtf(RawRtfTag(codes)) + "}";
}

// A hotspot found in raw RTF: "jump", "popup" or "macro hotspot", its text
// and its target (the macro for a macro hotspot).
struct RawHotspot {
    const char* kind;
    std::string text;
    std::string target;
};

// The hotspots of raw RTF codes: a run underlined (a popup), double
// underlined or struck through (a jump) followed by hidden text.
std::vector<RawHotspot> RawHotspots(std::string_view s) {
    struct Look {
        int look = 0;  // 0 none, 1 single underline, 2 double underline or strike
        bool hidden = false;
    };
    std::vector<Look> stack(1);
    std::vector<RawHotspot> out;
    std::string hot, target;
    int hotLook = 0;
    const auto finish = [&] {
        std::string context = Trim(target), text = Trim(hot);
        const std::size_t lead = context.find_first_not_of("%*");
        context = lead == std::string::npos ? std::string() : context.substr(lead);
        if (!text.empty() && !context.empty()) {
            const bool macro = context[0] == '!';
            out.push_back({macro          ? "macro hotspot"
                           : hotLook == 1 ? "popup"
                                          : "jump",
                           text, macro ? Trim(std::string_view(context).substr(1)) : context});
        }
        hot.clear();
        target.clear();
    };
    const auto text = [&](std::string_view chars) {
        const Look& l = stack.back();
        if (l.hidden) {
            if (!hot.empty()) target += chars;
            return;
        }
        if (!target.empty()) finish();
        if (l.look == 0) {
            hot.clear();
            return;
        }
        hotLook = l.look;
        hot += chars;
    };
    Lexer lx(s);
    Token t;
    while (lx.Next(t)) {
        switch (t.kind) {
            case Tok::Open:
                if (KindOfGroup(s, t.begin) != GroupKind::Plain)
                    lx.Seek(GroupEnd(s, t.begin));
                else
                    stack.push_back(stack.back());
                break;
            case Tok::Close:
                if (stack.size() > 1) stack.pop_back();
                break;
            case Tok::Text: text(s.substr(t.begin, t.end - t.begin)); break;
            case Tok::Symbol: text(StripRtf(s.substr(t.begin, t.end - t.begin))); break;
            case Tok::Word: {
                Look& l = stack.back();
                const bool on = !t.hasParam || t.param != 0;
                const std::string_view n = t.name;
                if (n == "ul")
                    l.look = on ? 1 : 0;
                else if (n == "uldb" || n == "strike")
                    l.look = on ? 2 : 0;
                else if (n == "ulnone")
                    l.look = 0;
                else if (n == "v")
                    l.hidden = on;
                else if (n == "plain")
                    l = Look();
                else if (n == "cell" || n == "row" || n == "nestcell" || n == "nestrow" || n == "par")
                    finish();
                else if (IsCharacterWord(n))
                    text(" ");
                break;
            }
        }
    }
    finish();
    return out;
}

// The files of the help compiler's bitmap codes ("\{bmc file\}") in raw RTF.
StringList RawBitmaps(std::string_view s) {
    StringList out;
    for (std::size_t at = s.find("\\{bm"); at != std::string_view::npos; at = s.find("\\{bm", at + 4)) {
        const std::size_t close = s.find("\\}", at);
        if (close == std::string_view::npos) break;
        const std::string plain = Trim(StripRtf(s.substr(at + 2, close - at - 2)));  // "bmc file"
        const std::size_t blank = plain.find(' ');
        if (blank != std::string::npos) out.push_back(Trim(std::string_view(plain).substr(blank + 1)));
    }
    return out;
}

// A hotspot as a note names it: `jump "New" to "HID_NEW"`.
std::string HotspotPhrase(const RawHotspot& h) {
    const bool macro = h.kind[0] == 'm';
    return std::string(h.kind) + " " + Quoted(h.text) + (macro ? " running " : " to ") + Quoted(h.target);
}

// What a destination that the import leaves out is, for a note; empty for
// those whose text no reader shows as the document's.
std::string_view DroppedTextPlace(std::string_view d) {
    if (d == "shpinst" || d == "shptxt") return "a shape";
    if (d == "do" || d == "dptxbxtext") return "a drawing object";
    if (d == "fldinst") return "a field's instruction";
    if (d.substr(0, 6) == "header" || d.substr(0, 6) == "footer") return "a header or footer";
    return {};
}

class ObjectConverter {
public:
    ObjectConverter(std::string_view s, const TFootnotesList& footnotes, std::size_t firstPage, TPictureSink* sink,
                    TImportNotes* notes)
        : s_(s), footnotes_(footnotes), firstPage_(firstPage), sink_(sink), notes_(notes) {}

    // The text with its tables and pictures replaced; false when it holds none.
    bool Run(std::string& out) {
        const std::vector<TableSpan> tables = FindTables(s_);
        std::size_t next = 0;      // the next table
        std::size_t tableEnd = 0;  // the end of the table whose cells are converted; 0 outside one
        Lexer lx(s_);
        Token t;
        std::size_t done = 0;
        bool changed = false;
        while (lx.Next(t)) {
            if (tableEnd != 0 && t.begin >= tableEnd) tableEnd = 0;
            if (next < tables.size() && t.begin >= tables[next].begin) {
                const TableSpan& span = tables[next++];
                changed = true;
                if (IsNestedTable(s_, span)) {
                    keepWhole(span, out, done);
                    lx.Seek(span.end);
                    continue;
                }
                // Each cell's text is converted as any other text; the rows'
                // and cells' codes become tags around it.
                tableEnd = span.end;
                lastDefinition_.clear();
                rowStart(std::max(done, t.begin), tableEnd, out, done);
            }
            if (tableEnd != 0 && t.kind == Tok::Word && tableWord(t, tableEnd, lx, out, done)) continue;
            if (t.kind == Tok::Open) {
                const std::string_view d = DestinationName(s_, t.begin);
                if (IsPictureDestination(d)) {
                    std::string file;
                    bool found = false;
                    const std::size_t end = picture(t.begin, file, found);
                    // An object without a picture in its result stays as it is.
                    if (found || d != "object") {
                        append(out, done, t.begin);
                        if (!file.empty())
                            out += EscapeRtf("<IMAGE \"" + file + "\">");
                        else
                            delimit(out, end);
                        done = end;
                        changed = true;
                    }
                    lx.Seek(end);
                } else if (KindOfGroup(s_, t.begin) != GroupKind::Plain) {
                    const std::size_t end = GroupEnd(s_, t.begin);
                    noteDroppedHotspots(d, t.begin, end);
                    lx.Seek(end);
                }
                continue;
            }
            if (IsWord(t, "page")) ++page_;
        }
        if (!changed) return false;
        append(out, done, s_.size());
        return true;
    }

private:
    std::string_view s_;
    const TFootnotesList& footnotes_;
    std::size_t firstPage_;
    TPictureSink* sink_;
    TImportNotes* notes_;
    std::size_t page_ = 0;
    std::string lastDefinition_;  // the codes of the table's last row definition

    void append(std::string& out, std::size_t done, std::size_t to) { out.append(s_, done, to - done); }

    // After a group was left out: a control word left open before it gets
    // its delimiter when what follows would join it.
    void delimit(std::string& out, std::size_t next) const {
        if (next >= s_.size() || !EndsInOpenControlWord(out)) return;
        const char c = s_[next];
        if (IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == ' ') out += ' ';
    }

    std::string topicName() const {
        const std::size_t i = firstPage_ + page_;
        return i < footnotes_.size() ? ContextToName(footnotes_[i].ID) : std::string();
    }

    // A row's definition as a paragraph of its own, holding its tag.
    static std::string DefinitionParagraph(std::string_view codes) {
        return "\\pard " + TableTagText(codes) + "\\par ";
    }

    // At `from` a row begins: one without a definition of its own before its
    // cells gets the one it gives after them, else the one of the row
    // before, so that each row of the editor's text starts with its own.
    void rowStart(std::size_t from, std::size_t limit, std::string& out, std::size_t& done) {
        if (from >= limit || RowHasOwnDefinition(s_, from, limit)) return;
        std::string def = TrailingDefinition(s_, from, limit);
        if (def.empty()) def = lastDefinition_;
        if (def.empty()) return;
        append(out, done, from);
        done = from;
        out += DefinitionParagraph(def);
        lastDefinition_ = def;
    }

    // The row and cell codes of a table: a row's definition becomes a
    // paragraph holding its tag; each cell's end a tag ending its last
    // paragraph, the last cell's together with the row's end. False for
    // any other token.
    bool tableWord(const Token& t, std::size_t limit, Lexer& lx, std::string& out, std::size_t& done) {
        if (IsWord(t, "trowd")) {
            std::size_t end = t.end;
            const std::string def = RowDefinition(s_, t.begin, limit, end);
            append(out, done, t.begin);
            out += DefinitionParagraph(def);
            lastDefinition_ = def;
            done = std::max(end, t.end);
            lx.Seek(done);
            return true;
        }
        if (IsWord(t, "cell")) {
            append(out, done, t.begin);
            std::size_t rowEnd = t.end;
            if (!RowEndsAfterCell(s_, t.end, limit, rowEnd)) {
                out += TableTagText("\\cell ") + "\\par ";
                done = t.end;
                return true;
            }
            out += TableTagText("\\cell \\row ") + "\\par ";
            // What stands between, the paragraph of the row's end and a
            // repeated definition, the row's tag holds.
            AppendBraces(s_, t.end, rowEnd, out);
            done = rowEnd;
            lx.Seek(rowEnd);
            rowStart(rowEnd, limit, out, done);
            return true;
        }
        if (IsWord(t, "row")) {
            append(out, done, t.begin);
            out += TableTagText("\\row ") + "\\par ";
            done = t.end;
            rowStart(t.end, limit, out, done);
            return true;
        }
        return false;
    }

    // A table with a table inside one of its cells stays whole, as raw RTF
    // in one tag; the hotspots and pictures its cells hold are noted.
    void keepWhole(const TableSpan& span, std::string& out, std::size_t& done) {
        append(out, done, span.begin);
        out.append(static_cast<std::size_t>(span.closes), '}');
        long font = -1;
        const std::string codes = tableCodes(span, font);
        // The tag stands in a paragraph of its own, in the table's font.
        out += "\\pard {";
        if (font >= 0) out += "\\f" + std::to_string(font) + " ";
        out += EscapeRtf(RawRtfTag("{" + std::string(span.closes, '{') + codes + std::string(span.opens, '}') + "}"));
        out += "}\\par ";
        out.append(static_cast<std::size_t>(span.opens), '{');
        done = span.end;
        if (!notes_) return;
        const std::string where = "The topic " + Quoted(topicName()) + " keeps a table within a table as raw RTF: its ";
        for (const RawHotspot& h : RawHotspots(codes)) notes_->Add(where + HotspotPhrase(h) + " is no tag.");
        for (const std::string& file : RawBitmaps(codes))
            notes_->Add(where + "picture " + Quoted(file) + " is no tag.");
    }

    // The hotspots and bitmaps of a destination whose text the import leaves
    // out (a shape's, a field's instruction) are noted.
    void noteDroppedHotspots(std::string_view destination, std::size_t begin, std::size_t end) {
        if (!notes_) return;
        const std::string_view place = DroppedTextPlace(destination);
        if (place.empty()) return;
        const std::string_view group = s_.substr(begin, end - begin);
        if (group.find("\\v") == std::string_view::npos && group.find("\\{bm") == std::string_view::npos) return;
        const std::string why = " of the topic " + Quoted(topicName()) + " was left out: it stands in " +
                                std::string(place) + ", whose text the import does not keep.";
        // The group is read as text: its own destination word is no hidden part.
        const std::string_view inner = group.size() >= 2 ? group.substr(1, group.size() - 2) : group;
        for (const RawHotspot& h : RawHotspots(inner)) notes_->Add("The " + HotspotPhrase(h) + why);
        for (const std::string& file : RawBitmaps(inner)) notes_->Add("The picture " + Quoted(file) + why);
    }

    // The picture group at `open` (with the "\nonshppict" group that may
    // follow a "\shppict" one): the end of what it covers, and the file the
    // picture was kept in (empty when it was left out). `found` tells whether
    // the group held a picture at all.
    std::size_t picture(std::size_t open, std::string& file, bool& found) {
        const std::string_view d = DestinationName(s_, open);
        std::size_t end = GroupEnd(s_, open);
        std::vector<std::pair<std::size_t, std::size_t>> picts;
        if (d == "pict") {
            picts.emplace_back(open, end);
        } else {
            CollectPictures(s_, open + 1, end, picts, d == "object");
            if (d == "shppict") {
                // Word writes a picture twice: for readers of shapes, and a
                // metafile for the others.
                std::size_t at = end;
                while (at < s_.size() && (s_[at] == ' ' || s_[at] == '\r' || s_[at] == '\n')) ++at;
                if (at < s_.size() && s_[at] == '{' && DestinationName(s_, at) == "nonshppict") {
                    const std::size_t alt = GroupEnd(s_, at);
                    CollectPictures(s_, at + 1, alt, picts);
                    end = alt;
                }
            }
        }
        found = !picts.empty();
        if (!found) return end;
        std::string bytes, extension, what, firstWhat;
        for (const auto& [b, e] : picts) {
            const TEmbeddedPicture p = ParsePicture(s_.substr(b, e - b));
            if (PictureFileBytes(p, bytes, extension, what)) {
                const std::string topic = topicName();
                if (sink_) {
                    file = sink_->Save(bytes, extension, topic);
                } else if (notes_) {
                    notes_->Add("An embedded picture of the topic " + Quoted(topic) + " was left out.");
                }
                return end;
            }
            if (firstWhat.empty()) firstWhat = what;
        }
        if (notes_)
            notes_->Add("An embedded picture (" + firstWhat + ") of the topic " + Quoted(topicName()) +
                        " was left out: the help compiler cannot show it.");
        return end;
    }

    // The codes of a table with its pictures as the help compiler's bitmap
    // codes. Font and colour numbers count in the source's tables, which the
    // built topic does not have: they go, and the table takes the font of its
    // first text (`font`, -1 when it names none) from the text around it.
    std::string tableCodes(const TableSpan& span, long& font) {
        std::string codes;
        font = -1;
        Lexer lx(s_, span.begin);
        Token t;
        std::size_t done = span.begin;
        while (lx.Pos() < span.end && lx.Next(t)) {
            if (t.kind == Tok::Word && t.hasParam && IsTableNumberWord(t.name)) {
                if (t.name == "f" && font < 0) font = t.param;
                codes.append(s_, done, t.begin - done);
                done = t.end;
                delimit(codes, done);
                continue;
            }
            if (t.kind != Tok::Open) continue;
            if (IsPictureDestination(DestinationName(s_, t.begin))) {
                std::string file;
                bool found = false;
                const std::size_t end = std::min(picture(t.begin, file, found), span.end);
                codes.append(s_, done, t.begin - done);
                if (!file.empty())
                    codes += "\\{bmc " + file + "\\}";
                else
                    delimit(codes, end);
                done = end;
                lx.Seek(end);
            } else if (KindOfGroup(s_, t.begin) != GroupKind::Plain) {
                lx.Seek(GroupEnd(s_, t.begin));
            }
        }
        codes.append(s_, done, span.end - std::min(done, span.end));
        return codes;
    }
};

}  // namespace

void ConvertTablesAndPictures(std::string& text, const TFootnotesList& footnotes, std::size_t firstPage,
                              TPictureSink* sink, TImportNotes* notes) {
    // Most files hold neither (nor a shape, a drawing object or a field
    // whose hotspots would be noted); those are not walked.
    if (text.find("\\trowd") == std::string::npos && text.find("\\intbl") == std::string::npos &&
        text.find("\\pict") == std::string::npos && text.find("\\object") == std::string::npos &&
        text.find("\\shp") == std::string::npos && text.find("\\*\\do") == std::string::npos &&
        text.find("\\fldinst") == std::string::npos)
        return;
    std::string out;
    // Pictures become short tags and tables tags a little longer than their
    // codes: room for the text and some, taken once, so that a buffer that
    // doubles does not hold the text two and three times while it moves.
    out.reserve(text.size() + text.size() / 16 + 64);
    ObjectConverter converter(text, footnotes, firstPage, sink, notes);
    if (converter.Run(out)) text.swap(out);
}

}  // namespace qm
