// The signed-in user's profile (tb_user) and settings (tb_user_settings).
#include "store/AccountStore.h"
#include "store/AccountStoreOps.h"

namespace kivtal {

namespace {

constexpr const char* kSelectProfile =
    "SELECT user_id ,user_server_id ,login_name ,pwd ,perm_value ,username ,cell_phone ,company1 ,"
    "job_category1_id ,job_position1 ,business1_id ,area_id ,mail ,fix_phone ,fax ,address ,birthday_type ,"
    "birthday ,title, certification FROM tb_user;";
constexpr const char* kUpdateProfile =
    "UPDATE tb_user SET login_name=?,pwd=?,perm_value=?,username=?,cell_phone=?,company1=?,"
    "job_category1_id=?,job_position1=?,business1_id=?,area_id=?,mail=?,fix_phone=?,fax=?,address=?,"
    "birthday_type=?,birthday=?,title=?,certification=? where user_id=?;";
// user_id arrives as decimal text; compared with the INTEGER key it is taken as a number.
constexpr const char* kSetLoginAndPassword = "UPDATE tb_user SET login_name=?,pwd=? where user_id=?;";
constexpr const char* kSelectSettings =
    "SELECT s_id,coloumn_show,auto_update,exit_ways,auto_run,server_id FROM tb_user_settings;";
constexpr const char* kUpdateSettings =
    "UPDATE tb_user_settings SET coloumn_show=?,auto_update=?,exit_ways=?,auto_run=?,server_id=? where s_id=?;";

UserInfo ProfileFromRow(const ResultTable& t, int r) {
    UserInfo u;
    u.user_id = t.integer(r, 0);
    u.user_server_id = t.integer(r, 1);
    u.login_name = t.text(r, 2);
    u.pwd = t.text(r, 3);
    u.perm_value = t.integer(r, 4);
    u.username = t.text(r, 5);
    u.cell_phone = t.text(r, 6);
    u.company1 = t.text(r, 7);
    u.job_category1_id = t.integer(r, 8);
    u.job_position1 = t.text(r, 9);
    u.business1_id = t.integer(r, 10);
    u.area_id = t.integer(r, 11);
    u.mail = t.text(r, 12);
    u.fix_phone = t.text(r, 13);
    u.fax = t.text(r, 14);
    u.address = t.text(r, 15);
    u.birthday_type = t.integer(r, 16);
    u.birthday = t.text(r, 17);
    u.title = t.integer(r, 18);
    u.certification = t.integer(r, 19);
    return u;
}

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

UserSettings SettingsFromRow(const ResultTable& t, int r) {
    UserSettings s;
    s.s_id = t.integer(r, 0);
    s.coloumn_show = t.integer(r, 1);
    s.auto_update = t.integer(r, 2);
    s.exit_ways = t.integer(r, 3);
    s.auto_run = t.integer(r, 4);
    s.server_id = t.integer(r, 5);
    return s;
}

}  // namespace

int AccountStore::ReadProfile(UserInfo& out) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    bool found = false;
    return storeops::ReadFirstRow(session.db(), kSelectProfile, {}, out, ProfileFromRow, found);
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
    storeops::AppendRowsIn(store_.OpenUserDb(), kSelectSettings, {}, rows, SettingsFromRow);
    if (!rows.empty()) out = rows.back();
    return 0;
}

int AccountStore::ModifySettings(const UserSettings& s) {
    return storeops::LoggedUpdate(
        store_, kUpdateSettings,
        {Arg(s.coloumn_show), Arg(s.auto_update), Arg(s.exit_ways), Arg(s.auto_run), Arg(s.server_id), Arg(s.s_id)}, s);
}

}  // namespace kivtal
