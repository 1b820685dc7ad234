#include "util/binio.h"

#include <cstring>

#include "util/errors.h"

namespace qm {

BinaryReader::BinaryReader(std::string_view data, std::string name) : data_(data), name_(std::move(name)) {}

void BinaryReader::fail() const { throw CreateFileAccessError(name_, true, winerr::HandleEof); }

void BinaryReader::need(std::size_t n) const {
    if (n > remaining()) fail();
}

void BinaryReader::seek(std::size_t pos) {
    if (pos > data_.size()) fail();
    pos_ = pos;
}

void BinaryReader::skip(std::size_t n) {
    need(n);
    pos_ += n;
}

std::uint8_t BinaryReader::readByte() {
    need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint16_t BinaryReader::readUInt16() {
    need(2);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t BinaryReader::readUInt32() {
    need(4);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
    pos_ += 4;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t BinaryReader::readInt32() { return static_cast<std::int32_t>(readUInt32()); }

std::string_view BinaryReader::readBytes(std::size_t n) {
    need(n);
    std::string_view r = data_.substr(pos_, n);
    pos_ += n;
    return r;
}

std::size_t BinaryReader::checkedLength(std::int64_t n) {
    if (n < 0 || static_cast<std::uint64_t>(n) > remaining()) fail();
    return static_cast<std::size_t>(n);
}

std::string BinaryReader::readFixed(std::size_t width) {
    std::string_view raw = readBytes(width);
    const std::size_t nul = raw.find('\0');
    return std::string(nul == std::string_view::npos ? raw : raw.substr(0, nul));
}

void BinaryReader::readFixedInto(char* dest, std::size_t width) {
    std::string_view raw = readBytes(width);
    if (width > 0) std::memcpy(dest, raw.data(), width);
}

void BinaryReader::readStrings(StringList& list) {
    list.clear();
    const std::int32_t count = readInt32();
    // Every string takes at least its 4-byte length, which bounds the count.
    if (count < 0 || static_cast<std::uint64_t>(count) * 4 > remaining()) fail();
    list.reserve(static_cast<std::size_t>(count));
    for (std::int32_t k = 0; k < count; ++k) {
        const std::size_t len = checkedLength(readInt32());
        std::string_view raw = readBytes(len);
        const std::size_t nul = raw.find('\0');
        list.emplace_back(nul == std::string_view::npos ? raw : raw.substr(0, nul));
    }
}

void BinaryWriter::writeByte(std::uint8_t v) { buf_ += static_cast<char>(v); }

void BinaryWriter::writeUInt16(std::uint16_t v) {
    buf_ += static_cast<char>(v & 0xFF);
    buf_ += static_cast<char>(v >> 8);
}

void BinaryWriter::writeUInt32(std::uint32_t v) {
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    buf_.append(b, 4);
}

void BinaryWriter::writeInt32(std::int32_t v) { writeUInt32(static_cast<std::uint32_t>(v)); }

void BinaryWriter::writeBytes(std::string_view bytes) { buf_.append(bytes); }

void BinaryWriter::writeFixed(std::string_view s, std::size_t width) {
    const std::size_t n = s.size() < width ? s.size() : width;
    buf_.append(s.data(), n);
    buf_.append(width - n, '\0');
}

void BinaryWriter::writeStrings(const StringList& list) {
    writeInt32(static_cast<std::int32_t>(list.size()));
    for (const std::string& s : list) {
        writeInt32(static_cast<std::int32_t>(s.size()));
        buf_.append(s);
    }
}

}  // namespace qm
