// Uploads that go wrong on the way, through a fake network in front of the real
// service: a change the service refuses, replies that never arrive or arrive late, and
// an upload too large for one request.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <random>
#include <string>

#include "e2e/E2eFixture.h"
#include "e2e/FaultProxy.h"
#include "model/SyncKinds.h"
#include "net/SyncUpload.h"
#include "store/AccountStore.h"
#include "store/ContactStore.h"
#include "store/SqliteDb.h"

namespace kivtal::e2e {
namespace {

std::string Scalar(const std::string& dbPath, const std::string& sql) {
    SqliteDb db;
    EXPECT_EQ(db.open(dbPath), 0) << dbPath;
    ResultTable t;
    EXPECT_EQ(db.query(sql, t), 0) << sql << ": " << db.lastError();
    return t.empty() ? std::string() : t.text(0, 0);
}

ReplyFault OnUploads(const test::Request& r, ReplyFault fault) {
    return r.path == kSyncSendPath ? fault : ReplyFault::kPass;
}

class Uploads : public TwoDeviceTest {
protected:
    std::string deviceUrl() override {
        if (!proxy_) proxy_ = std::make_unique<FaultProxy>(service_.url());
        return proxy_->url();
    }

    FaultProxy& proxy() { return *proxy_; }

    // The account's contact records on the service, the deleted ones too (a delete
    // only marks its record).
    std::string serviceContacts() {
        return service_.query(
            "SELECT count(*) FROM records r JOIN accounts a ON a.account_id=r.account_id "
            "WHERE a.login_name='zhang' AND r.kind=1;");
    }

    // The devices hold the same live contacts, each once, and the service one record
    // for each contact ever added.
    void expectEqualEverywhere(std::size_t contacts, std::size_t added, const std::string& when) {
        proxy().setRule({});
        converge();
        const Snapshot a = snapshot(A());
        EXPECT_EQ(a, snapshot(B())) << when;
        EXPECT_EQ(Repeated(a.contacts), std::vector<std::string>{}) << when;
        EXPECT_EQ(a.contacts.size(), contacts) << when;
        EXPECT_EQ(serviceContacts(), std::to_string(added)) << when;
        EXPECT_EQ(PendingCount(A().userDbPath(kAccount)), 0) << when;
        EXPECT_EQ(PendingCount(B().userDbPath(kAccount)), 0) << when;
    }

    std::unique_ptr<FaultProxy> proxy_;
};

TEST_F(Uploads, AChangeTheServiceRefusesIsReportedSetAsideAndHoldsBackNoOther) {
    ASSERT_EQ(service_.op({"--add-account", "li", "pw-li", "--certified", "--name", "李四"}), 0);
    for (Device* d : {&A(), &B()}) {
        ASSERT_EQ(d->run({"login", "li", "pw-li"}).exitCode(), 0);
        d->sync();  // the profile arrives
    }
    for (const char* name : {"甲", "乙", "丙"}) ASSERT_GT(A().add({"contacts", "add", "--name", name}), 0);
    LocalStore& store = A().store("li");
    UserInfo profile;
    ASSERT_EQ(AccountStore(store).ReadProfile(profile), 0);
    profile.username = "王五";  // a certified name: the service refuses the change
    ASSERT_EQ(AccountStore(store).ModifyProfile(profile), 0);
    const std::string dbPath = A().userDbPath("li");
    const std::string finishedBefore = "1000";
    Scalar(dbPath, "UPDATE client_last_sync SET finished_at=" + finishedBefore + ";");

    const CliRun refused = A().run({"sync"});
    EXPECT_EQ(refused.exitCode(), 4) << refused.err;
    EXPECT_NE(refused.err.find("-302"), std::string::npos) << refused.err;
    EXPECT_EQ(Scalar(dbPath, "SELECT finished_at FROM client_last_sync;"), finishedBefore);
    const Json::Value status = A().json({"status"});
    EXPECT_EQ(status[0]["refused"].asInt(), 1);
    EXPECT_EQ(status[0]["pending"].asInt(), 0);
    B().sync();
    EXPECT_EQ(TakeSnapshot(B().userDbPath("li")).contacts.size(), 3u);  // the others went up

    const Json::Value listed = A().json({"set-aside", "refused"});
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]["kind"].asInt(), OPER_USER);
    EXPECT_NE(listed[0]["reason"].asString().find("2007"), std::string::npos) << listed[0]["reason"];
    const std::string id = std::to_string(listed[0]["id"].asInt());

    // Sent again, it is refused again; given up, it no longer stands in the way.
    EXPECT_EQ(A().run({"set-aside", "resend", id}).exitCode(), 0);
    EXPECT_EQ(A().run({"sync"}).exitCode(), 4);
    EXPECT_EQ(A().run({"set-aside", "give-up", id}).exitCode(), 0);
    EXPECT_EQ(A().run({"set-aside", "give-up", id}).exitCode(), 2);
    A().sync();
    EXPECT_EQ(A().json({"status"})[0]["refused"].asInt(), 0);
    EXPECT_NE(Scalar(dbPath, "SELECT finished_at FROM client_last_sync;"), finishedBefore);
}

