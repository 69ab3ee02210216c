#include "cards/CardFields.h"

#include <algorithm>
#include <optional>

#include "cards/CardLabels.h"
#include "cards/CardShapes.h"
#include "cards/CardText.h"
#include "text/TextConv.h"

namespace kivtal::cards {
namespace {

struct Line {
    std::string text;  // normalised
    int top = 0, left = 0, height = 0;
    int confidence = 100;
};

// A field offered by one piece of a line; the reader keeps the surest per field.
struct Offer {
    CardField field;
    std::string value;
    int score = 0;
};

// The engine's doubt about a line lowers what it offers: at most by half.
int Weighted(int score, int lineConfidence) { return score * (50 + std::clamp(lineConfidence, 0, 100) / 2) / 100; }

std::optional<std::string> NumberFor(CardField field, std::string_view value) {
    switch (field) {
        case CardField::kMobile: return MobileNumber(value);
        case CardField::kOfficePhone:
        case CardField::kFax: return Landline(value);
        case CardField::kQq: return QqNumber(value);
        default: return std::nullopt;
    }
}

// A labelled piece: the label says the field, the value must still fit it. A mobile
// under a Tel label goes to the mobile.
std::optional<Offer> LabelledOffer(CardField field, const std::string& value) {
    if (field == CardField::kEmail) {
        if (auto e = EmailAddress(value)) return Offer{field, *e, 95};
        return std::nullopt;
    }
    if (field == CardField::kWebSite) {
        if (auto w = WebAddress(value, true)) return Offer{field, *w, 90};
        return std::nullopt;
    }
    if (field == CardField::kAddress) return value.empty() ? std::nullopt : std::optional(Offer{field, value, 85});
    if (auto n = NumberFor(field, value)) return Offer{field, *n, 95};
    if (field != CardField::kMobile && field != CardField::kQq)
        if (auto m = MobileNumber(value)) return Offer{CardField::kMobile, *m, 85};
    if (field == CardField::kMobile)
        if (auto l = Landline(value)) return Offer{CardField::kOfficePhone, *l, 70};
    return std::nullopt;
}

// An unlabelled piece: its shape alone says what it is.
std::optional<Offer> ShapedOffer(const std::string& value) {
    if (auto e = EmailAddress(value)) return Offer{CardField::kEmail, *e, 90};
    if (auto w = WebAddress(value, false)) return Offer{CardField::kWebSite, *w, 85};
    const bool numeric = HasDigit(value) && CountCjk(value) == 0 && !HasLatinLetter(value);
    if (numeric) {
        if (auto m = MobileNumber(value)) return Offer{CardField::kMobile, *m, 85};
        if (auto l = Landline(value)) return Offer{CardField::kOfficePhone, *l, 65};
        return std::nullopt;
    }
    // A label the engine misread ("FHL +86 188 3843 7393"): the number still has its shape.
    if (auto m = MobileNumber(NumberRun(value))) return Offer{CardField::kMobile, *m, 75};
    if (int c = CompanyScore(value); c >= 70) return Offer{CardField::kCompany, value, c};
    if (const int a = AddressScore(value); a >= 60) return Offer{CardField::kAddress, value, a};
    if (HasPositionWord(value) && !HasDigit(value) && CountChars(value) <= 40) {
        return Offer{CardField::kPosition, value, CountCjk(value) > 0 ? 80 : 75};
    }
    return std::nullopt;
}

int MedianHeight(const std::vector<Line>& lines) {
    std::vector<int> heights;
    for (const Line& l : lines) heights.push_back(l.height);
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    return std::max(1, heights[heights.size() / 2]);
}

void Keep(CardReading& reading, const Offer& offer, int lineConfidence) {
    FieldReading& f = reading[offer.field];
    const int score = Weighted(offer.score, lineConfidence);
    if (score > f.confidence) f = {offer.value, score};
}

// The name: the largest short line that has a name's shape.
std::optional<Offer> NameOffer(std::string_view text, int height, int median) {
    if (HasDigit(text) || text.find('@') != std::string::npos || CompanyScore(text) > 0) return std::nullopt;
    const int shape = NameShapeScore(text);
    if (shape == 0) return std::nullopt;
    const int size = std::min(25, 25 * (height - median) / median);
    return Offer{CardField::kName, std::string(text), std::clamp(shape - 20 + size, 0, 98)};
}

// A tall line that runs the name into the title ("张伟 总经理", read as one line):
// the part before the title word is the name, the rest the position.
bool SplitNameAndTitle(CardReading& reading, const Line& line, int median) {
    const std::size_t title = PositionWordAt(line.text);
    if (title == std::string::npos || title == 0 || line.height * 10 < median * 13) return false;
    const std::optional<Offer> name = NameOffer(Trim(line.text.substr(0, title)), line.height, median);
    if (!name) return false;
    Keep(reading, *name, line.confidence);
    Keep(reading, {CardField::kPosition, line.text.substr(title), 75}, line.confidence);
    return true;
}

std::vector<Line> Normalised(const std::vector<TextLine>& lines) {
    std::vector<Line> out;
    for (const TextLine& l : lines) {
        std::string text = NormaliseLineText(l.text);
        if (!text.empty()) out.push_back({std::move(text), l.top, l.left, l.height, l.confidence});
    }
    std::stable_sort(out.begin(), out.end(), [](const Line& a, const Line& b) { return a.top < b.top; });
    return out;
}

// Reads the labelled and shaped pieces of every line; what is left over may be a name.
CardReading ReadPieces(const std::vector<Line>& lines, int median, std::vector<const Line*>& leftOver) {
    CardReading reading;
    for (const Line& line : lines) {
        if (SplitNameAndTitle(reading, line, median)) continue;
        bool used = false;
        for (const LineSegment& seg : SplitLabelled(line.text)) {
            std::optional<Offer> offer = seg.label ? LabelledOffer(*seg.label, seg.value) : ShapedOffer(seg.value);
            if (!offer && seg.label) offer = ShapedOffer(line.text);  // "Office Manager" is no phone label
            if (!offer) continue;
            Keep(reading, *offer, line.confidence);
            used = true;
        }
        if (!used) leftOver.push_back(&line);
    }
    return reading;
}

}  // namespace

std::string_view CardFieldKey(CardField field) {
    constexpr std::string_view kKeys[] = {"name", "company", "position", "mobile", "office_phone",
                                          "fax",  "email",   "web_site", "qq",     "company_address"};
    return kKeys[static_cast<int>(field)];
}

int CardReading::FoundCount() const {
    return static_cast<int>(
        std::count_if(fields.begin(), fields.end(), [](const FieldReading& f) { return !f.value.empty(); }));
}

std::string NormaliseLineText(std::string_view text) {
    std::u16string wide = Utf8ToWide(text);
    for (char16_t& c : wide) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);
        else if (c == 0x3000 || c == u'\t') c = u' ';
        else if (c == 0x2014 || c == 0x2013 || c == 0x2212) c = u'-';
    }
    std::u16string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == u' ') {
            std::size_t j = i;
            while (j < wide.size() && wide[j] == u' ') ++j;
            // The engine spaces every Chinese character; a space next to one, or
            // before a colon, is the engine's, not the card's.
            const bool spurious =
                !out.empty() && j < wide.size() && (IsCjk(out.back()) || IsCjk(wide[j]) || wide[j] == u':');
            if (!out.empty() && j < wide.size() && !spurious) out += u' ';
            i = j - 1;
            continue;
        }
        out += wide[i];
    }
    return WideToUtf8(out);
}

CardReading ReadCardFields(const std::vector<TextLine>& input) {
    const std::vector<Line> lines = Normalised(input);
    if (lines.empty()) return {};
    const int median = MedianHeight(lines);
    std::vector<const Line*> leftOver;
    CardReading reading = ReadPieces(lines, median, leftOver);
    for (const Line* line : leftOver) {
        if (auto name = NameOffer(line->text, line->height, median)) Keep(reading, *name, line->confidence);
        else if (CompanyScore(line->text) > 0) Keep(reading, {CardField::kCompany, line->text, 55}, line->confidence);
    }
    return reading;
}

}  // namespace kivtal::cards
