#include "store/BirthdayNotices.h"

#include <sqlite3.h>

#include <algorithm>

#include "store/SqliteDb.h"

namespace kivtal {
namespace {

constexpr int kMostDays = 30;

constexpr const char* kCreate =
    "CREATE TABLE IF NOT EXISTS tb_birthday_notice(bc_id INTEGER NOT NULL, birthday_date VARCHAR NOT NULL,"
    " kind INTEGER NOT NULL, PRIMARY KEY(bc_id, birthday_date, kind));"
    "CREATE TABLE IF NOT EXISTS tb_birthday_notice_setting(id INTEGER PRIMARY KEY CHECK(id = 1),"
    " days_before INTEGER NOT NULL);";

// Opens the user database with the two tables in place; body(db) -> 0/1.
template <class Body>
int WithTables(LocalStore& store, Body&& body) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok() || session.db().execute(kCreate) != SQLITE_OK) return 1;
    return body(session.db()) == 0 ? 0 : 1;
}

SqlArgs Key(const BirthdayNotice& n) {
    return {Arg(n.birthday.contactId), Arg(DateText(n.birthday.next.date)), Arg(static_cast<int>(n.kind))};
}

}  // namespace

int ReadBirthdayNoticeDays(LocalStore& store, int& days) {
    return WithTables(store, [&](SqliteDb& db) {
        ResultTable t;
        if (db.query("SELECT days_before FROM tb_birthday_notice_setting WHERE id = 1;", t) != SQLITE_OK) return 1;
        days = t.empty() ? kDefaultBirthdayNoticeDays : t.integer(0, 0);
        return 0;
    });
}

int SaveBirthdayNoticeDays(LocalStore& store, int days) {
    if (days < 0 || days > kMostDays) return 1;
    return WithTables(store, [&](SqliteDb& db) {
        return db.execute("INSERT OR REPLACE INTO tb_birthday_notice_setting(id, days_before) VALUES(1, ?);",
                          {Arg(days)}) == SQLITE_OK
                   ? 0
                   : 1;
    });
}

int DropShownNotices(LocalStore& store, std::vector<BirthdayNotice>& notices) {
    return WithTables(store, [&](SqliteDb& db) {
        std::vector<BirthdayNotice> unshown;
        for (const BirthdayNotice& n : notices) {
            ResultTable t;
            if (db.query("SELECT 1 FROM tb_birthday_notice WHERE bc_id = ? AND birthday_date = ? AND kind = ?;", Key(n),
                         t) != SQLITE_OK)
                return 1;
            if (t.empty()) unshown.push_back(n);
        }
        notices = std::move(unshown);
        return 0;
    });
}

int MarkNoticeShown(LocalStore& store, const BirthdayNotice& notice) {
    return WithTables(store, [&](SqliteDb& db) {
        SqliteTransaction tx(db);
        if (!tx.began()) return 1;
        const CivilDate d = notice.birthday.next.date;
        const std::string yearAgo = DateText({d.year - 1, d.month, std::min(d.day, 28)});
        if (db.execute("INSERT OR IGNORE INTO tb_birthday_notice(bc_id, birthday_date, kind) VALUES(?, ?, ?);",
                       Key(notice)) != SQLITE_OK ||
            db.execute("DELETE FROM tb_birthday_notice WHERE birthday_date < ?;", {Arg(yearAgo)}) != SQLITE_OK)
            return 1;
        return tx.commit() == SQLITE_OK ? 0 : 1;
    });
}

}  // namespace kivtal
