#pragma once
// The field reader: the text lines read off a business card, with their places and
// sizes, turned into contact fields, each with a confidence. Pure text work (no
// picture, no engine), so it is tested on lines alone.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kivtal::cards {

// One line as the recogniser found it: UTF-8 text, its box in pixels and the engine's
// own confidence in it (0-100).
struct TextLine {
    std::string text;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int confidence = 100;
};

enum class CardField { kName, kCompany, kPosition, kMobile, kOfficePhone, kFax, kEmail, kWebSite, kQq, kAddress };
inline constexpr int kCardFieldCount = 10;

// The key `kivtal-cli contacts show --json` prints the field under ("name", "company",
// "office_phone", "web_site", "company_address", ...).
std::string_view CardFieldKey(CardField field);

struct FieldReading {
    std::string value;   // empty: not found
    int confidence = 0;  // 0-100; 0 when not found
};

// Below this a field is a guess: callers show it as one or leave it out.
inline constexpr int kConfidentReading = 60;

struct CardReading {
    std::array<FieldReading, kCardFieldCount> fields;

    FieldReading& operator[](CardField f) { return fields[static_cast<int>(f)]; }
    const FieldReading& operator[](CardField f) const { return fields[static_cast<int>(f)]; }
    // How many fields were found at all.
    int FoundCount() const;
};

// Reads the fields from the lines (in any order; reading order is taken from their
// boxes). Numbers come back as digits: mobiles as 11 digits, landlines as
// "area-number" ("021-62345678"); texts with the engine's spaces between Chinese
// characters removed and full-width letters, digits and marks made ASCII.
CardReading ReadCardFields(const std::vector<TextLine>& lines);

// The text of a line as the reader sees it: full-width forms made ASCII, the spaces
// the engine puts between Chinese characters removed, runs of spaces made one, trimmed.
std::string NormaliseLineText(std::string_view text);

}  // namespace kivtal::cards
