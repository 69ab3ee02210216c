#include "store/ContactStoreSql.h"

#include <sqlite3.h>

#include <iterator>

#include "store/ContactStoreBank.h"
#include "model/IntText.h"

namespace kivtal::contacts {
namespace {

using C = BusinessCard;

// One column of tb_bc after bc_id: exactly one of the member pointers is set.
struct Column {
    const char* name;
    int C::*number;
    std::string C::*text;
};

constexpr Column N(const char* name, int C::*m) { return {name, m, nullptr}; }
constexpr Column T(const char* name, std::string C::*m) { return {name, nullptr, m}; }

// Schema order of tb_bc; the stored files depend on it.
constexpr Column kColumns[] = {
    T("bc_name", &C::bc_name),
    T("company_name", &C::company_name),
    T("cell_phone", &C::cell_phone),
    T("home_phone", &C::home_phone),
    T("fix_phone", &C::fix_phone),
    T("position", &C::position),
    N("group_id", &C::group_id),
    T("fax", &C::fax),
    T("addr_c_detail", &C::addr_c_detail),
    T("addr_f_detail", &C::addr_f_detail),
    T("web_site", &C::web_site),
    N("birthday_type", &C::birthday_type),
    T("birthday", &C::birthday),
    T("mail", &C::mail),
    T("qq", &C::qq),
    T("ww", &C::ww),
    T("relate_contacts", &C::relate_contacts),
    T("main_business", &C::main_business),
    T("hobby", &C::hobby),
    T("belief", &C::belief),
    T("habit", &C::habit),
    T("how_to_konw", &C::how_to_konw),
    N("title", &C::title),
    T("favor_food", &C::favor_food),
    N("complete", &C::complete),
    T("bc_name_pinyin", &C::bc_name_pinyin),
    N("bc_state", &C::bc_state),
    N("bc_server_id", &C::bc_server_id),
    N("main_tab", &C::main_tab),
    T("bc_comment", &C::bc_comment),
    N("job_category_id", &C::job_category_id),
    N("business_id", &C::business_id),
    N("common_use", &C::common_use),
    N("server_group_id", &C::server_group_id),
};
static_assert(std::size(kColumns) == 34);

// Joins "<name><suffix>" for every column with commas.
std::string ColumnList(const char* suffix) {
    std::string out;
    for (const Column& c : kColumns) {
        if (!out.empty()) out += ',';
        out += c.name;
        out += suffix;
    }
    return out;
}

std::string Placeholders() {
    std::string out = "?";
    for (std::size_t i = 1; i < std::size(kColumns); ++i) out += ",?";
    return out;
}

// Row r of a SelectSql() result, column 0 being bc_id.
void FillContact(const ResultTable& t, int r, BusinessCard& card) {
    card.bc_id = t.integer(r, 0);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        const Column& c = kColumns[i];
        if (c.number) card.*c.number = t.integer(r, i + 1);
        else card.*c.text = t.text(r, i + 1);
    }
}

}  // namespace

const std::string& SelectSql() {
    static const std::string sql = "SELECT bc_id," + ColumnList("") + " FROM tb_bc ";
    return sql;
}

const std::string& InsertSql() {
    static const std::string sql = "INSERT INTO tb_bc(" + ColumnList("") + ")VALUES(" + Placeholders() + ");";
    return sql;
}

const std::string& UpdateSql() {
    static const std::string sql = [] {
        std::string list = ColumnList("=?");
        return "UPDATE tb_bc SET " + list + " where bc_id=?;";
    }();
    return sql;
}

SqlArgs RowArgs(const BusinessCard& card) {
    SqlArgs args;
    args.reserve(std::size(kColumns) + 1);
    for (const Column& c : kColumns) {
        if (c.number) args.push_back(Arg(card.*c.number));
        else args.push_back(Arg(card.*c.text));
    }
    return args;
}

namespace {

// The first `count` rows of a SelectSql() result, each with its bank accounts.
int ContactsOfRows(SqliteDb& db, const ResultTable& rows, int count, BusinessCardList& out) {
    BankAccountReader accounts(db);
    BusinessCardList read(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        BusinessCard& card = read[static_cast<std::size_t>(r)];
        FillContact(rows, r, card);
        if (accounts.Read(card.bc_id, card.bank_accounts) != 0) return 1;
    }
    out.insert(out.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    return 0;
}

}  // namespace

int ReadContacts(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCardList& out) {
    ResultTable rows;
    if (db.query(SelectSql() + std::string(where), args, rows) != SQLITE_OK) return 1;
    return ContactsOfRows(db, rows, rows.rows(), out);
}

StoreStatus ReadOneContact(SqliteDb& db, std::string_view where, const SqlArgs& args, BusinessCard& out) {
    ResultTable rows;
    if (db.query(SelectSql() + std::string(where), args, rows) != SQLITE_OK) return StoreStatus::kFailed;
    if (rows.empty()) return StoreStatus::kNotFound;
    // Only the first row is used: the others would cost an account query each for nothing.
    BusinessCardList found;
    if (ContactsOfRows(db, rows, 1, found) != 0) return StoreStatus::kFailed;
    out = std::move(found.front());
    return StoreStatus::kOk;
}

std::string ColumnText(const SqliteStatement& stmt, int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt.raw(), col));
    if (p == nullptr) return {};
    return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt.raw(), col)));
}

int ColumnInt(const SqliteStatement& stmt, int col) { return LeadingInt(ColumnText(stmt, col)); }

int UpdateExistingRow(SqliteDb& db, std::string_view sql, const SqlArgs& args) {
    return db.execute(sql, args) == SQLITE_OK && db.changes() > 0 ? 0 : 1;
}

int QueryHasRow(SqliteStatement& stmt, const SqlArgs& args, bool& found) {
    if (!stmt.ok()) return 1;
    stmt.reset();
    if (stmt.bind(args) != SQLITE_OK) return 1;
    const int rc = stmt.step();
    stmt.reset();
    found = rc == SQLITE_ROW;
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? 0 : 1;
}

}  // namespace kivtal::contacts
