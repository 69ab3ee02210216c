#include "duplicates/DefaultMerge.h"

#include "duplicates/MergeChoices.h"
#include "store/ContactStore.h"

namespace kivtal::duplicates {

std::vector<int> EditedAt(const BusinessCardList& cards, const std::unordered_map<int, int>& editTimes) {
    std::vector<int> editedAt;
    for (const BusinessCard& c : cards) {
        const auto it = editTimes.find(c.bc_id);
        editedAt.push_back(it == editTimes.end() ? 0 : it->second);
    }
    return editedAt;
}

MergePlan ChosenPlan(const BusinessCardList& cards, std::size_t keeper, const std::vector<std::size_t>& choices) {
    MergePlan plan{cards[keeper], MergedContact(cards, keeper, choices), {}};
    for (std::size_t i = 0; i < cards.size(); ++i)
        if (i != keeper) plan.otherIds.push_back(cards[i].bc_id);
    return plan;
}

MergePlan DefaultPlan(const BusinessCardList& cards, std::size_t keeper,
                      const std::unordered_map<int, int>& editTimes) {
    return ChosenPlan(cards, keeper, DefaultChoices(cards, EditedAt(cards, editTimes), keeper));
}

int FindInStore(LocalStore& store, const FindOptions& options, BusinessCardList& contacts,
                std::vector<DuplicateGroup>& groups) {
    IgnoredPairs ignored;
    BusinessCardList read;
    if (ContactStore(store).AllContacts(read) != 0 || MergeStore(store).IgnoredPairs(ignored) != 0) return 1;
    FindOptions withIgnored = options;
    withIgnored.ignored = &ignored;
    groups = FindDuplicates(read, withIgnored);
    contacts = std::move(read);
    return 0;
}

int MergeNamed(LocalStore& store, int keepId, const std::vector<int>& otherIds, MergeUndo& undo) {
    ContactStore contacts(store);
    BusinessCardList cards(1 + otherIds.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const StoreStatus read = contacts.FindContact(i == 0 ? keepId : otherIds[i - 1], cards[i]);
        if (read == StoreStatus::kFailed) return 1;
        if (read == StoreStatus::kNotFound) return MergeStore::kNotLive;
    }
    std::unordered_map<int, int> editTimes;
    MergeStore merges(store);
    if (merges.EditTimes(editTimes) != 0) return 1;
    return merges.Merge({DefaultPlan(cards, 0, editTimes)}, undo);
}

int MergeAllFound(LocalStore& store, const FindOptions& options, MergeUndo& undo, int& merged) {
    BusinessCardList contacts;
    std::vector<DuplicateGroup> groups;
    std::unordered_map<int, int> editTimes;
    MergeStore merges(store);
    if (FindInStore(store, options, contacts, groups) != 0 || merges.EditTimes(editTimes) != 0) return 1;
    std::unordered_map<int, const BusinessCard*> byId;
    for (const BusinessCard& c : contacts) byId[c.bc_id] = &c;
    std::vector<MergePlan> plans;
    int count = 0;
    for (const DuplicateGroup& g : groups) {
        BusinessCardList cards;
        for (int id : g.bcIds) cards.push_back(*byId.at(id));
        plans.push_back(DefaultPlan(cards, DefaultKeeper(cards), editTimes));
        count += static_cast<int>(plans.back().otherIds.size());
    }
    if (plans.empty()) {
        merged = 0;
        return 0;
    }
    const int rc = merges.Merge(plans, undo);
    if (rc == 0) merged = count;
    return rc;
}

}  // namespace kivtal::duplicates
