// Two devices of one account: what one records reaches the other through the service,
// with its parents mapped to the other device's own rows.
#include <gtest/gtest.h>

#include "e2e/E2eFixture.h"

namespace kivtal::e2e {
namespace {

// The local id of the live group with this name in the device's list, 0 when none.
int GroupIdByName(const Device& d, const std::string& name) {
    for (const Json::Value& g : d.json({"groups", "list"}))
        if (g["name"].asString() == name) return g["id"].asInt();
    return 0;
}

int ContactIdByName(const Device& d, const std::string& name) {
    for (const Json::Value& c : d.json({"contacts", "list"}))
        if (c["name"].asString() == name) return c["id"].asInt();
    return 0;
}

using TwoDevices = TwoDeviceTest;

TEST_F(TwoDevices, ContactWithBanksArrivesInTheOtherDevicesCopyOfItsGroup) {
    // B's own group takes the first local id there, so A's group gets another one on B.
    ASSERT_GT(B().add({"groups", "add", "B的组"}), 0);
    const int groupOnA = A().add({"groups", "add", "客户"});
    ASSERT_GT(groupOnA, 0);
    ASSERT_GT(
        A().add({"contacts", "add", "--name", "张三", "--group", std::to_string(groupOnA), "--company", "甲公司",
                 "--bank", "工商银行|北京|海淀|6222000011112222|张三", "--bank", "招商银行|上海|浦东|6225880099|张三"}),
        0);
    B().sync();
    A().sync();
    B().sync();

    const int groupOnB = GroupIdByName(B(), "客户");
    ASSERT_GT(groupOnB, 0);
    EXPECT_NE(groupOnB, GroupIdByName(B(), "B的组"));
    const Json::Value card = B().json({"contacts", "show", std::to_string(ContactIdByName(B(), "张三"))});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0]["group_id"].asInt(), groupOnB);
    EXPECT_EQ(card[0]["company"].asString(), "甲公司");
    ASSERT_EQ(card[0]["banks"].size(), 2u);
    std::set<std::string> cards;
    for (const Json::Value& bank : card[0]["banks"]) cards.insert(bank["card"].asString());
    EXPECT_EQ(cards, (std::set<std::string>{"6222000011112222", "6225880099"}));
    A().sync();
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(TwoDevices, EditsTravelBothWays) {
    const int group = A().add({"groups", "add", "同事"});
    const int contact = A().add({"contacts", "add", "--name", "李四", "--group", std::to_string(group)});
    converge();

    ASSERT_EQ(A().run({"contacts", "edit", std::to_string(contact), "--company", "乙公司"}).exitCode(), 0);
    A().sync();
    B().sync();
    const int onB = ContactIdByName(B(), "李四");
    EXPECT_EQ(B().json({"contacts", "show", std::to_string(onB)})[0]["company"].asString(), "乙公司");

    ASSERT_EQ(B().run({"contacts", "edit", std::to_string(onB), "--mobile", "13800138000"}).exitCode(), 0);
    ASSERT_EQ(B().run({"groups", "rename", std::to_string(GroupIdByName(B(), "同事")), "老同事"}).exitCode(), 0);
    B().sync();
    A().sync();
    const Json::Value onA = A().json({"contacts", "show", std::to_string(contact)});
    EXPECT_EQ(onA[0]["mobile"].asString(), "13800138000");
    EXPECT_EQ(onA[0]["company"].asString(), "乙公司");
    EXPECT_EQ(GroupIdByName(A(), "老同事"), group);
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(TwoDevices, TextThatLooksEscapedArrivesAsTyped) {
    const std::string comment = "%27 and ' and %2B";
    const std::string company = "a+b=c/d?e#f&g 100%";
    A().add({"contacts", "add", "--name", "孙八", "--comment", comment, "--company", company});
    A().sync();
    B().sync();
    const Json::Value card = B().json({"contacts", "show", std::to_string(ContactIdByName(B(), "孙八"))});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0]["comment"].asString(), comment);
    EXPECT_EQ(card[0]["company"].asString(), company);
}

TEST_F(TwoDevices, DeletionsTravel) {
    const int group = A().add({"groups", "add", "旧客户"});
    const int gone = A().add({"contacts", "add", "--name", "王五", "--group", std::to_string(group)});
    A().add({"contacts", "add", "--name", "赵六"});
    B().add({"matters", "add", "--description", "年会", "--start", "2030-01-01 09:00", "--end", "2030-01-01 18:00"});
    converge();
    ASSERT_EQ(snapshot(B()).contacts.size(), 2u);
    ASSERT_EQ(snapshot(A()).matters.size(), 1u);

    ASSERT_EQ(A().run({"contacts", "delete", std::to_string(gone)}).exitCode(), 0);
    ASSERT_EQ(A().run({"groups", "delete", std::to_string(group)}).exitCode(), 0);
    const Json::Value matters = B().json({"matters", "list", "--at", "2030-01-01 12:00"});
    ASSERT_EQ(matters.size(), 1u);
    ASSERT_EQ(B().run({"matters", "delete", matters[0]["id"].asString()}).exitCode(), 0);
    converge();

    const Snapshot onB = snapshot(B());
    ASSERT_EQ(onB.contacts.size(), 1u);
    EXPECT_EQ(onB.contacts[0].substr(0, onB.contacts[0].find('|')), "赵六");
    EXPECT_TRUE(onB.groups.empty());
    EXPECT_TRUE(snapshot(A()).matters.empty());
    EXPECT_EQ(snapshot(A()), onB);
}

}  // namespace
}  // namespace kivtal::e2e
