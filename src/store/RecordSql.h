#pragma once
// The SQL of a kind of record made from its description (model/RecordFields.h): the
// column lists, the values bound in their order and the reader of a selected row.
// Internal to the store.
#include <string>
#include <string_view>

#include "model/RecordFields.h"
#include "store/SqliteDb.h"

namespace kivtal::recordsql {

// "c1,c2,..." of every column, the local key first unless withoutKey.
template <class R>
std::string Columns(bool withoutKey, const char* suffix = "") {
    std::string out;
    bool first = true;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        if (first && withoutKey) {
            first = false;
            continue;
        }
        first = false;
        if (!out.empty()) out += ',';
        out += f.column;
        out += suffix;
    }
    return out;
}

// The column of the field the value string calls `name` ("server_id": the service's
// id of the row), or nullptr.
template <class R>
const char* ColumnNamed(std::string_view name) {
    for (const RecordField<R>& f : DescriptionOf<R>().fields)
        if (f.name != nullptr && name == f.name) return f.column;
    return nullptr;
}

// "SELECT key,...,last FROM table " ; the caller appends its WHERE text. ReadRow reads
// its rows.
template <class R>
const std::string& SelectSql() {
    static const std::string sql =
        "SELECT " + Columns<R>(false) + " FROM " + std::string(DescriptionOf<R>().table) + " ";
    return sql;
}

// "INSERT INTO table(columns after the key)VALUES(?,...);", bound by ColumnArgs(r, true).
template <class R>
const std::string& InsertSql() {
    static const std::string sql = [] {
        std::string marks = "?";
        for (std::size_t i = 2; i < DescriptionOf<R>().fields.size(); ++i) marks += ",?";
        return "INSERT INTO " + std::string(DescriptionOf<R>().table) + "(" + Columns<R>(true) + ")VALUES(" + marks +
               ");";
    }();
    return sql;
}

// "UPDATE table SET c=?,... where key=?;" over the columns after the key, bound by
// ColumnArgs(r, true) and then the key.
template <class R>
const std::string& UpdateSql() {
    static const std::string sql = "UPDATE " + std::string(DescriptionOf<R>().table) + " SET " +
                                   Columns<R>(true, "=?") + " where " + DescriptionOf<R>().fields[0].column + "=?;";
    return sql;
}

// The values of the columns after the key, in their order (what an INSERT or UPDATE
// naming Columns<R>(true) binds), or of all of them.
template <class R>
SqlArgs ColumnArgs(const R& record, bool withoutKey) {
    SqlArgs args;
    const auto fields = DescriptionOf<R>().fields;
    args.reserve(fields.size() + 1);
    for (std::size_t i = withoutKey ? 1 : 0; i < fields.size(); ++i) {
        if (fields[i].number) args.push_back(Arg(record.*fields[i].number));
        else args.push_back(Arg(record.*fields[i].text));
    }
    return args;
}

// Row r of a SelectSql<R>() result into record (fields outside the table, such as a
// contact's bank accounts, stay as they are).
// Not inlined: into a kind without texts (the settings) the text branch, which its
// table never takes, would be inlined too and draw a false array-bounds warning.
template <class R>
[[gnu::noinline]] void ReadRow(const ResultTable& t, int r, R& record) {
    int col = 0;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        if (f.number) record.*f.number = t.integer(r, col);
        else if (f.text) record.*f.text = t.text(r, col);
        ++col;
    }
}

// The same as a new record, for readers that take a row function.
template <class R>
R RecordOfRow(const ResultTable& t, int r) {
    R record;
    ReadRow(t, r, record);
    return record;
}

}  // namespace kivtal::recordsql
