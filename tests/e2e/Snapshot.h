#pragma once
// What a device holds, read straight from its user database file, so that two devices
// can be compared by content (local ids differ between them by design), and the checks
// a database must pass after its writer was killed. Files are opened for writing, as
// the client opens them: a killed writer's journal must be rolled back before reading.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "store/SqliteDb.h"

namespace kivtal::e2e {

// One line per live record, sorted; a record's parent is named by its name, not its id.
struct Snapshot {
    std::vector<std::string> contacts;
    std::vector<std::string> groups;
    std::vector<std::string> matters;
    bool operator==(const Snapshot&) const = default;
};

// Failures list the records instead of the object's bytes.
inline void PrintTo(const Snapshot& s, std::ostream* os) {
    for (const auto* part : {&s.groups, &s.contacts, &s.matters}) {
        *os << "\n  [";
        for (const std::string& line : *part) *os << line << "; ";
        *os << "]";
    }
}

inline std::vector<std::string> QueryLines(SqliteDb& db, const char* sql) {
    ResultTable t;
    EXPECT_EQ(db.query(sql, t), 0) << sql << ": " << db.lastError();
    std::vector<std::string> lines;
    for (int r = 0; r < t.rows(); ++r) lines.push_back(t.text(r, 0));
    std::sort(lines.begin(), lines.end());
    return lines;
}

inline Snapshot TakeSnapshot(const std::string& dbPath) {
    SqliteDb db;
    EXPECT_EQ(db.open(dbPath), 0) << dbPath;
    Snapshot s;
    s.contacts = QueryLines(
        db,
        "SELECT c.bc_name||'|'||c.company_name||'|'||c.cell_phone||'|'||c.mail||'|'||c.bc_comment||'|group:'||"
        "IFNULL((SELECT g.group_name FROM tb_bc_group g WHERE g.group_id=c.group_id AND g.group_state=0),'')||"
        "'|banks:'||IFNULL((SELECT group_concat(b.bank_name||'/'||b.ubank_card||'/'||b.ubank_user,';') FROM "
        "(SELECT * FROM tb_ubank_info WHERE bc_id=c.bc_id AND ubank_state=0 ORDER BY bank_name,ubank_card) b),'') "
        "FROM tb_bc c WHERE CAST(c.bc_state AS INTEGER)=0;");
    s.groups = QueryLines(db, "SELECT group_name FROM tb_bc_group WHERE group_state=0;");
    s.matters = QueryLines(db,
                           "SELECT e.description||'|'||e.start_time||'|'||e.end_time||'|group:'||"
                           "IFNULL((SELECT g.group_name FROM tb_event_group g WHERE g.group_id=e.group_id),'') "
                           "FROM tb_event e WHERE e.event_state=0;");
    return s;
}

inline std::vector<std::string> Repeated(const std::vector<std::string>& sorted) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i] == sorted[i - 1]) out.push_back(sorted[i]);
    return out;
}

inline std::string IntegrityCheck(const std::string& dbPath) {
    SqliteDb db;
    if (db.open(dbPath) != 0) return "cannot open";
    ResultTable t;
    if (db.query("PRAGMA integrity_check;", t) != 0 || t.empty()) return db.lastError();
    return t.text(0, 0);
}

// Rows that would never reach the service: no server id and no entry waiting to go up
// (pending, or marked as being sent by a run that did not finish).
inline std::vector<std::string> UntrackedRows(const std::string& dbPath) {
    SqliteDb db;
    EXPECT_EQ(db.open(dbPath), 0) << dbPath;
    return QueryLines(
        db,
        "SELECT 'contact '||bc_id FROM tb_bc WHERE bc_server_id<=0 AND NOT EXISTS (SELECT 1 FROM "
        "tb_sync_record s WHERE s.oper_code=1 AND s.s_row_id=bc_id AND s.sync_state IN (0,2)) "
        "UNION ALL SELECT 'group '||group_id FROM tb_bc_group WHERE server_id<=0 AND NOT EXISTS (SELECT 1 "
        "FROM tb_sync_record s WHERE s.oper_code=6 AND s.s_row_id=group_id AND s.sync_state IN (0,2)) "
        "UNION ALL SELECT 'bank '||ubank_id FROM tb_ubank_info WHERE server_id<=0 AND NOT EXISTS (SELECT 1 "
        "FROM tb_sync_record s WHERE s.oper_code=9 AND s.s_row_id=ubank_id AND s.sync_state IN (0,2)) "
        "UNION ALL SELECT 'matter '||event_id FROM tb_event WHERE server_id<=0 AND NOT EXISTS (SELECT 1 "
        "FROM tb_sync_record s WHERE s.oper_code=2 AND s.s_row_id=event_id AND s.sync_state IN (0,2)) "
        "UNION ALL SELECT 'entry '||sync_id||' state '||sync_state FROM tb_sync_record "
        "WHERE sync_state NOT IN (0,2,3);");
}

inline int PendingCount(const std::string& dbPath) {
    SqliteDb db;
    EXPECT_EQ(db.open(dbPath), 0) << dbPath;
    ResultTable t;
    EXPECT_EQ(db.query("SELECT count(*) FROM tb_sync_record WHERE sync_state<>3;", t), 0);
    return t.empty() ? -1 : t.integer(0, 0);
}

}  // namespace kivtal::e2e
