#pragma once
// The contact list's search over rows already read: a search box searches the chosen
// group on every keystroke, and asking the store each time costs a query over every
// contact, with the pinyin of each name worked out again. ContactSearch answers from
// memory exactly what ContactSummaries answers for Match::Search over the same rows:
// the rows whose name, phones, e-mail, company or position hold the term as it is
// (ASCII letters in either case, as SQL's LIKE compares them), or whose name the term
// spells in pinyin (PinyinMatches), in the rows' order.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/ContactStore.h"

namespace kivtal {

class ContactSearch {
public:
    // Keeps what the search needs of the rows (not the rows themselves).
    explicit ContactSearch(const ContactSummaryList& rows);

    // The indexes of the matching rows, ascending (all of them for an empty term). A
    // term that continues the previous one looks only through the rows it found.
    const std::vector<int>& Find(std::string_view term);

private:
    struct Row {
        std::string texts;  // the searched texts, ASCII lower-cased, each ended by '\0'
        std::string name;
        std::string pinyin;
        std::optional<std::vector<std::string>> syllables;  // worked out when first asked
    };

    bool Matches(Row& row, std::string_view folded, std::string_view term) const;

    std::vector<Row> rows_;
    std::string lastTerm_;
    std::vector<int> found_;
};

}  // namespace kivtal
