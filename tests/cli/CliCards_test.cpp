// cards read through the real program, on cards rendered by the build.
#include <gtest/gtest.h>

#include <fstream>

#include "cli/CliFixture.h"

namespace kivtal::test {
namespace {

const std::string kCards = KIVTAL_TEST_CARDS;

Json::Value Truth(const std::string& stem) {
    std::ifstream in(kCards + "/" + stem + ".json");
    Json::Value truth;
    std::string error;
    Json::parseFromStream(Json::CharReaderBuilder(), in, &truth, &error);
    return truth;
}

class CliCardsTest : public CliFixture {};

TEST_F(CliCardsTest, ReadsWithoutALoginAndNamesEachPicture) {
    const Json::Value truth = Truth("card-003");
    const std::string card = kCards + "/" + truth["image"].asString(), blank = kCards + "/blank.png";
    const CliResult r = cli({"cards", "read", card, blank, "--json"});
    EXPECT_EQ(r.exitCode, 6) << "one picture had no card on it";
    EXPECT_EQ(r.err, "kivtal-cli: " + blank + ": no readable text\n");
    Json::Value rows;
    std::string error;
    std::istringstream in(r.out);
    ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &rows, &error)) << r.out;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["file"].asString(), card);
    EXPECT_EQ(rows[0]["status"].asString(), "read");
    for (const char* key : {"name", "mobile", "email", "office_phone"})
        EXPECT_EQ(rows[0][key].asString(), truth[key].asString()) << key;
    EXPECT_GE(rows[0]["confidence"]["mobile"].asInt(), 60);
    EXPECT_EQ(rows[1]["status"].asString(), "no readable text");
    EXPECT_EQ(rows[1]["name"].asString(), "");
}

TEST_F(CliCardsTest, AddStoresEachCardReadAsAContact) {
    EXPECT_EQ(cli({"cards", "read", kCards + "/card-000.jpg", "--add"}).exitCode, 5) << "no login to add to";
    seedAccount();
    const Json::Value truth = Truth("card-003");
    const CliResult r =
        cli({"cards", "read", kCards + "/" + truth["image"].asString(), kCards + "/prose.png", "--add"});
    EXPECT_EQ(r.exitCode, 6) << r.err;
    const Json::Value contacts = cliJson({"contacts", "list"});
    ASSERT_EQ(contacts.size(), 1u) << "the prose page adds nothing";
    const Json::Value shown = cliJson({"contacts", "show", contacts[0]["id"].asString()});
    for (const char* key : {"name", "mobile", "email", "company"})
        EXPECT_EQ(shown[0][key].asString(), truth[key].asString()) << key;
    EXPECT_EQ(pendingEntries().size(), 1u) << "the new contact waits for the next sync";
}

}  // namespace
}  // namespace kivtal::test
