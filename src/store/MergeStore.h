#pragma once
// Merging contacts that are one person. A merge writes the kept contact with the chosen
// fields and a copy of every bank account of the others it does not hold yet, and puts
// the others in the trash (state 1, stamped), all in one transaction with the change-log
// entries, so every device shows the merged contact after its next sync. The kept
// contact keeps its row and server id. Its undo puts every row back as it was, again as
// edits that sync.
//
// Also the pairs of contacts the user said are not one person: a table of this device
// only (local ids), which never syncs.
//
// Every operation takes the store lock and opens the user database for its own run.
// Results: 0 when committed; kNotLive, with nothing written, when an id names no live
// contact or a contact is named twice; 1 when rolled back or the database failed; -1
// when the transaction could not begin.
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

// One merge: the kept contact as it was read and as the choices made it, and the
// contacts that go.
struct MergePlan {
    BusinessCard asRead;
    BusinessCard merged;
    std::vector<int> otherIds;
};

// What an undo needs: every row as it was before the merge, and the accounts it added.
struct MergeUndo {
    BusinessCardList keptBefore;
    BusinessCardList mergedAway;
    UserBankInfoList addedAccounts;
    bool operator==(const MergeUndo&) const = default;
};

class MergeStore {
public:
    static constexpr int kNotLive = 2;

    explicit MergeStore(LocalStore& store) : store_(store) {}

    // Every plan or none. Of `merged`, only the fields that differ from `asRead` are
    // written over the kept row as it is now, so a sync that landed since the read is
    // kept. On success `undo` receives what Undo needs; on failure it is untouched.
    int Merge(const std::vector<MergePlan>& plans, MergeUndo& undo);
    // Puts every row of the merges back as `undo` holds it and removes the added
    // accounts; 0, 1 or -1.
    int Undo(const MergeUndo& undo);

    // When each contact was last edited here: the time of its latest change-log entry,
    // by bc_id (contacts only ever received are missing). 0 or 1, out untouched on failure.
    int EditTimes(std::unordered_map<int, int>& out);

    // The highest local contact id, deleted rows included (0 for none): rows received
    // by a sync get higher ids than every row before them. 0 or 1.
    int NewestContactId(int& out);

    // Remembers every pair of the ids as not one person; 0, 1 or -1.
    int IgnoreGroup(const std::vector<int>& bcIds);
    // The remembered pairs, smaller id first, added to out; 0 or 1.
    int IgnoredPairs(std::set<std::pair<int, int>>& out);

private:
    LocalStore& store_;
};

}  // namespace kivtal
