// Contact lists, search and the alphabet index.
#include <sqlite3.h>

#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"
#include "store/SqlFunctions.h"

namespace kivtal {
namespace {

constexpr int kLetters = 26;
constexpr int kNotALetter = 26;  // the index entry after Z

constexpr const char* kById = "where bc_id= ?;";
constexpr const char* kByServerId = "where bc_server_id= ?;";
constexpr const char* kLive = "where bc_state = 0;";
constexpr const char* kByNameAsc = "where bc_state = 0 order by bc_name_pinyin ASC;";
constexpr const char* kByNameDesc = "where bc_state = 0 order by bc_name_pinyin DESC;";
constexpr const char* kByAgeAsc = "where bc_state = 0 order by bc_id ASC;";
constexpr const char* kByAgeDesc = "where bc_state = 0 order by bc_id DESC;";
constexpr const char* kOfGroup = "where group_id= ? and bc_state=?";
constexpr const char* kCommon = "where common_use =1 and bc_state = 0 ";
constexpr const char* kByPrefix = "where bc_name_pinyin LIKE ? ESCAPE '\\' and bc_state = 0 ";
constexpr const char* kWithoutLetter = "where bc_state = 0 and getFirstLetterNotAZ(bc_name_pinyin);";
// ?1 fills all seven alternatives with the one pattern.
constexpr const char* kSearch =
    "WHERE (bc_name LIKE ?1 OR cell_phone LIKE ?1 OR home_phone LIKE ?1 OR fix_phone LIKE ?1 OR "
    "mail LIKE ?1 OR company_name LIKE ?1 OR position LIKE ?1) and bc_state = 0;";

constexpr const char* kLetterExists = "SELECT bc_id FROM tb_bc where bc_name_pinyin LIKE ? and bc_state=0;";
constexpr const char* kNonLetterExists =
    "SELECT bc_id FROM tb_bc where getFirstLetterNotAZ(bc_name_pinyin) and bc_state=0;";

// A prefix matches literally: "%" and "_" in it are not wildcards.
std::string LiteralPrefixPattern(const std::string& prefix) {
    std::string out;
    out.reserve(prefix.size() + 1);
    for (char c : prefix) {
        if (c == '%' || c == '_' || c == '\\') out += '\\';
        out += c;
    }
    return out + '%';
}

int ReadList(LocalStore& store, const char* where, const SqlArgs& args, BusinessCardList& out) {
    return contacts::RunRead(store, [&](SqliteDb& db) { return contacts::ReadContacts(db, where, args, out); });
}

StoreStatus FindOne(LocalStore& store, const char* where, int id, BusinessCard& out) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return StoreStatus::kFailed;
    return contacts::ReadOneContact(session.db(), where, {Arg(id)}, out);
}

int ReadOne(LocalStore& store, const char* where, int id, BusinessCard& out) {
    return ResultOf(FindOne(store, where, id, out));
}

// Appends 0..25 for the letters that start some live pinyin, through one statement.
int AppendLetters(SqliteDb& db, std::vector<int>& out) {
    SqliteStatement letterExists(db.raw(), kLetterExists);
    for (int i = 0; i < kLetters; ++i) {
        bool found = false;
        const std::string pattern{static_cast<char>('A' + i), '%'};
        if (contacts::QueryHasRow(letterExists, {Arg(pattern)}, found) != 0) return 1;
        if (found) out.push_back(i);
    }
    return 0;
}

}  // namespace

int ReadContact(SqliteDb& db, int bcId, BusinessCard& out) {
    return ResultOf(contacts::ReadOneContact(db, kById, {Arg(bcId)}, out));
}

int ContactStore::ContactById(int bcId, BusinessCard& out) { return ReadOne(store_, kById, bcId, out); }

StoreStatus ContactStore::FindContact(int bcId, BusinessCard& out) { return FindOne(store_, kById, bcId, out); }

int ContactStore::ContactByServerId(int serverId, BusinessCard& out) {
    return ReadOne(store_, kByServerId, serverId, out);
}

int ContactStore::AllContacts(BusinessCardList& out) { return ReadList(store_, kLive, {}, out); }

int ContactStore::AllContactsByName(bool descending, BusinessCardList& out) {
    return ReadList(store_, descending ? kByNameDesc : kByNameAsc, {}, out);
}

int ContactStore::AllContactsByAge(bool descending, BusinessCardList& out) {
    return ReadList(store_, descending ? kByAgeDesc : kByAgeAsc, {}, out);
}

int ContactStore::ContactsOfGroup(int groupId, BusinessCardList& out) {
    return ReadList(store_, kOfGroup, {Arg(groupId), Arg(0)}, out);
}

int ContactStore::CommonContacts(BusinessCardList& out) { return ReadList(store_, kCommon, {}, out); }

int ContactStore::ContactsByPrefix(const std::string& prefix, BusinessCardList& out) {
    return ReadList(store_, kByPrefix, {Arg(LiteralPrefixPattern(prefix))}, out);
}

int ContactStore::ContactsWithoutLetter(BusinessCardList& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        if (RegisterFirstLetterNotAZ(db) != SQLITE_OK) return 1;
        return contacts::ReadContacts(db, kWithoutLetter, {}, out);
    });
}

int ContactStore::Search(const std::string& term, BusinessCardList& out) {
    return ReadList(store_, kSearch, {Arg("%" + term + "%")}, out);
}

int ContactStore::AlphabetIndex(std::vector<int>& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        if (RegisterFirstLetterNotAZ(db) != SQLITE_OK) return 1;
        if (AppendLetters(db, out) != 0) return 1;
        SqliteStatement nonLetterExists(db.raw(), kNonLetterExists);
        bool found = false;
        if (contacts::QueryHasRow(nonLetterExists, {}, found) != 0) return 1;
        if (found) out.push_back(kNotALetter);
        return 0;
    });
}

}  // namespace kivtal
