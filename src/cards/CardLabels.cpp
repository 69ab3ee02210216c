#include "cards/CardLabels.h"

#include "cards/CardText.h"

namespace kivtal::cards {
namespace {

struct Label {
    std::string_view text;
    CardField field;
};

// Longer labels before the shorter ones they start with.
// clang-format off: one label a cell reads better than the formatter's one a line
constexpr Label kLabels[] = {
    {"手机号码", CardField::kMobile},
    {"移动电话", CardField::kMobile},
    {"手机号", CardField::kMobile},
    {"手机", CardField::kMobile},
    {"Mobile", CardField::kMobile},
    {"Mob", CardField::kMobile},
    {"Cell", CardField::kMobile},
    {"MP", CardField::kMobile},
    {"M", CardField::kMobile},
    {"办公电话", CardField::kOfficePhone},
    {"电话", CardField::kOfficePhone},
    {"座机", CardField::kOfficePhone},
    {"Telephone", CardField::kOfficePhone},
    {"Tel", CardField::kOfficePhone},
    {"Phone", CardField::kOfficePhone},
    {"Office", CardField::kOfficePhone},
    {"T", CardField::kOfficePhone},
    {"传真", CardField::kFax},
    {"Fax", CardField::kFax},
    {"F", CardField::kFax},
    {"电子邮箱", CardField::kEmail},
    {"电子邮件", CardField::kEmail},
    {"邮箱", CardField::kEmail},
    {"电邮", CardField::kEmail},
    {"E-mail", CardField::kEmail},
    {"Email", CardField::kEmail},
    {"Mail", CardField::kEmail},
    {"E", CardField::kEmail},
    {"网址", CardField::kWebSite},
    {"网站", CardField::kWebSite},
    {"主页", CardField::kWebSite},
    {"Website", CardField::kWebSite},
    {"Web", CardField::kWebSite},
    {"URL", CardField::kWebSite},
    {"W", CardField::kWebSite},
    {"QQ", CardField::kQq},
    {"公司地址", CardField::kAddress},
    {"地址", CardField::kAddress},
    {"Address", CardField::kAddress},
    {"Addr", CardField::kAddress},
    {"Add", CardField::kAddress},
    {"A", CardField::kAddress},
};
// clang-format on

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The length of the label with its colon and spaces, when `label` stands at `at`.
std::size_t MatchAt(std::string_view line, std::size_t at, const Label& label, bool first) {
    const std::string_view rest = line.substr(at);
    if (!StartsWithNoCase(rest, label.text)) return 0;
    std::size_t end = label.text.size();
    const bool latin = IsAsciiLetter(label.text[0]);
    if (latin && end < rest.size() && IsAsciiLetter(rest[end])) return 0;  // part of a longer word
    if (end < rest.size() && rest[end] == '.') ++end;
    const bool colon = end < rest.size() && rest[end] == ':';
    if (colon) ++end;
    if (latin && !colon && (label.text.size() == 1 || !first)) return 0;
    if (latin && !colon && end < rest.size() && rest[end] != ' ') return 0;
    while (end < rest.size() && rest[end] == ' ') ++end;
    return end;
}

struct Found {
    std::size_t at = 0, length = 0;
    CardField field{};
};

std::optional<Found> LabelAt(std::string_view line, std::size_t at) {
    const bool first = at == 0;
    if (!first && line[at - 1] != ' ') return std::nullopt;
    for (const Label& label : kLabels)
        if (const std::size_t n = MatchAt(line, at, label, first)) return Found{at, n, label.field};
    return std::nullopt;
}

}  // namespace

std::vector<LineSegment> SplitLabelled(std::string_view line) {
    std::vector<LineSegment> segments;
    LineSegment current;
    std::size_t start = 0;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const std::optional<Found> found = LabelAt(line, at);
        if (!found) continue;
        current.value = Trim(line.substr(start, at - start));
        if (current.label || !current.value.empty()) segments.push_back(current);
        current = LineSegment{found->field, {}};
        start = at + found->length;
        at = start - 1;
    }
    current.value = Trim(line.substr(start));
    if (current.label || !current.value.empty()) segments.push_back(current);
    return segments;
}

}  // namespace kivtal::cards
