#include "TypedText.h"

namespace kivtal::service {

namespace {

// C0 and C1 controls, DEL, and the bidirectional marks, embeddings, overrides and isolates.
bool IsUnprintable(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x061C;
}

// Decodes one character at `i` and moves past it; nullopt for malformed UTF-8,
// overlong forms and surrogates included.
std::optional<char32_t> NextChar(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || i + extra > s.size()) return std::nullopt;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i++]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

}  // namespace

std::optional<std::size_t> PrintableLength(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) {
        const auto c = NextChar(utf8, i);
        if (!c || IsUnprintable(*c)) return std::nullopt;
    }
    return count;
}

}  // namespace kivtal::service
