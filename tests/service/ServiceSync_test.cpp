// Login, key checks and the change feed between two devices of one account.
#include <thread>

#include "Database.h"
#include "ServiceHarness.h"
#include "WebPages.h"

namespace kivtal::service::test {
namespace {

class ServiceSync : public ServiceHarness {
protected:
    void SetUp() override {
        ServiceHarness::SetUp();
        addAccount("alice", "secret", 3);
        addAccount("bob", "hunter2");
        a_ = login("alice", "secret", "DEVICE-A");
        b_ = login("alice", "secret", "DEVICE-B");
        aTime_ = firstSync(a_);
        bTime_ = firstSync(b_);
    }

    // Server ids of a send reply, in order.
    static std::vector<std::string> ids(const Json::Value& reply) {
        std::vector<std::string> out;
        for (const auto& r : reply["results"]) out.push_back(r["id"].asString());
        return out;
    }
    static std::vector<std::string> contents(const Json::Value& reply) {
        std::vector<std::string> out;
        for (const auto& e : reply["opers"]) out.push_back(e["content"].asString());
        return out;
    }

    Device a_, b_;
    std::int64_t aTime_ = 0, bTime_ = 0;  // the sync times after each device's first run
};

TEST_F(ServiceSync, LoginAnswersKeyMaterialOrTheRefusalCode) {
    const Json::Value ok = loginReply("alice", "secret", "DEVICE-C");
    EXPECT_EQ(ok["error"].asString(), "0");
    EXPECT_EQ(ok["user_id"].asString(), a_.userId);
    EXPECT_EQ(ok["random_key"].asString().size(), 32u);
    EXPECT_EQ(loginReply("nobody", "secret", "D")["error"].asString(), "1001");
    EXPECT_EQ(loginReply("alice", "wrong", "D")["error"].asString(), "1003");
}

// A request that lacks what it needs is the client's fault (1004), never the service's
// storage (1005), and leaves nothing behind.
TEST_F(ServiceSync, MalformedRequestsAreAnsweredAsSuchAndStoreNothing) {
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    const struct {
        const char* what;
        const char* path;
        std::string body;
    } cases[] = {
        {"login without a device", "/Login/login", "username=alice&password=" + ClientPasswordDigest("secret")},
        {"login with an empty device", "/Login/login",
         "username=alice&password=" + ClientPasswordDigest("secret") + "&unique_id=&visitor=1"},
        {"send without opers", "/Sync/send", identity(a_) + "&user_id=" + a_.userId},
        {"send nested too deep", "/Sync/send", identity(a_) + "&user_id=" + a_.userId + "&opers=" + deep},
        {"send nested object", "/Sync/send",
         identity(a_) + "&user_id=" + a_.userId + "&opers={\"opers\":" + deep + "}"},
    };
    for (const auto& c : cases) EXPECT_EQ(post(c.path, c.body)["error"].asString(), "1004") << c.what;
    EXPECT_EQ(receive(b_, bTime_)["opers"].size(), 0u);
}

// What one request may cost is bounded: a body over 8 MiB is refused with HTTP 413 and
// a batch of more than 5,000 entries with 1004, and neither stores anything; the
// client's largest batch (2,000 entries) passes.
TEST_F(ServiceSync, OversizedRequestsAreRefusedWholeAndTheClientsLargestBatchPasses) {
    const auto groups = [](int count) {
        std::vector<Entry> batch;
        for (int i = 1; i <= count; ++i) batch.push_back({6, 1, i, 0, ContactGroup(i, "g" + std::to_string(i))});
        return batch;
    };
    EXPECT_EQ(send(a_, groups(5001))["error"].asString(), "1004");
    const std::string huge = identity(a_) + "&user_id=" + a_.userId + "&opers=" + std::string(9u << 20, ' ');
    const auto res = client_->Post("/Sync/send", huge, "application/x-www-form-urlencoded");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 413);
    EXPECT_EQ(receive(b_, bTime_)["opers"].size(), 0u);

