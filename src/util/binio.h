#pragma once
// Bounded little-endian binary reading and writing, over memory buffers or a
// piece at a time from and to a file. Every count and length is checked
// against the bytes left before anything is allocated or read.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

#include "util/qorstring.h"

namespace qm {

// Where a streaming BinaryReader's bytes come from: Read gives up to `room`
// bytes at `to` and returns how many it gave, 0 at the end; errors throw.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(char* to, std::size_t room) = 0;
};

// Where a streaming BinaryWriter's bytes go, in order; errors throw.
using ByteSink = std::function<void(std::string_view)>;

class BinaryReader {
public:
    // `name` is the file name used in the error message when the data ends
    // early: "Cannot access <name> - Unexpected end of file found.".
    BinaryReader(std::string_view data, std::string name);
    // The reader only views its data: a temporary would dangle.
    template <class S, std::enable_if_t<std::is_same_v<S, std::string>, int> = 0>
    BinaryReader(S&& data, std::string name) = delete;
    // Reads `total` bytes from `source` through a buffer of about `window`
    // bytes (a read of more grows it), so that a large file is parsed without
    // a copy of it in memory. A source that ends before `total` bytes ends
    // the reading in the end-of-file error. A view that readBytes gives is
    // valid only until the next read; seek goes forward only.
    BinaryReader(ByteSource& source, std::uint64_t total, std::string name, std::size_t window = kDefaultWindow);

    static constexpr std::size_t kDefaultWindow = std::size_t{256} << 10;

    std::size_t pos() const { return static_cast<std::size_t>(base_) + pos_; }
    std::size_t size() const { return static_cast<std::size_t>(total_); }
    std::size_t remaining() const { return static_cast<std::size_t>(total_ - base_) - pos_; }
    bool atEnd() const { return remaining() == 0; }
    void seek(std::size_t pos);  // fails when beyond the end
    void skip(std::size_t n);

    std::uint8_t readByte();
    std::uint16_t readUInt16();
    std::int32_t readInt32();
    std::uint32_t readUInt32();
    // Exactly n raw bytes.
    std::string_view readBytes(std::size_t n);
    // Exactly n raw bytes into `out` (replacing what it held), taken from the
    // source straight into `out` where they are not yet buffered.
    void readBytesInto(std::string& out, std::size_t n);
    // A length read from the file: fails when negative or beyond the bytes left.
    std::size_t checkedLength(std::int64_t n);
    // A fixed-width field: the bytes up to the first NUL (or all of them).
    std::string readFixed(std::size_t width);
    // Copies a fixed-width field exactly, NULs included, into `dest`.
    void readFixedInto(char* dest, std::size_t width);
    // A StringListBlock: int32 count, then per string int32 length and bytes.
    // Each string is cut at its first NUL. `list` is emptied first.
    void readStrings(StringList& list);

    // Throws the end-of-file error for this reader's file.
    [[noreturn]] void fail() const;

private:
    // At least n bytes buffered from pos_ on, or the end-of-file error.
    void need(std::size_t n) {
        if (n > data_.size() - pos_) fill(n);
    }
    void fill(std::size_t n);
    std::string_view data_;  // the buffered bytes; pos_ counts from their start
    std::string name_;
    std::size_t pos_ = 0;
    std::uint64_t base_ = 0;   // the offset of data_ in the whole input
    std::uint64_t total_ = 0;  // the size of the whole input
    ByteSource* source_ = nullptr;
    std::string buffer_;  // what data_ views when streaming
    std::size_t window_ = 0;
};

class BinaryWriter {
public:
    // Collects the bytes in memory (data(), take()).
    BinaryWriter() = default;
    // Hands the bytes to `sink` in pieces of about `chunk` bytes, and a long
    // run (a topic's text) straight from where it lies; flush() hands on the
    // rest. Nothing is kept once handed on.
    BinaryWriter(ByteSink sink, std::size_t chunk = kDefaultChunk);

    static constexpr std::size_t kDefaultChunk = std::size_t{256} << 10;

    void writeByte(std::uint8_t v);
    void writeUInt16(std::uint16_t v);
    void writeInt32(std::int32_t v);
    void writeUInt32(std::uint32_t v);
    void writeBytes(std::string_view bytes);
    // Writes `width` bytes: `s` cut to the width, then NUL padding.
    void writeFixed(std::string_view s, std::size_t width);
    void writeStrings(const StringList& list);
    // Hands what is collected to the sink (nothing without one).
    void flush();

    void reserve(std::size_t n) { buf_.reserve(n); }
    const std::string& data() const { return buf_; }
    std::string take() { return std::move(buf_); }
    // The bytes written so far, handed on or not.
    std::size_t size() const { return static_cast<std::size_t>(handed_) + buf_.size(); }

private:
    void spill() {
        if (sink_ && buf_.size() >= chunk_) flush();
    }
    std::string buf_;
    ByteSink sink_;
    std::size_t chunk_ = 0;
    std::uint64_t handed_ = 0;
};

}  // namespace qm
