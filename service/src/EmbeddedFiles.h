#pragma once
// Files built into the program (service/demo/): the demo account's book and its
// pictures, so the service needs no data folder of its own to seed it.
#include <optional>
#include <string_view>

namespace kivtal::service {

// The bytes of the embedded file of that name, or nullopt when there is none.
std::optional<std::string_view> EmbeddedFile(std::string_view name);

}  // namespace kivtal::service
