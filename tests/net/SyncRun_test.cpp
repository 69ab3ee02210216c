#include "net/SyncRun.h"

#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>

#include <functional>
#include <string>

#include "model/Clock.h"
#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/WorkerMessages.h"
#include "store/ChangeLog.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "support/JobHarness.h"
#include "support/SyncUser.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

using test::Reply;

// Lets a test act in the middle of a run, as a user editing while it waits on the service.
class HookedNet : public test::ProbedNet {
public:
    int httpRequest(const std::string& verb, const std::string& url, const std::string& body,
                    std::string& reply) override {
        if (beforeSend && url.ends_with("/Sync/send")) beforeSend();
        return NetUtil::httpRequest(verb, url, body, reply);
    }
    std::function<void()> beforeSend;
};

Json::Value Oper(int kind, int ways, int serverId, const std::string& content, int mainTab = 1) {
    Json::Value o;
    o["oper_id"] = std::to_string(kind);
    o["main"] = std::to_string(mainTab);
    o["time"] = "100";
    o["oper_ways"] = std::to_string(ways);
    o["id"] = std::to_string(serverId);
    o["content"] = content;
    return o;
}

std::string ReceiveReply(std::initializer_list<Json::Value> opers) {
    Json::Value root;
    root["error"] = "0";
    root["opers"] = Json::Value(Json::arrayValue);
    for (const Json::Value& o : opers) root["opers"].append(o);
    return Json::FastWriter().write(root);
}

std::string SendReply(int time, std::initializer_list<std::array<int, 3>> results = {}) {
    Json::Value root;
    root["error"] = "0";
    root["time"] = std::to_string(time);
    root["results"] = Json::Value(Json::arrayValue);
    for (const auto& [kind, id, clientId] : results) {
        Json::Value r;
        r["oper_id"] = std::to_string(kind);
        r["id"] = std::to_string(id);
        r["client_id"] = std::to_string(clientId);
        root["results"].append(r);
    }
    return Json::FastWriter().write(root);
}

class SyncRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.store.EnsureUserDb("tester"), 0);
        test::SignInSyncUser();
    }

    int Run() {
        JobContext ctx{net, h.store, LoginUser::Instance(), h.config, nullptr, h.dir.path() + "dl/", nullptr};
        ctx.post = [this](unsigned m, std::intptr_t w, std::intptr_t l) { h.posts.add({m, w, l}); };
        return runSync(ctx);
    }

    ResultTable Query(const std::string& sql) {
        SqliteDb db;
        EXPECT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ResultTable t;
        EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
        return t;
    }
    std::string Scalar(const std::string& sql) { return Query(sql).text(0, 0); }
    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql;
    }

    // The service holds every row and entry so far, under server id `id`.
    void AcknowledgeAll(const std::string& table, const std::string& column, int id) {
        Exec("UPDATE " + table + " SET " + column + "=" + std::to_string(id));
        Exec("UPDATE tb_sync_record SET sync_state=3,s_server_id=" + std::to_string(id));
    }

    // The change list of the n-th upload, decoded.
    Json::Value Uploaded(std::size_t n) {
        const std::string body = h.bodies("/Sync/send").at(n);
        const std::string doc = body.substr(body.find("&opers=") + 7);
        Json::Value v;
        EXPECT_TRUE(Json::Reader().parse(doc, v)) << doc;
        return v;
    }

    // A contact the service already knows as server id 500, then edited here.
    BusinessCard SyncedContactEditedLocally() {
        BusinessCard card;
        card.bc_name = "Wang";
        card.company_name = "Acme";
        EXPECT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
        AcknowledgeAll("tb_bc", "bc_server_id", 500);
        card.bc_server_id = 500;
        card.company_name = "Local Co";
        EXPECT_EQ(ContactStore(h.store).ModifyContact(card), StoreStatus::kOk);
        return card;
    }

    // Three new contacts, local ids 1 to 3, and nothing to receive.
    void AddHanQinZhao() {
        for (const char* name : {"Han", "Qin", "Zhao"}) {
            BusinessCard card;
            card.bc_name = name;
            ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
        }
        h.service.setDefault("/Sync/receive", Reply::Ok(ReceiveReply({})));
    }

    test::JobHarness h;
    HookedNet net;
};

