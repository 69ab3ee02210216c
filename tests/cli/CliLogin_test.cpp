// Login and sync when the service cannot be reached (it points at a closed port): the
// login falls back to the remembered one, as the desktop client's does.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace kivtal::test {
namespace {

class CliLoginTest : public CliFixture {};

TEST_F(CliLoginTest, FallsBackToTheRememberedLoginWhenTheServiceIsDown) {
    seedAccount();
    const Json::Value state = cliJson({"login", kAccount, kPassword});
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state[0]["account"].asString(), kAccount);
    EXPECT_EQ(state[0]["mode"].asString(), "offline");

    const CliResult refused = cli({"login", kAccount, "wrong"});
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_NE(refused.err.find("wrong account or password (code -3)"), std::string::npos) << refused.err;
}

TEST_F(CliLoginTest, SyncWithoutTheServiceFailsWithTheNetworkCode) {
    seedAccount();
    const CliResult r = cli({"sync"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("(code -200)"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(CliLoginTest, AFirstLoginOnThisMachineNeedsTheService) {
    // Nothing remembered yet: there is nothing to fall back to.
    const CliResult r = cli({"login", "bob", "pw"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("(code -"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"status"}).exitCode, 5) << "a failed first login remembers nothing";
}

}  // namespace
}  // namespace kivtal::test