    const Json::Value largest = send(a_, groups(2000));
    EXPECT_EQ(largest["error"].asString(), "0");
    EXPECT_EQ(largest["results"].size(), 2000u);
    EXPECT_EQ(receive(b_, bTime_)["opers"].size(), 2000u);
}

TEST_F(ServiceSync, RequestsWithoutTheLoginsKeyAreRefusedAndTouchNothing) {
    const Device bob = login("bob", "hunter2", "DEVICE-A");
    const std::string opers = "&opers=" + EncodeOpers({{6, 1, 1, 0, ContactGroup(1, "g")}});
    const struct {
        const char* what;
        std::string body;
    } cases[] = {
        {"wrong key", "key=0123&visitor=1&unique_id=DEVICE-A&user_id=" + a_.userId + opers},
        {"missing key", "visitor=1&unique_id=DEVICE-A&user_id=" + a_.userId + opers},
        {"another account's user_id", identity(a_) + "&user_id=" + bob.userId + opers},
        {"user_id missing", identity(a_) + opers},
        {"key of another device", "key=" + b_.key + "&visitor=1&unique_id=DEVICE-A&user_id=" + a_.userId + opers},
    };
    for (const auto& c : cases) EXPECT_EQ(post("/Sync/send", c.body)["error"].asString(), "1002") << c.what;
    EXPECT_EQ(receive(b_, bTime_)["opers"].size(), 0u);
    EXPECT_EQ(kinds(receive(bob, 0)), (std::vector<int>{3, 8}));  // bob's own records only

    // After logout the old key stops working.
    EXPECT_EQ(post("/Login/loginOut", identity(a_) + "&user_id=" + a_.userId)["error"].asString(), "0");
    EXPECT_EQ(receive(a_, 0)["error"].asString(), "1002");
}

TEST_F(ServiceSync, AddsGetServerIdsAndParentsFromTheSameBatchAreMapped) {
    // The group and its contact go up together; the contact only knows the group's local id.
    const Json::Value sent = send(a_, {{6, 1, 5, 0, ContactGroup(5, "客户")}, {1, 1, 9, 0, Contact(9, "张三", 5, -1)}});
    ASSERT_EQ(sent["error"].asString(), "0");
    const auto serverIds = ids(sent);
    ASSERT_EQ(serverIds.size(), 2u);
    EXPECT_EQ(sent["results"][1]["client_id"].asString(), "9");
    EXPECT_EQ(sent["results"][1]["oper_id"].asString(), "1");

    // A later batch that names the group by its local id (server id 0) is mapped too.
    ASSERT_EQ(send(a_, {{1, 1, 10, 0, Contact(10, "李四", 5, 0)}})["error"].asString(), "0");

    const Json::Value got = receive(b_, bTime_);
    ASSERT_EQ(got["opers"].size(), 3u);
    const auto contact = SplitFields(got["opers"][1]["content"].asString());
    EXPECT_EQ(got["opers"][1]["id"].asString(), serverIds[1]);
    EXPECT_EQ(got["opers"][1]["oper_ways"].asString(), "1");
    EXPECT_EQ(contact[1], "张三");
    EXPECT_EQ(contact[33], serverIds[0]);  // server_group_id
    EXPECT_EQ(contact[27], serverIds[1]);  // its own server id
    EXPECT_EQ(SplitFields(got["opers"][2]["content"].asString())[33], serverIds[0]);

    // A modify keeps the record's server id.
    const Json::Value modified =
        send(b_, {{1, 2, 77, std::stoi(serverIds[1]), Contact(77, "张三丰", 3, std::stoi(serverIds[0]))}});
    EXPECT_EQ(ids(modified), std::vector<std::string>{serverIds[1]});
}

// A device whose reply was lost sends its add again, maybe changed since. The same
// local row of the same device is the same record; an add that names a server id is a
// record the device split off on purpose.
TEST_F(ServiceSync, AnAddSentAgainByItsDeviceIsTheSameRecordWhateverItCarries) {
    const auto first = ids(send(a_, {{1, 1, 9, 0, Contact(9, "张三", 0)}}));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(ids(send(a_, {{1, 1, 9, 0, Contact(9, "张三", 0)}})), first);    // unchanged: not passed on
    EXPECT_EQ(ids(send(a_, {{1, 1, 9, 0, Contact(9, "张三丰", 0)}})), first);  // changed: a modify
    const Json::Value got = receive(b_, bTime_);
    ASSERT_EQ(got["opers"].size(), 2u);
    EXPECT_EQ(got["opers"][1]["oper_ways"].asString(), "2");
    EXPECT_EQ(got["opers"][1]["id"].asString(), first[0]);
    EXPECT_EQ(SplitFields(got["opers"][1]["content"].asString())[1], "张三丰");

    EXPECT_NE(ids(send(b_, {{1, 1, 9, 0, Contact(9, "李四", 0)}})), first);  // another device's row 9
    EXPECT_NE(ids(send(a_, {{1, 1, 9, std::stoi(first[0]), Contact(9, "张三丰（本机）", 0)}})), first);
}

// The next run after a lost reply receives from the time it kept before the add, then
// sends the add again with the user's edits: still the same record.
TEST_F(ServiceSync, AnEditedAddResentAfterTheNextRunsReceiveIsTheSameRecord) {
    const auto first = ids(send(a_, {{1, 1, 9, 0, Contact(9, "张三", 0)}}));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(receive(a_, aTime_)["opers"].size(), 0u);
    EXPECT_EQ(ids(send(a_, {{1, 1, 9, 0, Contact(9, "张三（改）", 0)}})), first);
    const Json::Value got = receive(b_, bTime_);
    ASSERT_EQ(got["opers"].size(), 2u);
    EXPECT_EQ(got["opers"][0]["oper_ways"].asString(), "1");
    EXPECT_EQ(got["opers"][1]["oper_ways"].asString(), "2");
    EXPECT_EQ(got["opers"][1]["id"].asString(), first[0]);
}

// A modify that names no server id and a local row its device never added names no
// record: it must not land on another record of the account.
TEST_F(ServiceSync, AModifyWithoutAKnownIdNeverOverwritesAnotherRecord) {
    const auto mine = ids(send(a_, {{1, 1, 1, 0, Contact(1, "张三", 0)}, {6, 1, 2, 0, ContactGroup(2, "客户")}}));
    ASSERT_EQ(mine.size(), 2u);
    receive(b_, bTime_);
    const struct {
        int kind;
        int id;
        std::string content;
    } cases[] = {{1, 0, Contact(77, "李四", 0)}, {1, -5, Contact(78, "王五", 0)}, {6, 0, ContactGroup(79, "供应商")}};
    for (const auto& c : cases) {
        const auto got = ids(send(b_, {{c.kind, 2, 77, c.id, c.content}}));
        ASSERT_EQ(got.size(), 1u);
        EXPECT_NE(got[0], mine[0]) << c.content;
        EXPECT_NE(got[0], mine[1]) << c.content;
    }
    for (const auto& e : receive(a_, aTime_)["opers"]) {
        EXPECT_NE(e["id"].asString(), mine[0]);
        EXPECT_NE(e["id"].asString(), mine[1]);
    }
}

// A new data folder on the same computer has the same device id and numbers its rows
// from the start again: once the device has received past its old add, an add under
// the same local row is a new contact, not a change to the old one.
TEST_F(ServiceSync, AnAddUnderAnOldRowAfterReceivingPastItIsANewRecord) {
    const Json::Value sent = send(a_, {{1, 1, 9, 0, Contact(9, "张三", 0)}});
    const auto first = ids(sent);
    ASSERT_EQ(first.size(), 1u);
    // The reply's time only covers what A had received before its add; the next run's
    // receive reaches past the add, and the time A stores after it says so.
    receive(a_, std::stoll(sent["time"].asString()));
    receive(a_, std::stoll(send(a_, {})["time"].asString()));
    const auto second = ids(send(a_, {{1, 1, 9, 0, Contact(9, "王五", 0)}}));
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second, first);
    EXPECT_EQ(contents(receive(b_, bTime_)).size(), 2u);  // 张三 was not overwritten
}

