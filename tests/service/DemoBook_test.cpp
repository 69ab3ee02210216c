// The demo account's book: read from the built-in data file, stored once as the
// service's own adds, and received by a device with every parent mapped.
#include "DemoBook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "EmbeddedFiles.h"
#include "Operator.h"
#include "ServiceHarness.h"

namespace kivtal::service::test {
namespace {

constexpr std::time_t kNow = 1796907742;               // 2026-12-10 21:02:22 in Beijing
constexpr std::int64_t kBeijingMidnight = 1796832000;  // 2026-12-10 00:00 in Beijing

TEST(DemoBookTimes, RelativeTimesCountFromTodaysBeijingMidnight) {
    const struct {
        const char* text;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"0 00:00", kBeijingMidnight},
        {"0 21:30", kBeijingMidnight + 21 * 3600 + 1800},
        {"1 02:00", kBeijingMidnight + 26 * 3600},
        {"-42 07:05", kBeijingMidnight - 42 * 86400 + 7 * 3600 + 300},
        {"0 24:00", std::nullopt},
        {"0 10:60", std::nullopt},
        {"0 10:00 ", std::nullopt},
        {"tomorrow", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(RelativeBeijingTime(c.text, kNow), c.expected) << c.text;
    // Just before midnight in Beijing is still the same day.
    EXPECT_EQ(RelativeBeijingTime("0 00:00", kBeijingMidnight + 86399), kBeijingMidnight);
}

TEST(DemoBookFile, BadBooksAreRefusedWithTheReason) {
    std::string error;
    EXPECT_FALSE(ReadBook("[1]", kNow, error));
    EXPECT_FALSE(ReadBook(R"({"contacts":[{"bc_name":"a","no_such_field":1}]})", kNow, error));
    EXPECT_NE(error.find("no_such_field"), std::string::npos) << error;
    EXPECT_FALSE(ReadBook(R"({"matters":[{"start_time":[1]}]})", kNow, error));
    EXPECT_NE(error.find("matters"), std::string::npos) << error;
}

class DemoBook : public ServiceHarness {
protected:
    // Every record a fresh device of the demo account receives, by kind, as fields.
    std::map<int, std::vector<std::vector<std::string>>> receiveAll() {
        const Device d = login(kDemoLogin, kDemoPassword, "DEVICE-NEW");
        std::map<int, std::vector<std::vector<std::string>>> out;
        const Json::Value reply = receive(d, 0);
        EXPECT_EQ(reply["error"].asString(), "0");
        for (const Json::Value& e : reply["opers"]) {
            out[std::stoi(e["oper_id"].asString())].push_back(SplitFields(e["content"].asString()));
        }
        return out;
    }
    static std::set<std::string> column(const std::vector<std::vector<std::string>>& rows, std::size_t i) {
        std::set<std::string> out;
        for (const auto& r : rows) out.insert(r.at(i));
        return out;
    }
};

TEST_F(DemoBook, ADeviceReceivesTheWholeBookWithEveryParentMapped) {
    ASSERT_EQ(service().seedDemoBook(kNow), Service::Seeded::kDone);
    auto got = receiveAll();
    const auto& contacts = got[kContact];
    ASSERT_GE(contacts.size(), 50u);
    ASSERT_GE(got[kContactGroup].size(), 4u);
    ASSERT_GE(got[kMatter].size(), 25u);
    EXPECT_EQ(got[kReminder].size(), 2u);
    EXPECT_GE(got[kRemark].size(), 5u);
    EXPECT_GE(got[kBankAccount].size(), 3u);

    // Children name their parents by the server ids the parents got.
    const auto groups = column(got[kContactGroup], 2), contactIds = column(contacts, 27);
    const auto matterGroups = column(got[kMatterGroup], 2), matterIds = column(got[kMatter], 6);
    for (const auto& c : contacts) EXPECT_TRUE(c[7] == "0" || groups.count(c[33])) << c[1];
    for (const auto& b : got[kBankAccount]) EXPECT_TRUE(contactIds.count(b[9])) << b[1];
    for (const auto& m : got[kMatter]) EXPECT_TRUE(matterGroups.count(m[9])) << m[4];
    for (const auto& r : got[kRemark]) EXPECT_TRUE(matterIds.count(r[6])) << r[1];
    for (const auto& r : got[kReminder]) EXPECT_TRUE(matterIds.count(r[8])) << r[1];

    // What makes the book look lived in: a name outside the letters ("#"), a lunar
    // leap-month birthday, common contacts, matters today and across midnight.
    EXPECT_TRUE(std::any_of(contacts.begin(), contacts.end(), [](const auto& c) {
        return !c[1].empty() && !std::isalpha(static_cast<unsigned char>(c[1][0])) &&
               static_cast<unsigned char>(c[1][0]) < 0x80;
    }));
    EXPECT_TRUE(std::any_of(contacts.begin(), contacts.end(),
                            [](const auto& c) { return c[12] == "2" && c[13].find("--") != std::string::npos; }));
    EXPECT_TRUE(column(contacts, 32).count("1"));
    const auto starts = [&](const auto& m) { return std::stoll(m[1]); };
    const auto ends = [&](const auto& m) { return std::stoll(m[2]); };
    const auto& matters = got[kMatter];
    EXPECT_TRUE(std::any_of(matters.begin(), matters.end(), [&](const auto& m) {
        return starts(m) >= kBeijingMidnight && starts(m) < kBeijingMidnight + 86400;
    }));
    EXPECT_TRUE(std::any_of(matters.begin(), matters.end(), [&](const auto& m) {
        return (starts(m) - kBeijingMidnight) / 86400 != (ends(m) - kBeijingMidnight) / 86400;
    }));
    for (const auto& m : matters) {
        EXPECT_LE(ends(m) - starts(m), 3 * 86400) << m[4];
        EXPECT_LT(std::llabs(starts(m) - kNow), 43 * 86400) << m[4];
    }
}

TEST_F(DemoBook, SeedingTwiceAddsNothingAndThePicturesAreServed) {
    ASSERT_EQ(service().seedDemoBook(kNow), Service::Seeded::kDone);
    ASSERT_EQ(service().seedDemoBook(kNow), Service::Seeded::kAlreadyThere);
    const auto got = receiveAll();
    EXPECT_EQ(got.at(kContactGroup).size(), 5u) << "no second copy";

    const Device d = login(kDemoLogin, kDemoPassword, "DEVICE-NEW");
    const Json::Value ads = post("/PcAd", identity(d) + "&user_id=" + d.userId);
    ASSERT_EQ(ads["ads"].size(), 2u);
    const Json::Value news = post("/Notice", identity(d) + "&last_news_time=0&user_id=" + d.userId);
    ASSERT_EQ(news["news_list"].size(), 2u);
    std::vector<std::string> pictures;
    for (const auto& a : ads["ads"]) pictures.push_back(a["ad_path"].asString());
    for (const auto& n : news["news_list"]) {
        if (n["news_type"].asString() == "1") pictures.push_back(n["news_content"].asString());
    }
    ASSERT_EQ(pictures.size(), 3u);
    for (const std::string& url : pictures) {
        const std::string path = url.substr(url.find("/files/"));
        const auto res = client_->Get(path.c_str());
        ASSERT_TRUE(res) << url;
        EXPECT_EQ(res->status, 200) << url;
        EXPECT_EQ(res->body, std::string(*EmbeddedFile(path.substr(path.rfind('/') + 1)))) << url;
    }
}

TEST_F(DemoBook, TheOperatorCommandSeedsAnExistingDatabaseOnce) {
    addAccount("boss", "pw");  // a database that already has accounts gets no demo account at start
    ASSERT_FALSE(service().ensureDemoAccount());
    const char* argv[] = {"kivtal-service", "--seed-demo"};
    std::string error;
    const auto cl = ParseCommandLine(2, argv, error);
    ASSERT_TRUE(cl) << error;
    std::ostringstream out, err;
    EXPECT_EQ(RunOperatorCommand(service(), *cl, out, err), 0);
    EXPECT_NE(out.str().find("demo / demo123"), std::string::npos) << out.str();
    EXPECT_GE(receiveAll()[kContact].size(), 50u);

    out.str("");
    EXPECT_EQ(RunOperatorCommand(service(), *cl, out, err), 0);
    EXPECT_NE(out.str().find("already"), std::string::npos) << out.str();
    EXPECT_EQ(receiveAll()[kContactGroup].size(), 5u);
}

}  // namespace
}  // namespace kivtal::service::test
