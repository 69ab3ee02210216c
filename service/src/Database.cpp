#include "Database.h"

#include "PostgresDatabase.h"
#include "SqliteDatabase.h"

namespace kivtal::service {

bool IsPostgresAddress(std::string_view db) {
    return db.rfind("postgresql://", 0) == 0 || db.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Database> OpenDatabase(const std::string& db) {
    if (IsPostgresAddress(db)) return std::make_unique<PostgresDatabase>(db);
    return std::make_unique<SqliteDatabase>(db);
}

Transaction::Transaction(Database& db, Mode mode) : db_(db) { db_.begin(mode); }

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.exec("ROLLBACK;");
        } catch (const DbError&) {
        }
    }
}

void Transaction::commit() {
    db_.exec("COMMIT;");
    done_ = true;
}

}  // namespace kivtal::service
