#pragma once
// What a merge keeps by default, and the kept contact a set of choices makes. No store:
// the window shows the defaults and lets the user change them, the command line takes
// them as they are.
#include <cstddef>
#include <vector>

#include "model/Records.h"

namespace kivtal::duplicates {

// The contact whose row and server id a merge keeps: the one the service numbered first,
// else (none synced yet) the one stored first here. Every device that merges the same
// group keeps the same contact, so no two devices delete each other's kept one.
// `cards` is not empty.
std::size_t DefaultKeeper(const BusinessCardList& cards);

// For each field of MergeFields(), the index into `cards` of the contact whose value is
// kept: the non-empty value of the most recently edited contact (`editedAt`, one per
// card: seconds since 1970, 0 when unknown; later rows count as newer on a tie); the
// group, and a field empty everywhere, from the keeper.
std::vector<std::size_t> DefaultChoices(const BusinessCardList& cards, const std::vector<int>& editedAt,
                                        std::size_t keeper);

// The keeper with the chosen fields (`choices` as DefaultChoices gives them). A phone
// number or e-mail address of any of the contacts that none of the kept number fields
// or the kept address holds is added to the comment as the import adds numbers it has
// no field for ("Tel: …", "E-mail: …"), unless the comment already has that line. Bank
// accounts are the keeper's; the store adds the others'.
BusinessCard MergedContact(const BusinessCardList& cards, std::size_t keeper, const std::vector<std::size_t>& choices);

}  // namespace kivtal::duplicates
