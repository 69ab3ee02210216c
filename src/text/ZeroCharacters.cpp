#include "text/ZeroCharacters.h"

#include <algorithm>

namespace kivtal {

std::size_t DropZeroCharacters(std::string& text) {
    const auto kept = std::remove(text.begin(), text.end(), '\0');
    const auto dropped = static_cast<std::size_t>(text.end() - kept);
    text.erase(kept, text.end());
    return dropped;
}

}  // namespace kivtal
