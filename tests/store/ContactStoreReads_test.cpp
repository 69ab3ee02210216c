#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "store/ContactStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

class ContactStoreReadsTest : public test::UserDbFixture {
protected:
    // Adds a live contact; returns its id.
    int Add(const std::string& name, const std::string& pinyin, int group = 0, int common = 0) {
        BusinessCard c;
        c.bc_name = name;
        c.bc_name_pinyin = pinyin;
        c.group_id = group;
        c.common_use = common;
        EXPECT_EQ(contacts.AddContact(c), StoreStatus::kOk);
        return c.bc_id;
    }
    int AddDeleted(const std::string& name, const std::string& pinyin, int group = 0) {
        BusinessCard c;
        EXPECT_EQ(contacts.ContactById(Add(name, pinyin, group, 1), c), 0);
        EXPECT_EQ(contacts.DeleteContact(c), StoreStatus::kOk);
        return c.bc_id;
    }

    static std::vector<std::string> Names(const BusinessCardList& list) {
        std::vector<std::string> out;
        for (const BusinessCard& c : list) out.push_back(c.bc_name);
        return out;
    }
    using Names_t = std::vector<std::string>;

    ContactStore contacts{store};
};

TEST_F(ContactStoreReadsTest, ListsInTheirOrdersWithoutDeletedContacts) {
    Add("li", "LI");
    Add("zhang", "ZHANG", 5, 1);
    AddDeleted("gone", "GONE", 5);
    Add("wang", "wang", 5);

    struct Case {
        const char* what;
        std::function<int(BusinessCardList&)> read;
        Names_t expected;
    };
    const Case cases[] = {
        {"all", [&](auto& l) { return contacts.AllContacts(l); }, {"li", "zhang", "wang"}},
        {"name asc", [&](auto& l) { return contacts.AllContactsByName(false, l); }, {"li", "zhang", "wang"}},
        {"name desc", [&](auto& l) { return contacts.AllContactsByName(true, l); }, {"wang", "zhang", "li"}},
        {"age asc", [&](auto& l) { return contacts.AllContactsByAge(false, l); }, {"li", "zhang", "wang"}},
        {"age desc", [&](auto& l) { return contacts.AllContactsByAge(true, l); }, {"wang", "zhang", "li"}},
        {"group", [&](auto& l) { return contacts.ContactsOfGroup(5, l); }, {"zhang", "wang"}},
        {"common", [&](auto& l) { return contacts.CommonContacts(l); }, {"zhang"}},
    };
    for (const Case& c : cases) {
        BusinessCardList list(1);  // lists are appended to
        list[0].bc_name = "kept";
        ASSERT_EQ(c.read(list), 0) << c.what;
        Names_t expected = c.expected;
        expected.insert(expected.begin(), "kept");
        EXPECT_EQ(Names(list), expected) << c.what;
    }
}

TEST_F(ContactStoreReadsTest, EveryContactComesWithAllItsAccountsWhateverTheirState) {
    BusinessCard c;
    c.bc_name = "a";
    c.bank_accounts.resize(2);
    c.bank_accounts[0].bank_name = "one";
    c.bank_accounts[1].bank_name = "two";
    c.bank_accounts[1].ubank_state = 1;
    ASSERT_EQ(contacts.AddContact(c), StoreStatus::kOk);
    Add("b", "B");

    BusinessCardList list;
    ASSERT_EQ(contacts.AllContacts(list), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].bank_accounts, c.bank_accounts);
    EXPECT_TRUE(list[1].bank_accounts.empty());
}

TEST_F(ContactStoreReadsTest, SingleReadsFindByIdOrServerIdAndLeaveTheRecordWhenAbsent) {
    const int id = Add("a", "A");
    Exec("UPDATE tb_bc SET bc_server_id=77 WHERE bc_id=" + std::to_string(id));
    BusinessCard byId, byServer;
    ASSERT_EQ(contacts.ContactById(id, byId), 0);
    ASSERT_EQ(contacts.ContactByServerId(77, byServer), 0);
    EXPECT_EQ(byServer.bc_id, id);
    EXPECT_EQ(byServer.bc_name, "a");

    BusinessCard untouched;
    untouched.bc_name = "mine";
    EXPECT_EQ(contacts.ContactById(id + 1, untouched), 1);
    EXPECT_EQ(contacts.ContactByServerId(78, untouched), 1);
    EXPECT_EQ(untouched.bc_name, "mine");
}

TEST_F(ContactStoreReadsTest, PrefixIgnoresLetterCaseAndTakesWildcardsLiterally) {
    Add("zhang", "ZHANGSAN");
    Add("tom", "zhao");
    Add("under", "Z_X");
    Add("pct", "Z%");
    AddDeleted("gone", "ZHU");

    auto prefix = [&](const std::string& p) {
        BusinessCardList l;
        EXPECT_EQ(contacts.ContactsByPrefix(p, l), 0);
        return Names(l);
    };
    EXPECT_EQ(prefix("Z"), (Names_t{"zhang", "tom", "under", "pct"}));
    EXPECT_EQ(prefix("zh"), (Names_t{"zhang", "tom"}));
    EXPECT_EQ(prefix("Z_"), (Names_t{"under"}));
    EXPECT_EQ(prefix("Z%"), (Names_t{"pct"}));
    EXPECT_EQ(prefix("_"), Names_t{});
}

