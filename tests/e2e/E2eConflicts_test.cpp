// The same record changed on two devices before either synced: how it settles once
// both devices have been through the service. The device whose sync meets both changes
// settles: it merges them field by field and lists the fields both changed.
#include <gtest/gtest.h>

#include <tuple>

#include "e2e/E2eFixture.h"
#include "store/MatterStore.h"

namespace kivtal::e2e {
namespace {

constexpr const char* kMatterStart = "2030-05-01 09:00";
constexpr int kMatterNoon = 1903838400;  // 2030-05-01 12:00 Beijing time

class Conflicts : public TwoDeviceTest {
protected:
    // The one matter both devices know, as stored on `d`.
    TalEvent sharedMatter(Device& d) {
        TalEventList at;
        EXPECT_EQ(MatterStore(d.store(kAccount)).MattersAt(kMatterNoon, at), 0);
        EXPECT_EQ(at.size(), 1u);
        return at.empty() ? TalEvent{} : at[0];
    }

    EventCommentList remarks(Device& d) {
        EventCommentList out;
        EXPECT_EQ(MatterStore(d.store(kAccount)).RemarksOf(sharedMatter(d).event_id, out), 0);
        return out;
    }

    // A contact added on A and known to both, then changed on each by `onA` and `onB`
    // (a contacts command after its id), A syncing first so that B settles. B's id.
    int contactChangedOnBoth(const std::vector<std::string>& add, const std::vector<std::string>& onA,
                             const std::vector<std::string>& onB) {
        std::vector<std::string> args = {"contacts", "add"};
        args.insert(args.end(), add.begin(), add.end());
        const int idA = A().add(args);
        converge();
        const int idB = B().json({"contacts", "list"})[0]["id"].asInt();
        for (auto [d, id, change] : {std::tuple{&A(), idA, &onA}, std::tuple{&B(), idB, &onB}}) {
            std::vector<std::string> command = {"contacts", (*change)[0], std::to_string(id)};
            command.insert(command.end(), change->begin() + 1, change->end());
            EXPECT_EQ(d->run(command).exitCode(), 0) << d->uniqueId();
        }
        A().sync();
        B().sync();
        converge();
        return idB;
    }