// The service stored the add, its reply was lost; the user then changes the contact
// before the next sync, which sends the entry again, still an add.
TEST_F(Uploads, AnAddWhoseReplyWasLostStaysOneContactWhateverChangesNext) {
    struct Case {
        const char* name;
        std::vector<std::string> thenDo;  // after the id
        std::size_t left;
    };
    const Case cases[] = {{"王伟", {"--company", "新公司"}, 1}, {"李娜", {}, 0}};
    std::size_t total = 0, added = 0;
    for (const Case& c : cases) {
        const int id = A().add({"contacts", "add", "--name", c.name, "--company", "旧公司"});
        ASSERT_GT(id, 0);
        proxy().setRule([](const test::Request& r) { return OnUploads(r, ReplyFault::kDrop); });
        EXPECT_EQ(A().run({"sync"}).exitCode(), 4);
        proxy().setRule({});
        std::vector<std::string> change = {"contacts", c.thenDo.empty() ? "delete" : "edit", std::to_string(id)};
        change.insert(change.end(), c.thenDo.begin(), c.thenDo.end());
        EXPECT_EQ(A().run(change).exitCode(), 0);
        total += c.left;
        expectEqualEverywhere(total, ++added, c.name);
    }
    EXPECT_NE(snapshot(B()).contacts.at(0).find("新公司"), std::string::npos);
}

TEST_F(Uploads, ALargeUploadGoesUpInBoundedBatchesAndACutOneResendsOnlyTheBatchInFlight) {
    constexpr int kContacts = 2500;  // each with a bank account: 5,000 entries
    {
        StoreSession session = A().store(kAccount).OpenUserDb();
        ASSERT_TRUE(session.ok());
        SqliteTransaction tx(session.db());
        for (int i = 0; i < kContacts; ++i) {
            BusinessCard card;
            card.bc_name = "Contact" + std::to_string(i);
            UserBankInfo bank;
            bank.bank_name = "Bank";
            bank.ubank_card = std::to_string(622200000 + i);
            card.bank_accounts.push_back(bank);
            ASSERT_EQ(InsertContact(session.db(), card), StoreStatus::kOk);
        }
        ASSERT_EQ(tx.commit(), 0);
    }
    std::atomic<int> uploads{0};
    proxy().clearUploads();  // the logins' first syncs
    proxy().setRule([&](const test::Request& r) {
        return r.path == kSyncSendPath && ++uploads == 2 ? ReplyFault::kDrop : ReplyFault::kPass;
    });
    EXPECT_EQ(A().run({"sync"}).exitCode(), 4);  // the second batch's reply is lost
    const std::vector<std::string> cut = proxy().uploads();
    ASSERT_EQ(cut.size(), 2u);
    proxy().setRule({});
    proxy().clearUploads();

    A().sync();
    std::size_t resent = 0;
    for (const std::vector<std::string>& run : {cut, proxy().uploads()}) {
        for (const std::string& upload : run) EXPECT_LE(FaultProxy::EntriesIn(upload), kUploadBatchEntries);
    }
    for (const std::string& upload : proxy().uploads()) resent += FaultProxy::EntriesIn(upload);
    // Everything but the acknowledged first batch, the one in flight included.
    EXPECT_EQ(resent, 2u * kContacts - FaultProxy::EntriesIn(cut[0]));
    B().sync();
    const Snapshot b = snapshot(B());
    EXPECT_EQ(b.contacts.size(), std::size_t{kContacts});
    EXPECT_EQ(Repeated(b.contacts), std::vector<std::string>{});
    EXPECT_EQ(b, snapshot(A()));
    EXPECT_EQ(serviceContacts(), std::to_string(kContacts));
}

TEST_F(Uploads, RepliesLostOrHeldBackAtRandomEndWithDevicesAndServiceEqual) {
    std::mutex lock;
    std::mt19937 random(20261211);
    // Both requests of a run, not the login before it.
    proxy().setRule([&](const test::Request& r) {
        if (r.path.rfind("/Sync/", 0) != 0) return ReplyFault::kPass;
        const std::lock_guard guard(lock);
        switch (std::uniform_int_distribution<int>(0, 5)(random)) {
            case 0:
            case 1: return ReplyFault::kDrop;
            case 2: return ReplyFault::kDelay;
            default: return ReplyFault::kPass;
        }
    });
    std::vector<int> mine;
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i);
        mine.push_back(A().add({"contacts", "add", "--name", "甲" + n, "--bank", "工行|北京|东城|62" + n + "|甲"}));
        ASSERT_GT(B().add({"contacts", "add", "--name", "乙" + n}), 0);
        if (i > 0) {
            ASSERT_EQ(A().run({"contacts", "edit", std::to_string(mine[i - 1]), "--company", "C" + n}).exitCode(), 0);
        }
        for (Device* d : {&A(), &B()}) {
            const int code = d->run({"sync"}).exitCode();
            EXPECT_TRUE(code == 0 || code == 4) << d->uniqueId() << " run " << n << ": exit " << code;
        }
    }
    expectEqualEverywhere(40, 40, "after the faulty runs");
}

}  // namespace
}  // namespace kivtal::e2e
