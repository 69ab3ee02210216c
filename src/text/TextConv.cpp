#include "text/TextConv.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

namespace kivtal {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char kUnmappable = '?';

// ---- UTF-8 <-> UTF-16, done by hand: it is hot (every SQL text) and must repair ----

// Allowed range of the byte after a lead byte; later trail bytes are always 80..BF.
// The narrowed ranges keep out overlong forms, encoded surrogates and code points
// past U+10FFFF.
struct Utf8Lead {
    int length;
    unsigned char low;
    unsigned char high;
};

Utf8Lead ClassifyLead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// An ill-formed sequence yields one U+FFFD for its longest valid prefix (at least one
// byte), so a stray byte never swallows the good character after it.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    const Utf8Lead info = ClassifyLead(lead);
    if (info.length == 0) return kReplacement;
    char32_t cp = lead & (0x7F >> info.length);
    for (int k = 1; k < info.length; ++k) {
        if (i >= s.size()) return kReplacement;
        const auto trail = static_cast<unsigned char>(s[i]);
        const unsigned char low = k == 1 ? info.low : 0x80;
        const unsigned char high = k == 1 ? info.high : 0xBF;
        if (trail < low || trail > high) return kReplacement;
        cp = (cp << 6) | (trail & 0x3F);
        ++i;
    }
    return cp;
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// A lone surrogate has no UTF-8 form; it becomes U+FFFD.
char32_t DecodeUtf16(std::u16string_view w, size_t& i) {
    const char16_t u = w[i++];
    if (u < 0xD800 || u > 0xDFFF) return u;
    if (IsHighSurrogate(u) && i < w.size() && IsLowSurrogate(w[i])) {
        return 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(w[i++]) - 0xDC00);
    }
    return kReplacement;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// ---- GBK through iconv ----

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr const char* kGbk = "CP936";

// Opening a descriptor costs far more than converting a name, so each thread keeps
// one per direction for its whole life.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (ok()) iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    iconv_t get() const {
        if (!ok()) throw std::runtime_error(kConvErrorText);
        return cd_;
    }

private:
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

iconv_t GbkToUtf16() {
    thread_local IconvHandle handle(kUtf16Native, kGbk);
    return handle.get();
}

iconv_t Utf16ToGbk() {
    thread_local IconvHandle handle(kGbk, kUtf16Native);
    return handle.get();
}

// What stands in for an input unit iconv refused, and how many input bytes it covers.
template <class Unit>
struct Substitute {
    Unit unit;
    size_t inputBytes;
};

// Runs iconv over the whole input. iconv stops at anything it cannot convert; there
// `repair` names the substitute, which is written in its place before going on.
template <class Out, class Repair>
Out ConvertRepairing(iconv_t cd, const char* in, size_t inBytes, size_t capacity, Repair repair) {
    using Unit = typename Out::value_type;
    Out out(capacity + 1, Unit{});
    size_t used = 0;  // bytes written to out
    auto* inPtr = const_cast<char*>(in);
    size_t inLeft = inBytes;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        auto* outBase = reinterpret_cast<char*>(out.data());
        char* outPtr = outBase + used;
        size_t outLeft = out.size() * sizeof(Unit) - used;
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        used = static_cast<size_t>(outPtr - outBase);
        if (rc != static_cast<size_t>(-1)) break;
        if (err == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        if (err != EILSEQ && err != EINVAL) throw std::runtime_error(kConvErrorText);
        if (out.size() * sizeof(Unit) - used < sizeof(Unit)) out.resize(out.size() * 2);
        const Substitute<Unit> sub = repair(inPtr, inLeft);
        std::memcpy(reinterpret_cast<char*>(out.data()) + used, &sub.unit, sizeof(Unit));
        used += sizeof(Unit);
        inPtr += sub.inputBytes;
        inLeft -= sub.inputBytes;
    }
    out.resize(used / sizeof(Unit));
    return out;
}

bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// A well-formed but undefined double-byte code is one bad character; otherwise only
// the first byte is dropped, so an ASCII byte after a stray lead byte survives.
Substitute<char16_t> RepairGbk(const char* p, size_t left) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    const bool pair = left >= 2 && IsGbkLead(b[0]) && IsGbkTrail(b[1]);
    return {static_cast<char16_t>(kReplacement), pair ? 2u : 1u};
}

// A character GBK lacks, a surrogate pair or a lone surrogate: one "?" each.
Substitute<char> RepairUtf16(const char* p, size_t left) {
    char16_t units[2] = {};
    std::memcpy(units, p, left >= 4 ? 4 : 2);
    const bool pair = left >= 4 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]);
    return {kUnmappable, pair ? 4u : 2u};
}

template <class Unit>
bool AllAscii(std::basic_string_view<Unit> s) {
    for (Unit c : s) {
        if (static_cast<std::make_unsigned_t<Unit>>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::u16string Utf8ToWide(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) AppendUtf16(out, DecodeUtf8(utf8, i));
    return out;
}

std::string WideToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    for (size_t i = 0; i < wide.size();) AppendUtf8(out, DecodeUtf16(wide, i));
    return out;
}

// ASCII is the same in GBK; most texts (SQL, numbers, keys) skip iconv entirely.
std::u16string AnsiToWide(std::string_view gbk) {
    if (AllAscii(gbk)) return std::u16string(gbk.begin(), gbk.end());
    // One GBK byte or pair never yields more than one UTF-16 unit.
    return ConvertRepairing<std::u16string>(GbkToUtf16(), gbk.data(), gbk.size(), gbk.size(), RepairGbk);
}

std::string WideToAnsi(std::u16string_view wide) {
    if (AllAscii(wide)) return std::string(wide.begin(), wide.end());
    // One UTF-16 unit never yields more than two GBK bytes.
    return ConvertRepairing<std::string>(Utf16ToGbk(), reinterpret_cast<const char*>(wide.data()),
                                         wide.size() * sizeof(char16_t), wide.size() * 2, RepairUtf16);
}

std::string Utf8ToAnsi(std::string_view utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

std::string AnsiToUtf8(std::string_view gbk) { return WideToUtf8(AnsiToWide(gbk)); }

std::u16string Utf8CharsToWide(const char* utf8z) noexcept {
    if (utf8z == nullptr) return {};
    try {
        return Utf8ToWide(utf8z);
    } catch (...) {
        return {};
    }
}

std::unique_ptr<char[]> WideToAnsiBuffer(std::u16string_view wide) noexcept {
    try {
        const std::string gbk = WideToAnsi(wide);
        auto buffer = std::make_unique<char[]>(gbk.size() + 1);  // zero-filled
        std::memcpy(buffer.get(), gbk.data(), gbk.size());
        return buffer;
    } catch (...) {
        return std::unique_ptr<char[]>(new (std::nothrow) char[1]{});
    }
}

}  // namespace kivtal
