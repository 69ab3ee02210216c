// The contact list's reads: only the columns a list row shows, no bank accounts, so a
// list of ten thousand contacts is one light query.
#include <sqlite3.h>

#include "store/ContactStore.h"
#include "store/ContactStoreSql.h"
#include "store/SqlFunctions.h"

namespace kivtal {
namespace {

constexpr const char* kColumns =
    "SELECT bc_id,bc_name,cell_phone,mail,company_name,position,group_id,common_use FROM tb_bc ";

const char* WhereOf(ContactListQuery query) {
    switch (query) {
        case ContactListQuery::ByNameAsc: return "where bc_state = 0 order by bc_name_pinyin ASC;";
        case ContactListQuery::ByNameDesc: return "where bc_state = 0 order by bc_name_pinyin DESC;";
        case ContactListQuery::NewestFirst: return "where bc_state = 0 order by bc_id DESC;";
        case ContactListQuery::OldestFirst: return "where bc_state = 0 order by bc_id ASC;";
        case ContactListQuery::OfGroup: return "where group_id= ? and bc_state=0;";
        case ContactListQuery::Common: return "where common_use =1 and bc_state = 0;";
        case ContactListQuery::ByPrefix: return "where bc_name_pinyin LIKE ? ESCAPE '\\' and bc_state = 0;";
        case ContactListQuery::WithoutLetter: return "where bc_state = 0 and getFirstLetterNotAZ(bc_name_pinyin);";
        case ContactListQuery::Search:
            return "WHERE (bc_name LIKE ?1 OR cell_phone LIKE ?1 OR home_phone LIKE ?1 OR fix_phone LIKE ?1 OR "
                   "mail LIKE ?1 OR company_name LIKE ?1 OR position LIKE ?1) and bc_state = 0;";
    }
    return "where 0;";
}

SqlArgs ArgsOf(ContactListQuery query, const std::string& text, int groupId) {
    switch (query) {
        case ContactListQuery::OfGroup: return {Arg(groupId)};
        case ContactListQuery::Search: return {Arg("%" + text + "%")};
        case ContactListQuery::ByPrefix: {
            std::string pattern;
            for (char c : text) {
                if (c == '%' || c == '_' || c == '\\') pattern += '\\';
                pattern += c;
            }
            return {Arg(pattern + '%')};
        }
        default: return {};
    }
}

}  // namespace

int ContactStore::ContactSummaries(ContactListQuery query, const std::string& text, int groupId,
                                   ContactSummaryList& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        if (query == ContactListQuery::WithoutLetter && RegisterFirstLetterNotAZ(db) != SQLITE_OK) return 1;
        SqliteStatement stmt(db.raw(), std::string(kColumns) + WhereOf(query));
        if (stmt.bind(ArgsOf(query, text, groupId)) != SQLITE_OK) return 1;
        ContactSummaryList rows;
        int rc;
        while ((rc = stmt.step()) == SQLITE_ROW) {
            ContactSummary s;
            s.bc_id = contacts::ColumnInt(stmt, 0);
            s.bc_name = contacts::ColumnText(stmt, 1);
            s.cell_phone = contacts::ColumnText(stmt, 2);
            s.mail = contacts::ColumnText(stmt, 3);
            s.company_name = contacts::ColumnText(stmt, 4);
            s.position = contacts::ColumnText(stmt, 5);
            s.group_id = contacts::ColumnInt(stmt, 6);
            s.common_use = contacts::ColumnInt(stmt, 7);
            rows.push_back(std::move(s));
        }
        if (rc != SQLITE_DONE) return 1;
        out.insert(out.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        return 0;
    });
}

int ContactStore::FirstLetters(std::vector<int>& out) {
    return contacts::RunRead(store_, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query("SELECT DISTINCT upper(substr(bc_name_pinyin,1,1)) FROM tb_bc where bc_state = 0;", t) !=
            SQLITE_OK)
            return 1;
        bool present[27] = {};
        for (int r = 0; r < t.rows(); ++r) {
            const std::string& first = t.text(r, 0);
            const bool letter = first.size() == 1 && first[0] >= 'A' && first[0] <= 'Z';
            present[letter ? first[0] - 'A' : 26] = true;
        }
        for (int i = 0; i < 27; ++i)
            if (present[i]) out.push_back(i);
        return 0;
    });
}

}  // namespace kivtal