TEST_F(ServiceSync, ADeviceNeverGetsItsOwnChangesBack) {
    ASSERT_EQ(send(a_, {{6, 1, 1, 0, ContactGroup(1, "mine")}})["error"].asString(), "0");
    EXPECT_EQ(receive(a_, aTime_)["opers"].size(), 0u);
    EXPECT_EQ(contents(receive(b_, bTime_)).size(), 1u);
}

TEST_F(ServiceSync, AFreshDeviceGetsATimeItCanStoreAndStillReceivesEverything) {
    const Device c = login("alice", "secret", "DEVICE-C");
    ASSERT_EQ(send(b_, {{6, 1, 1, 0, ContactGroup(1, "first")}})["error"].asString(), "0");
    // C has received nothing: its time must still be usable (the client refuses 0),
    // and storing it must skip neither the account's records nor B's change.
    const std::int64_t cTime = std::stoll(send(c, {})["time"].asString());
    EXPECT_GT(cTime, 0);
    EXPECT_EQ(kinds(receive(c, cTime)), (std::vector<int>{3, 8, 6}));
}

TEST_F(ServiceSync, ChangesSentBetweenAReceiveAndASendAreNotSkipped) {
    ASSERT_EQ(send(b_, {{6, 1, 1, 0, ContactGroup(1, "first")}})["error"].asString(), "0");
    // A receives, B sends, A sends: A stores the time of its own send reply.
    ASSERT_EQ(contents(receive(a_, aTime_)).size(), 1u);
    ASSERT_EQ(send(b_, {{6, 1, 2, 0, ContactGroup(2, "from B")}})["error"].asString(), "0");
    const Json::Value aSent = send(a_, {{6, 1, 1, 0, ContactGroup(1, "from A")}});
    ASSERT_EQ(aSent["error"].asString(), "0");
    const std::int64_t aTime = std::stoll(aSent["time"].asString());

    const auto next = contents(receive(a_, aTime));
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(SplitFields(next[0])[1], "from B");
    // Once received, it is not delivered again.
    const std::int64_t later = std::stoll(send(a_, {})["time"].asString());
    EXPECT_EQ(receive(a_, later)["opers"].size(), 0u);
}

