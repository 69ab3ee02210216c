#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duplicates/DefaultMerge.h"
#include "model/SyncKinds.h"
#include "store/ContactStore.h"
#include "store/MergeStore.h"
#include "store/TrashStore.h"
#include "support/TestClock.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

constexpr int kStart = 1700000000;

UserBankInfo Account(const std::string& card) {
    UserBankInfo a;
    a.bank_name = "ICBC";
    a.ubank_card = card;
    return a;
}

class MergeTest : public test::UserDbFixture {
protected:
    test::TestClock clock{kStart};
    test::ScopedClock scopedClock{clock};
    ContactStore contacts{store};
    MergeStore merges{store};

    int Group(const std::string& name) {
        CardGroup g;
        g.group_name = name;
        EXPECT_EQ(contacts.AddGroup(g), StoreStatus::kOk);
        return g.group_id;
    }

    BusinessCard Add(BusinessCard c) {
        if (c.bc_name_pinyin.empty()) c.bc_name_pinyin = c.bc_name;
        EXPECT_EQ(contacts.AddContact(c), StoreStatus::kOk);
        return c;
    }

    BusinessCard Contact(const std::string& name, int serverId, UserBankInfoList accounts, int groupId = 0) {
        BusinessCard c;
        c.bc_name = name;
        c.company_name = "Acme";
        c.cell_phone = "13800138000";
        c.bc_server_id = serverId;
        c.group_id = groupId;
        c.bank_accounts = std::move(accounts);
        return Add(c);
    }

    BusinessCard Stored(int bcId) {
        BusinessCard c;
        EXPECT_EQ(contacts.FindContact(bcId, c), StoreStatus::kOk);
        return c;
    }

    // The stored contact with its live accounts only, as it reads before any was removed.
    BusinessCard StoredLive(int bcId) {
        BusinessCard c = Stored(bcId);
        std::erase_if(c.bank_accounts, [](const UserBankInfo& a) { return a.ubank_state != 0; });
        return c;
    }

    std::vector<std::string> LiveCards(int bcId) {
        std::vector<std::string> cards;
        for (const UserBankInfo& a : StoredLive(bcId).bank_accounts) cards.push_back(a.ubank_card);
        return cards;
    }

    // "kind/way" of every pending change-log entry, in order.
    std::string Pending() { return Scalar("SELECT group_concat(oper_code||'/'||oper_ways, ' ') FROM tb_sync_record"); }
    void Synced() { Exec("DELETE FROM tb_sync_record;"); }
};

TEST_F(MergeTest, TheKeptContactGetsTheChoicesAndEveryAccountAndUndoPutsEveryRowBack) {
    const int clients = Group("clients"), friends = Group("friends");
    const BusinessCard kept = Contact("Anna", 500, {Account("6222")}, clients);
    const BusinessCard a = Contact("Anna M", 600, {Account("6222"), Account("6333")}, friends);
    const BusinessCard b = Contact("A. Müller", 0, {Account("6444"), Account("6555")});
    Synced();

    BusinessCard chosen = kept;
    chosen.bc_name = chosen.bc_name_pinyin = a.bc_name;
    chosen.group_id = friends;
    MergeUndo undo;
    ASSERT_EQ(merges.Merge({{kept, chosen, {a.bc_id, b.bc_id}}}, undo), 0);

    const BusinessCard now = StoredLive(kept.bc_id);
    EXPECT_EQ(now.bc_name, "Anna M");
    EXPECT_EQ(now.group_id, friends);
    EXPECT_EQ(now.bc_server_id, 500) << "the kept contact stays the service's row";
    EXPECT_EQ(LiveCards(kept.bc_id), (std::vector<std::string>{"6222", "6333", "6444", "6555"}))
        << "every account once; the one both held is not doubled";
    for (const BusinessCard& gone : {a, b}) {
        EXPECT_EQ(Stored(gone.bc_id).bc_state, 1);
        EXPECT_EQ(StoredLive(gone.bc_id).bank_accounts, gone.bank_accounts) << "a restore brings them back too";
    }
    TrashedRecordList trashed;
    ASSERT_EQ(TrashStore(store).DeletedContacts(0, trashed), 0);
    EXPECT_EQ(trashed.size(), 2u);
    EXPECT_EQ(Pending(), "1/2 9/1 9/1 9/1 1/2 1/2") << "the kept contact, its three new accounts, the two deletes";

    ASSERT_EQ(merges.Undo(undo), 0);
    EXPECT_EQ(StoredLive(kept.bc_id), kept);
    EXPECT_EQ(Stored(a.bc_id), a);
    EXPECT_EQ(Stored(b.bc_id), b);
    trashed.clear();
    ASSERT_EQ(TrashStore(store).DeletedContacts(0, trashed), 0);
    EXPECT_TRUE(trashed.empty());
}

