#include "model/Records.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace kivtal {
namespace {

static_assert(std::has_virtual_destructor_v<BusinessCard> && std::has_virtual_destructor_v<UserInfo>);
static_assert(std::is_nothrow_move_constructible_v<BusinessCard>);
static_assert(std::is_nothrow_move_constructible_v<UserInfo>);

// The defaults that are not 0 or empty; the store writes them for fields a caller leaves alone.
TEST(RecordsTest, NonZeroDefaults) {
    const BusinessCard card;
    EXPECT_EQ(card.birthday_type, 1);
    EXPECT_EQ(card.title, 1);
    EXPECT_EQ(card.server_group_id, -1);
    EXPECT_EQ(CardGroup{}.server_id, -1);
    EXPECT_EQ(EventGroup{}.server_id, -1);
    EXPECT_EQ(TalEvent{}.server_group_id, -1);
    EXPECT_EQ(UserInfo{}.title, 1);
    EXPECT_EQ(UserInfo{}.birthday_type, 0);

    const UserSettings settings;
    EXPECT_EQ(settings.coloumn_show, 6);
    EXPECT_EQ(settings.auto_run, 1);
    EXPECT_EQ(settings.exit_ways, 0);
}

TEST(RecordsTest, ContactCopyOwnsItsBankAccounts) {
    BusinessCard card;
    card.bc_name = "张三";
    card.bank_accounts.push_back(UserBankInfo{});
    card.bank_accounts[0].bank_name = "first";

    BusinessCard copy = card;
    copy.bank_accounts[0].bank_name = "changed";
    copy.bank_accounts.push_back(UserBankInfo{});
    copy.bc_name = "李四";

    EXPECT_EQ(card.bc_name, "张三");
    ASSERT_EQ(card.bank_accounts.size(), 1u);
    EXPECT_EQ(card.bank_accounts[0].bank_name, "first");
}

}  // namespace
}  // namespace kivtal
