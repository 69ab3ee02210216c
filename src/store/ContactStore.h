#pragma once
// The user's contacts (tb_bc), their bank accounts (tb_ubank_info) and the contact
// groups (tb_bc_group). Every public operation takes the store lock and opens the
// user database for its own run; every write commits its rows together with their
// change-log entries or leaves everything as it was.
//
// Results: writes return a StoreStatus: kOk when committed; kRefused, before anything
// is written, when a text holds the value-string separator; kNotFound when the row to
// change is not there; kBusy when the transaction could not begin; kFailed when the
// database failed. On any failure the caller's record is left exactly as it was
// handed in (no half-assigned ids). Reads return 0 or 1; a failed contact read leaves
// the caller's list as it was.
#include <functional>
#include <string>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "store/StoreStatus.h"
#include "store/SqliteDb.h"

namespace kivtal {

// What a contact-list row shows of a contact (the command line's list prints the
// pinyin too).
struct ContactSummary {
    int bc_id = 0;
    std::string bc_name;
    std::string bc_name_pinyin;
    std::string cell_phone;
    std::string mail;
    std::string company_name;
    std::string position;
    int group_id = 0;
    int common_use = 0;
    // Not shown, but searched (ContactSearch.h).
    std::string home_phone;
    std::string fix_phone;
};
using ContactSummaryList = std::vector<ContactSummary>;

// The contact list's selections, with the same rows and order as the full reads.
// Which live contacts the list shows: a scope (the chosen group entry), narrowed by a
// letter of the letter bar or a search term, in an order.
struct ContactListQuery {
    enum class Scope { All, Common, Group };
    enum class Match {
        Everything,
        Prefix,         // text: a literal prefix of the name pinyin ("%" and "_" plain)
        WithoutLetter,  // name pinyin not starting with A-Z
        Search,         // text: a literal substring of name, phones, mail, company or
                        // position, or the name's pinyin as PinyinMatches takes it
    };
    enum class Order { NameAsc, NameDesc, NewestFirst, OldestFirst };

    Scope scope = Scope::All;
    int groupId = 0;  // for Scope::Group
    Match match = Match::Everything;
    std::string text;
    Order order = Order::NameAsc;
};

class ContactStore {
public:
    explicit ContactStore(LocalStore& store) : store_(store) {}

    // --- Contact writes. The store fills the name pinyin (a renamed contact gets a new
    // one) and the server group id from the group row (DerivedFields.h). ---
    // Adds the contact and its bank accounts; writes the new ids into the record.
    StoreStatus AddContact(BusinessCard& card);
    // Rewrites every column by bc_id, then adds or modifies its bank accounts.
    StoreStatus ModifyContact(BusinessCard& card);
    // An editor's save: `asRead` is the contact as the editor read it, `edited` the same
    // record after the user's changes. In one transaction, only the fields (and bank
    // accounts) that differ between the two are written over the row as it is now;
    // every other field keeps its current value, so a sync that landed since the read
    // is kept. The change-log entry carries the merged row. On success `edited` holds
    // the stored contact with all its accounts; 1 also when the row is gone.
    StoreStatus SaveContactEdit(const BusinessCard& asRead, BusinessCard& edited);
    // Soft delete: bc_state becomes 1 in the record and the row, which keeps the time
    // for the trash (TrashStore).
    StoreStatus DeleteContact(BusinessCard& card);
    // Soft deletes of several contacts, as stored, in one transaction: all or none (1
    // also when an id names no row).
    StoreStatus DeleteContacts(const std::vector<int>& bcIds);

    // --- Contact group writes. ---
    StoreStatus AddGroup(CardGroup& group);
    StoreStatus ModifyGroup(const CardGroup& group);
    StoreStatus DeleteGroup(CardGroup& group);  // soft delete; the group's contacts stay as they are

    // --- Contact reads (live contacts only, each with all its bank accounts). ---
    int ContactById(int bcId, BusinessCard& out);  // 1 when there is no such row
    int ContactByServerId(int serverId, BusinessCard& out);
    int AllContacts(BusinessCardList& out);  // table order
    int AllContactsByName(bool descending, BusinessCardList& out);
    int AllContactsByAge(bool descending, BusinessCardList& out);
    int ContactsOfGroup(int groupId, BusinessCardList& out);
    int CommonContacts(BusinessCardList& out);
    // Name pinyin starting with prefix (ASCII letters in either case); "%" and "_" in
    // the prefix are plain characters.
    int ContactsByPrefix(const std::string& prefix, BusinessCardList& out);
    // Name pinyin not starting with an ASCII letter (the "#" entry of the index).
    int ContactsWithoutLetter(BusinessCardList& out);
    // term as a substring of name, phones, mail, company or position. "%" and "_" in
    // the term are LIKE wildcards, as the command line has always offered them.
    int Search(const std::string& term, BusinessCardList& out);

    // Appends 0..25 for every letter some live contact's pinyin starts with, then 26
    // when some live contact's pinyin starts with anything else. On a failed query the
    // entries found so far stay.
    int AlphabetIndex(std::vector<int>& out);
    // The number of live contacts and of the common ones among them; both left as they
    // were on a failed query.
    int ContactCounts(int& live, int& common);

    // Live contacts for the list, without their bank accounts; appended on success.
    int ContactSummaries(const ContactListQuery& query, ContactSummaryList& out);
    // The same rows handed to `each` one by one as they are read, for a list printed as
    // it goes; on a failure the rows handed before it stay handed.
    int EachContactSummary(const ContactListQuery& query, const std::function<void(const ContactSummary&)>& each);
    // AlphabetIndex's entries in one pass over the table, for the contacts of query's
    // scope (its match and order do not count).
    int FirstLetters(const ContactListQuery& query, std::vector<int>& out);

    // --- Group reads. ---
    // Live groups with their count of live contacts. On a failed count the groups
    // already appended stay.
    int ContactGroups(CardGroupList& out);
    // The live groups alone, count 0: for pickers, which need no member counts.
    int ContactGroupNames(CardGroupList& out);
    int GroupById(int groupId, CardGroup& out);  // 1 when there is no such row

    // The by-id reads with their answer told apart: no such row, or a database that
    // failed. `out` is untouched unless the row was found.
    StoreStatus FindContact(int bcId, BusinessCard& out);
    StoreStatus FindGroup(int groupId, CardGroup& out);

private:
    LocalStore& store_;
};

// --- Helpers on a connection the caller holds, inside the caller's transaction (the
// sync engine and bulk tools write through these). 0 on success, 1 on failure (the
// contact writes: a StoreStatus); a failure must roll back the caller's transaction. ---

// Inserts the row, logs the add, then adds every bank account with its own entry.
StoreStatus InsertContact(SqliteDb& db, BusinessCard& card);
// Rewrites the row (1 when no row has the bc_id), logs the change, saves the accounts.
StoreStatus UpdateContact(SqliteDb& db, BusinessCard& card);
// The contact with its bank accounts; 1 when there is no such row or a query fails.
int ReadContact(SqliteDb& db, int bcId, BusinessCard& out);
// Inserts the group, writes its new id into the record and logs the add.
int InsertGroup(SqliteDb& db, CardGroup& group);
// Appends the live groups (without member counts).
int ReadLiveGroups(SqliteDb& db, CardGroupList& out);

}  // namespace kivtal
