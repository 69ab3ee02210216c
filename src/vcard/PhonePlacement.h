#pragma once
// The TEL values of one card, placed in the contact's four phone fields once the whole
// card has been read, so that the order of the lines never lets one number take the
// field another number's type names.
#include <string>
#include <vector>

#include "model/Records.h"
#include "vcard/VCardReader.h"

namespace kivtal::vcard {

class PhonePlacement {
public:
    // Remembers one TEL value (its "tel:" already dropped). False, remembering nothing,
    // when the value is another kind of address ("sip:", "xmpp:", ...): no number.
    bool Add(const VCardProperty& p, std::string number);

    // Typed numbers first, each in its own field (CELL mobile, WORK office, HOME home,
    // FAX fax; of two of one type the one PREF ranks first), then the untyped and the
    // second ones, in file order, into the free mobile, office and home fields; a
    // number with no room left is added to extras as a "Tel: ..." line.
    void Place(BusinessCard& card, std::vector<std::string>& extras);

private:
    enum class Kind { Mobile, Office, Home, Fax, Untyped };
    struct Number {
        std::string text;
        Kind kind = Kind::Untyped;
        int rank = 0;  // PREF: lower first
    };
    static std::string* FieldOf(BusinessCard& card, Kind kind);

    std::vector<Number> numbers_;
};

// Whether the text starts with a URI scheme ("sip:", "mailto:") other than "tel:".
bool HasNonTelScheme(std::string_view text);

}  // namespace kivtal::vcard
