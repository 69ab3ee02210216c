#pragma once
// What a person may type as a login name or a password: valid UTF-8 without control
// characters (NUL included) and without the invisible direction marks that make one
// name display as another.
#include <cstddef>
#include <optional>
#include <string_view>

namespace kivtal::service {

// The number of characters, or nullopt when the text is not printable as above.
std::optional<std::size_t> PrintableLength(std::string_view utf8);

}  // namespace kivtal::service
