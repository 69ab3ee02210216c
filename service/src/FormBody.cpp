#include "FormBody.h"

namespace kivtal::service {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

template <typename Decode>
FormFields SplitPairs(std::string_view body, std::string_view tailName, Decode decode) {
    FormFields fields;
    while (!body.empty()) {
        const auto eq = body.find('=');
        const auto amp = body.find('&');
        const bool hasValue = eq != std::string_view::npos && (amp == std::string_view::npos || eq < amp);
        const std::string name = decode(body.substr(0, hasValue ? eq : amp));
        if (hasValue && !tailName.empty() && name == tailName) {
            fields.emplace(name, std::string(body.substr(eq + 1)));
            break;
        }
        const std::string_view value =
            hasValue ? body.substr(eq + 1, amp == std::string_view::npos ? amp : amp - eq - 1) : std::string_view{};
        if (!name.empty()) fields.emplace(name, decode(value));
        if (amp == std::string_view::npos) break;
        body.remove_prefix(amp + 1);
    }
    return fields;
}

}  // namespace

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' && plusIsSpace) {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

FormFields ParseClientForm(std::string_view body, std::string_view tailName) {
    return SplitPairs(body, tailName, [](std::string_view s) { return std::string(s); });
}

FormFields ParseBrowserForm(std::string_view body) {
    return SplitPairs(body, {}, [](std::string_view s) { return PercentDecode(s, true); });
}

std::string_view Field(const FormFields& fields, std::string_view name) {
    const auto it = fields.find(name);
    return it == fields.end() ? std::string_view{} : std::string_view(it->second);
}

}  // namespace kivtal::service
