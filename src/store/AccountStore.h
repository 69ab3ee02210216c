#pragma once
// The account side of the client: the remembered logins (login database) and the
// signed-in user's profile and settings (user database).
#include <optional>
#include <string>

#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

class AccountStore {
public:
    explicit AccountStore(LocalStore& store) : store_(store) {}

    // --- Remembered logins (login database). A missing login database is never
    // created here: it is made once at start-up, and an empty file left behind by a
    // read would later be taken for a ready database and never get its table. ---

    // Clears the previous last-login mark and inserts or updates the login's row, in
    // one transaction. The caller sets last_login 1 so that this login becomes the
    // last one. The digest goes to the secret service when one answers (the row then
    // holds none), else into the row. 0 committed, 1 rolled back or no database, -1
    // when it cannot begin.
    int SaveLogin(const LoginRecord& login);
    // The reads give each login its digest from the row, or from the secret service
    // when the row holds none (empty when neither has it).
    // Appends every remembered login. 0, or 1 when the database or query fails.
    int RememberedLogins(LoginRecordList& out);
    // The same without the digests (login_pwd empty), for lists that show the names:
    // each digest the secret service keeps is a round trip on the desktop's bus.
    int RememberedNames(LoginRecordList& out);
    // The login marked last. 0 when found; 1 when none or on failure (out untouched).
    int LastLogin(LoginRecord& out);
    // 1 when the table could be read and holds no login (the first login on this
    // machine); 0 otherwise, also when the database or the query fails.
    int NoRememberedLogin();
    // 0 when a remembered login has this name and password digest, 2 when none has
    // (an empty digest never matches), 1 when the database or the query fails.
    int CheckOfflineLogin(const std::string& loginName, const std::string& password);

    // --- Profile and settings (user database). ---

    // The profile row (the first one). 0 when the query ran, leaving `out` untouched
    // when there is no row; 1 when the database or the query fails.
    int ReadProfile(UserInfo& out);
    // Updates the row user_id and logs the change (kind 3) in one transaction. 0
    // committed; 1 rolled back, no database, or a text holding the value-string
    // separator (the entry could not carry it); -1 when it cannot begin.
    int ModifyProfile(const UserInfo& profile);
    // Stores the login name and password digest into the row whose id is `userId`
    // (decimal text); not logged. 0, or 1 on failure.
    int SetLoginNameAndPassword(const std::string& loginName, const std::string& password, const std::string& userId);

    // Always 0: the last settings row wins; `out` keeps its values (the defaults)
    // when there is none or the database cannot be read.
    int ReadSettings(UserSettings& out);
    // Updates the row s_id and logs the change (kind 8) in one transaction. A settings
    // row that was never created (s_id 0) matches no row; the entry still carries the
    // change, with row id 0, for the service. Codes as ModifyProfile.
    int ModifySettings(const UserSettings& settings);

private:
    // The login database's session, or none when its file is missing or cannot be opened.
    std::optional<StoreSession> OpenExistingLoginDb();

    LocalStore& store_;
};

}  // namespace kivtal
