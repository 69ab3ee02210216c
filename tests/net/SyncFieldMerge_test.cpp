// A contact changed here and on another device between two syncs, settled by a real
// sync run against its base: what this device stores, what goes up, which clashes it
// keeps, and that a run whose received changes fail keeps the settlement for the next.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "model/FieldMerge.h"
#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/SyncRun.h"
#include "net/WorkerMessages.h"
#include "store/ContactStore.h"
#include "store/SyncBases.h"
#include "support/JobHarness.h"
#include "support/SyncScenario.h"
#include "support/SyncUser.h"

namespace kivtal {
namespace {

using Edit = std::function<void(BusinessCard&)>;

class SyncFieldMerge : public ::testing::Test {
protected:
    SyncFieldMerge() : feed(h.service) {
        EXPECT_EQ(h.store.EnsureUserDb("tester"), 0);
        test::SignInSyncUser();
        feed.setClock(2000);
    }

    int Run() {
        JobContext ctx = h.context();
        return runSync(ctx);
    }

    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(h.store.userDbPath()), SQLITE_OK);
        ASSERT_EQ(db.execute(sql), SQLITE_OK) << sql;
    }

    // A contact added here and synced: the service and this device agree on it.
    BusinessCard Synced() {
        BusinessCard card;
        card.bc_name = "周八";
        card.company_name = "原公司";
        card.cell_phone = "13800000000";
        EXPECT_EQ(ContactStore(h.store).AddContact(card), StoreStatus::kOk);
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(ContactStore(h.store).ContactById(card.bc_id, card), 0);
        EXPECT_GT(card.bc_server_id, 0);
        return card;
    }

    // The same contact changed on the other device (its own local ids) and published.
    void ChangedElsewhere(const BusinessCard& agreed, const Edit& edit) {
        BusinessCard theirs = agreed;
        theirs.bc_id = 77;
        theirs.group_id = 0;
        edit(theirs);
        feed.publish(2500,
                     test::ChangeMadeElsewhere(OPER_CONTACT, WAY_MODIFY, agreed.bc_server_id, FormatValues(theirs)));
        feed.setClock(3000);
    }

    BusinessCard Stored(int bcId) {
        BusinessCard card;
        EXPECT_EQ(ContactStore(h.store).ContactById(bcId, card), 0);
        return card;
    }

    // The values of the last upload of the contact, and its way.
    Json::Value LastUploaded(int rowId) {
        Json::Value last;
        for (const std::string& body : h.bodies("/Sync/send")) {
            Json::Value v;
            Json::Reader().parse(body.substr(body.find("&opers=") + 7), v);
            for (const Json::Value& o : v["opers"])
                if (o["oper_id"].asString() == "1" && o["client_id"].asString() == std::to_string(rowId)) last = o;
        }
        return last;
    }

    std::string Base(const BusinessCard& card) {
        SyncBases bases;
        EXPECT_EQ(ReadSyncBases(h.store, {{OPER_CONTACT, card.bc_server_id}}, bases), 0);
        return bases[{OPER_CONTACT, card.bc_server_id}];
    }

    test::JobHarness h;
    test::SyncFeed feed;
};

struct Row {
    const char* what;
    Edit here, there;
    std::string company, mobile;
    int state;
    std::vector<std::pair<std::string, std::string>> clashes;  // field, other value
};

TEST_F(SyncFieldMerge, BothSidesChangesEndInOneRecordHereAndOnTheService) {
    const Edit company = [](BusinessCard& c) { c.company_name = "新公司"; };
    const Edit mobile = [](BusinessCard& c) { c.cell_phone = "13900000000"; };
    const std::vector<Row> rows = {
        {"different fields", company, mobile, "新公司", "13900000000", 0, {}},
        {"the same field",
         company,
         [](BusinessCard& c) { c.company_name = "别家"; },
         "新公司",
         "13800000000",
         0,
         {{"company", "别家"}}},
        {"deleted there, edited here",
         company,
         [](BusinessCard& c) { c.bc_state = 1; },
         "新公司",
         "13800000000",
         0,
         {{"state", "1"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const BusinessCard agreed = Synced();
        BusinessCard mine = agreed;
        row.here(mine);
        ASSERT_EQ(ContactStore(h.store).ModifyContact(mine), StoreStatus::kOk);
        ChangedElsewhere(agreed, row.there);

        ASSERT_EQ(Run(), 0);
        const BusinessCard stored = Stored(agreed.bc_id);
        EXPECT_EQ(stored.company_name, row.company);
        EXPECT_EQ(stored.cell_phone, row.mobile);
        EXPECT_EQ(stored.bc_state, row.state);
        EXPECT_EQ(stored.bc_server_id, agreed.bc_server_id);
        const Json::Value up = LastUploaded(agreed.bc_id);
        EXPECT_EQ(up["oper_ways"].asString(), "2");
        EXPECT_EQ(up["id"].asString(), std::to_string(agreed.bc_server_id));
        EXPECT_EQ(up["content"].asString(), FormatValues(stored));
        EXPECT_EQ(Base(stored), FormatValues(stored));
        SyncClashList clashes;
        ASSERT_EQ(ClashesOf(h.store, OPER_CONTACT, agreed.bc_id, clashes), 0);
        ASSERT_EQ(clashes.size(), row.clashes.size());
        for (std::size_t i = 0; i < clashes.size(); ++i) {
            EXPECT_EQ(clashes[i].field, FieldIndexOfKind(OPER_CONTACT, row.clashes[i].first));
            EXPECT_EQ(clashes[i].other, row.clashes[i].second);
            EXPECT_EQ(clashes[i].s_server_id, agreed.bc_server_id);
        }
        feed.setClock(2000);
        Exec("DELETE FROM tb_sync_clash;");
    }
}

// The merged entry went up, but the received change was not stored: the next run
// receives it again and must settle it the same way, not let it undo this device's edit.
TEST_F(SyncFieldMerge, AMergeWhoseReceivedChangeFailsIsSettledAgainByTheNextRun) {
    const BusinessCard agreed = Synced();
    const std::string agreedBase = Base(agreed);
    ASSERT_FALSE(agreedBase.empty());
    BusinessCard mine = agreed;
    mine.company_name = "新公司";
    ASSERT_EQ(ContactStore(h.store).ModifyContact(mine), StoreStatus::kOk);
    ChangedElsewhere(agreed, [](BusinessCard& c) { c.cell_phone = "13900000000"; });
    Exec("CREATE TRIGGER no_time BEFORE UPDATE ON tb_sync_time BEGIN SELECT RAISE(ABORT,'disk full'); END;");

    EXPECT_EQ(Run(), kResultNotStored);
    EXPECT_EQ(Base(agreed), agreedBase);
    Exec("DROP TRIGGER no_time;");
    EXPECT_EQ(Run(), 0);
    const BusinessCard stored = Stored(agreed.bc_id);
    EXPECT_EQ(stored.company_name, "新公司");
    EXPECT_EQ(stored.cell_phone, "13900000000");
    EXPECT_EQ(LastUploaded(agreed.bc_id)["content"].asString(), FormatValues(stored));
}

}  // namespace
}  // namespace kivtal