TEST_F(ServiceSync, ConcurrentSendersLoseNothingAndRepeatNothing) {
    constexpr int kBatches = 20;
    auto sender = [&](const Device& d, const std::string& tag) {
        for (int i = 1; i <= kBatches; ++i) {
            ASSERT_EQ(send(d, {{6, 1, i, 0, ContactGroup(i, tag + std::to_string(i))}})["error"].asString(), "0");
        }
    };
    const Device c = login("alice", "secret", "DEVICE-C");
    std::int64_t cTime = firstSync(c);
    std::vector<std::string> seen;
    std::thread ta(sender, a_, "a"), tb(sender, b_, "b");
    for (int round = 0; round < 2 * kBatches; ++round) {
        for (const auto& v : contents(receive(c, cTime))) seen.push_back(SplitFields(v)[1]);
        cTime = std::stoll(send(c, {})["time"].asString());
    }
    ta.join();
    tb.join();
    for (const auto& v : contents(receive(c, cTime))) seen.push_back(SplitFields(v)[1]);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), 2u * kBatches);
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST_F(ServiceSync, RemindersCostCoinsAndRejectedBatchesChangeNothing) {
    const auto group = Entry{6, 1, 1, 0, ContactGroup(1, "g")};
    // 2008: a sensitive word in the reminder text; the group in the same batch is not stored.
    const Json::Value word = send(a_, {group, {5, 1, 1, 0, Reminder(1, "周五去赌博")}});
    EXPECT_EQ(word["error"].asString(), "2008");
    EXPECT_EQ(word["refused"]["index"].asString(), "1");  // which entry, for the client to keep aside
    EXPECT_EQ(word["refused"]["client_id"].asString(), "1");
    // Three coins: two reminders and one change pass; the fourth paid change does not.
    EXPECT_EQ(send(a_, {{5, 1, 1, 0, Reminder(1, "开会")}, {5, 1, 2, 0, Reminder(2, "吃饭")}})["error"].asString(),
              "0");
    const Json::Value changed = send(a_, {{5, 2, 1, 0, Reminder(1, "改时间开会")}});
    EXPECT_EQ(changed["error"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);
    const Json::Value poor = send(a_, {group, {5, 1, 3, 0, Reminder(3, "再提醒")}});
    EXPECT_EQ(poor["error"].asString(), "2004");
    EXPECT_EQ(poor["refused"]["index"].asString(), "1");
    // Withdrawing a reminder is free.
    EXPECT_EQ(send(a_, {{5, 2, 2, 0, Reminder(2, "吃饭", 1)}})["error"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);

    const auto delivered = contents(receive(b_, bTime_));
    EXPECT_EQ(delivered.size(), 4u);  // the refused batches left nothing
    for (const auto& v : delivered) EXPECT_NE(SplitFields(v)[1], "g");
}

// A reply lost after a paid batch: the resend is recognised and costs nothing again,
// even when the coins are spent; an edited resend is a change and is paid like one.
TEST_F(ServiceSync, RecognisedResendsOfRemindersAreNotChargedAgain) {
    const std::vector<Entry> batch = {{5, 1, 1, 0, Reminder(1, "开会")}, {5, 1, 2, 0, Reminder(2, "吃饭")}};
    const auto first = ids(send(a_, batch));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(coins("alice"), 1);
    const Json::Value again = send(a_, batch);
    EXPECT_EQ(again["error"].asString(), "0");
    EXPECT_EQ(ids(again), first);
    EXPECT_EQ(coins("alice"), 1);
    EXPECT_EQ(send(a_, {{5, 1, 3, 0, Reminder(3, "出差")}})["error"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);
    EXPECT_EQ(send(a_, {{5, 1, 3, 0, Reminder(3, "出差")}})["error"].asString(), "0");
    const Json::Value edited = send(a_, {{5, 1, 3, 0, Reminder(3, "出差取消")}});
    EXPECT_EQ(edited["error"].asString(), "2004");
    EXPECT_EQ(edited["refused"]["index"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);
    EXPECT_EQ(contents(receive(b_, bTime_)).size(), 3u);  // the refused edit left nothing
}

TEST_F(ServiceSync, ACertifiedAccountKeepsItsName) {
    addAccount("carol", "pw", 0, true, "王芳");
    const Device c = login("carol", "pw", "DEVICE-C");
    EXPECT_EQ(send(c, {{3, 2, 1, 0, Profile("王小芳")}})["error"].asString(), "2007");
    EXPECT_EQ(send(c, {{3, 2, 1, 0, Profile("王芳")}})["error"].asString(), "0");
    // An uncertified account may rename itself.
    EXPECT_EQ(send(a_, {{3, 2, 1, 0, Profile("Alice Liddell")}})["error"].asString(), "0");
    EXPECT_EQ(service().findAccount("alice")->realName, "Alice Liddell");
}

TEST_F(ServiceSync, TheProfileIsOneRecordAndItsPasswordDigestIsNotPassedOn) {
    const Json::Value first = send(a_, {{3, 2, 1, 0, Profile("A", "4aa59776065aba3690db41623659ec9b")}});
    const Json::Value second = send(b_, {{3, 2, 1, 0, Profile("B", "4aa59776065aba3690db41623659ec9b")}});
    EXPECT_EQ(ids(first), ids(second));
    const Json::Value got = receive(b_, 0);  // B's own modify is not among them
    ASSERT_EQ(kinds(got), (std::vector<int>{3, 8, 3}));
    EXPECT_EQ(got["opers"][2]["id"], got["opers"][0]["id"]);  // A's modify names the account's record
    for (int i : {0, 2}) EXPECT_EQ(SplitFields(got["opers"][i]["content"].asString())[3], "") << i;
}

TEST_F(ServiceSync, EveryDeviceStartsFromTheAccountsOneProfileAndSettingsRecord) {
    addAccount("carol", "pw", 0, true, "王芳");
    const Device c1 = login("carol", "pw", "DEVICE-1");
    const Device c2 = login("carol", "pw", "DEVICE-2");
    const Json::Value got = receive(c1, 0);
    ASSERT_EQ(kinds(got), (std::vector<int>{3, 8}));
    const Json::Value& profile = got["opers"][0];
    const Json::Value& settings = got["opers"][1];
    for (const Json::Value* e : {&profile, &settings}) EXPECT_EQ((*e)["oper_ways"].asString(), "1");
    const std::string profileId = profile["id"].asString();
    const std::string settingsId = settings["id"].asString();
    EXPECT_NE(profileId, settingsId);
    // user_id (the account's id, which the device keeps as its row id), user_server_id,
    // login_name, pwd (never the digest), perm_value, username, ...,
    // birthday_type 1 (solar), birthday, title 1, certification of a certified account.
    EXPECT_EQ(profile["content"].asString(), Values(20, {{0, c1.userId},
                                                         {1, profileId},
                                                         {2, "carol"},
                                                         {3, ""},
                                                         {5, "王芳"},
                                                         {6, ""},
                                                         {7, ""},
                                                         {9, ""},
                                                         {12, ""},
                                                         {13, ""},
                                                         {14, ""},
                                                         {15, ""},
                                                         {16, "1"},
                                                         {17, ""},
                                                         {18, "1"},
                                                         {19, "1"}}));
    EXPECT_EQ(settings["content"].asString(), Values(6, {{1, "6"}, {4, "1"}, {5, settingsId}}));

    // Every device gets them once; they come from no device, so none is left out.
    const std::int64_t c1Time = std::stoll(send(c1, {})["time"].asString());
    EXPECT_EQ(receive(c1, c1Time)["opers"].size(), 0u);
    EXPECT_EQ(receive(c2, 0)["opers"], got["opers"]);

    // A device's settings change updates that record and reaches the other device.
    const std::string changed = Values(6, {{1, "38"}, {2, "1"}, {4, "1"}, {5, settingsId}});
    EXPECT_EQ(ids(send(c1, {{8, 2, 1, std::stoi(settingsId), changed}})), std::vector<std::string>{settingsId});
    const Json::Value next = receive(c2, 0);
    ASSERT_EQ(kinds(next), (std::vector<int>{3, 8, 8}));
    EXPECT_EQ(next["opers"][2]["oper_ways"].asString(), "2");
    EXPECT_EQ(next["opers"][2]["id"].asString(), settingsId);
    EXPECT_EQ(next["opers"][2]["content"].asString(), changed);
}

TEST_F(ServiceSync, AnAccountWithoutTheRecordsGetsThemOnceWhenItsDevicesComeBack) {
    ASSERT_EQ(send(a_, {{6, 1, 1, 0, ContactGroup(1, "old")}})["error"].asString(), "0");
    {
        // As an older service left it: a feed, but no profile or settings record.
        openDatabase()->exec("DELETE FROM records WHERE kind IN (3,8); DELETE FROM changes WHERE kind IN (3,8);");
    }
    const Device again = login("alice", "secret", "DEVICE-A");
    // B, already synced before the records came, still gets them, after the old change.
    const Json::Value got = receive(b_, bTime_);
    ASSERT_EQ(kinds(got), (std::vector<int>{6, 3, 8}));
    EXPECT_EQ(SplitFields(got["opers"][1]["content"].asString())[2], "alice");
    // Later logins and receives find them and add no second pair.
    login("alice", "secret", "DEVICE-C");
    EXPECT_EQ(kinds(receive(again, 0)), (std::vector<int>{3, 8}));  // A sent the group itself
    EXPECT_EQ(kinds(receive(b_, bTime_)), (std::vector<int>{6, 3, 8}));
}

// The operator command, the register page and the demo account all start the account
// with its records, before any device logs in.
TEST(AccountCreation, EveryWayOfMakingAnAccountStoresItsProfileAndSettings) {
    kivtal::test::TempDir dir;
    const kivtal::test::ScratchDatabase scratch(dir.file("service.db"));
    {
        Service service(scratch.address(), FastLogins(), dir.path());
        ASSERT_TRUE(service.ensureDemoAccount());
        ASSERT_TRUE(service.createAccount({"boss", ClientPasswordDigest("pw"), 0, false, ""}));
        EXPECT_NE(Register(service, "username=newbie&password=pw1234&password2=pw1234").find("newbie"),
                  std::string::npos);
    }
    const auto db = OpenDatabase(scratch.address());
    auto s = db->prepare(
        "SELECT a.login_name, c.kind, c.ways FROM accounts a JOIN changes c USING(account_id) "
        "ORDER BY a.account_id, c.seq;");
    s.bind({});
    std::vector<std::string> rows;
    while (s.step()) rows.push_back(s.text(0) + " " + s.text(1) + "/" + s.text(2));
    EXPECT_EQ(rows,
              (std::vector<std::string>{"demo 3/1", "demo 8/1", "boss 3/1", "boss 8/1", "newbie 3/1", "newbie 8/1"}));
}

TEST_F(ServiceSync, HostileAndOverlongValuesAreStoredAsText) {
    const std::string sql = "'; DROP TABLE changes;--";
    const std::string big(1 << 20, 'x');
    // In the change list: kept verbatim and delivered to the other device.
    const Json::Value sent = send(a_, {{6, 1, 1, 0, ContactGroup(1, sql)}, {6, 1, 2, 0, ContactGroup(2, big)}});
    ASSERT_EQ(sent["error"].asString(), "0");
    const auto got = contents(receive(b_, bTime_));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(SplitFields(got[0])[1], sql);
    EXPECT_EQ(SplitFields(got[1])[1], big);

    // In every identity field: refused, nothing executed.
    for (const std::string& v : {sql, big}) {
        EXPECT_EQ(loginReply(v, "secret", "D")["error"].asString(), "1001");
        // A device id is a machine id, not a megabyte: no key for one that long.
        EXPECT_EQ(loginReply("alice", "secret", v)["error"].asString(), v.size() > kMaxDeviceId ? "1004" : "0");
        const std::string fields[] = {
            "key=" + v + "&visitor=1&unique_id=DEVICE-A&last_sync=0&user_id=" + a_.userId,
            "key=" + a_.key + "&visitor=" + v + "&unique_id=" + v + "&last_sync=0&user_id=" + a_.userId,
            identity(a_) + "&last_sync=" + v + "&user_id=" + v,
        };
        for (const auto& body : fields) EXPECT_EQ(post("/Sync/receive", body)["error"].asString(), "1002");
        const Json::Value ok = post("/Sync/receive", identity(a_) + "&last_sync=" + v + "&user_id=" + a_.userId);
        EXPECT_EQ(ok["error"].asString(), "0");
    }
    EXPECT_EQ(post("/Sync/send", identity(a_) + "&user_id=" + a_.userId + "&opers=" + sql)["error"].asString(), "1004");
    EXPECT_EQ(contents(receive(b_, bTime_)).size(), 2u);
}

}  // namespace
}  // namespace kivtal::service::test
