#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "model/ValueString.h"
#include "store/ContactStore.h"
#include "support/UserDbFixture.h"
#include "support/FileBytes.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

const std::string kSep(kValueSeparator);

UserBankInfo Account(const std::string& bank, const std::string& card) {
    UserBankInfo a;
    a.bank_name = bank;
    a.ubank_branch = "Branch 'north'";
    a.ubank_subbranch = "100%_sub";
    a.ubank_card = card;
    a.ubank_user = "户主";
    return a;
}

// Every field set to something a careless SQL builder would mangle.
BusinessCard FullCard() {
    BusinessCard c;
    c.bc_name = "O'Brien 张三 😀";
    c.company_name = "100% _real_ Co.";
    c.cell_phone = "13800138000";
    c.home_phone = "010-1234";
    c.fix_phone = "021-5678";
    c.position = "CEO; DROP TABLE tb_bc;--";
    c.group_id = 3;
    c.fax = "fax";
    c.addr_c_detail = "𠀀𠀁 (outside GBK)";
    c.addr_f_detail = std::string(10000, 'x');
    c.web_site = "http://a.b/?q=1&r='2'";
    c.birthday_type = 2;
    c.birthday = "1984--4-05";
    c.mail = "a_b%c@d.e";
    c.qq = "12345";
    c.ww = "ww";
    c.relate_contacts = "李四[gx]朋友[pig]";
    c.main_business = "a[pig]b[pig]";
    c.hobby = "h";
    c.belief = "b";
    c.habit = "ha";
    c.how_to_konw = "meeting";
    c.title = 2;
    c.favor_food = "面[pig]";
    c.complete = 1;
    c.bc_name_pinyin = "O'Brien ZHANGSAN ?";
    c.bc_server_id = 57;
    c.main_tab = 1;
    c.bc_comment = std::string(10000, 'c') + "'";
    c.job_category_id = 7;
    c.business_id = 504;
    c.common_use = 1;
    c.server_group_id = 9;
    c.bank_accounts = {Account("ICBC", "6222"), Account("建设银行", "6227")};
    return c;
}

class ContactStoreWritesTest : public test::UserDbFixture {
protected:
    // The whole contact as stored, and the whole log, for before/after comparisons.
    std::string Snapshot() {
        std::string out;
        for (const char* sql : {"SELECT * FROM tb_bc ORDER BY bc_id", "SELECT * FROM tb_ubank_info ORDER BY ubank_id",
                                "SELECT * FROM tb_bc_group ORDER BY group_id",
                                "SELECT * FROM tb_sync_record ORDER BY sync_id", "SELECT * FROM tb_sync_record_tmp"}) {
            ResultTable t = Query(sql);
            for (int r = 0; r < t.rows(); ++r)
                for (int c = 0; c < t.cols(); ++c) out += t.text(r, c) + "|";
            out += "\n";
        }
        return out;
    }

    // The log entry of one row as "ways/state/server id/values".
    std::string Entry(int kind, int rowId) {
        ResultTable t = Query("SELECT oper_ways,sync_state,s_server_id,s_values FROM tb_sync_record WHERE oper_code=" +
                              std::to_string(kind) + " AND s_row_id=" + std::to_string(rowId));
        if (t.rows() != 1) return "entries: " + std::to_string(t.rows());
        return t.text(0, 0) + "/" + t.text(0, 1) + "/" + t.text(0, 2) + "/" + t.text(0, 3);
    }

    BusinessCard Stored(int bcId) {
        BusinessCard c;
        EXPECT_EQ(contacts.ContactById(bcId, c), 0);
        return c;
    }

    test::TestClock clock{1700000000};
    test::ScopedClock useClock{clock};
    ContactStore contacts{store};
};

