#include "store/ContactBirthdays.h"

#include <gtest/gtest.h>

#include "store/ContactStore.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

class ContactBirthdaysTest : public test::UserDbFixture {
protected:
    int Add(const std::string& name, int type, const std::string& birthday) {
        BusinessCard c;
        c.bc_name = name;
        c.birthday_type = type;
        c.birthday = birthday;
        EXPECT_EQ(contacts.AddContact(c), StoreStatus::kOk);
        return c.bc_id;
    }

    ContactStore contacts{store};
};

TEST_F(ContactBirthdaysTest, ReadsLiveContactsThatHaveABirthday) {
    const int solar = Add("张三", 1, "1980-03-15");
    const int lunar = Add("李四", 2, "1984--10-01");
    Add("无生日", 1, "");
    BusinessCard gone;
    ASSERT_EQ(contacts.ContactById(Add("已删除", 1, "1990-01-01"), gone), 0);
    ASSERT_EQ(contacts.DeleteContact(gone), StoreStatus::kOk);
    Exec("INSERT INTO tb_bc(bc_name, bc_state, birthday) VALUES('空值', 0, NULL);");

    std::vector<ContactBirthday> out;
    ASSERT_EQ(ReadContactBirthdays(store, out), 0);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].contactId, solar);
    EXPECT_EQ(out[0].name, "张三");
    EXPECT_EQ(out[0].type, kSolarBirthday);
    EXPECT_EQ(out[0].text, "1980-03-15");
    EXPECT_EQ(out[1].contactId, lunar);
    EXPECT_EQ(out[1].type, kLunarBirthday);
    EXPECT_EQ(out[1].text, "1984--10-01");
}

TEST_F(ContactBirthdaysTest, AFailedReadAppendsNothing) {
    Add("张三", 1, "1980-03-15");
    CorruptUserDb();
    std::vector<ContactBirthday> out = {{9, "kept", 1, "2000-01-01"}};
    EXPECT_EQ(ReadContactBirthdays(store, out), 1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].name, "kept");
}

}  // namespace
}  // namespace kivtal
