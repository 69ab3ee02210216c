#pragma once
// The process-wide local store: where its database files live, the one store lock
// that makes every operation run alone, and the creation of the login and user
// databases. The per-table operations (contacts, matters, change log, account and
// content tables) are built on StoreSession.
#include <mutex>
#include <string>
#include <vector>

#include "store/SqliteDb.h"
#include "store/StorePaths.h"

namespace kivtal {

class LocalStore;

// One store operation's frame: the store lock, then one open database file. The file
// is closed before the lock is released, on every path.
class StoreSession {
public:
    bool ok() const { return db_.isOpen(); }
    SqliteDb& db() { return db_; }

private:
    friend class LocalStore;
    StoreSession(std::mutex& lock, const std::string& path, SqliteDb::Mode mode, bool mustExist);

    std::unique_lock<std::mutex> lock_;  // declared first: released last
    SqliteDb db_;
};

class LocalStore {
public:
    // The program's store, created on first use with the default paths.
    static LocalStore& Instance();

    // A store over the given folders (tests and tools); creates the data folder.
    explicit LocalStore(StorePaths paths);
    LocalStore(const LocalStore&) = delete;
    LocalStore& operator=(const LocalStore&) = delete;

    // Creates "login_record.db" when missing. 1 when creating it failed, 0 otherwise.
    int EnsureLoginDb();
    // Points the store at "<login name>.db" and creates it with the full schema when
    // missing. 0 when it existed or was created, 1 otherwise.
    int EnsureUserDb(const std::string& loginName);

    StoreSession OpenUserDb();  // fails when no user database is chosen or the file is missing
    StoreSession OpenLoginDb();
    StoreSession OpenRefDb();  // read-only; a missing file fails

    const std::string& dataDir() const { return paths_.dataDir; }
    std::string loginDbPath() const { return paths_.dataDir + "login_record.db"; }
    const std::string& refDbPath() const { return paths_.refDbPath; }
    std::string userDbPath();

private:
    // addColumns: also add the later columns (UserDbAddedColumns) to the new tables.
    int CreateComplete(const std::string& path, const std::vector<std::string>& statements, bool addColumns = false);
    int CreateUserDb(const std::string& path);
    void AddLaterSchema(const std::string& path);

    StorePaths paths_;
    std::mutex lock_;
    std::string userDbPath_;  // guarded by lock_
};

}  // namespace kivtal
