#include "util/binio.h"

#include <cstring>
#include <stdexcept>

#include "util/errors.h"

namespace qm {

BinaryReader::BinaryReader(std::string_view data, std::string name)
    : data_(data), name_(std::move(name)), total_(data.size()) {}

BinaryReader::BinaryReader(ByteSource& source, std::uint64_t total, std::string name, std::size_t window)
    : name_(std::move(name)), total_(total), source_(&source), window_(window < 16 ? 16 : window) {}

void BinaryReader::fail() const { throw CreateFileAccessError(name_, true, winerr::HandleEof); }

void BinaryReader::fill(std::size_t n) {
    if (!source_ || n > remaining()) fail();
    // The unread bytes go to the front of the buffer, which grows only for a
    // single read larger than the window; the rest of it is filled.
    const std::size_t unread = data_.size() - pos_;
    const std::size_t room = n > window_ ? n : window_;
    if (buffer_.size() < room) {
        std::string bigger(room, '\0');
        if (unread) std::memcpy(bigger.data(), data_.data() + pos_, unread);
        buffer_.swap(bigger);
    } else if (unread) {
        std::memmove(buffer_.data(), data_.data() + pos_, unread);
    }
    base_ += pos_;
    pos_ = 0;
    const std::uint64_t left = total_ - base_;
    const std::size_t target = left < room ? static_cast<std::size_t>(left) : room;
    std::size_t have = unread;
    while (have < target) {
        const std::size_t got = source_->Read(buffer_.data() + have, target - have);
        if (got == 0) break;
        have += got;
    }
    data_ = std::string_view(buffer_.data(), have);
    if (have < n) fail();  // the input ended before its size
}

void BinaryReader::seek(std::size_t pos) {
    if (pos > size()) fail();
    if (pos >= base_) {
        const std::size_t at = pos - static_cast<std::size_t>(base_);
        if (at <= data_.size()) {
            pos_ = at;
            return;
        }
        skip(pos - this->pos());
        return;
    }
    // Only a streaming reader can be behind its position's buffer.
    throw std::logic_error("a streaming reader cannot seek back");
}

void BinaryReader::skip(std::size_t n) {
    if (n > remaining()) fail();
    while (n > data_.size() - pos_) {
        n -= data_.size() - pos_;
        pos_ = data_.size();
        need(n < window_ ? n : window_);
    }
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

void BinaryReader::readBytesInto(std::string& out, std::size_t n) {
    if (!source_ || n <= data_.size() - pos_ || n <= window_) {
        out.assign(readBytes(n));
        return;
    }
    // Longer than a window: what is buffered, then the rest from the source
    // straight into place.
    if (n > remaining()) fail();
    const std::size_t buffered = data_.size() - pos_;
    out.resize(n);
    if (buffered) std::memcpy(out.data(), data_.data() + pos_, buffered);
    for (std::size_t have = buffered; have < n;) {
        const std::size_t got = source_->Read(out.data() + have, n - have);
        if (got == 0) {
            out.clear();
            fail();
        }
        have += got;
    }
    base_ += data_.size() + (n - buffered);
    data_ = std::string_view(buffer_.data(), 0);
    pos_ = 0;
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

BinaryWriter::BinaryWriter(ByteSink sink, std::size_t chunk) : sink_(std::move(sink)), chunk_(chunk < 16 ? 16 : chunk) {
    buf_.reserve(chunk_ + 1024);
}

void BinaryWriter::flush() {
    if (!sink_ || buf_.empty()) return;
    sink_(buf_);
    handed_ += buf_.size();
    buf_.clear();  // the buffer is used again, while it is in the cache
}

void BinaryWriter::writeByte(std::uint8_t v) {
    buf_ += static_cast<char>(v);
    spill();
}

void BinaryWriter::writeUInt16(std::uint16_t v) {
    buf_ += static_cast<char>(v & 0xFF);
    buf_ += static_cast<char>(v >> 8);
    spill();
}

void BinaryWriter::writeUInt32(std::uint32_t v) {
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    buf_.append(b, 4);
    spill();
}

void BinaryWriter::writeInt32(std::int32_t v) { writeUInt32(static_cast<std::uint32_t>(v)); }

void BinaryWriter::writeBytes(std::string_view bytes) {
    if (sink_ && bytes.size() >= chunk_) {
        // A long run goes on from where it lies, after what came before it.
        flush();
        sink_(bytes);
        handed_ += bytes.size();
        return;
    }
    buf_.append(bytes);
    spill();
}

void BinaryWriter::writeFixed(std::string_view s, std::size_t width) {
    const std::size_t n = s.size() < width ? s.size() : width;
    buf_.append(s.data(), n);
    buf_.append(width - n, '\0');
    spill();
}

void BinaryWriter::writeStrings(const StringList& list) {
    writeInt32(static_cast<std::int32_t>(list.size()));
    for (const std::string& s : list) {
        writeInt32(static_cast<std::int32_t>(s.size()));
        writeBytes(s);
    }
}

}  // namespace qm