TEST_F(SyncRun, NothingPendingStillUploadsNullStoresTheTimeAndApplies) {
    BusinessCard theirs;
    theirs.bc_name = "Zhou";
    h.service.script("/Sync/receive",
                     Reply::Ok(ReceiveReply({Oper(OPER_CONTACT, WAY_ADD, 901, FormatValues(theirs))})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(1700)));

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(h.bodies("/Sync/receive"),
              std::vector<std::string>{"key=K3Y&visitor=0&unique_id=DEV1&last_sync=0&user_id=42"});
    EXPECT_EQ(h.bodies("/Sync/send"),
              std::vector<std::string>{"key=K3Y&visitor=0&unique_id=DEV1&user_id=42&opers=null\n"});
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "1700");
    EXPECT_EQ(Scalar("SELECT bc_name||'/'||bc_server_id FROM tb_bc"), "Zhou/901");
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC), std::vector<std::intptr_t>{0});
}

TEST_F(SyncRun, OfflineOrRefusedReceiveChangesNothing) {
    net.online = false;
    EXPECT_EQ(Run(), kResultNoNetwork);
    EXPECT_TRUE(h.service.requests().empty());

    net.online = true;
    h.service.script("/Sync/receive", Reply::Ok(R"({"error":"1005"})"));
    EXPECT_EQ(Run(), 1005);
    EXPECT_TRUE(h.bodies("/Sync/send").empty());
    EXPECT_EQ(h.posts.codes(WM_RES_SYNC), (std::vector<std::intptr_t>{kResultNoNetwork, 1005}));
}

// "Last synced" is the wall clock of the last run that went through, not the service's
// sequence, and a failed run leaves it alone.
TEST_F(SyncRun, OnlyACompleteRunRecordsWhenItFinished) {
    test::TestClock clock(1796905342);
    test::ScopedClock pinned(clock);
    const auto finishedAt = [&] {
        int at = -1;
        EXPECT_EQ(ChangeLog(h.store).ReadLastSyncFinish(at), 0);
        return at;
    };
    net.online = false;
    EXPECT_EQ(Run(), kResultNoNetwork);
    EXPECT_EQ(finishedAt(), 0);

    net.online = true;
    h.service.script("/Sync/receive", Reply::Ok(ReceiveReply({})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(7)));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(finishedAt(), 1796905342);

    clock.set(1796999999);
    h.service.script("/Sync/receive", Reply::Ok(R"({"error":"1005"})"));
    EXPECT_EQ(Run(), 1005);
    EXPECT_EQ(finishedAt(), 1796905342);
}

// Their version of the contact: the same name, or another one.
class ContactConflict : public SyncRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(ContactConflict, BothVersionsEndInRowsOfTheirOwn) {
    const std::string theirName = GetParam();
    const BusinessCard mine = SyncedContactEditedLocally();
    BusinessCard theirs = mine;
    theirs.bc_name = theirName;
    theirs.company_name = "Server Co";
    h.service.script("/Sync/receive",
                     Reply::Ok(ReceiveReply({Oper(OPER_CONTACT, WAY_MODIFY, 500, FormatValues(theirs))})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(1800, {{OPER_CONTACT, 777, mine.bc_id}})));

    ASSERT_EQ(Run(), 0);
    const Json::Value up = Uploaded(0)["opers"][0];
    EXPECT_EQ(up["main"].asString(), theirName == "Wang" ? "2" : "1");
    EXPECT_EQ(up["oper_ways"].asString(), "1");
    EXPECT_EQ(up["id"].asString(), "500");
    const ResultTable rows = Query("SELECT bc_name,company_name,bc_server_id FROM tb_bc ORDER BY bc_id");
    ASSERT_EQ(rows.rows(), 2);
    EXPECT_EQ(rows.text(0, 1) + "/" + rows.text(0, 2), "Local Co/777");
    EXPECT_EQ(rows.text(1, 0) + "/" + rows.text(1, 1) + "/" + rows.text(1, 2), theirName + "/Server Co/500");
}
INSTANTIATE_TEST_SUITE_P(SyncRun, ContactConflict, ::testing::Values("Wang", "Wang Wei"));

TEST_F(SyncRun, MatterConflictIsWonByTheService) {
    TalEvent matter;
    matter.description = "Fair";
    ASSERT_EQ(MatterStore(h.store).AddMatter(matter), StoreStatus::kOk);
    AcknowledgeAll("tb_event", "server_id", 600);
    matter.server_id = 600;
    matter.description = "Fair, local";
    ASSERT_EQ(MatterStore(h.store).ModifyMatter(matter), StoreStatus::kOk);
    TalEvent theirs = matter;
    theirs.description = "Fair, theirs";
    h.service.script("/Sync/receive",
                     Reply::Ok(ReceiveReply({Oper(OPER_MATTER, WAY_MODIFY, 600, FormatValues(theirs))})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(1900)));

    ASSERT_EQ(Run(), 0);
    EXPECT_TRUE(Uploaded(0).isNull());
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "3");
    EXPECT_EQ(Scalar("SELECT description FROM tb_event"), "Fair, theirs");
}