TEST_F(ContactStoreWritesTest, AddStoresEveryFieldExactlyAndLogsContactAndEachAccount) {
    BusinessCard card = FullCard();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    ASSERT_GT(card.bc_id, 0);
    ASSERT_EQ(card.bank_accounts.size(), 2u);
    for (const UserBankInfo& a : card.bank_accounts) {
        EXPECT_GT(a.ubank_id, 0);
        EXPECT_EQ(a.bc_id, card.bc_id);
        EXPECT_EQ(a.bc_server_id, 57);  // taken from the contact row
    }

    EXPECT_EQ(Stored(card.bc_id), card);
    // Ints bound into VARCHAR columns are kept as decimal text, as the stored files hold them.
    EXPECT_EQ(Scalar("SELECT typeof(bc_state) || bc_state FROM tb_bc"), "text0");
    EXPECT_EQ(Scalar("SELECT typeof(group_id) FROM tb_bc"), "integer");

    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record"), "3");
    EXPECT_EQ(Entry(OPER_CONTACT, card.bc_id), "1/0/0/" + FormatValues(card));
    for (const UserBankInfo& a : card.bank_accounts)
        EXPECT_EQ(Entry(OPER_BANK_ACCOUNT, a.ubank_id), "1/0/0/" + FormatValues(a));
}

TEST_F(ContactStoreWritesTest, ModifyRewritesRowAndAccountsAndKeepsANeverSentAddAnAdd) {
    BusinessCard card = FullCard();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);

    card.bc_name = "李四";
    card.bc_server_id = 0;
    card.bank_accounts[0].ubank_state = 1;  // removing an account is a modify
    card.bank_accounts.push_back(Account("new", "1"));
    ASSERT_EQ(contacts.ModifyContact(card), StoreStatus::kOk);

    EXPECT_EQ(Stored(card.bc_id), card);
    const UserBankInfo& added = card.bank_accounts[2];
    EXPECT_EQ(added.bc_id, card.bc_id);
    EXPECT_EQ(added.bc_server_id, 0);  // the contact row has no server id now
    EXPECT_EQ(Entry(OPER_CONTACT, card.bc_id), "1/0/0/" + FormatValues(card));
    EXPECT_EQ(Entry(OPER_BANK_ACCOUNT, card.bank_accounts[0].ubank_id), "1/0/0/" + FormatValues(card.bank_accounts[0]));
    EXPECT_EQ(Entry(OPER_BANK_ACCOUNT, added.ubank_id), "1/0/0/" + FormatValues(added));
}

TEST_F(ContactStoreWritesTest, ModifyOfASyncedContactLogsAPendingModify) {
    BusinessCard card = FullCard();
    card.bank_accounts.clear();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=3");
    card.hobby = "chess";
    ASSERT_EQ(contacts.ModifyContact(card), StoreStatus::kOk);
    EXPECT_EQ(Entry(OPER_CONTACT, card.bc_id), "2/0/0/" + FormatValues(card));
}