    void addSharedMatter() {
        A().add({"matters", "add", "--description", "签约", "--start", kMatterStart, "--end", "2030-05-01 18:00"});
        converge();
    }
};

TEST_F(Conflicts, DifferentFieldsOfAContactMergeIntoOneContactOnBothDevices) {
    contactChangedOnBoth({"--name", "周八", "--company", "原公司", "--mobile", "13800000000"},
                         {"edit", "--company", "新公司"}, {"edit", "--mobile", "13900000000"});

    for (Device* d : {&A(), &B()}) {
        const Json::Value list = d->json({"contacts", "list"});
        ASSERT_EQ(list.size(), 1u) << d->uniqueId();
        EXPECT_EQ(list[0]["company"].asString(), "新公司") << d->uniqueId();
        EXPECT_EQ(list[0]["mobile"].asString(), "13900000000") << d->uniqueId();
        EXPECT_EQ(d->json({"conflicts"}).size(), 0u) << d->uniqueId();
    }
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(Conflicts, TheSameFieldKeepsTheSettlingDevicesValueListsTheOtherAndAdoptingItPropagates) {
    const int onB = contactChangedOnBoth({"--name", "周七", "--company", "原公司"}, {"edit", "--company", "甲版"},
                                         {"edit", "--company", "乙版"});

    for (Device* d : {&A(), &B()}) {
        const Json::Value list = d->json({"contacts", "list"});
        ASSERT_EQ(list.size(), 1u) << d->uniqueId();
        EXPECT_EQ(list[0]["company"].asString(), "乙版") << d->uniqueId();
    }
    EXPECT_EQ(A().json({"conflicts"}).size(), 0u);
    const Json::Value open = B().json({"conflicts"});
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["field"].asString(), "company");
    EXPECT_EQ(open[0]["other"].asString(), "甲版");
    EXPECT_EQ(open[0]["row_id"].asInt(), onB);
    EXPECT_EQ(B().json({"status"})[0]["conflicts"].asInt(), 1);

    ASSERT_EQ(B().run({"conflicts", "adopt", open[0]["id"].asString()}).exitCode(), 0);
    converge();
    for (Device* d : {&A(), &B()}) {
        EXPECT_EQ(d->json({"contacts", "list"})[0]["company"].asString(), "甲版") << d->uniqueId();
        EXPECT_EQ(d->json({"conflicts"}).size(), 0u) << d->uniqueId();
    }
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(Conflicts, ADeleteAgainstAnEditKeepsTheEditUntilTheDeleteIsAdopted) {
    contactChangedOnBoth({"--name", "周九", "--company", "原公司"}, {"delete"}, {"edit", "--company", "新公司"});

    for (Device* d : {&A(), &B()}) {
        const Json::Value list = d->json({"contacts", "list"});
        ASSERT_EQ(list.size(), 1u) << d->uniqueId();
        EXPECT_EQ(list[0]["company"].asString(), "新公司") << d->uniqueId();
    }
    const Json::Value open = B().json({"conflicts"});
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["field"].asString(), "deleted");

    ASSERT_EQ(B().run({"conflicts", "adopt", open[0]["id"].asString()}).exitCode(), 0);
    converge();
    for (Device* d : {&A(), &B()}) EXPECT_EQ(d->json({"contacts", "list"}).size(), 0u) << d->uniqueId();
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(Conflicts, MatterEditedOnBothSidesKeepsTheSettlingDevicesVersionAndListsTheOther) {
    addSharedMatter();
    TalEvent first = sharedMatter(A());
    first.description = "先到的版本";
    ASSERT_EQ(MatterStore(A().store(kAccount)).ModifyMatter(first), StoreStatus::kOk);
    TalEvent second = sharedMatter(B());
    second.description = "后到的版本";
    second.place_top = 1;
    ASSERT_EQ(MatterStore(B().store(kAccount)).ModifyMatter(second), StoreStatus::kOk);
    A().sync();
    B().sync();
    converge();

    for (Device* d : {&A(), &B()}) {
        EXPECT_EQ(sharedMatter(*d).description, "后到的版本") << d->uniqueId();
        EXPECT_EQ(sharedMatter(*d).place_top, 1) << d->uniqueId();
    }
    const Json::Value open = B().json({"conflicts"});
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["field"].asString(), "description");
    EXPECT_EQ(open[0]["other"].asString(), "先到的版本");
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

TEST_F(Conflicts, GroupRenamedOnBothSidesKeepsTheSettlingDevicesNameAndListsTheOther) {
    const int onA = A().add({"groups", "add", "供应商"});
    converge();
    const int onB = B().json({"groups", "list"})[0]["id"].asInt();
    ASSERT_EQ(A().run({"groups", "rename", std::to_string(onA), "甲起的名"}).exitCode(), 0);
    ASSERT_EQ(B().run({"groups", "rename", std::to_string(onB), "乙起的名"}).exitCode(), 0);
    A().sync();
    B().sync();
    converge();

    EXPECT_EQ(snapshot(A()).groups, std::vector<std::string>{"乙起的名"});
    EXPECT_EQ(snapshot(B()).groups, std::vector<std::string>{"乙起的名"});
    const Json::Value open = B().json({"conflicts"});
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]["other"].asString(), "甲起的名");
}

TEST_F(Conflicts, RemarkChangedToTheSameTextOnBothSidesStaysOneRemark) {
    addSharedMatter();
    EventComment remark;
    remark.c_content = "初稿";
    remark.event_id = sharedMatter(A()).event_id;
    ASSERT_EQ(MatterStore(A().store(kAccount)).AddRemark(remark), StoreStatus::kOk);
    converge();
    for (Device* d : {&A(), &B()}) {
        EventCommentList list = remarks(*d);
        ASSERT_EQ(list.size(), 1u);
        list[0].c_content = "定稿";
        ASSERT_EQ(MatterStore(d->store(kAccount)).ModifyRemark(list[0]), StoreStatus::kOk);
    }
    A().sync();
    B().sync();
    // The same change on both sides: one text, nothing to show, nothing left waiting.
    EXPECT_EQ(PendingCount(B().userDbPath(kAccount)), 0);
    EXPECT_EQ(B().json({"conflicts"}).size(), 0u);
    converge();

    for (Device* d : {&A(), &B()}) {
        const EventCommentList list = remarks(*d);
        ASSERT_EQ(list.size(), 1u) << d->uniqueId();
        EXPECT_EQ(list[0].c_content, "定稿");
    }
    EXPECT_EQ(PendingCount(B().userDbPath(kAccount)), 0);
}

}  // namespace
}  // namespace kivtal::e2e