TEST_F(MergeTest, AMergeThatCannotCompleteWritesNothing) {
    const BusinessCard kept = Contact("k", 0, {Account("1")});
    const BusinessCard other = Contact("o", 0, {Account("2")});
    BusinessCard deleted = Contact("d", 0, {});
    ASSERT_EQ(contacts.DeleteContact(deleted), StoreStatus::kOk);
    Synced();

    struct Fault {
        const char* what;
        std::vector<int> others;
        bool failLog;
        int expected;
    };
    // clang-format off: one fault a line
    const Fault faults[] = {
        {"an other is in the trash", {other.bc_id, deleted.bc_id}, false, MergeStore::kNotLive},
        {"an id names no contact", {other.bc_id, 9999}, false, MergeStore::kNotLive},
        {"the kept one among the others", {other.bc_id, kept.bc_id}, false, MergeStore::kNotLive},
        {"an other named twice", {other.bc_id, other.bc_id}, false, MergeStore::kNotLive},
        {"the change log fails", {other.bc_id}, true, 1},
    };
    // clang-format on
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        if (f.failLog) FailChangeLogWrites();
        BusinessCard chosen = kept;
        chosen.position = "CEO";
        MergeUndo undo;
        undo.mergedAway.push_back(kept);
        const MergeUndo before = undo;
        EXPECT_EQ(merges.Merge({{kept, chosen, f.others}}, undo), f.expected);
        EXPECT_EQ(undo, before);
        EXPECT_EQ(Stored(kept.bc_id), kept);
        EXPECT_EQ(Stored(other.bc_id), other);
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record"), "0");
        EXPECT_EQ(Scalar("SELECT count(*) FROM tb_ubank_info"), "2");
    }
}

// Defaults: the newest non-empty value of each field, the kept contact's group, and the
// numbers and addresses no kept field holds in the comment.
TEST_F(MergeTest, NamedContactsMergeWithTheNewestNonEmptyValues) {
    const int clients = Group("clients");
    BusinessCard k;
    k.bc_name = "Anna Müller";
    k.cell_phone = "13800138000";
    k.mail = "anna@x.cn";
    k.position = "CEO";
    k.bc_comment = "met in Shanghai";
    k.group_id = clients;
    k = Add(k);
    clock.set(kStart + 60);
    BusinessCard a;
    a.bc_name = "Müller Anna";
    a.bc_name_pinyin = "MULLER ANNA";
    a.company_name = "Acme";
    a.cell_phone = "+86 138-0013-8000";
    a.fix_phone = "010-1234567";
    a.home_phone = "13900000000";
    a.mail = "ANNA@y.cn";
    a = Add(a);
    BusinessCard older;
    older.bc_name = "Anna";
    older.home_phone = "021-7654321";
    older.mail = "anna@x.cn";
    clock.set(kStart - 60);
    older = Add(older);
    clock.set(kStart + 120);

    MergeUndo undo;
    ASSERT_EQ(duplicates::MergeNamed(store, k.bc_id, {a.bc_id, older.bc_id}, undo), 0);
    const BusinessCard m = StoredLive(k.bc_id);
    EXPECT_EQ(m.bc_name, "Müller Anna");
    EXPECT_EQ(m.bc_name_pinyin, "Muller Anna") << "the store derives the pinyin of the name kept";
    EXPECT_EQ(m.company_name, "Acme");
    EXPECT_EQ(m.position, "CEO") << "empty in the newer one";
    EXPECT_EQ(m.cell_phone, "+86 138-0013-8000");
    EXPECT_EQ(m.home_phone, "13900000000");
    EXPECT_EQ(m.mail, "ANNA@y.cn");
    EXPECT_EQ(m.group_id, clients);
    EXPECT_EQ(m.bc_comment, "met in Shanghai\nTel: 021-7654321\nE-mail: anna@x.cn")
        << "the same mobile written otherwise is not repeated";
    EXPECT_EQ(undo.mergedAway.size(), 2u);
}

// After the same file was imported on two devices, each has both copies; both keep the
// copy the service numbered first, so neither deletes the other's kept one.
TEST_F(MergeTest, ExactTwinsMergeIntoTheCopyTheServiceNumberedFirst) {
    const BusinessCard mine = Contact("twin", 731, {Account("1")});
    const BusinessCard theirs = Contact("twin", 402, {Account("1")});
    BusinessCard near = Contact("twin", 999, {Account("1")});
    near.position = "CTO";
    ASSERT_EQ(contacts.ModifyContact(near), StoreStatus::kOk);

    MergeUndo undo;
    int merged = -1;
    ASSERT_EQ(duplicates::MergeAllFound(store, {.exactOnly = true}, undo, merged), 0);
    EXPECT_EQ(merged, 1);
    EXPECT_EQ(Stored(theirs.bc_id).bc_state, 0);
    EXPECT_EQ(Stored(mine.bc_id).bc_state, 1);
    EXPECT_EQ(Stored(near.bc_id).bc_state, 0) << "not equal in every field";
    EXPECT_EQ(LiveCards(theirs.bc_id), (std::vector<std::string>{"1"}));

    ASSERT_EQ(duplicates::MergeAllFound(store, {.exactOnly = true}, undo, merged), 0);
    EXPECT_EQ(merged, 0);
}

TEST_F(MergeTest, AnIgnoredGroupStaysHiddenUntilSomeoneNewJoinsIt) {
    const BusinessCard a = Contact("a", 0, {}), b = Contact("b", 0, {});
    ASSERT_EQ(MergeStore(store).IgnoreGroup({b.bc_id, a.bc_id}), 0);

    BusinessCardList read;
    std::vector<duplicates::DuplicateGroup> groups;
    ASSERT_EQ(duplicates::FindInStore(store, {}, read, groups), 0);
    EXPECT_TRUE(groups.empty());
    const BusinessCard c = Contact("c", 0, {});
    ASSERT_EQ(duplicates::FindInStore(store, {}, read, groups), 0);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].bcIds, (std::vector<int>{a.bc_id, b.bc_id, c.bc_id}));
}

}  // namespace
}  // namespace kivtal
