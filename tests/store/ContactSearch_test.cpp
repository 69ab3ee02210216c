#include "store/ContactSearch.h"

#include <gtest/gtest.h>

#include "store/ContactStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

class ContactSearchTest : public test::UserDbFixture {
protected:
    void Add(const std::string& name, const std::string& pinyin, void (*fill)(BusinessCard&) = nullptr) {
        BusinessCard c;
        c.bc_name = name;
        c.bc_name_pinyin = pinyin;
        if (fill) fill(c);
        ASSERT_EQ(contacts.AddContact(c), StoreStatus::kOk);
    }

    ContactSummaryList Read(ContactListQuery::Match match, const std::string& text) {
        ContactListQuery query;
        query.match = match;
        query.text = text;
        ContactSummaryList rows;
        EXPECT_EQ(contacts.ContactSummaries(query, rows), 0);
        return rows;
    }

    ContactStore contacts{store};
};

// Each term in turn through one search, so that typing on (narrowing), cutting back
// and starting over are all compared with the store's own search query.
TEST_F(ContactSearchTest, FindsWhatTheStoresSearchQueryFinds) {
    Add("张三", "ZHANGSAN", [](BusinessCard& c) { c.cell_phone = "13911112222"; });
    Add("程诚", "CHENGCHENG", [](BusinessCard& c) { c.mail = "Cheng@Example.COM"; });
    Add("陈晨", "CHENCHEN", [](BusinessCard& c) { c.company_name = "Tea_House 100%"; });
    Add("David Brown", "David Brown", [](BusinessCard& c) { c.position = "CEO"; });
    Add("Ärger", "ARGER", [](BusinessCard& c) { c.home_phone = "010-5555"; });
    Add("O'Brien", "OBRIEN", [](BusinessCard& c) { c.fix_phone = "021\\6666"; });
    Add("张删", "ZHANGSHAN");
    const ContactSummaryList rows = Read(ContactListQuery::Match::Everything, "");
    ASSERT_EQ(rows.size(), 7u);

    ContactSearch search(rows);
    const char* const terms[] = {
        "z",
        "zh",
        "zhang",
        "zhangs",
        "zhangsa",
        "zh",
        "ZS",
        "san",
        "",  // typing, cutting back, initials
        "1",
        "13",
        "1391",
        "13911112222x",
        "555",
        "021\\",
        "\\",  // phones, the escape character
        "@example.com",
        "EXAMPLE",
        "ceo",
        "Ä",
        "ä",
        "rger",  // ASCII case only, as LIKE
        "_",
        "%",
        "100%",
        "tea_h",
        "'",
        "O'B",
        "'; --",  // wildcards and quotes taken as they are
        "cc",
        "chenc",
        "chengc",
        "db",
        "c c",
        "张",
        "张三",
        "诚",  // pinyin and Chinese
    };
    int found = 0;
    for (const char* term : terms) {
        SCOPED_TRACE(term);
        std::vector<int> expected;
        for (const ContactSummary& s : Read(ContactListQuery::Match::Search, term)) {
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (rows[i].bc_id == s.bc_id) expected.push_back(static_cast<int>(i));
        }
        EXPECT_EQ(search.Find(term), expected);
        found += static_cast<int>(expected.size());
    }
    EXPECT_GT(found, 40);  // the terms find something: the comparison is not of empty lists
}

}  // namespace
}  // namespace kivtal
