#pragma once
// One read card turned into a contact record: N/FN, ORG, TITLE, TEL by type, EMAIL,
// URL, ADR, NOTE, BDAY, CATEGORIES, QQ (X-QQ or IMPP "qq:") and the X-KIVTAL-...
// properties this program writes. README.md lists the mapping.
#include <string>
#include <vector>

#include "model/Records.h"
#include "vcard/VCardReader.h"
#include "vcard/VCardText.h"

namespace kivtal::vcard {

struct CardContent {
    BusinessCard card;     // no ids, no pinyin, no group yet
    std::string category;  // the group named by CATEGORIES, or empty
};

struct CardProblem {
    int line = 0;
    std::string text;
};

// False, with the card's problem, when the reader could not take the card as it stands
// (cut off, too large). Otherwise true: a property whose value cannot be decoded
// (invalid quoted-printable or base64, an unknown charset) is left out and added to
// leftOut with its line, and the rest of the card is kept.
bool ContactFromVCard(const RawCard& raw, CharsetConverter& conv, CardContent& out, CardProblem& problem,
                      std::vector<CardProblem>& leftOut);

}  // namespace kivtal::vcard