TEST_F(ContactStoreReadsTest, AlphabetIndexAndTheContactsWithoutALetter) {
    Add("Apple", "apple");
    Add("李", "LI");
    Add("张", "ZHANG");
    Add("3M", "3M");
    Add("·", "?");
    AddDeleted("Bob", "BOB");
    // A row without pinyin, as an older version could leave one (a write now makes it).
    Exec("UPDATE tb_bc SET bc_name_pinyin='' WHERE bc_id=" + std::to_string(Add("empty", "")));

    std::vector<int> index{99};
    ASSERT_EQ(contacts.AlphabetIndex(index), 0);
    EXPECT_EQ(index, (std::vector<int>{99, 0, 11, 25, 26}));

    BusinessCardList other;
    ASSERT_EQ(contacts.ContactsWithoutLetter(other), 0);
    EXPECT_EQ(Names(other), (Names_t{"3M", "·", "empty"}));
}

TEST_F(ContactStoreReadsTest, AlphabetIndexHasNoEntry26WhenEveryPinyinStartsWithALetter) {
    Add("a", "A");
    AddDeleted("3", "3");
    std::vector<int> index;
    ASSERT_EQ(contacts.AlphabetIndex(index), 0);
    EXPECT_EQ(index, std::vector<int>{0});
}

// The term is a substring of any of the seven fields; "%" and "_" in it stay LIKE
// wildcards, as the contacts pane offers them.
TEST_F(ContactStoreReadsTest, SearchMatchesSevenFieldsOfLiveContacts) {
    struct Field {
        const char* column;
        const char* value;
    };
    const Field fields[] = {{"bc_name", "has KEY in name"},
                            {"cell_phone", "139KEY"},
                            {"home_phone", "KEY1"},
                            {"fix_phone", "xKEYx"},
                            {"mail", "key@x"},
                            {"company_name", "theKEY"},
                            {"position", "KEYs"},
                            {"qq", "KEY"}};  // qq is not searched
    for (const Field& f : fields) {
        const int id = Add(f.column, "P");
        Exec(std::string("UPDATE tb_bc SET ") + f.column + "='" + f.value + "' WHERE bc_id=" + std::to_string(id));
    }
    AddDeleted("KEY deleted", "K");
    BusinessCardList found;
    ASSERT_EQ(contacts.Search("KEY", found), 0);
    EXPECT_EQ(found.size(), 7u);
    EXPECT_EQ(std::count_if(found.begin(), found.end(), [](auto& c) { return c.bc_name == "qq"; }), 0);
}

TEST_F(ContactStoreReadsTest, SearchTermsWithQuotesAndWildcards) {
    Add("O'Brien", "OBRIEN");
    Add("50% off", "A");
    Add("50 cents", "B");
    Add("a_b", "C");

    auto search = [&](const std::string& t) {
        BusinessCardList l;
        EXPECT_EQ(contacts.Search(t, l), 0) << t;
        return Names(l);
    };
    EXPECT_EQ(search("O'B"), Names_t{"O'Brien"});
    EXPECT_EQ(search("'"), Names_t{"O'Brien"});
    EXPECT_EQ(search("50%"), (Names_t{"50% off", "50 cents"}));
    EXPECT_EQ(search("a_b"), Names_t{"a_b"});
    EXPECT_EQ(search("missing"), Names_t{});
}

TEST_F(ContactStoreReadsTest, GroupsCountTheirLiveContacts) {
    CardGroup work, family, gone;
    work.group_name = "work";
    family.group_name = "family";
    gone.group_name = "gone";
    for (CardGroup* g : {&work, &family, &gone}) ASSERT_EQ(contacts.AddGroup(*g), StoreStatus::kOk);
    ASSERT_EQ(contacts.DeleteGroup(gone), StoreStatus::kOk);
    Add("a", "A", work.group_id);
    Add("b", "B", work.group_id);
    AddDeleted("c", "C", work.group_id);
    Add("d", "D", gone.group_id);

    CardGroupList groups;
    ASSERT_EQ(contacts.ContactGroups(groups), 0);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].group_name, "work");
    EXPECT_EQ(groups[0].count, 2);
    EXPECT_EQ(groups[1].group_name, "family");
    EXPECT_EQ(groups[1].count, 0);

    // A deleted group's contacts stay in the all-contacts list.
    BusinessCardList all;
    ASSERT_EQ(contacts.AllContacts(all), 0);
    EXPECT_EQ(Names(all), (Names_t{"a", "b", "d"}));

    CardGroup byId;
    ASSERT_EQ(contacts.GroupById(gone.group_id, byId), 0);
    EXPECT_EQ(byId.group_state, 1);
    EXPECT_EQ(contacts.GroupById(999, byId), 1);
}

TEST_F(ContactStoreReadsTest, UnusableDatabaseFailsReadsAndLeavesTheLists) {
    Add("a", "A");
    CorruptUserDb();

    BusinessCardList list(1);
    for (int rc : {contacts.AllContacts(list), contacts.AllContactsByName(false, list), contacts.Search("a", list),
                   contacts.ContactsByPrefix("A", list), contacts.ContactsWithoutLetter(list),
                   contacts.ContactsOfGroup(0, list), contacts.CommonContacts(list)})
        EXPECT_EQ(rc, 1);
    EXPECT_EQ(list.size(), 1u);

    std::vector<int> index;
    CardGroupList groups;
    BusinessCard card;
    EXPECT_EQ(contacts.AlphabetIndex(index), 1);
    EXPECT_EQ(contacts.ContactGroups(groups), 1);
    EXPECT_EQ(contacts.ContactById(1, card), 1);
    EXPECT_TRUE(index.empty());
    EXPECT_TRUE(groups.empty());
}

TEST_F(ContactStoreReadsTest, MissingAccountTableFailsTheListAsAWhole) {
    Add("a", "A");
    Exec("DROP TABLE tb_ubank_info");
    BusinessCardList list;
    EXPECT_EQ(contacts.AllContacts(list), 1);
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace kivtal
