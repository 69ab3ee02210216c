#include "model/RecordValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/ValueString.h"

namespace kivtal {
namespace {

// Every sample record holds at wire position i the value Num(i) or Txt(i), so a value
// string of the sample shows by its items whether each field sits at its place.
int Num(int i) { return (i % 2 ? i : -i) * 1000003; }

std::string Txt(int i) {
    // Texts the editors let through and that must survive verbatim: quotes, list
    // markers, commas, printf directives, Chinese, white space, halves of the separator.
    static const char* const kTexts[] = {
        "O'Brien \"@\"",   "a[pig]@[pig]", "张三,@,李四",  "100% %s @%d", "王@[gx]同事[pig]",
        "^@~\xE9\xBA\xA4", " @ ",          "line\n@\ttab", "~@^",         "\xE9\xBA\xA4^@~",
    };
    std::string text = kTexts[i % std::size(kTexts)];
    return text.replace(text.find('@'), 1, std::to_string(i));
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? std::string(kValueSeparator) : "") + items[i];
    return out;
}

// The wire order of a kind: 'd' an int field, 's' a text field.
std::vector<std::string> Items(std::string_view pattern) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const int pos = static_cast<int>(i) + 1;
        items.push_back(pattern[i] == 'd' ? std::to_string(Num(pos)) : Txt(pos));
    }
    return items;
}

template <class R>
struct Kind;

template <>
struct Kind<BusinessCard> {
    static constexpr std::string_view kPattern = "dssssssdssssdssssssssssdsddddsdddd";
    static BusinessCard Sample() {
        BusinessCard c;
        c.bc_id = Num(1), c.bc_name = Txt(2), c.company_name = Txt(3), c.cell_phone = Txt(4);
        c.home_phone = Txt(5), c.fix_phone = Txt(6), c.position = Txt(7), c.group_id = Num(8);
        c.fax = Txt(9), c.addr_c_detail = Txt(10), c.addr_f_detail = Txt(11), c.web_site = Txt(12);
        c.birthday_type = Num(13), c.birthday = Txt(14), c.mail = Txt(15), c.qq = Txt(16);
        c.ww = Txt(17), c.relate_contacts = Txt(18), c.main_business = Txt(19), c.hobby = Txt(20);
        c.belief = Txt(21), c.habit = Txt(22), c.how_to_konw = Txt(23), c.title = Num(24);
        c.favor_food = Txt(25), c.complete = Num(26), c.bc_state = Num(27), c.bc_server_id = Num(28);
        c.main_tab = Num(29), c.bc_comment = Txt(30), c.job_category_id = Num(31);
        c.business_id = Num(32), c.common_use = Num(33), c.server_group_id = Num(34);
        return c;
    }
};

template <>
struct Kind<TalEvent> {
    static constexpr std::string_view kPattern = "ddddsddddd";
    static TalEvent Sample() {
        TalEvent e;
        e.event_id = Num(1), e.start_time = Num(2), e.end_time = Num(3), e.group_id = Num(4);
        e.description = Txt(5), e.place_top = Num(6), e.server_id = Num(7), e.event_state = Num(8);
        e.create_time = Num(9), e.server_group_id = Num(10);
        return e;
    }
};

template <class G>
struct GroupKind {
    static constexpr std::string_view kPattern = "dsdd";
    static G Sample() {
        G g;
        g.group_id = Num(1), g.group_name = Txt(2), g.server_id = Num(3), g.group_state = Num(4);
        return g;
    }
};
template <>
struct Kind<CardGroup> : GroupKind<CardGroup> {};
template <>
struct Kind<EventGroup> : GroupKind<EventGroup> {};

template <>
struct Kind<EventComment> {
    static constexpr std::string_view kPattern = "dsddddd";
    static EventComment Sample() {
        EventComment m;
        m.comment_id = Num(1), m.c_content = Txt(2), m.event_id = Num(3), m.server_id = Num(4);
        m.comment_state = Num(5), m.create_time = Num(6), m.event_server_id = Num(7);
        return m;
    }
};

template <>
struct Kind<EventAlarm> {
    static constexpr std::string_view kPattern = "dsddsddddd";
    static EventAlarm Sample() {
        EventAlarm a;
        a.alarm_id = Num(1), a.a_content = Txt(2), a.event_id = Num(3), a.alarm_time = Num(4);
        a.alarm_whos = Txt(5), a.server_id = Num(6), a.alarm_state = Num(7);
        a.event_description_alarm = Num(8), a.event_server_id = Num(9), a.alarm_myself = Num(10);
        return a;
    }
};

template <>
struct Kind<UserBankInfo> {
    static constexpr std::string_view kPattern = "dsssssdddd";
    static UserBankInfo Sample() {
        UserBankInfo b;
        b.ubank_id = Num(1), b.bank_name = Txt(2), b.ubank_branch = Txt(3), b.ubank_subbranch = Txt(4);
        b.ubank_card = Txt(5), b.ubank_user = Txt(6), b.bc_id = Num(7), b.server_id = Num(8);
        b.ubank_state = Num(9), b.bc_server_id = Num(10);
        return b;
    }
};

template <>
struct Kind<UserSettings> {
    static constexpr std::string_view kPattern = "dddddd";
    static UserSettings Sample() {
        UserSettings t;
        t.s_id = Num(1), t.coloumn_show = Num(2), t.auto_update = Num(3), t.exit_ways = Num(4);
        t.auto_run = Num(5), t.server_id = Num(6);
        return t;
    }
};

