#include "store/LocalStore.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>

#include "store/Schema.h"

namespace kivtal {

namespace {

// Runs the statements in order and stops at the first failure.
bool ExecuteAll(SqliteDb& db, const std::vector<std::string>& statements) {
    for (const std::string& sql : statements) {
        if (db.execute(sql) != SQLITE_OK) return false;
    }
    return true;
}

// Adds each later column a table lacks (SQLite has no ADD COLUMN IF NOT EXISTS).
bool AddMissingColumns(SqliteDb& db) {
    for (const AddedColumn& c : UserDbAddedColumns()) {
        ResultTable t;
        if (db.query("SELECT count(*) FROM pragma_table_info(?) WHERE name=?;", {Arg(c.table), Arg(c.column)}, t) !=
            SQLITE_OK)
            return false;
        if (t.integer(0, 0) > 0) continue;
        if (db.execute(std::string("ALTER TABLE ") + c.table + " ADD COLUMN " + c.column + " " + c.type + ";") !=
            SQLITE_OK)
            return false;
    }
    return true;
}

}  // namespace

StoreSession::StoreSession(std::mutex& lock, const std::string& path, SqliteDb::Mode mode, bool mustExist)
    : lock_(lock) {
    if (path.empty() || (mustExist && !FileExists(path))) return;
    db_.open(path, mode);
}

LocalStore& LocalStore::Instance() {
    static LocalStore store(DefaultStorePaths());
    return store;
}

LocalStore::LocalStore(StorePaths paths) : paths_(std::move(paths)) {
    if (!paths_.dataDir.empty() && paths_.dataDir.back() != '/') paths_.dataDir += '/';
    MakeDirectories(paths_.dataDir);
}

std::string LocalStore::userDbPath() {
    std::lock_guard<std::mutex> guard(lock_);
    return userDbPath_;
}

StoreSession LocalStore::OpenUserDb() {
    // The path is read under the lock the session holds, so a login that switches
    // the user database never races an operation on the old one.
    StoreSession session(lock_, "", SqliteDb::Mode::ReadWriteCreate, true);
    // A user database that vanished is not created again empty: its unsent edits are
    // gone, and an empty file would later be taken for a ready database.
    if (!userDbPath_.empty() && FileExists(userDbPath_)) {
        session.db_.open(userDbPath_, SqliteDb::Mode::ReadWriteCreate);
    }
    return session;
}

StoreSession LocalStore::OpenLoginDb() {
    // A missing login database is made only by EnsureLoginDb, with its table; opening
    // it here would leave an empty file that would later be taken for a ready one.
    return StoreSession(lock_, loginDbPath(), SqliteDb::Mode::ReadWriteCreate, true);
}

StoreSession LocalStore::OpenRefDb() { return StoreSession(lock_, paths_.refDbPath, SqliteDb::Mode::ReadOnly, true); }

int LocalStore::EnsureLoginDb() {
    std::lock_guard<std::mutex> guard(lock_);
    const std::string path = loginDbPath();
    if (FileExists(path)) {
        RestrictToOwner(path);
        return 0;
    }
    if (CreateComplete(path, {kLoginDbSchema}) != 0) return 1;
    return 0;
}

int LocalStore::EnsureUserDb(const std::string& loginName) {
    if (!IsSafeLoginFileName(loginName)) return 1;
    std::lock_guard<std::mutex> guard(lock_);
    userDbPath_ = paths_.dataDir + loginName + ".db";
    if (FileExists(userDbPath_)) {
        RestrictToOwner(userDbPath_);
        AddLaterSchema(userDbPath_);
        return 0;
    }
    if (CreateUserDb(userDbPath_) != 0) return 1;
    return 0;
}

// Files made before the indexes and the later tables existed get them at login. A
// file that cannot take them (unreadable, or not a user database) is left exactly as
// it is.
void LocalStore::AddLaterSchema(const std::string& path) {
    SqliteDb db;
    if (db.open(path) != SQLITE_OK) return;
    SqliteTransaction tx(db);
    if (tx.began() && ExecuteAll(db, UserDbIndexes()) && ExecuteAll(db, UserDbAdditions()) && AddMissingColumns(db))
        tx.commit();
}

// A database is built in a scratch file that is renamed into place only when complete:
// a crash or a failed statement halfway never leaves a file that looks like a ready
// database but has no tables (it would never be created again).
int LocalStore::CreateComplete(const std::string& path, const std::vector<std::string>& statements, bool addColumns) {
    if (!MakeDirectories(paths_.dataDir)) return 1;
    const std::string scratch = path + ".creating";
    std::remove(scratch.c_str());
    bool ok = false;
    {
        SqliteDb db;
        if (db.open(scratch) == SQLITE_OK) {
            // SQLite gives its journal and WAL files the database file's mode.
            RestrictToOwner(scratch);
            SqliteTransaction tx(db);
            ok = tx.began() && ExecuteAll(db, statements) && (!addColumns || AddMissingColumns(db)) &&
                 tx.commit() == SQLITE_OK;
        }
    }
    if (ok && std::rename(scratch.c_str(), path.c_str()) == 0) return 0;
    std::remove(scratch.c_str());
    return 1;
}

int LocalStore::CreateUserDb(const std::string& path) {
    std::vector<std::string> statements = UserDbSchema();
    for (const auto* more : {&UserDbIndexes(), &UserDbAdditions()})
        statements.insert(statements.end(), more->begin(), more->end());
    statements.insert(statements.end(), {kSeedSyncTime, kSeedHardwareInfo});
    return CreateComplete(path, statements, true);
}

}  // namespace kivtal
