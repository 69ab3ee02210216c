#pragma once
// The value string: a record's fields in a fixed order joined by the field separator.
// It is a wire format shared with the service, stored verbatim in the change log, so
// texts are not escaped inside it.
#include <string>
#include <string_view>
#include <vector>

namespace kivtal {

// U+007E U+9EA4 U+005E in UTF-8.
inline constexpr std::string_view kValueSeparator = "~\xE9\xBA\xA4^";

// Cuts text at every occurrence of sep: n separators give n + 1 items, empty ones
// included. An empty text or an empty separator gives no items at all.
std::vector<std::string> SplitValues(std::string_view text, std::string_view sep);

}  // namespace kivtal
