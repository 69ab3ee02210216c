#pragma once
// Which characters a person's name may hold. Names come from every script and every
// address book, so the rule refuses what no name is written with rather than listing
// what names are: control and formatting characters, the value separator the record
// strings are joined with, emoji and pictographs, and the symbol blocks. Letters of
// any script (with their combining accents), digits, spaces and the marks names use
// (· ' ’ - . , and parentheses, in their full-width forms too) pass.
#include <optional>
#include <string>
#include <string_view>

namespace kivtal {

struct RefusedNameChar {
    std::size_t offset = 0;  // UTF-16 units from the start of the text
    std::string shown;       // how a message names it (UTF-8): the character quoted, or its code
};

// The first character of text a name may not hold; nullopt when every one may.
std::optional<RefusedNameChar> FirstRefusedNameChar(std::u16string_view text);

}  // namespace kivtal
