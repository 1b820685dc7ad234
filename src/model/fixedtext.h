#pragma once
// A fixed-width, zero-padded character field. The project file stores these
// fields at their full width, so the model keeps them in the same shape: the
// getter reads up to the first NUL (or the whole width), the setter zero-fills
// the field and copies at most `Capacity` bytes, up to the first NUL: what
// follows a NUL could never be read back, so it is not kept (and not saved).
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace qm {

template <std::size_t Width, std::size_t Capacity = Width>
class TFixedText {
    static_assert(Capacity <= Width, "capacity cannot exceed the field width");

public:
    static constexpr std::size_t width = Width;
    static constexpr std::size_t capacity = Capacity;

    TFixedText() { buf_.fill('\0'); }
    explicit TFixedText(std::string_view s) { Set(s); }

    std::string Get() const {
        const void* nul = std::memchr(buf_.data(), 0, Width);
        std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buf_.data()) : Width;
        return std::string(buf_.data(), n);
    }
    // What Get() gives, without a copy; valid while the field is unchanged.
    std::string_view View() const {
        const void* nul = std::memchr(buf_.data(), 0, Width);
        return std::string_view(buf_.data(),
                                nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buf_.data()) : Width);
    }
    void Set(std::string_view s) {
        buf_.fill('\0');
        std::size_t n = s.size() < Capacity ? s.size() : Capacity;
        if (const void* nul = n ? std::memchr(s.data(), 0, n) : nullptr)
            n = static_cast<std::size_t>(static_cast<const char*>(nul) - s.data());
        if (n) std::memcpy(buf_.data(), s.data(), n);
    }
    void Clear() { buf_.fill('\0'); }
    bool Empty() const { return buf_[0] == '\0'; }

    // Raw access for the file reader and writer: all `Width` bytes.
    char* data() { return buf_.data(); }
    const char* data() const { return buf_.data(); }

    bool operator==(const TFixedText&) const = default;

private:
    std::array<char, Width> buf_;
};

}  // namespace qm