TEST_F(ContactStoreWritesTest, AnEditIsSavedOverTheRowAsItIsNowKeepingWhatChangedSinceTheRead) {
    BusinessCard asRead = FullCard();
    ASSERT_EQ(contacts.AddContact(asRead), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=3");
    // A sync lands after the editor read the contact: company, server id and one account change.
    BusinessCard synced = asRead;
    synced.company_name = "乙公司";
    synced.bc_server_id = 99;
    synced.bank_accounts[1].ubank_card = "6227-new";
    ASSERT_EQ(contacts.ModifyContact(synced), StoreStatus::kOk);
    Exec("UPDATE tb_sync_record SET sync_state=3");
    const BusinessCard afterSync = Stored(asRead.bc_id);

    BusinessCard edited = asRead;  // the user changes the name, the comment and the first account
    edited.bc_name = "李四";
    edited.bc_name_pinyin = "LISI";
    edited.bc_comment = "新备注";
    edited.bank_accounts[0].ubank_user = "李四";
    ASSERT_EQ(contacts.SaveContactEdit(asRead, edited), StoreStatus::kOk);

    BusinessCard expected = afterSync;
    expected.bc_name = "李四";
    expected.bc_name_pinyin = "LISI";
    expected.bc_comment = "新备注";
    expected.bank_accounts[0].ubank_user = "李四";
    EXPECT_EQ(Stored(asRead.bc_id), expected);
    EXPECT_EQ(edited, expected);
    EXPECT_EQ(expected.company_name, "乙公司");
    EXPECT_EQ(expected.bc_server_id, 99);
    EXPECT_EQ(expected.bank_accounts[1].ubank_card, "6227-new");
    const auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    EXPECT_EQ(Entry(OPER_CONTACT, asRead.bc_id).substr(0, 4), "2/0/");  // pending again
    EXPECT_TRUE(endsWith(Entry(OPER_CONTACT, asRead.bc_id), "/" + FormatValues(expected)));
    EXPECT_TRUE(endsWith(Entry(OPER_BANK_ACCOUNT, asRead.bank_accounts[0].ubank_id),
                         "/" + FormatValues(expected.bank_accounts[0])));
    // The account the user left alone is not written again.
    EXPECT_EQ(Entry(OPER_BANK_ACCOUNT, asRead.bank_accounts[1].ubank_id).substr(0, 4), "2/3/");

    // A contact gone meanwhile fails the save and leaves the record as handed in.
    Exec("DELETE FROM tb_bc");
    BusinessCard late = edited;
    late.hobby = "chess";
    const BusinessCard handedIn = late;
    EXPECT_EQ(contacts.SaveContactEdit(edited, late), StoreStatus::kNotFound);
    EXPECT_EQ(late, handedIn);
}

TEST_F(ContactStoreWritesTest, DeleteHidesTheContactAndLogsStateOne) {
    BusinessCard card = FullCard();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    ASSERT_EQ(contacts.DeleteContact(card), StoreStatus::kOk);
    EXPECT_EQ(card.bc_state, 1);
    EXPECT_EQ(Scalar("SELECT bc_state FROM tb_bc"), "1");
    EXPECT_EQ(Entry(OPER_CONTACT, card.bc_id), "1/0/0/" + FormatValues(card));
    BusinessCardList all;
    ASSERT_EQ(contacts.AllContacts(all), 0);
    EXPECT_TRUE(all.empty());
}

// A text holding the value-string separator cannot travel to the service, so the
// write is refused as a whole rather than stored without its log entry.
TEST_F(ContactStoreWritesTest, SeparatorInAnyTextFailsTheWholeWriteAndLeavesTheRecord) {
    BusinessCard stored = FullCard();
    ASSERT_EQ(contacts.AddContact(stored), StoreStatus::kOk);
    const std::string before = Snapshot();

    BusinessCard inName = FullCard();
    inName.bc_name = "a" + kSep + "b";
    BusinessCard inAccount = FullCard();
    inAccount.bank_accounts[1].bank_name = kSep;
    for (BusinessCard card : {inName, inAccount}) {
        const BusinessCard handed = card;
        EXPECT_EQ(contacts.AddContact(card), StoreStatus::kRefused);
        EXPECT_EQ(card, handed);  // no id of a rolled-back row
    }

    BusinessCard edit = stored;
    edit.bank_accounts.push_back(Account("x" + kSep, "2"));
    EXPECT_EQ(contacts.ModifyContact(edit), StoreStatus::kRefused);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ContactStoreWritesTest, FailedLogWriteRollsBackRowAndEntry) {
    BusinessCard card = FullCard();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    CardGroup group;
    group.group_name = "g";
    ASSERT_EQ(contacts.AddGroup(group), StoreStatus::kOk);
    FailChangeLogWrites();
    const std::string before = Snapshot();

    BusinessCard fresh = FullCard();
    EXPECT_EQ(contacts.AddContact(fresh), StoreStatus::kFailed);
    EXPECT_EQ(fresh.bc_id, 0);
    BusinessCard edited = card;
    edited.bc_name = "changed";
    EXPECT_EQ(contacts.ModifyContact(edited), StoreStatus::kFailed);
    EXPECT_EQ(edited.bc_name, "changed");
    BusinessCard deleted = card;
    EXPECT_EQ(contacts.DeleteContact(deleted), StoreStatus::kFailed);
    EXPECT_EQ(deleted.bc_state, 0);
    CardGroup newGroup;
    EXPECT_EQ(contacts.AddGroup(newGroup), StoreStatus::kFailed);
    EXPECT_EQ(newGroup.group_id, 0);
    CardGroup renamed = group;
    renamed.group_name = "h";
    EXPECT_EQ(contacts.ModifyGroup(renamed), StoreStatus::kFailed);
    EXPECT_EQ(contacts.DeleteGroup(group), StoreStatus::kFailed);
    EXPECT_EQ(group.group_state, 0);

    EXPECT_EQ(Snapshot(), before);
}

// An edit of a row that does not exist used to "succeed" and leave a log entry for
// nothing; it now fails and writes nothing.
TEST_F(ContactStoreWritesTest, EditsOfMissingRowsFailWithoutLogging) {
    BusinessCard ghost = FullCard();
    ghost.bc_id = 42;
    ghost.bank_accounts.clear();
    EXPECT_EQ(contacts.ModifyContact(ghost), StoreStatus::kNotFound);
    EXPECT_EQ(contacts.DeleteContact(ghost), StoreStatus::kNotFound);
    CardGroup group;
    group.group_id = 42;
    EXPECT_EQ(contacts.ModifyGroup(group), StoreStatus::kNotFound);
    EXPECT_EQ(contacts.DeleteGroup(group), StoreStatus::kNotFound);

    BusinessCard card = FullCard();
    ASSERT_EQ(contacts.AddContact(card), StoreStatus::kOk);
    const std::string before = Snapshot();
    card.bank_accounts[0].ubank_id = 999;
    EXPECT_EQ(contacts.ModifyContact(card), StoreStatus::kFailed);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_sync_record WHERE s_row_id=42"), "0");
}

TEST_F(ContactStoreWritesTest, GroupWritesStoreAndLogKindSix) {
    CardGroup group;
    group.group_name = "it's 100%_";
    ASSERT_EQ(contacts.AddGroup(group), StoreStatus::kOk);
    ASSERT_GT(group.group_id, 0);
    EXPECT_EQ(Entry(OPER_CONTACT_GROUP, group.group_id), "1/0/-1/" + FormatValues(group));

    group.group_name = "renamed";
    group.server_id = 12;
    ASSERT_EQ(contacts.ModifyGroup(group), StoreStatus::kOk);
    CardGroup read;
    ASSERT_EQ(contacts.GroupById(group.group_id, read), 0);
    EXPECT_EQ(read, group);

    ASSERT_EQ(contacts.DeleteGroup(group), StoreStatus::kOk);
    EXPECT_EQ(group.group_state, 1);
    EXPECT_EQ(Scalar("SELECT group_state FROM tb_bc_group"), "1");
    EXPECT_EQ(Entry(OPER_CONTACT_GROUP, group.group_id), "1/0/-1/" + FormatValues(group));
}

// A database that cannot be used fails every write, and the file that may hold
// somebody's unsent edits is neither replaced nor recreated.
TEST_F(ContactStoreWritesTest, UnusableDatabaseFailsWritesAndIsNeverReplaced) {
    const std::string path = store.userDbPath();
    auto tryAll = [&] {
        BusinessCard card = FullCard();
        CardGroup group;
        EXPECT_EQ(contacts.AddContact(card), StoreStatus::kFailed);
        EXPECT_EQ(card.bc_id, 0);
        card.bc_id = 1;
        EXPECT_EQ(contacts.ModifyContact(card), StoreStatus::kFailed);
        EXPECT_EQ(contacts.DeleteContact(card), StoreStatus::kFailed);
        EXPECT_EQ(contacts.AddGroup(group), StoreStatus::kFailed);
    };

    CorruptUserDb();
    const std::string corrupt = test::FileBytes(path);
    tryAll();
    EXPECT_EQ(test::FileBytes(path), corrupt);

    { std::ofstream empty(path, std::ios::binary | std::ios::trunc); }
    tryAll();
    EXPECT_EQ(test::FileBytes(path), "");

    std::remove(path.c_str());
    tryAll();
    EXPECT_FALSE(std::ifstream(path).good());
}

}  // namespace
}  // namespace kivtal
