#include "net/PictureHeader.h"

#include <cstdlib>

namespace kivtal {

namespace {

std::uint32_t Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
std::uint32_t BigEndian16(std::string_view b, std::size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
std::uint32_t LittleEndian16(std::string_view b, std::size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
std::uint32_t BigEndian32(std::string_view b, std::size_t i) { return BigEndian16(b, i) << 16 | BigEndian16(b, i + 2); }
std::uint32_t LittleEndian32(std::string_view b, std::size_t i) {
    return LittleEndian16(b, i) | LittleEndian16(b, i + 2) << 16;
}

// The frame header (SOF0..SOF15 but DHT, JPG and DAC) carries the size; every other
// segment before it is skipped by its length.
std::optional<PictureSize> JpegSize(std::string_view b) {
    std::size_t at = 2;
    while (at + 9 <= b.size()) {
        if (Byte(b, at) != 0xFF) return std::nullopt;
        const std::uint32_t marker = Byte(b, at + 1);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return PictureSize{BigEndian16(b, at + 7), BigEndian16(b, at + 5)};
        at += 2 + BigEndian16(b, at + 2);
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureSize> DeclaredPictureSize(std::string_view b) {
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n")
        return PictureSize{BigEndian32(b, 16), BigEndian32(b, 20)};
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return JpegSize(b);
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
        return PictureSize{LittleEndian16(b, 6), LittleEndian16(b, 8)};
    if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        // The height is negative for a top-down bitmap.
        const auto height = static_cast<std::int32_t>(LittleEndian32(b, 22));
        return PictureSize{LittleEndian32(b, 18), static_cast<std::uint32_t>(std::abs(height))};
    }
    return std::nullopt;
}

}  // namespace kivtal
