// A record deleted on one device and restored from the trash on another is live again
// on both, with every field it had, through the real service.
#include <gtest/gtest.h>

#include <set>

#include "e2e/E2eFixture.h"
#include "store/MatterStore.h"

namespace kivtal::e2e {
namespace {

using Trash = TwoDeviceTest;

// The id of the one entry of a device's trash of `kind` ("contacts", "matters").
int OnlyTrashed(const Device& d, const char* kind) {
    const Json::Value trash = d.json({kind, "trash"});
    EXPECT_EQ(trash.size(), 1u) << d.uniqueId();
    return trash.size() == 1 ? trash[0]["id"].asInt() : 0;
}

TEST_F(Trash, AContactDeletedOnADeviceAndRestoredOnTheOtherIsLiveOnBothWithItsAccounts) {
    const int group = A().add({"groups", "add", "客户"});
    const int contact =
        A().add({"contacts", "add", "--name", "张三", "--group", std::to_string(group), "--company", "甲公司",
                 "--mobile", "13800138000", "--bank", "工商银行|北京|海淀|6222000011112222|张三", "--bank",
                 "招商银行|上海|浦东|6225880099|张三"});
    converge();
    const Snapshot before = snapshot(A());

    ASSERT_EQ(A().run({"contacts", "delete", std::to_string(contact)}).exitCode(), 0);
    A().sync();
    B().sync();
    EXPECT_EQ(B().json({"contacts", "list"}).size(), 0u) << "the delete reached B";
    const int onB = OnlyTrashed(B(), "contacts");
    EXPECT_GT(B().json({"contacts", "trash"})[0]["deleted_at"].asInt(), 0) << "stamped as it arrived";

    ASSERT_EQ(B().run({"contacts", "restore", std::to_string(onB)}).exitCode(), 0);
    B().sync();
    A().sync();
    const Json::Value card = A().json({"contacts", "show", std::to_string(contact)});
    ASSERT_EQ(card.size(), 1u) << "live again on A";
    EXPECT_EQ(card[0]["group_id"].asInt(), group);
    EXPECT_EQ(card[0]["company"].asString(), "甲公司");
    std::set<std::string> cards;
    for (const Json::Value& bank : card[0]["banks"]) cards.insert(bank["card"].asString());
    EXPECT_EQ(cards, (std::set<std::string>{"6222000011112222", "6225880099"}));
    EXPECT_EQ(A().json({"contacts", "trash"}).size(), 0u);
    EXPECT_EQ(snapshot(A()), before);
    EXPECT_EQ(snapshot(B()), before);
}

TEST_F(Trash, AContactWhoseGroupWasDeletedElsewhereComesBackInNoGroupOnBoth) {
    const int group = A().add({"groups", "add", "旧同事"});
    const int contact = A().add({"contacts", "add", "--name", "李四", "--group", std::to_string(group)});
    converge();

    ASSERT_EQ(A().run({"contacts", "delete", std::to_string(contact)}).exitCode(), 0);
    ASSERT_EQ(A().run({"groups", "delete", std::to_string(group)}).exitCode(), 0);
    converge();
    ASSERT_EQ(B().run({"contacts", "restore", std::to_string(OnlyTrashed(B(), "contacts"))}).exitCode(), 0);
    converge();

    for (Device* d : {&A(), &B()}) {
        const Json::Value list = d->json({"contacts", "list"});
        ASSERT_EQ(list.size(), 1u) << d->uniqueId();
        const Json::Value card = d->json({"contacts", "show", std::to_string(list[0]["id"].asInt())});
        EXPECT_EQ(card[0]["group_id"].asInt(), 0) << d->uniqueId();
    }
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

// The device that deleted the matter took its remarks with it; the restore that
// arrives from the other device brings them back there too.
TEST_F(Trash, AMatterRestoredOnTheOtherDeviceComesBackWithItsRemarks) {
    const int matter = A().add(
        {"matters", "add", "--description", "季度会议", "--start", "2030-03-01 09:00", "--end", "2030-03-01 10:00"});
    EventComment remark;
    remark.event_id = matter;
    remark.c_content = "带上报表";
    ASSERT_EQ(MatterStore(A().store(kAccount)).AddRemark(remark), StoreStatus::kOk);
    converge();

    ASSERT_EQ(A().run({"matters", "delete", std::to_string(matter)}).exitCode(), 0);
    A().sync();
    B().sync();
    ASSERT_EQ(B().run({"matters", "restore", std::to_string(OnlyTrashed(B(), "matters"))}).exitCode(), 0);
    B().sync();
    A().sync();

    EXPECT_EQ(A().json({"matters", "list", "--at", "2030-03-01 09:30"}).size(), 1u);
    EventCommentList remarks;
    ASSERT_EQ(MatterStore(A().store(kAccount)).RemarksOf(matter, remarks), 0);
    ASSERT_EQ(remarks.size(), 1u);
    EXPECT_EQ(remarks[0].c_content, "带上报表");
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

}  // namespace
}  // namespace kivtal::e2e
