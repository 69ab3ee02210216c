#include "model/ValueString.h"

namespace kivtal {

std::vector<std::string> SplitValues(std::string_view text, std::string_view sep) {
    std::vector<std::string> items;
    if (text.empty() || sep.empty()) return items;
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(sep, start)) != std::string_view::npos;) {
        items.emplace_back(text.substr(start, hit - start));
        start = hit + sep.size();
    }
    items.emplace_back(text.substr(start));
    return items;
}

}  // namespace kivtal