TEST_F(SyncRun, ContactGroupConflictIsWonByThisDevice) {
    CardGroup group;
    group.group_name = "Clients";
    ASSERT_EQ(ContactStore(h.store).AddGroup(group), StoreStatus::kOk);
    AcknowledgeAll("tb_bc_group", "server_id", 300);
    group.server_id = 300;
    group.group_name = "Customers";
    ASSERT_EQ(ContactStore(h.store).ModifyGroup(group), StoreStatus::kOk);
    CardGroup theirs = group;
    theirs.group_name = "Buyers";
    h.service.script("/Sync/receive",
                     Reply::Ok(ReceiveReply({Oper(OPER_CONTACT_GROUP, WAY_MODIFY, 300, FormatValues(theirs))})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2000, {{OPER_CONTACT_GROUP, 300, group.group_id}})));

    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Uploaded(0)["opers"][0]["oper_ways"].asString(), "2");
    EXPECT_EQ(Scalar("SELECT group_name FROM tb_bc_group"), "Customers");
}

TEST_F(SyncRun, EditDuringTheRunIsUploadedByTheNextRun) {
    BusinessCard card;
    card.bc_name = "Feng";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    net.beforeSend = [&] {
        net.beforeSend = nullptr;
        BusinessCard edited = card;
        edited.company_name = "typed during the upload";
        ASSERT_EQ(ContactStore(h.store).ModifyContact(edited), StoreStatus::kOk);
    };
    h.service.setDefault("/Sync/receive", Reply::Ok(ReceiveReply({})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2100, {{OPER_CONTACT, 901, card.bc_id}})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2200, {{OPER_CONTACT, 901, card.bc_id}})));

    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Scalar("SELECT bc_server_id||'/'||company_name FROM tb_bc"), "901/typed during the upload");
    EXPECT_EQ(Scalar("SELECT oper_ways||'/'||sync_state FROM tb_sync_record"), "2/0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record_tmp"), "0");

    ASSERT_EQ(Run(), 0);
    const Json::Value second = Uploaded(1)["opers"][0];
    EXPECT_EQ(second["oper_ways"].asString(), "2");
    EXPECT_EQ(second["id"].asString(), "901");
    EXPECT_NE(second["content"].asString().find("typed during the upload"), std::string::npos);
}

TEST_F(SyncRun, EntriesLeftBeingSentGoBackToPending) {
    BusinessCard card;
    card.bc_name = "Chu";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=2");  // a run that died mid-way
    h.service.setDefault("/Sync/receive", Reply::Ok(ReceiveReply({})));
    h.service.script("/Sync/send", Reply::Status(500));

    EXPECT_EQ(Run(), kResultNoNetwork);
    EXPECT_EQ(Uploaded(0)["opers"].size(), 1u);
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "0");  // the failed run let go of it too
}

std::string ErrorReply(int code) { return R"({"error":")" + std::to_string(code) + R"("})"; }

// The service refuses a batch as a whole and says nothing of which entry it minds: the
// run halves the batch until it has found the refused entry, sets it aside, and the
// others go up.
TEST_F(SyncRun, ARefusedBatchIsHalvedUntilTheRefusedEntryIsFoundAndSetAside) {
    AddHanQinZhao();
    // [Han Qin Zhao] refused, [Han] taken, [Qin Zhao] refused, [Qin] refused, [Zhao] taken.
    for (const std::string& reply : {ErrorReply(2008), SendReply(2300, {{OPER_CONTACT, 901, 1}}), ErrorReply(2008),
                                     ErrorReply(2008), SendReply(2300, {{OPER_CONTACT, 903, 3}})})
        h.service.script("/Sync/send", Reply::Ok(reply));

    EXPECT_EQ(Run(), kResultUploadRefused);
    for (const auto& [n, entries] : {std::pair{0, 3u}, {1, 1u}, {2, 2u}, {3, 1u}, {4, 1u}})
        EXPECT_EQ(Uploaded(n)["opers"].size(), entries) << n;
    EXPECT_EQ(Scalar("SELECT group_concat(row) FROM (SELECT bc_name||':'||IFNULL(bc_server_id,0)||':'||sync_state "
                     "AS row FROM tb_bc JOIN tb_sync_record ON s_row_id=bc_id ORDER BY bc_id)"),
              "Han:901:3,Qin:0:4,Zhao:903:3");
    EXPECT_EQ(Scalar("SELECT reason FROM tb_sync_refused"),
              "the reminder's text holds a word the service refuses (code 2008)");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "2300");  // the received changes are in
    EXPECT_EQ(Scalar("SELECT count(*) FROM client_last_sync"), "0");      // but the run did not finish

    h.service.script("/Sync/send", Reply::Ok(SendReply(2400)));
    EXPECT_EQ(Run(), 0);  // set aside, it holds back nothing
    EXPECT_TRUE(Uploaded(5).isNull());
}

