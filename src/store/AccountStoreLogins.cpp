// Remembered logins: the rows of tb_login_record in the login database.
#include "store/AccountStore.h"
#include "store/AccountStoreOps.h"

namespace kivtal {

using storeops::Ok;

namespace {

constexpr const char* kClearLastLogin = "UPDATE tb_login_record SET last_login=? where last_login=?;";
constexpr const char* kFindLogin = "SELECT login_user FROM tb_login_record WHERE login_user=?;";
constexpr const char* kInsertLogin =
    "INSERT INTO tb_login_record(login_user,login_pwd,login_time,login_ways,auto_login,last_login) "
    "VALUES(?,?,?,?,?,?);";
constexpr const char* kUpdateLogin =
    "UPDATE tb_login_record SET login_pwd=?,login_time=?,login_ways=?,auto_login=?,last_login=? "
    "where login_user=?;";
constexpr const char* kSelectLogins =
    "SELECT login_user,login_pwd,login_time,login_ways,auto_login,last_login FROM tb_login_record;";
constexpr const char* kSelectLastLogin =
    "SELECT login_user,login_pwd,login_time,login_ways,auto_login,last_login FROM tb_login_record "
    "WHERE last_login = 1;";
constexpr const char* kCountLogins = "SELECT count(*) FROM tb_login_record;";
constexpr const char* kMatchLogin = "SELECT login_user FROM tb_login_record where login_user=? and login_pwd=?;";

LoginRecord LoginFromRow(const ResultTable& t, int r) {
    LoginRecord login;
    login.login_user = t.text(r, 0);
    login.login_pwd = t.text(r, 1);
    login.login_time = t.integer(r, 2);
    login.login_ways = t.integer(r, 3);
    login.auto_login = t.integer(r, 4);
    login.last_login = t.integer(r, 5);
    return login;
}

// Inserts the login's row, or updates it when the name is already remembered.
bool WriteLoginRow(SqliteDb& db, const LoginRecord& login) {
    ResultTable found;
    if (!Ok(db.query(kFindLogin, {Arg(login.login_user)}, found))) return false;
    if (found.empty()) {
        return Ok(db.execute(kInsertLogin, {Arg(login.login_user), Arg(login.login_pwd), Arg(login.login_time),
                                            Arg(login.login_ways), Arg(login.auto_login), Arg(login.last_login)}));
    }
    return Ok(db.execute(kUpdateLogin, {Arg(login.login_pwd), Arg(login.login_time), Arg(login.login_ways),
                                        Arg(login.auto_login), Arg(login.last_login), Arg(login.login_user)}));
}

}  // namespace

std::optional<StoreSession> AccountStore::OpenExistingLoginDb() {
    if (!FileExists(store_.loginDbPath())) return std::nullopt;
    std::optional<StoreSession> session(store_.OpenLoginDb());
    if (!session->ok()) return std::nullopt;
    return session;
}

int AccountStore::SaveLogin(const LoginRecord& login) {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 1;
    SqliteDb& db = session->db();
    SqliteTransaction tx(db);
    if (!tx.began()) return -1;
    if (!Ok(db.execute(kClearLastLogin, {Arg(0), Arg(1)})) || !WriteLoginRow(db, login)) return 1;
    return Ok(tx.commit()) ? 0 : 1;
}

int AccountStore::RememberedLogins(LoginRecordList& out) {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 1;
    return storeops::AppendRows(session->db(), kSelectLogins, {}, out, LoginFromRow);
}

int AccountStore::LastLogin(LoginRecord& out) {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 1;
    bool found = false;
    if (storeops::ReadFirstRow(session->db(), kSelectLastLogin, {}, out, LoginFromRow, found) != 0) return 1;
    return found ? 0 : 1;
}

int AccountStore::NoRememberedLogin() {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 0;
    ResultTable t;
    if (!Ok(session->db().query(kCountLogins, t)) || t.empty()) return 0;
    return t.integer(0, 0) == 0 ? 1 : 0;
}

int AccountStore::CheckOfflineLogin(const std::string& loginName, const std::string& password) {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 1;
    ResultTable t;
    if (!Ok(session->db().query(kMatchLogin, {Arg(loginName), Arg(password)}, t))) return 1;
    return t.empty() ? 2 : 0;
}

}  // namespace kivtal
