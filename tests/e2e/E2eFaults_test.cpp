// Runs cut short: the service going away in the middle of a sync, and the client or
// the service killed at random points of one. Nothing may be lost, corrupted or
// doubled, and the devices end equal to what the service holds.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "e2e/E2eFixture.h"
#include "net/SyncRun.h"
#include "store/ContactStore.h"

namespace kivtal::e2e {
namespace {

class Faults : public TwoDeviceTest {
protected:
    // What survived a cut-short run must still be a sound database whose every edit is
    // either acknowledged or waiting to go up.
    void expectSound(const Device& d, const std::string& when) {
        EXPECT_EQ(IntegrityCheck(d.userDbPath(kAccount)), "ok") << d.uniqueId() << " " << when;
        EXPECT_EQ(UntrackedRows(d.userDbPath(kAccount)), std::vector<std::string>{}) << d.uniqueId() << " " << when;
    }

    // After clean runs both devices hold the same records, each once.
    void expectConverged(std::size_t contacts, const std::string& when) {
        converge();
        const Snapshot a = snapshot(A());
        EXPECT_EQ(a, snapshot(B())) << when;
        EXPECT_EQ(Repeated(a.contacts), std::vector<std::string>{}) << when;
        EXPECT_EQ(a.contacts.size(), contacts) << when;
        EXPECT_EQ(PendingCount(A().userDbPath(kAccount)), 0) << when;
        EXPECT_EQ(PendingCount(B().userDbPath(kAccount)), 0) << when;
    }

    // What the service holds, as a device logging in afresh receives it, is what A holds.
    void expectServiceHoldsWhatAHolds(const std::string& when) {
        Device fresh("device-C", service_.url());
        const CliRun r = fresh.run({"login", kAccount, kPassword});
        ASSERT_EQ(r.exitCode(), 0) << r.err;
        const Snapshot c = snapshot(fresh);
        EXPECT_EQ(c, snapshot(A())) << when;
        EXPECT_EQ(Repeated(c.contacts), std::vector<std::string>{}) << when;
    }

    // Many contacts at once, written through the core, so that one run takes long
    // enough to be interrupted in its middle.
    void addContactsInProcess(Device& d, const std::string& prefix, int count) {
        ContactStore contacts(d.store(kAccount));
        for (int i = 0; i < count; ++i) {
            BusinessCard card;
            card.bc_name = prefix + std::to_string(i);
            card.bc_name_pinyin = card.bc_name;
            UserBankInfo bank;
            bank.bank_name = "银行";
            bank.ubank_card = std::to_string(620000 + i);
            card.bank_accounts.push_back(bank);
            ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
        }
    }
};

TEST_F(Faults, ServiceRestartedInTheMiddleOfARunLosesAndDoublesNothing) {
    std::size_t total = 0;
    for (int delayMs : {5, 40, 120}) {
        addContactsInProcess(A(), "Batch" + std::to_string(delayMs) + "x", 150);
        total += 150;
        ChildProcess run = A().spawn({"sync"});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ASSERT_TRUE(service_.restart());
        run.wait();  // success or a reported failure: both are fine, a loss is not
        expectSound(A(), "after restart at " + std::to_string(delayMs) + " ms");
        expectConverged(total, "after restart at " + std::to_string(delayMs) + " ms");
    }
}

// The client, or the service, killed at a random moment of a sync; every third kill
// is the service's, which comes back on its port.
TEST_F(Faults, ClientOrServiceKilledAtRandomPointsOfASyncLosesAndDoublesNothing) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMs(0, 150);
    std::size_t total = 0;
    for (int i = 0; i < 51; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_GT(A().add({"contacts", "add", "--name", "甲" + n, "--bank", "工行|北京|东城|62" + n + "|甲"}), 0);
        ASSERT_GT(B().add({"contacts", "add", "--name", "乙" + n}), 0);
        total += 2;
        const bool killService = i % 3 == 2;
        Device& victim = i % 2 == 0 ? A() : B();
        const std::string when = (killService ? "service kill " : "kill ") + n;
        ChildProcess run = victim.spawn({"sync"});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        if (killService) {
            ASSERT_TRUE(service_.crashAndRestart()) << when;
        } else {
            run.kill(SIGKILL);
        }
        run.wait();
        expectSound(victim, when);
        expectConverged(total, when);
        if (HasFailure()) break;  // one broken state explains the rest
    }
    expectServiceHoldsWhatAHolds("after the kills");
}

// Both devices rename one group; B's rename reaches the service first, and A's wins the
// conflict there. A is killed right after the service answered, and right after
// storing the answer: either way A, B and the service end with A's name. (A crash
// between storing the acknowledgement and the received changes left A with B's name
// for good, and the other devices with A's.)
TEST_F(Faults, AGroupRenameWonHereConvergesWhenKilledAroundStoringTheAnswer) {
    for (const SyncStep step : {SyncStep::kUploaded, SyncStep::kAcknowledged}) {
        const std::string when = "killed at step " + std::to_string(static_cast<int>(step));
        const int onA = A().add({"groups", "add", "供应商" + when});
        converge();
        int onB = 0;
        for (const Json::Value& g : B().json({"groups", "list"}))
            if (g["name"].asString() == "供应商" + when) onB = g["id"].asInt();
        ASSERT_EQ(A().run({"groups", "rename", std::to_string(onA), "甲" + when}).exitCode(), 0);
        ASSERT_EQ(B().run({"groups", "rename", std::to_string(onB), "乙" + when}).exitCode(), 0);
        B().sync();
        const CliRun killed = A().run({"sync"}, {{"KIVTAL_TEST_KILL_AT", std::to_string(static_cast<int>(step))}});
        ASSERT_EQ(killed.end.signal, SIGKILL) << when << ": " << killed.err;
        expectSound(A(), when);
        converge();
        EXPECT_EQ(snapshot(A()), snapshot(B())) << when;
        const std::vector<std::string> groups = snapshot(A()).groups;
        EXPECT_NE(std::find(groups.begin(), groups.end(), "甲" + when), groups.end()) << when;
        expectServiceHoldsWhatAHolds(when);
    }
}

}  // namespace
}  // namespace kivtal::e2e
