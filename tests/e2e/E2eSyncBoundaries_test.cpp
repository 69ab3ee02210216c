// An edit or a delete made at each moment between the store steps of a sync run, for
// every kind of synchronised record: after that run and one clean run, the service
// and a second device hold the last edit, and nothing stays pending on the first.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "e2e/CoreDevice.h"
#include "e2e/Device.h"
#include "e2e/ServiceProcess.h"
#include "model/SyncKinds.h"
#include "net/ImmediateCommits.h"
#include "net/SyncRun.h"
#include "store/AccountStore.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"

namespace kivtal::e2e {
namespace {

constexpr const char* kAccount = "zhao";
constexpr const char* kPassword = "pw-zhao";

// Where a kind's rows live and how a row reads as "value/state" on either device.
struct Kind {
    const char* name;
    const char* table;
    const char* localId;
    const char* serverId;
    const char* value;  // an expression of the row: the edited field
    const char* state;  // its state column, or "0" for rows that are never deleted
    bool deletable;
};

const Kind kKinds[] = {
    {"Contact", "tb_bc", "bc_id", "bc_server_id", "company_name", "bc_state", true},
    {"BankAccount", "tb_ubank_info", "ubank_id", "server_id", "ubank_card", "ubank_state", true},
    {"Group", "tb_bc_group", "group_id", "server_id", "group_name", "group_state", true},
    {"Matter", "tb_event", "event_id", "server_id", "description", "event_state", true},
    {"Remark", "tb_event_comment", "comment_id", "server_id", "c_content", "comment_state", true},
    {"Reminder", "tb_event_alarm", "alarm_id", "server_id", "a_content", "alarm_state", true},
    {"Profile", "tb_user", "user_id", "user_server_id", "company1", "0", false},
    {"Settings", "tb_user_settings", "s_id", "server_id", "coloumn_show", "0", false},
};

const SyncStep kSteps[] = {SyncStep::kPendingRead,  SyncStep::kPendingMarked, SyncStep::kUploaded,
                           SyncStep::kAcknowledged, SyncStep::kBeforeReplay,  SyncStep::kReleased};
const char* const kStepNames[] = {"PendingRead",  "PendingMarked", "Uploaded",
                                  "Acknowledged", "BeforeReplay",  "Released"};

std::string Scalar(const std::string& file, const std::string& sql, const SqlArgs& args = {}) {
    SqliteDb db;
    EXPECT_EQ(db.open(file), 0) << file;
    ResultTable t;
    EXPECT_EQ(db.query(sql, args, t), 0) << sql << ": " << db.lastError();
    return t.text(0, 0);
}

struct Case {
    int kind;  // index into kKinds
    int step;  // index into kSteps
    bool remove;
};

class SyncBoundaries : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() {
        folder_ = new kivtal::test::TempDir();
        service_ = new ServiceProcess(folder_->path());
        ASSERT_EQ(service_->op({"--add-account", kAccount, kPassword, "--coins", "100000"}), 0);
        ASSERT_TRUE(service_->start()) << ReadFile(service_->outPath());
        a_ = new CoreDevice("device-A", service_->url());
        ASSERT_EQ(a_->login(kAccount, kPassword), 0);
        ASSERT_EQ(SyncA(), 0);
        b_ = new Device("device-B", service_->url());
        const CliRun r = b_->run({"login", kAccount, kPassword});
        ASSERT_EQ(r.exitCode(), 0) << r.err;
    }
    static void TearDownTestSuite() {
        delete b_;
        delete a_;
        delete service_;
        delete folder_;
    }

    static int SyncA(const SyncStepHook& hook = {}) {
        JobContext ctx = a_->context();
        return runSync(ctx, hook);
    }
    static LocalStore& StoreA() { return a_->store(); }
    static std::string FileA() { return StoreA().userDbPath(); }

