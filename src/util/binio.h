#pragma once
// Bounded little-endian binary reading and writing over memory buffers. Files
// are read whole, then parsed; every count and length is checked against the
// bytes left before anything is allocated or read.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "util/qorstring.h"

namespace qm {

class BinaryReader {
public:
    // `name` is the file name used in the error message when the data ends
    // early: "Cannot access <name> - Unexpected end of file found.".
    BinaryReader(std::string_view data, std::string name);
    // The reader only views its data: a temporary would dangle.
    template <class S, std::enable_if_t<std::is_same_v<S, std::string>, int> = 0>
    BinaryReader(S&& data, std::string name) = delete;

    std::size_t pos() const { return pos_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ == data_.size(); }
    void seek(std::size_t pos);  // fails when beyond the end
    void skip(std::size_t n);

    std::uint8_t readByte();
    std::uint16_t readUInt16();
    std::int32_t readInt32();
    std::uint32_t readUInt32();
    // Exactly n raw bytes.
    std::string_view readBytes(std::size_t n);
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
    void need(std::size_t n) const;
    std::string_view data_;
    std::string name_;
    std::size_t pos_ = 0;
};

class BinaryWriter {
public:
    void writeByte(std::uint8_t v);
    void writeUInt16(std::uint16_t v);
    void writeInt32(std::int32_t v);
    void writeUInt32(std::uint32_t v);
    void writeBytes(std::string_view bytes);
    // Writes `width` bytes: `s` cut to the width, then NUL padding.
    void writeFixed(std::string_view s, std::size_t width);
    void writeStrings(const StringList& list);

    void reserve(std::size_t n) { buf_.reserve(n); }
    const std::string& data() const { return buf_; }
    std::string take() { return std::move(buf_); }
    std::size_t size() const { return buf_.size(); }

private:
    std::string buf_;
};

}  // namespace qm
