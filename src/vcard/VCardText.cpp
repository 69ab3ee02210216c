#include "vcard/VCardText.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace kivtal::vcard {
namespace {

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = UpperChar(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// GB2312 and GBK labels often stand over text that uses the wider set.
std::string IconvName(std::string_view charset) {
    const std::string upper = UpperAscii(Trimmed(charset));
    if (upper == "GB2312" || upper == "GBK" || upper == "CP936" || upper == "X-GBK") return "GB18030";
    return upper;
}

}  // namespace

bool EqualsAscii(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperChar(x) == UpperChar(y); });
}

bool ContainsAscii(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
        if (EqualsAscii(text.substr(i, part.size()), part)) return true;
    return false;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperChar(c);
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool IsValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        int more = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more) return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        const std::uint32_t min = more == 1 ? 0x80 : more == 2 ? 0x800 : 0x10000;
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        p += more + 1;
    }
    return true;
}

bool DecodeQuotedPrintable(std::string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out += in[i];
            continue;
        }
        if (i + 1 == in.size()) break;
        if (i + 2 >= in.size()) return false;
        const int hi = HexValue(in[i + 1]);
        const int lo = HexValue(in[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

bool DecodeBase64(std::string_view in, std::string& out) {
    out.clear();
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : in) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '=') break;
        const int v = Base64Value(c);
        if (v < 0) return false;
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        if (++count == 4) {
            out += static_cast<char>((bits >> 16) & 0xFF);
            out += static_cast<char>((bits >> 8) & 0xFF);
            out += static_cast<char>(bits & 0xFF);
            bits = 0;
            count = 0;
        }
    }
    if (count == 1) return false;
    if (count == 2) out += static_cast<char>((bits >> 4) & 0xFF);
    if (count == 3) {
        out += static_cast<char>((bits >> 10) & 0xFF);
        out += static_cast<char>((bits >> 2) & 0xFF);
    }
    return true;
}

CharsetConverter::~CharsetConverter() {
    for (auto& [name, cd] : open_) iconv_close(cd);
}

bool CharsetConverter::ToUtf8(std::string_view charset, std::string_view bytes, std::string& out) {
    const std::string name = IconvName(charset);
    auto it = open_.find(name);
    if (it == open_.end()) {
        iconv_t cd = iconv_open("UTF-8", name.c_str());
        if (cd == reinterpret_cast<iconv_t>(-1)) return false;
        it = open_.emplace(name, cd).first;
    }
    iconv_t cd = it->second;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char chunk[4096];
    while (inLeft > 0) {
        char* dst = chunk;
        std::size_t dstLeft = sizeof chunk;
        const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(chunk, dst - chunk);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        out += kReplacement;  // EILSEQ, or EINVAL: a sequence cut off at the end
        if (errno == EINVAL) break;
        ++in;
        --inLeft;
    }
    return true;
}

std::vector<std::string> SplitUnescaped(std::string_view value, char sep) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            parts.back() += value[i];
            parts.back() += value[++i];
        } else if (value[i] == sep) {
            parts.emplace_back();
        } else {
            parts.back() += value[i];
        }
    }
    return parts;
}

std::string Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char next = value[i + 1];
        if (next == 'n' || next == 'N') out += '\n';
        else if (next == '\\' || next == ',' || next == ';' || next == ':') out += next;
        else {
            out += '\\';
            continue;
        }
        ++i;
    }
    return out;
}

}  // namespace kivtal::vcard
