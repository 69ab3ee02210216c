#pragma once
// The pixel size a downloaded picture declares in its header, read without decoding
// it: a small file can declare a picture whose decoding would take gigabytes.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kivtal {

struct PictureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Pictures larger than this are not kept: the biggest advertisement or news picture
// is a few megapixels.
inline constexpr std::uint64_t kMaxPicturePixels = 40'000'000;

// The size declared by a PNG, JPEG, GIF or BMP header at the start of `bytes`;
// nullopt for another format or a header cut short.
std::optional<PictureSize> DeclaredPictureSize(std::string_view bytes);

}  // namespace kivtal
