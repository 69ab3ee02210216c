#pragma once
// Reads vCard text (2.1, 3.0 and 4.0) card by card from a stream, as phones, web mail
// and desktop address books write it: lines ending in LF, CR LF, CR CR LF or CR alone,
// UTF-8 with or without a byte-order mark or UTF-16 (Utf8Input.h), lines folded with a
// space or a tab, quoted-printable soft breaks, group prefixes ("item1.TEL") and
// bare 2.1 parameters ("TEL;CELL;PREF"). Values are handed out still encoded and
// escaped; VCardDecode.h turns them into text.
//
// Memory stays bounded whatever the input: a line longer than kMaxLineBytes is dropped
// while it is read, and a card holding more than kMaxCardBytes is cut off and reported.
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "vcard/Utf8Input.h"

namespace kivtal::vcard {

inline constexpr std::size_t kMaxLineBytes = 1 << 20;
inline constexpr std::size_t kMaxCardBytes = 4 << 20;

struct VCardParam {
    std::string name;   // upper case; a bare 2.1 parameter is named TYPE or ENCODING
    std::string value;  // one value of a list; quotes removed
};

struct VCardProperty {
    std::string group;  // "item1" of "item1.TEL", or empty
    std::string name;   // upper case
    std::vector<VCardParam> params;
    std::string value;  // raw
    int line = 0;       // where it starts in the file, from 1

    // Whether some TYPE parameter equals type (ASCII case ignored).
    bool hasType(std::string_view type) const;
    // The first value of the named parameter, or empty.
    std::string param(std::string_view name) const;
};

struct RawCard {
    int line = 0;  // the line of its BEGIN:VCARD
    std::string version;
    std::vector<VCardProperty> properties;
    // A card that cannot be taken as it stands (no END:VCARD, too large): the reason
    // and the line it concerns. Such a card must not be imported.
    std::string error;
    int errorLine = 0;
    // Properties left out (over-long lines), one text each with its line.
    std::vector<std::pair<int, std::string>> dropped;
};

class VCardReader {
public:
    explicit VCardReader(std::istream& in) : in_(in) {}

    // The next card; false at the end of the input. Text outside cards is skipped; a
    // card starts at a line ending in BEGIN:VCARD (junk before it is ignored there) and
    // ends at a line starting with END:VCARD (junk after it is ignored).
    bool Next(RawCard& card);

    std::uint64_t bytesRead() const { return in_.bytesRead(); }
    int cardsSeen() const { return cardsSeen_; }
    // The first line outside a card that holds BEGIN:VCARD with more after it, or 0:
    // why a file that names a card yields none.
    int strayBeginLine() const { return strayBeginLine_; }

private:
    struct Line {
        std::string text;
        int number = 0;
        bool overlong = false;
    };
    bool ReadPhysical(Line& line);
    bool Buffered(std::size_t count);
    void SkipLineEnd();
    bool PeekPhysical(const Line*& line);
    bool ReadLogical(Line& line);
    void SkipNestedCard();

    Utf8Input in_;
    std::vector<char> buffer_ = std::vector<char>(1 << 16);
    std::size_t bufPos_ = 0;
    std::size_t bufEnd_ = 0;
    bool eof_ = false;
    int lineNumber_ = 0;
    int cardsSeen_ = 0;
    int strayBeginLine_ = 0;
    Line peeked_;
    bool hasPeeked_ = false;
    Line pendingLogical_;  // a BEGIN line that ended a card without END
    bool hasPendingLogical_ = false;
};

// Splits one unfolded line into its parts; false when it has no ':' (a 2.1 base64
// continuation, or noise), which callers ignore.
bool ParseProperty(std::string_view line, VCardProperty& out);

}  // namespace kivtal::vcard
