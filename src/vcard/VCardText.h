#pragma once
// ASCII helpers for vCard names and parameters, and the decoding of vCard values:
// quoted-printable, base64, charsets through iconv, backslash escapes and the ';' and
// ',' separated components of structured values.
#include <iconv.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kivtal::vcard {

bool EqualsAscii(std::string_view a, std::string_view b);  // ASCII case ignored
bool ContainsAscii(std::string_view text, std::string_view part);
std::string UpperAscii(std::string_view text);
std::string_view Trimmed(std::string_view text);  // spaces and tabs at both ends

bool IsValidUtf8(std::string_view text);

// False on a '=' not followed by two hex digits. A trailing '=' (a soft break the
// reader already joined) is dropped.
bool DecodeQuotedPrintable(std::string_view in, std::string& out);
// Standard alphabet; white space is skipped; false on any other character.
bool DecodeBase64(std::string_view in, std::string& out);

// Converts to UTF-8 through iconv, keeping one descriptor per charset for the life of
// the converter. Bytes the charset does not define become U+FFFD.
class CharsetConverter {
public:
    CharsetConverter() = default;
    ~CharsetConverter();
    CharsetConverter(const CharsetConverter&) = delete;
    CharsetConverter& operator=(const CharsetConverter&) = delete;

    // False when iconv does not know the charset.
    bool ToUtf8(std::string_view charset, std::string_view bytes, std::string& out);

private:
    std::map<std::string, iconv_t> open_;
};

// Cuts a raw value at every separator not escaped by a backslash; the parts keep
// their escapes.
std::vector<std::string> SplitUnescaped(std::string_view value, char sep);
// Undoes "\\", "\n", "\N", "\,", "\;" and "\:"; another backslash stays as written.
std::string Unescape(std::string_view value);

}  // namespace kivtal::vcard
