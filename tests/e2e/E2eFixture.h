#pragma once
// One account on a reference service started for the test, and two devices, A and B,
// each with its own data folder, both logged in to that account.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "e2e/Device.h"
#include "e2e/ServiceProcess.h"
#include "e2e/Snapshot.h"
#include "support/TempDir.h"

namespace kivtal::e2e {

class TwoDeviceTest : public ::testing::Test {
protected:
    static constexpr const char* kAccount = "zhang";
    static constexpr const char* kPassword = "pw-zhang";

    void SetUp() override {
        // Another account first, so that the account under test has an id other than 1
        // and nothing can pass by confusing the account's id with a local row id.
        ASSERT_EQ(service_.op({"--add-account", "someone-else", "other-pw"}), 0);
        ASSERT_EQ(service_.op({"--add-account", kAccount, kPassword, "--coins", "3"}), 0);
        ASSERT_TRUE(service_.start()) << ReadFile(service_.outPath());
        a_ = std::make_unique<Device>("device-A", deviceUrl());
        b_ = std::make_unique<Device>("device-B", deviceUrl());
        for (Device* d : {a_.get(), b_.get()}) {
            const CliRun r = d->run({"login", kAccount, kPassword});
            ASSERT_EQ(r.exitCode(), 0) << d->uniqueId() << ": " << r.err;
        }
    }

    // Where the devices find the service once it runs: the service itself, or a fake
    // network in front of it.
    virtual std::string deviceUrl() { return service_.url(); }

    Device& A() { return *a_; }
    Device& B() { return *b_; }
    Snapshot snapshot(const Device& d) const { return TakeSnapshot(d.userDbPath(kAccount)); }

    // Two rounds: what A sends in its second run may answer what B sent in its first.
    void converge() {
        for (int round = 0; round < 2; ++round) {
            A().sync();
            B().sync();
        }
    }

    kivtal::test::TempDir folder_;
    ServiceProcess service_{folder_.path()};
    std::unique_ptr<Device> a_;
    std::unique_ptr<Device> b_;
};

}  // namespace kivtal::e2e
