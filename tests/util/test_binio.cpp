// Bounded little-endian reading and writing. Every read past the end and every
// bad count or length must end in the end-of-file error, never in a crash or
// an allocation sized from the file.
#include "util/binio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "util/errors.h"

// Records the largest single allocation made while tracking is on, so a test
// can show that a huge count in a tiny buffer never reaches the allocator.
namespace {
std::atomic<bool> gTrackAllocations{false};
std::atomic<std::size_t> gLargestAllocation{0};
}  // namespace

// GCC 12 sees the malloc/free pair through inlining and warns wrongly.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    if (gTrackAllocations.load(std::memory_order_relaxed)) {
        std::size_t prev = gLargestAllocation.load(std::memory_order_relaxed);
        while (n > prev && !gLargestAllocation.compare_exchange_weak(prev, n)) {
        }
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// Every other form too: a form left to the sanitizer's allocator would be
// freed here by the forms above, which it reports as a mismatch.
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

using namespace qm;

namespace {

class AllocationWatch {
public:
    AllocationWatch() {
        gLargestAllocation = 0;
        gTrackAllocations = true;
    }
    ~AllocationWatch() { gTrackAllocations = false; }
    std::size_t largest() const { return gLargestAllocation; }
};

std::string Le32(std::uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

const std::string kName = "C:\\Help\\a.qpf";
const std::string kEofMessage = "Cannot access C:\\Help\\a.qpf - Unexpected end of file found.";

// Runs `op` and checks it fails with the end-of-file error for kName.
void ExpectEof(const std::function<void()>& op, const std::string& what) {
    SCOPED_TRACE(what);
    try {
        op();
        ADD_FAILURE() << "no error raised";
    } catch (const EFileAccess& e) {
        EXPECT_EQ(e.code(), 38);
        EXPECT_STREQ(e.what(), kEofMessage.c_str());
    } catch (const std::exception& e) {
        ADD_FAILURE() << "wrong exception type: " << e.what();
    }
}

// ------------------------------------------------------------------- reading

TEST(BinaryReader, ReadsLittleEndianValues) {
    const std::string data = std::string("\x7F", 1) + "\x34\x12" + "\x01\x02\x03\x04" + "\xFE\xFF\xFF\xFF" +
                             "\xFF\xFF\xFF\xFF" + std::string("\x00\x00\x00\x80", 4) + "xy";
    BinaryReader r(data, kName);
    EXPECT_EQ(r.size(), data.size());
    EXPECT_EQ(r.readByte(), 0x7F);
    EXPECT_EQ(r.readUInt16(), 0x1234);
    EXPECT_EQ(r.readInt32(), 0x04030201);
    EXPECT_EQ(r.readInt32(), -2);
    EXPECT_EQ(r.readUInt32(), 0xFFFFFFFFu);
    EXPECT_EQ(r.readInt32(), INT32_MIN);
    EXPECT_EQ(r.pos(), 19u);
    EXPECT_EQ(r.remaining(), 2u);
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.readBytes(2), "xy");
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(BinaryReader, HighBytesAreNotSignExtended) {
    const std::string data("\xFF\x80\xFF", 3);
    BinaryReader r(data, kName);
    EXPECT_EQ(r.readByte(), 0xFF);
    EXPECT_EQ(r.readUInt16(), 0xFF80);
}

TEST(BinaryReader, FixedFieldStopsAtFirstNul) {
    const std::string data = std::string("abc\0\0\0", 6) + std::string("full", 4) + std::string("x\0y\0", 4);
    BinaryReader r(data, kName);
    EXPECT_EQ(r.readFixed(6), "abc");
    EXPECT_EQ(r.pos(), 6u);             // the whole width is consumed
    EXPECT_EQ(r.readFixed(4), "full");  // no NUL: all of it
    EXPECT_EQ(r.readFixed(4), "x");
    EXPECT_TRUE(r.atEnd());
}

TEST(BinaryReader, FixedIntoCopiesTheFieldExactly) {
    const std::string data("a\0b\0", 4);
    BinaryReader r(data, kName);
    char dest[6] = {'#', '#', '#', '#', '#', '#'};
    r.readFixedInto(dest, 4);
    EXPECT_EQ(std::string(dest, 4), data);
    EXPECT_EQ(dest[4], '#');
    EXPECT_EQ(dest[5], '#');
}

TEST(BinaryReader, EmptyDataAndZeroWidths) {
    BinaryReader r(std::string_view(), kName);  // no data pointer at all
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.readBytes(0), "");
    EXPECT_EQ(r.readFixed(0), "");
    char dest[1] = {'#'};
    r.readFixedInto(dest, 0);
    EXPECT_EQ(dest[0], '#');
    ExpectEof([&] { r.readByte(); }, "byte from nothing");
}

TEST(BinaryReader, SeekAndSkip) {
    BinaryReader r("abcdef", kName);
    r.skip(2);
    EXPECT_EQ(r.readByte(), 'c');
    r.seek(1);
    EXPECT_EQ(r.readByte(), 'b');
    r.seek(6);  // exactly the end is allowed
    EXPECT_TRUE(r.atEnd());
    r.seek(0);
    r.skip(6);
    EXPECT_TRUE(r.atEnd());
}

TEST(BinaryReader, CheckedLength) {
    BinaryReader r("abcd", kName);
    r.skip(1);
    EXPECT_EQ(r.checkedLength(0), 0u);
    EXPECT_EQ(r.checkedLength(3), 3u);  // all that is left
    ExpectEof([&] { r.checkedLength(4); }, "one more than left");
    ExpectEof([&] { r.checkedLength(-1); }, "negative");
    ExpectEof([&] { r.checkedLength(INT32_MIN); }, "INT32_MIN");
    ExpectEof([&] { r.checkedLength(INT64_MAX); }, "INT64_MAX");
    ExpectEof([&] { r.checkedLength(INT64_MIN); }, "INT64_MIN");
}

TEST(BinaryReader, EveryReadPastTheEndFails) {
    // Each case leaves fewer bytes than the read needs.
    struct Case {
        const char* what;
        std::string data;
        std::function<void(BinaryReader&)> op;
    };
    const std::vector<Case> cases = {
        {"byte on empty", "", [](BinaryReader& r) { r.readByte(); }},
        {"uint16 with 1 left", "a", [](BinaryReader& r) { r.readUInt16(); }},
        {"int32 with 3 left", "abc", [](BinaryReader& r) { r.readInt32(); }},
        {"uint32 with 3 left", "abc", [](BinaryReader& r) { r.readUInt32(); }},
        {"bytes", "abc", [](BinaryReader& r) { r.readBytes(4); }},
        {"bytes huge", "abc", [](BinaryReader& r) { r.readBytes(SIZE_MAX); }},
        {"fixed", "abc", [](BinaryReader& r) { r.readFixed(4); }},
        {"fixed huge", "abc", [](BinaryReader& r) { r.readFixed(SIZE_MAX); }},
        {"fixed into", "abc",
         [](BinaryReader& r) {
             char buf[8];
             r.readFixedInto(buf, 4);
         }},
        {"skip", "abc", [](BinaryReader& r) { r.skip(4); }},
        {"skip huge", "abc",
         [](BinaryReader& r) {
             r.skip(1);
             r.skip(SIZE_MAX);  // must not wrap around
         }},
        {"seek", "abc", [](BinaryReader& r) { r.seek(4); }},
        {"seek huge", "abc", [](BinaryReader& r) { r.seek(SIZE_MAX); }},
        {"after consuming all", "abcd",
         [](BinaryReader& r) {
             r.readInt32();
             r.readByte();
         }},
    };
    for (const auto& c : cases) {
        BinaryReader r(c.data, kName);
        ExpectEof([&] { c.op(r); }, c.what);
    }
}

TEST(BinaryReader, EmptyNameUsesTheGenericFileText) {
    BinaryReader r("", "");
    try {
        r.readByte();
        FAIL() << "no error raised";
    } catch (const EFileAccess& e) {
        EXPECT_EQ(e.code(), 38);
        EXPECT_STREQ(e.what(), "Cannot access the requested file - Unexpected end of file found.");
    }
}

TEST(BinaryReader, FailThrowsTheEndOfFileError) {
    BinaryReader r("abc", kName);
    ExpectEof([&] { r.fail(); }, "fail()");
}

// ---------------------------------------------------------- StringListBlock

std::string Block(const std::vector<std::string>& items) {
    std::string s = Le32(static_cast<std::uint32_t>(items.size()));
    for (const auto& it : items) s += Le32(static_cast<std::uint32_t>(it.size())) + it;
    return s;
}

TEST(StringListBlock, ReadsStringsInOrder) {
    const std::string data = Block({"first", "", "caf\xE9", "last"}) + "tail";
    BinaryReader r(data, kName);
    StringList list = {"stale"};
    r.readStrings(list);
    EXPECT_EQ(list, (StringList{"first", "", "caf\xE9", "last"}));
    EXPECT_EQ(r.readBytes(4), "tail");  // stops right after the block
}

TEST(StringListBlock, EmptyBlockEmptiesTheList) {
    const std::string data = Le32(0);
    BinaryReader r(data, kName);
    StringList list = {"a", "b"};
    r.readStrings(list);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(r.atEnd());
}

TEST(StringListBlock, StringWithNulIsCutThereButFullLengthIsConsumed) {
    const std::string data = Block({std::string("ab\0cd", 5), "next"});
    BinaryReader r(data, kName);
    StringList list;
    r.readStrings(list);
    EXPECT_EQ(list, (StringList{"ab", "next"}));
    EXPECT_TRUE(r.atEnd());
}

TEST(StringListBlock, HugeOrNegativeCountsFailWithoutAllocating) {
    struct Case {
        const char* what;
        std::string data;
    };
    const Case cases[] = {
        // A count of 2^31-1 followed by one string: 12 bytes in all.
        {"count 2^31-1", Le32(0x7FFFFFFF) + Le32(4) + "abcd"},
        {"count -1", Le32(0xFFFFFFFF) + Le32(4) + "abcd"},
        {"count INT32_MIN", Le32(0x80000000) + Le32(4) + "abcd"},
        {"count one too many", Le32(2) + Le32(4) + "abcd"},
        {"length 2^31-1", Le32(1) + Le32(0x7FFFFFFF) + "abcd"},
        {"length -1", Le32(1) + Le32(0xFFFFFFFF) + "abcd"},
        {"length one too long", Le32(1) + Le32(5) + "abcd"},
        {"count missing", "ab"},
        {"length missing", Le32(1) + "ab"},
    };
    for (const auto& c : cases) {
        BinaryReader r(c.data, kName);
        StringList list;
        AllocationWatch watch;
        ExpectEof([&] { r.readStrings(list); }, c.what);
        EXPECT_LT(watch.largest(), std::size_t{1} << 16) << c.what;
    }
}

TEST(StringListBlock, EveryTruncationOfAValidBlockFails) {
    const std::string full = Block({"alpha", "", "be\0ta", "gamma"});
    for (std::size_t len = 0; len < full.size(); ++len) {
        BinaryReader r(std::string_view(full).substr(0, len), kName);
        StringList list;
        ExpectEof([&] { r.readStrings(list); }, "cut at " + std::to_string(len));
    }
    BinaryReader whole(full, kName);
    StringList list;
    whole.readStrings(list);
    EXPECT_EQ(list.size(), 4u);
}

// ------------------------------------------------------------------- writing

TEST(BinaryWriter, WritesLittleEndianValues) {
    BinaryWriter w;
    w.writeByte(0xAB);
    w.writeUInt16(0x1234);
    w.writeInt32(-2);
    w.writeInt32(0x01020304);
    w.writeUInt32(0x80000000u);
    w.writeBytes(std::string("r\0w", 3));
    EXPECT_EQ(w.size(), 18u);
    EXPECT_EQ(w.data(), std::string("\xAB\x34\x12\xFE\xFF\xFF\xFF\x04\x03\x02\x01\x00\x00\x00\x80r\0w", 18));
}

TEST(BinaryWriter, FixedFieldIsCutOrNulPadded) {
    BinaryWriter w;
    w.writeFixed("abc", 5);
    w.writeFixed("abcdef", 3);
    w.writeFixed("four", 4);
    w.writeFixed("", 2);
    w.writeFixed("x", 0);
    EXPECT_EQ(w.data(), std::string("abc\0\0"
                                    "abc"
                                    "four"
                                    "\0\0",
                                    14));
}

TEST(BinaryWriter, StringListBlockLayout) {
    BinaryWriter w;
    w.writeStrings({"a", "bc", ""});
    EXPECT_EQ(w.data(), Le32(3) + Le32(1) + "a" + Le32(2) + "bc" + Le32(0));
    BinaryWriter empty;
    empty.writeStrings({});
    EXPECT_EQ(empty.data(), Le32(0));
}

TEST(BinaryWriter, TakeHandsOverTheBytes) {
    BinaryWriter w;
    w.writeInt32(7);
    const std::string bytes = w.take();
    EXPECT_EQ(bytes, Le32(7));
}

TEST(BinaryIo, WriterOutputReadsBack) {
    const StringList strings = {"K1", "caf\xE9 \x80", std::string(300, 'z'), ""};
    BinaryWriter w;
    w.writeInt32(INT32_MIN);
    w.writeInt32(INT32_MAX);
    w.writeUInt32(0xDEADBEEFu);
    w.writeUInt16(0xFFFF);
    w.writeByte(1);
    w.writeFixed("Title", 10);
    w.writeStrings(strings);
    w.writeStrings({});

    BinaryReader r(w.data(), kName);
    EXPECT_EQ(r.readInt32(), INT32_MIN);
    EXPECT_EQ(r.readInt32(), INT32_MAX);
    EXPECT_EQ(r.readUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(r.readUInt16(), 0xFFFF);
    EXPECT_EQ(r.readByte(), 1);
    EXPECT_EQ(r.readFixed(10), "Title");
    StringList back;
    r.readStrings(back);
    EXPECT_EQ(back, strings);
    r.readStrings(back);
    EXPECT_TRUE(back.empty());
    EXPECT_TRUE(r.atEnd());
}

// ------------------------------------------------------------ streaming

// A source over a string that gives at most `step` bytes a call, so that
// every read can fall across a refill.
class PieceSource : public ByteSource {
public:
    PieceSource(std::string data, std::size_t step) : data_(std::move(data)), step_(step) {}
    std::size_t Read(char* to, std::size_t room) override {
        const std::size_t n = std::min({room, step_, data_.size() - at_});
        std::copy_n(data_.data() + at_, n, to);
        at_ += n;
        ++calls_;
        return n;
    }
    std::size_t calls() const { return calls_; }

private:
    std::string data_;
    std::size_t step_;
    std::size_t at_ = 0;
    std::size_t calls_ = 0;
};

// Bytes of every kind of field, a long run among them.
std::string MixedRecords(const std::string& longRun) {
    BinaryWriter w;
    for (int k = 0; k < 3; ++k) {
        w.writeByte(static_cast<std::uint8_t>(0xF0 + k));
        w.writeUInt16(static_cast<std::uint16_t>(0xBEEF + k));
        w.writeInt32(-7 * k);
        w.writeFixed("Field" + std::to_string(k), 40);
        w.writeStrings({"K" + std::to_string(k), std::string(70, 'k'), ""});
        w.writeInt32(static_cast<std::int32_t>(longRun.size()));
        w.writeBytes(longRun);
        w.writeBytes("skipped!");
    }
    return w.take();
}

// Reads MixedRecords back, every field into one text, so that two readers'
// results compare as a whole.
std::string ParseMixed(BinaryReader& r) {
    std::string out;
    for (int k = 0; k < 3; ++k) {
        out += std::to_string(r.readByte()) + "," + std::to_string(r.readUInt16()) + "," +
               std::to_string(r.readInt32()) + ",";
        char field[40];
        r.readFixedInto(field, sizeof field);
        out.append(field, sizeof field);
        StringList list;
        r.readStrings(list);
        for (const auto& s : list) out += "[" + s + "]";
        std::string text = "old contents";
        r.readBytesInto(text, r.checkedLength(r.readInt32()));
        out += "<" + text + ">@" + std::to_string(r.pos());
        r.skip(8);
    }
    out += r.atEnd() ? "end" : "more";
    return out;
}

// Through any window and any size of the source's pieces, the streaming
// reader gives what the reader over memory gives, ends where it ends, and
// asks the source for far fewer calls than bytes.
TEST(BinaryReaderStreaming, ReadsAsTheMemoryReaderDoes) {
    for (const std::size_t run : {std::size_t{0}, std::size_t{5}, std::size_t{300}, std::size_t{5000}}) {
        std::string longRun(run, '\0');
        for (std::size_t i = 0; i < run; ++i) longRun[i] = static_cast<char>(i * 7 + 3);
        const std::string data = MixedRecords(longRun);
        BinaryReader memory(data, kName);
        const std::string expected = ParseMixed(memory);
        for (const std::size_t window :
             {std::size_t{1}, std::size_t{17}, std::size_t{64}, std::size_t{4096}, BinaryReader::kDefaultWindow}) {
            for (const std::size_t step : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
                SCOPED_TRACE("run " + std::to_string(run) + ", window " + std::to_string(window) + ", step " +
                             std::to_string(step));
                PieceSource source(data, step);
                BinaryReader r(source, data.size(), kName, window);
                EXPECT_EQ(r.size(), data.size());
                EXPECT_EQ(ParseMixed(r), expected);
                if (step > data.size()) {
                    EXPECT_LE(source.calls(), data.size() / 16 + 2);
                }
            }
        }
    }
}

// Every way the input can end early is the end-of-file error, whether the
// size given says so or the source ends before it.
TEST(BinaryReaderStreaming, ShortInputFails) {
    const std::string data = MixedRecords(std::string(5000, 'x'));
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{3}, std::size_t{60}, std::size_t{200}, std::size_t{2000}, data.size() - 1}) {
        for (const bool sizeKnown : {true, false}) {
            const std::string what = "cut at " + std::to_string(cut) + (sizeKnown ? ", size known" : ", source ends");
            ExpectEof(
                [&] {
                    PieceSource source(data.substr(0, cut), 7);
                    BinaryReader r(source, sizeKnown ? cut : data.size(), kName, 64);
                    ParseMixed(r);
                },
                what);
        }
    }
}

