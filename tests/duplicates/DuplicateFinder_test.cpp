#include "duplicates/DuplicateFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duplicates/DuplicateKeys.h"
#include "text/NamePinyin.h"

namespace kivtal::duplicates {
namespace {

struct Person {
    std::string name;
    std::string company;
    std::string mobile;
    std::string office;
    std::string mail;
};

BusinessCard Card(int id, const Person& p) {
    BusinessCard c;
    c.bc_id = id;
    c.bc_name = p.name;
    c.bc_name_pinyin = NamePinyin(p.name);
    c.company_name = p.company;
    c.cell_phone = p.mobile;
    c.fix_phone = p.office;
    c.mail = p.mail;
    return c;
}

struct PairCase {
    const char* what;
    Person a;
    Person b;
    std::vector<Reason> reasons;  // empty: must not group
};

// clang-format off: one pair a line reads as the table it is
const PairCase kPairs[] = {
    {"mobile with +86 and dashes", {"张伟", "", "+86 138-0013-8000"}, {"张 伟", "", "13800138000"}, {Reason::Phone}},
    {"mobile against office", {"李娜", "", "13800138000"}, {"Li Na", "", "", "138 0013 8000"}, {Reason::Phone}},
    {"office with country code",
     {"王强", "", "", "+86 10 6552 8888"},
     {"王强", "", "", "010-65528888"},
     {Reason::Phone}},
    {"mail case folded", {"A", "", "", "", "Anna@Example.COM"}, {"B", "", "", "", " anna@example.com"}, {Reason::Mail}},
    {"name and company", {"陈静", "蓝海 科技"}, {"陈静", "蓝海科技"}, {Reason::Name}},
    {"Latin name in the other order", {"Anna Müller", "Acme"}, {"MÜLLER anna", "ACME"}, {Reason::NameOrder}},
    {"same pinyin, same company", {"张伟", "Acme"}, {"章伟", "Acme"}, {Reason::Pinyin}},
    {"same surname only", {"张伟", "Acme"}, {"张强", "Acme"}, {}},
    {"names apart by a digit", {"客户1", "Acme"}, {"客户2", "Acme"}, {}},
    {"same company only", {"刘洋", "蓝海科技", "13900000001"}, {"赵敏", "蓝海科技", "13900000002"}, {}},
    {"same name, other company", {"陈静", "蓝海科技"}, {"陈静", "红山集团"}, {}},
    {"same name, no company", {"陈静", "", "13900000001"}, {"陈静", "", "13900000002"}, {}},
    {"numbers sharing a prefix", {"A", "", "13800138000"}, {"B", "", "1380013800"}, {}},
    {"short numbers", {"A", "", "10086"}, {"B", "", "10086"}, {}},
    {"no address in the mail", {"A", "", "", "", "n/a"}, {"B", "", "", "", "N/A"}, {}},
};
// clang-format on

TEST(DuplicateFinderTest, PairsGroupForTheirReasonOnly) {
    for (const PairCase& c : kPairs) {
        SCOPED_TRACE(c.what);
        const std::vector<DuplicateGroup> groups = FindDuplicates({Card(1, c.a), Card(2, c.b)});
        if (c.reasons.empty()) {
            EXPECT_TRUE(groups.empty());
            continue;
        }
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups[0].bcIds, (std::vector<int>{1, 2}));
        std::vector<Reason> reasons;
        for (const GroupReason& r : groups[0].reasons) reasons.push_back(r.reason);
        EXPECT_EQ(reasons, c.reasons);
    }
}

// A chain of different reasons is one person: A-B by phone, B-C by mail.
TEST(DuplicateFinderTest, GroupsJoinThroughAnyKeyAndSayWhy) {
    const BusinessCardList cards{Card(7, {"A", "", "13800138000"}), Card(3, {"B", "", "138 0013 8000", "", "b@x.cn"}),
                                 Card(9, {"C", "", "", "", "B@X.cn"}), Card(4, {"D", "", "13900000000"})};
    const std::vector<DuplicateGroup> groups = FindDuplicates(cards);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].bcIds, (std::vector<int>{3, 7, 9}));
    EXPECT_EQ(groups[0].reasons, (std::vector<GroupReason>{{Reason::Phone, "13800138000"}, {Reason::Mail, "b@x.cn"}}));
}

TEST(DuplicateFinderTest, ExactOnlyWantsEveryFieldAndEveryAccount) {
    BusinessCard a = Card(1, {"张伟", "Acme", "13800138000"});
    a.bank_accounts = {UserBankInfo{.bank_name = "ICBC", .ubank_card = "6222"}};
    BusinessCard twin = a;
    twin.bc_id = 2;
    twin.group_id = 5;  // groups of one name made on two devices differ: not a field a person writes
    twin.bc_server_id = 77;
    BusinessCard otherAccount = a;
    otherAccount.bc_id = 3;
    otherAccount.bank_accounts[0].ubank_card = "6333";
    BusinessCard otherHobby = a;
    otherHobby.bc_id = 4;
    otherHobby.hobby = "chess";

    const std::vector<DuplicateGroup> exact = FindDuplicates({a, twin, otherAccount, otherHobby}, {.exactOnly = true});
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].bcIds, (std::vector<int>{1, 2}));
    EXPECT_EQ(exact[0].reasons.at(0).reason, Reason::Exact);
    const std::vector<DuplicateGroup> all = FindDuplicates({a, twin, otherAccount, otherHobby});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].bcIds.size(), 4u);
}

TEST(DuplicateFinderTest, AGroupIsHiddenOnlyWhileEveryPairIsIgnored) {
    const BusinessCardList cards{Card(1, {"A", "", "13800138000"}), Card(2, {"B", "", "13800138000"}),
                                 Card(3, {"C", "", "13800138000"})};
    IgnoredPairs ignored{{1, 2}, {1, 3}, {2, 3}};
    EXPECT_TRUE(FindDuplicates(cards, {.ignored = &ignored}).empty());
    ignored.erase({2, 3});  // as when a third contact joined a group the user ignored as two
    EXPECT_EQ(FindDuplicates(cards, {.ignored = &ignored}).size(), 1u);
}

}  // namespace
}  // namespace kivtal::duplicates
