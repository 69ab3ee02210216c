// The fields every contact and matter write derives itself, whoever the caller is:
// the name pinyin and the group's server id, in the row and in the change-log entry.
#include <gtest/gtest.h>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

class DerivedFieldsTest : public test::UserDbFixture {
protected:
    // A contact group and a matter group the service knows, both as 77.
    void SetUp() override {
        CardGroup cg;
        cg.group_name = "客户";
        ASSERT_EQ(contacts.AddGroup(cg), StoreStatus::kOk);
        contactGroup = cg.group_id;
        EventGroup eg;
        eg.group_name = "工作";
        ASSERT_EQ(matters.AddMatterGroup(eg), StoreStatus::kOk);
        matterGroup = eg.group_id;
        Exec("UPDATE tb_bc_group SET server_id=77; UPDATE tb_event_group SET server_id=77;");
    }

    std::string LoggedValues(int kind, int rowId) {
        return Scalar("SELECT s_values FROM tb_sync_record WHERE oper_code=" + std::to_string(kind) +
                      " AND s_row_id=" + std::to_string(rowId) + " ORDER BY sync_id DESC LIMIT 1");
    }
    BusinessCard StoredContact(int id) {
        BusinessCard c;
        EXPECT_EQ(contacts.ContactById(id, c), 0);
        return c;
    }

    ContactStore contacts{store};
    MatterStore matters{store};
    int contactGroup = 0;
    int matterGroup = 0;
};

TEST_F(DerivedFieldsTest, AContactWriteMakesThePinyinForItsName) {
    BusinessCard card;
    card.bc_name = "周八";
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    EXPECT_EQ(card.bc_name_pinyin, "ZHOUBA");
    EXPECT_EQ(StoredContact(card.bc_id).bc_name_pinyin, "ZHOUBA");

    // A full rewrite under a new name carries the old pinyin: the store replaces it.
    card.bc_name = "李四";
    ASSERT_EQ(contacts.ModifyContact(card), StoreStatus::kOk);
    EXPECT_EQ(StoredContact(card.bc_id).bc_name_pinyin, "LISI");

    // An editor's rename: the form never saw the pinyin.
    const BusinessCard asRead = StoredContact(card.bc_id);
    BusinessCard edited = asRead;
    edited.bc_name = "王五";
    ASSERT_EQ(contacts.SaveContactEdit(asRead, edited), StoreStatus::kOk);
    EXPECT_EQ(edited.bc_name_pinyin, "WANGWU");
    EXPECT_EQ(StoredContact(card.bc_id).bc_name_pinyin, "WANGWU");
}

// The server group id the caller hands in (the record's default, or a stale one) never
// counts while the group row can tell; the change-log entry sends the row's.
TEST_F(DerivedFieldsTest, ContactAndMatterWritesTakeTheServerIdOfTheirGroup) {
    struct Case {
        const char* what;
        bool inGroup;
        int given;
        int expected;
    };
    const Case cases[] = {
        {"no group", false, -1, 0},
        {"no group, stale id", false, 5, 0},
        {"in the group", true, -1, 77},
        {"in the group, stale id", true, 5, 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BusinessCard card;
        card.bc_name = "周八";
        card.group_id = c.inGroup ? contactGroup : 0;
        card.server_group_id = c.given;
        ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
        EXPECT_EQ(StoredContact(card.bc_id).server_group_id, c.expected);
        EXPECT_EQ(LoggedValues(OPER_CONTACT, card.bc_id), FormatValues(StoredContact(card.bc_id)));

        TalEvent matter;
        matter.description = "拜访";
        matter.group_id = c.inGroup ? matterGroup : 0;
        matter.server_group_id = c.given;
        ASSERT_EQ(matters.AddMatter(matter), StoreStatus::kOk);
        TalEvent stored;
        ASSERT_EQ(matters.MatterById(matter.event_id, stored), 0);
        EXPECT_EQ(stored.server_group_id, c.expected);
        EXPECT_EQ(LoggedValues(OPER_MATTER, matter.event_id), FormatValues(stored));
    }
}

TEST_F(DerivedFieldsTest, MovingToAGroupAndBackFollowsTheGroup) {
    BusinessCard card;
    card.bc_name = "周八";
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    BusinessCard asRead = StoredContact(card.bc_id);
    BusinessCard moved = asRead;
    moved.group_id = contactGroup;
    ASSERT_EQ(contacts.SaveContactEdit(asRead, moved), StoreStatus::kOk);
    EXPECT_EQ(moved.server_group_id, 77);

    TalEvent matter;
    matter.group_id = matterGroup;
    ASSERT_EQ(matters.AddMatter(matter), StoreStatus::kOk);
    TalEvent back = matter;
    back.group_id = 0;
    ASSERT_EQ(matters.ModifyMatter(back), StoreStatus::kOk);
    TalEvent stored;
    ASSERT_EQ(matters.MatterById(matter.event_id, stored), 0);
    EXPECT_EQ(stored.server_group_id, 0);
}

// A received change may name a group this device never got: its local group id then
// points at no row, and the service's group id must survive a later local edit.
TEST_F(DerivedFieldsTest, AGroupNoRowHoldsKeepsTheServerIdTheRecordBrings) {
    BusinessCard card;
    card.bc_name = "周八";
    card.group_id = 999;
    card.server_group_id = 4242;
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    EXPECT_EQ(StoredContact(card.bc_id).server_group_id, 4242);
}

}  // namespace
}  // namespace kivtal