// A length beyond what is left is refused before anything is allocated,
// and so is a count of strings that cannot fit.
TEST(BinaryReaderStreaming, CountsAreCheckedAgainstTheWholeInput) {
    const std::string data = Le32(0x7FFFFFFF) + Le32(50000000) + std::string(100, 'a');
    PieceSource source(data, 1 << 20);
    BinaryReader r(source, data.size(), kName, 16);
    const std::int32_t huge = r.readInt32();
    ExpectEof([&] { r.checkedLength(huge); }, "length");
    StringList list;
    AllocationWatch watch;
    ExpectEof([&] { r.readStrings(list); }, "count");
    EXPECT_LT(watch.largest(), std::size_t{1} << 20);
}

TEST(BinaryReaderStreaming, SeekGoesForwardOnly) {
    const std::string data = "0123456789abcdefghijklmnopqrstuvwxyz";
    PieceSource source(data, 5);
    BinaryReader r(source, data.size(), kName, 16);
    r.seek(20);
    EXPECT_EQ(r.readBytes(3), "klm");
    r.seek(22);  // still buffered
    EXPECT_EQ(r.readByte(), 'm');
    EXPECT_THROW(r.seek(0), std::logic_error);
    ExpectEof([&] { r.seek(data.size() + 1); }, "past the end");
    r.seek(data.size());
    EXPECT_TRUE(r.atEnd());
}

