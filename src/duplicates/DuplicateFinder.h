#pragma once
// Which live contacts are probably one person, found through hash indexes of their keys
// (DuplicateKeys.h), never by comparing every pair: one pass over the contacts and one
// over the keys, so ten thousand contacts take milliseconds.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/Records.h"

namespace kivtal::duplicates {

enum class Reason {
    Exact,      // equal in every field a person writes
    Phone,      // a mobile or office number in common
    Mail,       // the same e-mail address
    Name,       // the same name and company
    NameOrder,  // the same Latin name in the other order, and the same company
    Pinyin,     // names of the same pinyin, and the same company
};

struct GroupReason {
    Reason reason;
    std::string value;  // the key they share: the number, the address, the name
    bool operator==(const GroupReason&) const = default;
};

struct DuplicateGroup {
    std::vector<int> bcIds;  // ascending
    std::vector<GroupReason> reasons;
};

// Pairs of bc_ids (smaller first) the user said are not one person.
using IgnoredPairs = std::set<std::pair<int, int>>;

struct FindOptions {
    bool exactOnly = false;  // only contacts equal in every field (Reason::Exact)
    const IgnoredPairs* ignored = nullptr;
};

// The groups among `contacts` (live ones, with their bank accounts and stored pinyin),
// by their smallest bc_id. A group every pair of which is ignored is left out.
std::vector<DuplicateGroup> FindDuplicates(const BusinessCardList& contacts, const FindOptions& options = {});

// "same mobile or office phone", ...: the words the window and the command line show.
const char* ReasonText(Reason reason);
// "phone", "mail", ...: the JSON's name.
const char* ReasonKey(Reason reason);

}  // namespace kivtal::duplicates
