#include "net/PictureHeader.h"

#include <gtest/gtest.h>

#include <string>

namespace kivtal {
namespace {

std::string Png(std::uint32_t w, std::uint32_t h) {
    std::string b = "\x89PNG\r\n\x1a\n" + std::string("\0\0\0\rIHDR", 8);
    for (std::uint32_t v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((v >> shift) & 0xFF);
    return b;
}

// SOI, an APP0 segment to skip, then a baseline frame header.
std::string Jpeg(std::uint16_t w, std::uint16_t h) {
    std::string b = "\xFF\xD8\xFF\xE0" + std::string("\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 16);
    b += std::string("\xFF\xC0\0\x11\x08", 5);
    b += {static_cast<char>(h >> 8), static_cast<char>(h & 0xFF), static_cast<char>(w >> 8),
          static_cast<char>(w & 0xFF)};
    return b + std::string(12, '\0');
}

TEST(PictureHeader, ReadsTheDeclaredSizeOfEachFormat) {
    const struct {
        const char* name;
        std::string bytes;
        std::optional<std::pair<std::uint32_t, std::uint32_t>> size;
    } cases[] = {
        {"png", Png(640, 480), std::pair{640u, 480u}},
        {"png bomb", Png(100000, 100000), std::pair{100000u, 100000u}},
        {"jpeg after an app segment", Jpeg(1024, 768), std::pair{1024u, 768u}},
        {"gif", std::string("GIF89a\x20\x03\x58\x02", 10), std::pair{800u, 600u}},
        {"bmp top-down", "BM" + std::string(16, '\0') + std::string("\x10\0\0\0\xF0\xFF\xFF\xFF", 8),
         std::pair{16u, 16u}},
        {"png cut short", Png(640, 480).substr(0, 20), std::nullopt},
        {"jpeg without a frame", Jpeg(10, 10).substr(0, 22), std::nullopt},
        {"not a picture", "<html>", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto size = DeclaredPictureSize(c.bytes);
        ASSERT_EQ(size.has_value(), c.size.has_value());
        if (size) EXPECT_EQ(std::pair(size->width, size->height), *c.size);
    }
}

}  // namespace
}  // namespace kivtal