    // Creates a row of the kind (with the parents it needs) that both devices hold;
    // its local id on A.
    int CreateSynced(int kind) {
        ContactStore contacts(StoreA());
        MatterStore matters(StoreA());
        int id = 0;
        switch (kind) {
            case 0:
            case 1: {
                BusinessCard card;
                card.bc_name = "Boundary " + label_;
                UserBankInfo account;
                account.bank_name = "BOC";
                account.ubank_card = "start";
                card.bank_accounts = {account};
                EXPECT_EQ(contacts.AddContact(card), StoreStatus::kOk);
                id = kind == 0 ? card.bc_id : card.bank_accounts[0].ubank_id;
                break;
            }
            case 2: {
                CardGroup group;
                group.group_name = "Group " + label_;
                EXPECT_EQ(contacts.AddGroup(group), StoreStatus::kOk);
                id = group.group_id;
                break;
            }
            case 3:
            case 4:
            case 5: {
                TalEvent matter;
                matter.description = "Matter " + label_;
                matter.start_time = 1900000000;
                matter.end_time = 1900003600;
                EXPECT_EQ(matters.AddMatter(matter), StoreStatus::kOk);
                id = matter.event_id;
                if (kind == 4) {
                    EventComment remark;
                    remark.c_content = "start";
                    remark.event_id = matter.event_id;
                    EXPECT_EQ(matters.AddRemark(remark), StoreStatus::kOk);
                    id = remark.comment_id;
                }
                if (kind == 5) {
                    EXPECT_EQ(SyncA(), 0);
                    EXPECT_EQ(matters.MatterById(matter.event_id, matter), 0);
                    EventAlarm reminder;
                    reminder.a_content = "start";
                    reminder.alarm_whos = "张三";
                    reminder.event_id = matter.event_id;
                    reminder.event_server_id = matter.server_id;
                    reminder.alarm_time = matter.start_time - 600;
                    JobContext ctx = a_->context();
                    EXPECT_EQ(commitReminderAdd(ctx, reminder), 0);
                    id = std::stoi(Scalar(FileA(), "SELECT max(alarm_id) FROM tb_event_alarm"));
                }
                break;
            }
            default:  // the profile and settings rows came with the login
                id = std::stoi(
                    Scalar(FileA(), std::string("SELECT ") + kKinds[kind].localId + " FROM " + kKinds[kind].table));
        }
        EXPECT_EQ(SyncA(), 0);
        return id;
    }

    // Sets the kind's value field of row `id` on A (or deletes the row) as the windows do.
    void Edit(int kind, int id, const std::string& value, bool remove) {
        ContactStore contacts(StoreA());
        MatterStore matters(StoreA());
        AccountStore account(StoreA());
        switch (kind) {
            case 0: {
                BusinessCard card;
                ASSERT_EQ(contacts.ContactById(id, card), 0);
                if (remove) {
                    ASSERT_EQ(contacts.DeleteContact(card), StoreStatus::kOk);
                    break;
                }
                card.company_name = value;
                ASSERT_EQ(contacts.ModifyContact(card), StoreStatus::kOk);
                break;
            }
            case 1: {
                BusinessCard card;
                const int owner =
                    std::stoi(Scalar(FileA(), "SELECT bc_id FROM tb_ubank_info WHERE ubank_id=?", {Arg(id)}));
                ASSERT_EQ(contacts.ContactById(owner, card), 0);
                ASSERT_EQ(card.bank_accounts.size(), 1u);
                card.bank_accounts[0].ubank_card = value;
                if (remove) card.bank_accounts[0].ubank_state = 1;
                ASSERT_EQ(contacts.ModifyContact(card), StoreStatus::kOk);
                break;
            }
            case 2: {
                CardGroup group;
                ASSERT_EQ(contacts.GroupById(id, group), 0);
                if (remove) {
                    ASSERT_EQ(contacts.DeleteGroup(group), StoreStatus::kOk);
                    break;
                }
                group.group_name = value;
                ASSERT_EQ(contacts.ModifyGroup(group), StoreStatus::kOk);
                break;
            }
            case 3: {
                TalEvent matter;
                ASSERT_EQ(matters.MatterById(id, matter), 0);
                if (remove) {
                    ASSERT_EQ(matters.DeleteMatter(matter), StoreStatus::kOk);
                    break;
                }
                matter.description = value;
                ASSERT_EQ(matters.ModifyMatter(matter), StoreStatus::kOk);
                break;
            }
            case 4: {
                EventComment remark;
                remark.comment_id = id;
                remark.event_id =
                    std::stoi(Scalar(FileA(), "SELECT event_id FROM tb_event_comment WHERE comment_id=?", {Arg(id)}));
                remark.server_id =
                    std::stoi(Scalar(FileA(), "SELECT server_id FROM tb_event_comment WHERE comment_id=?", {Arg(id)}));
                remark.c_content = value;
                remark.comment_state = remove ? 1 : 0;
                ASSERT_EQ(matters.ModifyRemark(remark), StoreStatus::kOk);
                break;
            }
            case 5: {
                EventAlarm reminder;
                ASSERT_EQ(matters.ReminderById(id, reminder), 0);
                reminder.a_content = value;
                reminder.alarm_state = remove ? 1 : 0;
                JobContext ctx = a_->context();
                ASSERT_EQ(commitReminderChange(ctx, reminder), 0);
                break;
            }
            case 6: {
                UserInfo profile;
                ASSERT_EQ(account.ReadProfile(profile), 0);
                profile.company1 = value;
                ASSERT_EQ(account.ModifyProfile(profile), 0);
                break;
            }
            default: {
                UserSettings settings;
                ASSERT_EQ(account.ReadSettings(settings), 0);
                settings.coloumn_show = std::stoi(value);
                ASSERT_EQ(account.ModifySettings(settings), 0);
            }
        }
    }