template <>
struct Kind<UserInfo> {
    static constexpr std::string_view kPattern = "ddssdsssdsddssssdsdd";
    static UserInfo Sample() {
        UserInfo u;
        u.user_id = Num(1), u.user_server_id = Num(2), u.login_name = Txt(3), u.pwd = Txt(4);
        u.perm_value = Num(5), u.username = Txt(6), u.cell_phone = Txt(7), u.company1 = Txt(8);
        u.job_category1_id = Num(9), u.job_position1 = Txt(10), u.business1_id = Num(11);
        u.area_id = Num(12), u.mail = Txt(13), u.fix_phone = Txt(14), u.fax = Txt(15);
        u.address = Txt(16), u.birthday_type = Num(17), u.birthday = Txt(18), u.title = Num(19);
        u.certification = Num(20);
        return u;
    }
};

template <class R>
class RecordValuesTest : public testing::Test {
protected:
    static R Sample() { return Kind<R>::Sample(); }
    static std::vector<std::string> SampleItems() { return Items(Kind<R>::kPattern); }
};

using LoggedKinds = testing::Types<BusinessCard, TalEvent, CardGroup, EventGroup, EventComment, EventAlarm,
                                   UserBankInfo, UserSettings, UserInfo>;
TYPED_TEST_SUITE(RecordValuesTest, LoggedKinds);

TYPED_TEST(RecordValuesTest, FormatsFieldsInWireOrder) {
    EXPECT_EQ(FormatValues(this->Sample()), Join(this->SampleItems()));
}

TYPED_TEST(RecordValuesTest, ParseRestoresEveryFormattedField) {
    TypeParam parsed;
    ParseValues(FormatValues(this->Sample()), parsed);
    EXPECT_EQ(parsed, this->Sample());
}

TYPED_TEST(RecordValuesTest, IgnoresItemsBeyondTheFieldCount) {
    std::vector<std::string> items = this->SampleItems();
    items.insert(items.end(), {"7", "", "extra"});
    TypeParam parsed;
    ParseValues(Join(items), parsed);
    EXPECT_EQ(parsed, this->Sample());
}

// A short value string must fail, yet keep what it did assign: exactly its own items.
TYPED_TEST(RecordValuesTest, ShortStringAssignsItsItemsThenThrows) {
    const std::vector<std::string> full = this->SampleItems();
    const std::vector<std::string> untouched = SplitValues(FormatValues(TypeParam{}), kValueSeparator);
    for (std::size_t k = 0; k < full.size(); ++k) {
        const std::vector<std::string> given(full.begin(), full.begin() + k);
        TypeParam parsed;
        EXPECT_THROW(ParseValues(Join(given), parsed), std::invalid_argument) << k << " items";

        std::vector<std::string> expected = given;
        expected.insert(expected.end(), untouched.begin() + k, untouched.end());
        EXPECT_EQ(SplitValues(FormatValues(parsed), kValueSeparator), expected) << k << " items";
    }
}

TEST(RecordValuesTest, EmptyItemsGiveEmptyTextsAndZeroInts) {
    CardGroup group;
    group.group_name = "old";
    const std::string sep(kValueSeparator);
    ParseValues(sep + sep + sep, group);
    EXPECT_EQ(group.group_id, 0);
    EXPECT_EQ(group.group_name, "");
    EXPECT_EQ(group.server_id, 0);
    EXPECT_EQ(group.group_state, 0);
}

TEST(RecordValuesTest, IntItemsReadLeadingDigitsOnly) {
    const struct {
        const char* item;
        int value;
    } cases[] = {
        {"42", 42},
        {" \t42", 42},
        {"-7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"- 5", 0},
        {"0x1F", 0},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    const std::string sep(kValueSeparator);
    for (const auto& c : cases) {
        CardGroup group;
        ParseValues(std::string(c.item) + sep + "g" + sep + "1" + sep + "0", group);
        EXPECT_EQ(group.group_id, c.value) << c.item;
    }
}

TEST(RecordValuesTest, FieldsOutsideTheValueStringSurviveParsing) {
    BusinessCard card = Kind<BusinessCard>::Sample();
    card.bc_name_pinyin = "ZHANGSAN";
    card.bank_accounts.push_back(Kind<UserBankInfo>::Sample());
    BusinessCard parsed = card;
    parsed.bc_name = "other";
    ParseValues(FormatValues(card), parsed);
    EXPECT_EQ(parsed, card);

    CardGroup group;
    group.count = 12;
    ParseValues(FormatValues(Kind<CardGroup>::Sample()), group);
    EXPECT_EQ(group.count, 12);
}

// The service never sends the ids of the people to remind, so a parsed reminder has
// none; the editor's already-sent flag is not the parser's business.
TEST(RecordValuesTest, ParsedReminderHasNoWhosIds) {
    EventAlarm alarm;
    alarm.alarm_whos_id = "1,2";
    alarm.already_sent = 1;
    EXPECT_EQ(FormatValues(alarm).find("1,2"), std::string::npos);
    ParseValues(FormatValues(Kind<EventAlarm>::Sample()), alarm);
    EXPECT_EQ(alarm.alarm_whos_id, "");
    EXPECT_EQ(alarm.already_sent, 1);
}

// Unescaped, a separator inside a text would shift every later field on the service.
TEST(RecordValuesTest, RefusesTextHoldingTheSeparator) {
    const std::string sep(kValueSeparator);
    BusinessCard first = Kind<BusinessCard>::Sample();
    first.bc_name = "a" + sep + "b";
    BusinessCard last = Kind<BusinessCard>::Sample();
    last.bc_comment = sep;
    CardGroup group;
    group.group_name = sep + "x";
    EXPECT_THROW(FormatValues(first), std::invalid_argument);
    EXPECT_THROW(FormatValues(last), std::invalid_argument);
    EXPECT_THROW(FormatValues(group), std::invalid_argument);
}

}  // namespace
}  // namespace kivtal
