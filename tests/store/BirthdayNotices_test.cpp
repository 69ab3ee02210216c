#include "store/BirthdayNotices.h"

#include <gtest/gtest.h>

#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

class BirthdayNoticesTest : public test::UserDbFixture {
protected:
    static BirthdayNotice Notice(int contactId, CivilDate date, BirthdayNoticeKind kind) {
        BirthdayNotice n;
        n.birthday.contactId = contactId;
        n.birthday.next.date = date;
        n.kind = kind;
        return n;
    }
};

TEST_F(BirthdayNoticesTest, DaysAheadDefaultsToOneAndKeepsWhatWasSaved) {
    int days = -5;
    ASSERT_EQ(ReadBirthdayNoticeDays(store, days), 0);
    EXPECT_EQ(days, 1);
    ASSERT_EQ(SaveBirthdayNoticeDays(store, 3), 0);
    ASSERT_EQ(SaveBirthdayNoticeDays(store, 0), 0);
    for (int bad : {-1, 31}) EXPECT_EQ(SaveBirthdayNoticeDays(store, bad), 1) << bad;
    ASSERT_EQ(ReadBirthdayNoticeDays(store, days), 0);
    EXPECT_EQ(days, 0);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_birthday_notice_setting;"), "1");
}

// Each notice once: by contact, the day the birthday falls on and the kind; a year on,
// the same birthday reminds again, and old marks are forgotten.
TEST_F(BirthdayNoticesTest, ANoticeShowsOncePerBirthday) {
    using K = BirthdayNoticeKind;
    const BirthdayNotice ahead = Notice(7, {2026, 5, 21}, K::kAhead);
    const BirthdayNotice onTheDay = Notice(7, {2026, 5, 21}, K::kOnTheDay);
    const BirthdayNotice other = Notice(8, {2026, 5, 21}, K::kAhead);
    ASSERT_EQ(MarkNoticeShown(store, ahead), 0);
    ASSERT_EQ(MarkNoticeShown(store, ahead), 0);  // twice is once

    std::vector<BirthdayNotice> due = {ahead, onTheDay, other};
    ASSERT_EQ(DropShownNotices(store, due), 0);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].kind, K::kOnTheDay);
    EXPECT_EQ(due[1].birthday.contactId, 8);

    ASSERT_EQ(MarkNoticeShown(store, Notice(9, {2027, 5, 22}, K::kAhead)), 0);
    std::vector<BirthdayNotice> nextYear = {Notice(7, {2027, 5, 21}, K::kAhead), Notice(9, {2027, 5, 22}, K::kAhead)};
    ASSERT_EQ(DropShownNotices(store, nextYear), 0);
    ASSERT_EQ(nextYear.size(), 1u);
    EXPECT_EQ(nextYear[0].birthday.contactId, 7) << "a year on, the same birthday reminds again";
    EXPECT_EQ(Scalar("SELECT group_concat(birthday_date) FROM tb_birthday_notice;"), "2027-05-22")
        << "marks of birthdays more than a year past are forgotten";
}

TEST_F(BirthdayNoticesTest, AFailedStoreChangesNothing) {
    CorruptUserDb();
    int days = 9;
    EXPECT_EQ(ReadBirthdayNoticeDays(store, days), 1);
    EXPECT_EQ(days, 9);
    std::vector<BirthdayNotice> due = {Notice(1, {2026, 1, 1}, BirthdayNoticeKind::kOnTheDay)};
    EXPECT_EQ(DropShownNotices(store, due), 1);
    EXPECT_EQ(due.size(), 1u);
    EXPECT_EQ(MarkNoticeShown(store, due[0]), 1);
    EXPECT_EQ(SaveBirthdayNoticeDays(store, 2), 1);
}

}  // namespace
}  // namespace kivtal