    // "value/state" of the row with that server id on a device.
    static std::string Held(const std::string& file, const Kind& k, int serverId) {
        return Scalar(
            file,
            std::string("SELECT ") + k.value + "||'/'||" + k.state + " FROM " + k.table + " WHERE " + k.serverId + "=?",
            {Arg(serverId)});
    }

    std::string label_;

    static kivtal::test::TempDir* folder_;
    static ServiceProcess* service_;
    static CoreDevice* a_;
    static Device* b_;
};

kivtal::test::TempDir* SyncBoundaries::folder_ = nullptr;
ServiceProcess* SyncBoundaries::service_ = nullptr;
CoreDevice* SyncBoundaries::a_ = nullptr;
Device* SyncBoundaries::b_ = nullptr;

TEST_P(SyncBoundaries, TheLastEditReachesTheServiceAndTheOtherDevice) {
    const Case c = GetParam();
    const Kind& k = kKinds[c.kind];
    static int serial = 0;
    ++serial;
    label_ = std::to_string(serial);
    // Settings carry an int; every other value is a text.
    const auto value = [&](int n) {
        return c.kind == 7 ? std::to_string(100 + serial * 4 + n) : label_ + "-" + std::to_string(n);
    };

    const int id = CreateSynced(c.kind);
    Edit(c.kind, id, value(1), false);  // pending when the run reads the log
    bool edited = false;
    ASSERT_EQ(SyncA([&](SyncStep step) {
                  if (step != kSteps[c.step] || edited) return;
                  edited = true;
                  Edit(c.kind, id, value(2), c.remove);
              }),
              0);
    ASSERT_TRUE(edited);
    ASSERT_EQ(SyncA(), 0);

    EXPECT_EQ(Scalar(FileA(), "SELECT count(*) FROM tb_sync_record WHERE sync_state<>3"), "0");
    EXPECT_EQ(Scalar(FileA(), "SELECT count(*) FROM tb_sync_record_tmp"), "0");
    const int serverId = std::stoi(Scalar(
        FileA(), std::string("SELECT ") + k.serverId + " FROM " + k.table + " WHERE " + k.localId + "=?", {Arg(id)}));
    // A delete keeps the row's last values (its own operation writes only the state).
    const std::string held = Held(FileA(), k, serverId);
    if (c.remove) EXPECT_TRUE(held.ends_with("/1")) << held;
    else EXPECT_EQ(held, value(2) + "/0");
    b_->sync();
    EXPECT_EQ(Held(b_->userDbPath(kAccount), k, serverId), held) << "the other device";
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (int k = 0; k < static_cast<int>(std::size(kKinds)); ++k)
        for (int s = 0; s < static_cast<int>(std::size(kSteps)); ++s)
            for (const bool remove : {false, true})
                if (!remove || kKinds[k].deletable) cases.push_back({k, s, remove});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryStepEveryKind, SyncBoundaries, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(kKinds[info.param.kind].name) + "_" + kStepNames[info.param.step] +
                                    (info.param.remove ? "_Delete" : "_Edit");
                         });

}  // namespace
}  // namespace kivtal::e2e