// The writer with a sink hands on the bytes the writer in memory collects,
// in order, whatever its piece size; a long run goes on in one piece.
TEST(BinaryWriterStreaming, HandsOnWhatTheMemoryWriterCollects) {
    const std::string longRun(1000, 'L');
    const auto writeAll = [&](BinaryWriter& w) {
        for (int k = 0; k < 20; ++k) {
            w.writeByte(static_cast<std::uint8_t>(k));
            w.writeUInt16(0x1234);
            w.writeInt32(k * 1000);
            w.writeFixed("name", 30);
            w.writeStrings({"a", "bc", std::string(k * 10, 'z')});
            w.writeBytes(k % 5 == 0 ? std::string_view(longRun) : std::string_view("short"));
        }
    };
    BinaryWriter memory;
    writeAll(memory);
    for (const std::size_t chunk :
         {std::size_t{1}, std::size_t{16}, std::size_t{100}, std::size_t{999}, BinaryWriter::kDefaultChunk}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        std::string got;
        std::size_t pieces = 0, largest = 0;
        BinaryWriter w(
            [&](std::string_view piece) {
                got.append(piece);
                ++pieces;
                largest = std::max(largest, piece.size());
            },
            chunk);
        writeAll(w);
        EXPECT_EQ(w.size(), memory.size());
        w.flush();
        w.flush();  // nothing more to hand on
        EXPECT_EQ(got, memory.data());
        EXPECT_TRUE(w.data().empty());
        if (chunk <= longRun.size()) {
            EXPECT_GE(largest, longRun.size());
        }
        if (chunk >= 100) {
            EXPECT_LT(pieces, memory.size() / 50);
        }
    }
}

}  // namespace
