#pragma once
// The names of each kind's value-string fields, in the order the client writes them,
// with the value a field takes when a data file leaves it out. Only data files that
// describe records by name need this; the feed itself works on positions.
#include <span>
#include <string_view>

namespace kivtal::service {

struct FieldSpec {
    std::string_view name;
    std::string_view fallback;  // "0" (or "1") for a number, "" for a text
};

// The fields of `kind` (ValueLayout's kinds), empty for a kind no data file writes.
std::span<const FieldSpec> FieldsOf(int kind);

}  // namespace kivtal::service
