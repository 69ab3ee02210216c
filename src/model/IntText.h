#pragma once
#include <cstdint>
#include <string_view>

namespace kivtal {

// The lenient text-to-integer rule the stored texts and value strings are read with:
// leading white space skipped, an optional sign, decimal digits up to the first other
// character; no digits gives 0. Values beyond the range clamp instead of overflowing.
std::int64_t LeadingInt64(std::string_view text);
int LeadingInt(std::string_view text);

}  // namespace kivtal
