// Login, key checks and the change feed between two devices of one account.
#include <thread>

#include "ServiceHarness.h"

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
};

TEST_F(ServiceSync, LoginAnswersKeyMaterialOrTheRefusalCode) {
    const Json::Value ok = loginReply("alice", "secret", "DEVICE-C");
    EXPECT_EQ(ok["error"].asString(), "0");
    EXPECT_EQ(ok["user_id"].asString(), a_.userId);
    EXPECT_EQ(ok["random_key"].asString().size(), 32u);
    EXPECT_EQ(loginReply("nobody", "secret", "D")["error"].asString(), "1001");
    EXPECT_EQ(loginReply("alice", "wrong", "D")["error"].asString(), "1003");
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
    EXPECT_EQ(receive(b_, 0)["opers"].size(), 0u);
    EXPECT_EQ(receive(bob, 0)["opers"].size(), 0u);

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

    const Json::Value got = receive(b_, 0);
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

TEST_F(ServiceSync, ADeviceNeverGetsItsOwnChangesBack) {
    ASSERT_EQ(send(a_, {{6, 1, 1, 0, ContactGroup(1, "mine")}})["error"].asString(), "0");
    EXPECT_EQ(receive(a_, 0)["opers"].size(), 0u);
    EXPECT_EQ(contents(receive(b_, 0)).size(), 1u);
}

TEST_F(ServiceSync, AFreshDeviceGetsATimeItCanStoreAndStillReceivesEverything) {
    ASSERT_EQ(send(b_, {{6, 1, 1, 0, ContactGroup(1, "first")}})["error"].asString(), "0");
    // A has received nothing: its time must still be usable (the client refuses 0),
    // and storing it must not skip B's change.
    const std::int64_t aTime = std::stoll(send(a_, {})["time"].asString());
    EXPECT_GT(aTime, 0);
    EXPECT_EQ(contents(receive(a_, aTime)).size(), 1u);
}

TEST_F(ServiceSync, ChangesSentBetweenAReceiveAndASendAreNotSkipped) {
    ASSERT_EQ(send(b_, {{6, 1, 1, 0, ContactGroup(1, "first")}})["error"].asString(), "0");
    // A receives, B sends, A sends: A stores the time of its own send reply.
    ASSERT_EQ(contents(receive(a_, 0)).size(), 1u);
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
    std::int64_t cTime = 0;
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
    EXPECT_EQ(send(a_, {group, {5, 1, 1, 0, Reminder(1, "周五去赌博")}})["error"].asString(), "2008");
    // Three coins: two reminders and one change pass; the fourth paid change does not.
    EXPECT_EQ(send(a_, {{5, 1, 1, 0, Reminder(1, "开会")}, {5, 1, 2, 0, Reminder(2, "吃饭")}})["error"].asString(), "0");
    const Json::Value changed = send(a_, {{5, 2, 1, 0, Reminder(1, "改时间开会")}});
    EXPECT_EQ(changed["error"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);
    EXPECT_EQ(send(a_, {group, {5, 1, 3, 0, Reminder(3, "再提醒")}})["error"].asString(), "2004");
    // Withdrawing a reminder is free.
    EXPECT_EQ(send(a_, {{5, 2, 2, 0, Reminder(2, "吃饭", 1)}})["error"].asString(), "0");
    EXPECT_EQ(coins("alice"), 0);

    const auto delivered = contents(receive(b_, 0));
    EXPECT_EQ(delivered.size(), 4u);  // the refused batches left nothing
    for (const auto& v : delivered) EXPECT_NE(SplitFields(v)[1], "g");
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
    for (const auto& v : contents(receive(b_, 0))) EXPECT_EQ(SplitFields(v)[3], "");
}

TEST_F(ServiceSync, HostileAndOverlongValuesAreStoredAsText) {
    const std::string sql = "'; DROP TABLE changes;--";
    const std::string big(1 << 20, 'x');
    // In the change list: kept verbatim and delivered to the other device.
    const Json::Value sent = send(a_, {{6, 1, 1, 0, ContactGroup(1, sql)}, {6, 1, 2, 0, ContactGroup(2, big)}});
    ASSERT_EQ(sent["error"].asString(), "0");
    const auto got = contents(receive(b_, 0));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(SplitFields(got[0])[1], sql);
    EXPECT_EQ(SplitFields(got[1])[1], big);

    // In every identity field: refused, nothing executed.
    for (const std::string& v : {sql, big}) {
        EXPECT_EQ(loginReply(v, "secret", "D")["error"].asString(), "1001");
        EXPECT_EQ(loginReply("alice", "secret", v)["error"].asString(), "0");
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
    EXPECT_EQ(contents(receive(b_, 0)).size(), 2u);
}

}  // namespace
}  // namespace kivtal::service::test
