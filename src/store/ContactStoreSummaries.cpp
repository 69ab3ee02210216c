// The contact list's reads: only the columns a list row shows, no bank accounts, so a
// list of ten thousand contacts is one light query.
#include <sqlite3.h>

#include <algorithm>
#include <functional>

#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"
#include "store/SqlFunctions.h"

namespace kivtal {
namespace {

using Query = ContactListQuery;

constexpr const char* kColumns =
    "SELECT bc_id,bc_name,bc_name_pinyin,cell_phone,mail,company_name,position,group_id,common_use,home_phone,"
    "fix_phone FROM tb_bc ";

// Every argument is numbered (?1 the text, ?2 the group), so clauses combine freely.
std::string ScopeClause(Query::Scope scope) {
    switch (scope) {
        case Query::Scope::All: return {};
        case Query::Scope::Common: return " and common_use = 1";
        case Query::Scope::Group: return " and group_id = ?2";
    }
    return {};
}

std::string MatchClause(Query::Match match) {
    switch (match) {
        case Query::Match::Everything: return {};
        case Query::Match::Prefix: return " and bc_name_pinyin LIKE ?1 || '%' ESCAPE '\\'";
        case Query::Match::WithoutLetter: return " and getFirstLetterNotAZ(bc_name_pinyin)";
        case Query::Match::Search:
            return " and (bc_name LIKE '%' || ?1 || '%' ESCAPE '\\' OR cell_phone LIKE '%' || ?1 || '%' ESCAPE '\\' OR "
                   "home_phone LIKE '%' || ?1 || '%' ESCAPE '\\' OR fix_phone LIKE '%' || ?1 || '%' ESCAPE '\\' OR "
                   "mail LIKE '%' || ?1 || '%' ESCAPE '\\' OR company_name LIKE '%' || ?1 || '%' ESCAPE '\\' OR "
                   "position LIKE '%' || ?1 || '%' ESCAPE '\\' OR pinyinMatches(bc_name, bc_name_pinyin, ?3))";
    }
    return {};
}

const char* OrderClause(Query::Order order) {
    switch (order) {
        case Query::Order::NameAsc: return " order by bc_name_pinyin ASC, bc_id ASC;";
        case Query::Order::NameDesc: return " order by bc_name_pinyin DESC, bc_id DESC;";
        case Query::Order::NewestFirst: return " order by bc_id DESC;";
        case Query::Order::OldestFirst: return " order by bc_id ASC;";
    }
    return ";";
}

// The text as a LIKE pattern of itself: "%", "_" and the escape are plain characters.
std::string Literal(const std::string& text) {
    std::string pattern;
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern;
}

// Binds the numbered arguments the statement uses: a clause left out leaves its number
// unused, and binding past the highest one in use is an error.
int BindUsed(SqliteStatement& stmt, SqlArgs args) {
    if (!stmt.ok()) return SQLITE_ERROR;
    args.resize(std::min<std::size_t>(args.size(), sqlite3_bind_parameter_count(stmt.raw())));
    return stmt.bind(args);
}

int RegisterFunctions(SqliteDb& db) {
    const int rc = RegisterFirstLetterNotAZ(db);
    return rc == SQLITE_OK ? RegisterPinyinMatches(db) : rc;
}

}  // namespace

int ContactStore::EachContactSummary(const ContactListQuery& query,
                                     const std::function<void(const ContactSummary&)>& each) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        if (RegisterFunctions(db) != SQLITE_OK) return 1;
        const std::string sql = std::string(kColumns) + "where bc_state = 0" + ScopeClause(query.scope) +
                                MatchClause(query.match) + OrderClause(query.order);
        SqliteStatement stmt(db.raw(), sql);
        if (BindUsed(stmt, {Arg(Literal(query.text)), Arg(query.groupId), Arg(query.text)}) != SQLITE_OK) return 1;
        int rc;
        ContactSummary s;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            s.bc_id = contacts::ColumnInt(stmt, 0);
            s.bc_name = contacts::ColumnText(stmt, 1);
            s.bc_name_pinyin = contacts::ColumnText(stmt, 2);
            s.cell_phone = contacts::ColumnText(stmt, 3);
            s.mail = contacts::ColumnText(stmt, 4);
            s.company_name = contacts::ColumnText(stmt, 5);
            s.position = contacts::ColumnText(stmt, 6);
            s.group_id = contacts::ColumnInt(stmt, 7);
            s.common_use = contacts::ColumnInt(stmt, 8);
            s.home_phone = contacts::ColumnText(stmt, 9);
            s.fix_phone = contacts::ColumnText(stmt, 10);
            each(s);
        }
        return rc == SQLITE_DONE ? 0 : 1;
    });
}

int ContactStore::ContactSummaries(const ContactListQuery& query, ContactSummaryList& out) {
    ContactSummaryList rows;
    if (EachContactSummary(query, [&](const ContactSummary& s) { rows.push_back(s); }) != 0) return 1;
    out.insert(out.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return 0;
}

int ContactStore::FirstLetters(const ContactListQuery& query, std::vector<int>& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        const std::string sql = "SELECT DISTINCT upper(substr(bc_name_pinyin,1,1)) FROM tb_bc where bc_state = 0" +
                                ScopeClause(query.scope) + ";";
        SqliteStatement stmt(db.raw(), sql);
        if (BindUsed(stmt, {Arg(std::string()), Arg(query.groupId)}) != SQLITE_OK) return 1;
        bool present[27] = {};
        int rc;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            const std::string first = contacts::ColumnText(stmt, 0);
            const bool letter = first.size() == 1 && first[0] >= 'A' && first[0] <= 'Z';
            present[letter ? first[0] - 'A' : 26] = true;
        }
        if (rc != SQLITE_DONE) return 1;
        for (int i = 0; i < 27; ++i)
            if (present[i]) out.push_back(i);
        return 0;
    });
}

}  // namespace kivtal
