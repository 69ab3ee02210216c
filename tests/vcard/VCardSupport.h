#pragma once
// Reads vCard text into contact contents, for tests of the reader and the mapping.
#include <sstream>
#include <string>
#include <vector>

#include "vcard/VCardReader.h"
#include "vcard/VCardToContact.h"

namespace kivtal::test {

struct ReadResult {
    std::vector<vcard::CardContent> cards;
    // Of cards not taken and of properties left out, in file order.
    std::vector<vcard::CardProblem> problems;
    int cardsSeen = 0;
};

inline ReadResult ReadVCards(const std::string& text) {
    std::istringstream in(text);
    vcard::VCardReader reader(in);
    vcard::CharsetConverter conv;
    ReadResult result;
    vcard::RawCard raw;
    while (reader.Next(raw)) {
        vcard::CardContent content;
        vcard::CardProblem problem;
        std::vector<vcard::CardProblem> leftOut;
        if (vcard::ContactFromVCard(raw, conv, content, problem, leftOut)) result.cards.push_back(std::move(content));
        else result.problems.push_back(problem);
        result.problems.insert(result.problems.end(), leftOut.begin(), leftOut.end());
    }
    result.cardsSeen = reader.cardsSeen();
    return result;
}

}  // namespace kivtal::test
