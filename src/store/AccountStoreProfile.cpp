// The signed-in user's profile (tb_user) and settings (tb_user_settings).
#include "store/AccountStore.h"
#include "store/AccountStoreOps.h"
#include "store/RecordSql.h"

namespace kivtal {

namespace {

using recordsql::RecordOfRow;

const std::string kSelectProfile = recordsql::SelectSql<UserInfo>() + ";";
// The row keeps the account id it was made with: a profile write leaves user_server_id.
constexpr const char* kUpdateProfile =
    "UPDATE tb_user SET login_name=?,pwd=?,perm_value=?,username=?,cell_phone=?,company1=?,"
    "job_category1_id=?,job_position1=?,business1_id=?,area_id=?,mail=?,fix_phone=?,fax=?,address=?,"
    "birthday_type=?,birthday=?,title=?,certification=? where user_id=?;";
// user_id arrives as decimal text; compared with the INTEGER key it is taken as a number.
constexpr const char* kSetLoginAndPassword = "UPDATE tb_user SET login_name=?,pwd=? where user_id=?;";
const std::string kSelectSettings = recordsql::SelectSql<UserSettings>() + ";";

SqlArgs ProfileArgs(const UserInfo& u) {
    return {Arg(u.login_name),
            Arg(u.pwd),
            Arg(u.perm_value),
            Arg(u.username),
            Arg(u.cell_phone),
            Arg(u.company1),
            Arg(u.job_category1_id),
            Arg(u.job_position1),
            Arg(u.business1_id),
            Arg(u.area_id),
            Arg(u.mail),
            Arg(u.fix_phone),
            Arg(u.fax),
            Arg(u.address),
            Arg(u.birthday_type),
            Arg(u.birthday),
            Arg(u.title),
            Arg(u.certification),
            Arg(u.user_id)};
}

}  // namespace

int AccountStore::ReadProfile(UserInfo& out) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    bool found = false;
    return storeops::ReadFirstRow(session.db(), kSelectProfile, {}, out, RecordOfRow<UserInfo>, found);
}

int AccountStore::ModifyProfile(const UserInfo& profile) {
    return storeops::LoggedUpdate(store_, kUpdateProfile, ProfileArgs(profile), profile);
}

int AccountStore::SetLoginNameAndPassword(const std::string& loginName, const std::string& password,
                                          const std::string& userId) {
    return storeops::ExecuteIn(store_.OpenUserDb(), kSetLoginAndPassword, {Arg(loginName), Arg(password), Arg(userId)});
}

int AccountStore::ReadSettings(UserSettings& out) {
    UserSettingsList rows;
    storeops::AppendRowsIn(store_.OpenUserDb(), kSelectSettings, {}, rows, RecordOfRow<UserSettings>);
    if (!rows.empty()) out = rows.back();
    return 0;
}

int AccountStore::ModifySettings(const UserSettings& s) {
    SqlArgs args = recordsql::ColumnArgs(s, true);
    args.push_back(Arg(s.s_id));
    return storeops::LoggedUpdate(store_, recordsql::UpdateSql<UserSettings>(), args, s);
}

}  // namespace kivtal
