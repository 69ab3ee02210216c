#pragma once
// Choosing one text from several readings of the same type (different sizes, the grey
// and the inked picture): the engine's slips change from one reading to the next, what
// the type says does not.
#include <optional>
#include <string>
#include <vector>

namespace kivtal::cards {

struct Reading {
    std::string text;
    int confidence = 0;
};

// The reading most readings agree on; the first on a tie; none when there are none.
std::optional<std::string> MostVoted(const std::vector<std::optional<std::string>>& votes);

// A Chinese name from the readings that have a name's shape: the length most of them
// have, and at each place the character most of those readings put there; at the first
// place a common surname goes before a character that is none. Equal votes go to the
// readings the engine was surer of. The confidence is the surest of the readings that
// say the whole name (their mean when none does), at least `agreed` when two or more
// and most of the name readings say it. None when no reading is a Chinese name.
std::optional<Reading> VoteName(const std::vector<Reading>& readings, int agreed);

}  // namespace kivtal::cards
