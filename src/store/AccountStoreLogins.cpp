// Remembered logins: the rows of tb_login_record in the login database.
#include "store/AccountStore.h"
#include "store/AccountStoreOps.h"
#include "store/LoginSecrets.h"

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
constexpr const char* kSelectDigest = "SELECT login_pwd FROM tb_login_record where login_user=?;";

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

// A row written while a secret service answered holds no digest: the service has it.
void FillDigest(LoginSecrets& secrets, LoginRecord& login) {
    if (login.login_pwd.empty()) secrets.Lookup(login.login_user, login.login_pwd);
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

// The rows as they are: a digest the secret service keeps is empty here.
int AppendLoginRows(std::optional<StoreSession> session, LoginRecordList& out) {
    if (!session) return 1;
    return storeops::AppendRows(session->db(), kSelectLogins, {}, out, LoginFromRow);
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
    LoginRecord row = login;
    if (LoginSecrets(store_.dataDir()).Store(login.login_user, login.login_pwd) == LoginSecrets::Status::Done)
        row.login_pwd.clear();
    SqliteDb& db = session->db();
    SqliteTransaction tx(db);
    if (!tx.began()) return -1;
    if (!Ok(db.execute(kClearLastLogin, {Arg(0), Arg(1)})) || !WriteLoginRow(db, row)) return 1;
    return Ok(tx.commit()) ? 0 : 1;
}

int AccountStore::RememberedLogins(LoginRecordList& out) {
    const std::size_t first = out.size();
    if (AppendLoginRows(OpenExistingLoginDb(), out) != 0) return 1;
    LoginSecrets secrets(store_.dataDir());
    for (std::size_t i = first; i < out.size(); ++i) FillDigest(secrets, out[i]);
    return 0;
}

int AccountStore::RememberedNames(LoginRecordList& out) {
    const std::size_t first = out.size();
    if (AppendLoginRows(OpenExistingLoginDb(), out) != 0) return 1;
    for (std::size_t i = first; i < out.size(); ++i) out[i].login_pwd.clear();
    return 0;
}

int AccountStore::LastLogin(LoginRecord& out) {
    std::optional<StoreSession> session = OpenExistingLoginDb();
    if (!session) return 1;
    bool found = false;
    LoginRecord last;
    if (storeops::ReadFirstRow(session->db(), kSelectLastLogin, {}, last, LoginFromRow, found) != 0) return 1;
    if (!found) return 1;
    LoginSecrets secrets(store_.dataDir());
    FillDigest(secrets, last);
    out = last;
    return 0;
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
    if (!Ok(session->db().query(kSelectDigest, {Arg(loginName)}, t))) return 1;
    if (t.empty()) return 2;
    LoginRecord login;
    login.login_user = loginName;
    login.login_pwd = t.text(0, 0);
    LoginSecrets secrets(store_.dataDir());
    FillDigest(secrets, login);
    // A row whose digest is lost (the secret service forgot it) never matches an empty password.
    return !login.login_pwd.empty() && login.login_pwd == password ? 0 : 2;
}

}  // namespace kivtal
