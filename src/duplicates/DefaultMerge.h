#pragma once
// Merges with the default choices, for the command line and the main window's offer
// after a sync: the plan of one group, the merge of named contacts, and the merge of
// every group found.
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "duplicates/DuplicateFinder.h"
#include "store/LocalStore.h"
#include "store/MergeStore.h"

namespace kivtal::duplicates {

// Each card's time in editTimes (as MergeStore::EditTimes gives them), 0 when missing.
std::vector<int> EditedAt(const BusinessCardList& cards, const std::unordered_map<int, int>& editTimes);

// The plan that merges `cards` into cards[keeper] with these choices (one index into
// cards per MergeFields() entry).
MergePlan ChosenPlan(const BusinessCardList& cards, std::size_t keeper, const std::vector<std::size_t>& choices);

// The plan that merges `cards` into cards[keeper] with DefaultChoices (editTimes as
// MergeStore::EditTimes gives them).
MergePlan DefaultPlan(const BusinessCardList& cards, std::size_t keeper, const std::unordered_map<int, int>& editTimes);

// Reads the live contacts and the remembered pairs, and finds the groups not ignored.
// 0, or 1 when the store fails (groups then untouched).
int FindInStore(LocalStore& store, const FindOptions& options, BusinessCardList& contacts,
                std::vector<DuplicateGroup>& groups);

// Merges the others into keepId with the default choices, in one transaction. The
// MergeStore results (kNotLive when an id names no live contact or twice).
int MergeNamed(LocalStore& store, int keepId, const std::vector<int>& otherIds, MergeUndo& undo);

// Merges every group FindInStore finds into its DefaultKeeper, all in one transaction.
// `merged` receives the number of contacts that went to the trash. The MergeStore
// results; 0 with merged 0 when there was nothing to merge.
int MergeAllFound(LocalStore& store, const FindOptions& options, MergeUndo& undo, int& merged);

}  // namespace kivtal::duplicates
