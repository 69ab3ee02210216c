#include "cards/CardVotes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivtal::cards {
namespace {

constexpr int kAgreed = 80;

struct NameCase {
    const char* what;
    std::vector<Reading> readings;
    std::string name;  // empty: no name
    int confidence;
};

// clang-format off: each case reads as the readings of one line of large type
const NameCase kNames[] = {
    {"each reading slips on another character; the vote has none of the slips",
     {{"熊胞", 70}, {"熊鹏", 60}, {"能鹏", 65}},
     "熊鹏",
     60},
    {"most readings agree: as sure as agreed type",
     {{"叶刚涵", 40}, {"叶刚涵", 50}, {"叶刚池", 75}},
     "叶刚涵",
     kAgreed},
    {"a common surname goes first even when fewer readings give it",
     {{"修涛", 70}, {"候涛", 70}, {"侯涛", 50}},
     "侯涛",
     50},
    {"the length most readings have; a mark read as an extra character is outvoted",
     {{"和白子文", 90}, {"白子文", 60}, {"白子文", 60}},
     "白子文",
     kAgreed},
    {"equal votes: the readings the engine was surer of",
     {{"马霞", 75}, {"马起", 60}, {"马霞", 70}, {"马起", 70}},
     "马霞",
     75},
    {"readings that are no name (junk, a title, an English line) have no vote",
     {{"a$e", 95}, {"总经理助理办公室", 95}, {"Kevin Carter", 95}, {"", 0}, {"董静", 55}},
     "董静",
     55},
    {"no reading is a Chinese name", {{"Kevin Carter", 90}, {"7 $e", 40}}, "", 0},
};
// clang-format on

TEST(CardVotes, VoteNameTable) {
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.what);
        const std::optional<Reading> voted = VoteName(c.readings, kAgreed);
        if (c.name.empty()) {
            EXPECT_FALSE(voted) << voted->text;
            continue;
        }
        ASSERT_TRUE(voted);
        EXPECT_EQ(voted->text, c.name);
        EXPECT_EQ(voted->confidence, c.confidence);
    }
}

TEST(CardVotes, MostVotedKeepsTheFirstOnATie) {
    EXPECT_EQ(MostVoted({"a@b.cn", "x@b.cn", "x@b.cn", std::nullopt}), "x@b.cn");
    EXPECT_EQ(MostVoted({"a@b.cn", std::nullopt, "x@b.cn"}), "a@b.cn");
    EXPECT_EQ(MostVoted({std::nullopt, std::nullopt}), std::nullopt);
}

}  // namespace
}  // namespace kivtal::cards