// A service that names the refused entry: only that one is set aside, and the entries
// on either side go up without halving.
TEST_F(SyncRun, TheEntryTheServiceNamesIsSetAsideAndTheOthersGoUp) {
    AddHanQinZhao();
    h.service.script("/Sync/send",
                     Reply::Ok(R"({"error":"2007","refused":{"index":"1","oper_id":"1","client_id":"2"}})"));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2300, {{OPER_CONTACT, 901, 1}})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2300, {{OPER_CONTACT, 903, 3}})));

    EXPECT_EQ(Run(), kResultUploadRefused);
    EXPECT_EQ(h.bodies("/Sync/send").size(), 3u);
    EXPECT_EQ(Scalar("SELECT group_concat(row) FROM (SELECT bc_name||':'||sync_state AS row FROM tb_bc JOIN "
                     "tb_sync_record ON s_row_id=bc_id ORDER BY bc_id)"),
              "Han:3,Qin:4,Zhao:3");
}

// Codes that refuse the request whatever it carries: nothing is set aside, the run
// reports the code, and the entries go up with the next run.
TEST_F(SyncRun, AnUploadRefusedAsAWholeReportsTheServicesCode) {
    BusinessCard card;
    card.bc_name = "Wei";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    h.service.setDefault("/Sync/receive", Reply::Ok(ReceiveReply({})));
    for (const int code : {1002, 1005}) {
        h.service.script("/Sync/send", Reply::Ok(ErrorReply(code)));
        EXPECT_EQ(Run(), code);
        EXPECT_EQ(h.posts.codes(WM_RES_SYNC).back(), code);
        EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "0") << code;
        EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0") << code;
    }
    EXPECT_EQ(h.bodies("/Sync/send").size(), 2u);  // one request a run: no halving
}

// An upload reply that is not JSON, or that lacks the time.
class UnreadableUpload : public SyncRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnreadableUpload, AcknowledgesAndAppliesNothing) {
    const char* reply = GetParam();
    ASSERT_EQ(ChangeLog(h.store).StoreSyncTime(50), 0);
    BusinessCard card;
    card.bc_name = "Wei";
    ASSERT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
    h.service.script("/Sync/receive", Reply::Ok(ReceiveReply({Oper(OPER_CONTACT, WAY_ADD, 902, FormatValues(card))})));
    h.service.script("/Sync/send", Reply::Ok(reply));

    EXPECT_EQ(Run(), kResultNoNetwork);
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "50");
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "1");
}
INSTANTIATE_TEST_SUITE_P(SyncRun, UnreadableUpload,
                         ::testing::Values("<html>busy</html>",
                                           R"({"error":"0","results":[{"oper_id":"1","id":"9","client_id":"1"}]})"));

TEST_F(SyncRun, FailedApplyKeepsAcknowledgementsAndReceivesTheChangesAgain) {
    BusinessCard mine;
    mine.bc_name = "Han";
    ASSERT_EQ(ContactStore(h.store).AddContact(mine), StoreStatus::kOk);
    BusinessCard theirs;
    theirs.bc_name = "Qin";
    const std::string received = ReceiveReply({Oper(OPER_CONTACT, WAY_ADD, 902, FormatValues(theirs))});
    h.service.setDefault("/Sync/receive", Reply::Ok(received));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2300, {{OPER_CONTACT, 901, mine.bc_id}})));
    h.service.script("/Sync/send", Reply::Ok(SendReply(2400)));
    Exec("CREATE TRIGGER one_row BEFORE INSERT ON tb_bc BEGIN SELECT RAISE(ABORT,'disk full'); END;");

    ASSERT_EQ(Run(), kResultNotStored);                          // reached the service, yet Qin is not here
    EXPECT_EQ(Scalar("SELECT bc_server_id FROM tb_bc"), "901");  // not uploaded again
    EXPECT_EQ(Scalar("SELECT sync_state FROM tb_sync_record"), "3");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "0");  // Qin not received yet

    Exec("DROP TRIGGER one_row;");
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(h.bodies("/Sync/receive").at(1), "key=K3Y&visitor=0&unique_id=DEV1&last_sync=0&user_id=42");
    EXPECT_TRUE(Uploaded(1).isNull());
    EXPECT_EQ(Scalar("SELECT group_concat(bc_name) FROM tb_bc"), "Han,Qin");
    EXPECT_EQ(Scalar("SELECT tal_sync_time FROM tb_sync_time"), "2400");
}

}  // namespace
}  // namespace kivtal
