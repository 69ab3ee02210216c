#pragma once
// Conversions between the three encodings the client meets: UTF-8 (the core's own
// text, the store and the wire), UTF-16 (where rules count UTF-16 code units, and
// the windows) and GBK, code page 936 (the pinyin converter's input, the bytes the
// request key digests, the change-list escaping).
//
// The throwing conversions report failures with std::runtime_error carrying one of
// three fixed texts. Malformed input is not a failure: an invalid UTF-8 sequence, a
// lone surrogate on the way to UTF-8 and a byte sequence GBK does not define become
// U+FFFD; a character GBK cannot hold becomes "?". The whole input is converted,
// embedded zeros included, so nothing after a stray zero is dropped.
//
// Safe from any thread: each thread keeps its own iconv descriptors.
#include <memory>
#include <string>
#include <string_view>

namespace kivtal {

inline constexpr const char* kConvErrorText = "Error in conversion.";
inline constexpr const char* kConvMismatchText = "La falla!";
inline constexpr const char* kConvInvalidText = "Invalid UTF-8 sequence.";

std::u16string Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view wide);
std::u16string AnsiToWide(std::string_view gbk);
std::string WideToAnsi(std::u16string_view wide);
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view gbk);

// Never throw. A null pointer or a failure yields an empty text.
std::u16string Utf8CharsToWide(const char* utf8z) noexcept;
// A new zero-terminated GBK buffer for C-style callers. On failure it holds the empty
// text; it is null only when not even that byte can be allocated.
std::unique_ptr<char[]> WideToAnsiBuffer(std::u16string_view wide) noexcept;

}  // namespace kivtal
