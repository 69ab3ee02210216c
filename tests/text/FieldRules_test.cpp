#include "text/FieldRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Diagnostics.h"
#include "text/EditorChecks.h"

namespace kivtal {
namespace {

std::u16string Repeat(std::u16string_view piece, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// ---- pattern rules, through the field table the editors use on "killfocus" ----

struct FieldCase {
    Editor editor;
    const char* field;
    std::u16string text;
    const char* message;  // nullptr: the check passes
};

const std::u16string k50Chinese = Repeat(u"张", 50);
const std::u16string k51Chinese = Repeat(u"张", 51);

const FieldCase kFieldCases[] = {
    // contact person name: letters of any script, digits, spaces and the marks names use
    {Editor::Contact, "base_name_edit", u"张三", nullptr},
    {Editor::Contact, "base_name_edit", u"欧阳·娜娜", nullptr},
    {Editor::Contact, "base_name_edit", u"Anna Müller", nullptr},
    {Editor::Contact, "base_name_edit", u"Émile Dubois", nullptr},
    {Editor::Contact, "base_name_edit", u"Kevin O'Brien", nullptr},
    {Editor::Contact, "base_name_edit", u"12580 客服", nullptr},
    {Editor::Contact, "base_name_edit", u"Renée O’Neil-Smith, Jr. (Ann)", nullptr},
    {Editor::Contact, "base_name_edit", u"E\u0301mile", nullptr},  // accent as a combining mark
    {Editor::Contact, "base_name_edit", u"Мария Иванова", nullptr},
    {Editor::Contact, "base_name_edit", u"김민준 محمد 佐々木", nullptr},
    {Editor::Contact, "base_name_edit", u"ＡＢ（王）", nullptr},
    {Editor::Contact, "base_name_edit", u"\U00020000", nullptr},  // beyond the basic plane
    {Editor::Contact, "base_name_edit", k50Chinese, nullptr},
    // refused: the message names the character, invisible ones by their code
    {Editor::Contact, "base_name_edit", u"张三\t", "姓名不能含有字符 U+0009"},
    {Editor::Contact, "base_name_edit", u"张\u202E三", "姓名不能含有字符 U+202E"},
    {Editor::Contact, "base_name_edit", u"张\xD800三", "姓名不能含有字符 U+D800"},
    {Editor::Contact, "base_name_edit", u"张三😀", "姓名不能含有“😀”"},
    {Editor::Contact, "base_name_edit", u"❤\uFE0F", "姓名不能含有“❤”"},
    {Editor::Contact, "base_name_edit", u"张三！", "姓名不能含有“！”"},
    {Editor::Contact, "base_name_edit", u"a@b", "姓名不能含有“@”"},
    {Editor::Contact, "base_name_edit", u"张三~麤^李四", "姓名不能含有保留的分隔符“~麤^”"},
    {Editor::Contact, "base_name_edit", k51Chinese, "姓名最长不能超过50个字"},
    {Editor::Contact, "base_name_edit", k51Chinese + u"#", "姓名不能含有“#”"},
    {Editor::Contact, "edt_user", u"王 五", nullptr},
    {Editor::Contact, "edt_user", u"王五😀", "姓名不能含有“😀”"},
    // own name: the same characters, no length limit
    {Editor::Profile, "user_name_edit", k51Chinese, nullptr},
    {Editor::Profile, "user_name_edit", u"欧阳·娜娜 Émile", nullptr},
    {Editor::Profile, "user_name_edit", u"Wang#5", "名字不能含有“#”"},
    // mobile number
    {Editor::Contact, "base_phone_edit", u"13812345678", nullptr},
    {Editor::Contact, "base_phone_edit", u"15012345678", nullptr},
    {Editor::Contact, "base_phone_edit", u"18912345678", nullptr},
    {Editor::Contact, "base_phone_edit", u"12812345678", "请重新输入11位大陆手机号"},
    {Editor::Contact, "base_phone_edit", u"1381234567", "请重新输入11位大陆手机号"},
    {Editor::Contact, "base_phone_edit", u"138123456789", "请重新输入11位大陆手机号"},
    {Editor::Contact, "base_phone_edit", u"+8613812345678", "请重新输入11位大陆手机号"},
    {Editor::Contact, "base_phone_edit", u"1381234567x", "请重新输入11位大陆手机号"},
    {Editor::Profile, "user_phone", u"13812345678", nullptr},
    {Editor::Profile, "user_phone", u"12812345678", "手机号码输入的格式有误，请重新输入"},
    // QQ number
    {Editor::Contact, "base_qq_edit", u"10000", nullptr},
    {Editor::Contact, "base_qq_edit", u"9999", "QQ号码必须为大于10000的数字"},
    {Editor::Contact, "base_qq_edit", u"012345", "QQ号码必须为大于10000的数字"},
    {Editor::Contact, "base_qq_edit", u"12345a", "QQ号码必须为大于10000的数字"},
    // phone number, with each field's label
    {Editor::Contact, "business_fax_edit", u"-010-1234-", nullptr},
    {Editor::Contact, "business_fax_edit", u"(010)1234", "传真输入的格式有误，请重新输入"},
    {Editor::Contact, "business_fix_phone", u"010 1234", "办公座机输入的格式有误，请重新输入"},
    {Editor::Contact, "life_phone", u"+86101234", "家庭电话输入的格式有误，请重新输入"},
    {Editor::Profile, "fax_phone", u"010.1234", "传真输入的格式有误，请重新输入"},
    {Editor::Profile, "home_phone", u"010-1234x", "固定电话输入的格式有误，请重新输入"},
    // e-mail
    {Editor::Contact, "base_email_edit", u"ab@cd.e", nullptr},
    {Editor::Contact, "base_email_edit", u"ab@cd", "您输入邮箱格式有误请重新输入"},
    {Editor::Profile, "email_edit", u"AB@cd.e", nullptr},
    {Editor::Profile, "email_edit", u"ab@cd.E", "您输入邮箱格式有误请重新输入"},
    // a field is checked by its own editor's table only
    {Editor::Profile, "base_qq_edit", u"0", nullptr},
    {Editor::Contact, "remark_edit", u"任何 text!", nullptr},
};

TEST(FieldRules, EachFieldRuleWithItsMessageAndLabel) {
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.text.size()));
        const RuleResult result = CheckField(c.editor, c.field, c.text);
        if (c.message == nullptr) {
            EXPECT_TRUE(result.passed);
            EXPECT_FALSE(result.message);
            continue;
        }
        ASSERT_FALSE(result.passed);
        EXPECT_EQ(result.field, c.field);
        ASSERT_TRUE(result.message);
        EXPECT_EQ(result.message->text, c.message);
        EXPECT_EQ(result.message->title, "温馨提示");
    }
}

TEST(FieldRules, EmptyTextPassesEveryPatternRule) {
    const char* contactFields[] = {"base_name_edit",  "edt_user",          "base_phone_edit",    "base_qq_edit",
                                   "base_email_edit", "business_fax_edit", "business_fix_phone", "life_phone"};
    const char* profileFields[] = {"user_name_edit", "user_phone", "email_edit", "fax_phone", "home_phone"};
    for (const char* f : contactFields) EXPECT_TRUE(CheckField(Editor::Contact, f, u"").passed) << f;
    for (const char* f : profileFields) EXPECT_TRUE(CheckField(Editor::Profile, f, u"").passed) << f;
}

TEST(FieldRules, PatternFailuresLeaveAConsoleTraceButTheEmailRuleDoesNot) {
    SetDiagnosticsEnabled(true);
    testing::internal::CaptureStdout();
    CheckQqNumber(u"9999");
    CheckEmail(u"ab@cd");
    CheckPhoneNumber(u"010-1", "传真");
    const std::string out = testing::internal::GetCapturedStdout();
    SetDiagnosticsEnabled(false);
    EXPECT_EQ(out, "匹配失败\n");
}

// ---- IsValidEmail ----

struct EmailCase {
    std::u16string text;
    bool valid;
};

TEST(FieldRules, IsValidEmailSteps) {
    const std::u16string at50 = Repeat(u"a", 44) + u"@bc.de";
    const EmailCase cases[] = {
        {u"ab@cd.e", true},    {u"a@b.c", true},     {u"ab_c-d@ef.gh", true}, {u"a.bc@ef.gh", true},
        {at50, true},          {u"a" + at50, false},  // 51 characters
        {u"", false},          {u"A@b.c", false},     // single character before "@": lower-case letter only
        {u"1@b.c", false},     {u"ab@1.c", false},    // single character between "@" and ".": the same
        {u"ab@.c", false},     {u"ab@cd.E", false},   // after the first "." a lower-case letter
        {u"a.Bc@cd.e", false},                        // ... also when that "." stands before the "@"
        {u"ab@cd.", false},    {u"a+b@cd.e", false}, {u"ab@cd.e+", false},    {u"a b@cd.e", false},
        {u"@cd.e", false},     {u"abcd.e", false},   {u"ab@cde", false},      {u"ab@cd.ë", false},
    };
    for (const EmailCase& c : cases) {
        EXPECT_EQ(IsValidEmail(c.text), c.valid) << c.text.size();
    }
    EXPECT_TRUE(IsValidEmail(std::string_view("ab@cd.e")));
    EXPECT_FALSE(IsValidEmail(std::string_view("ab@cd.e\xFF")));
}

// ---- picker chains ----

class FakePicker : public Picker {
public:
    FakePicker(bool chosen, int entries) : chosen_(chosen), entries_(entries) {}
    bool hasChoice() const override { return chosen_; }
    int entryCount() const override { return entries_; }

private:
    bool chosen_;
    int entries_;
};

const FakePicker kChosen{true, 5};
const FakePicker kUnchosen{false, 5};
const FakePicker kEmpty{false, 0};

struct ChainCase {
    const char* name;
    Editor editor;
    PickerChain chain;
    const char* field;  // nullptr: passes
    const char* message;
};

TEST(FieldRules, AreaChain) {
    const ChainCase cases[] = {
        {"area missing, contact",
         Editor::Contact,
         {&kChosen, &kChosen, &kUnchosen},
         "area_combo",
         "县/区未填写完整，请选择后再保存"},
        {"area missing, profile",
         Editor::Profile,
         {&kChosen, &kChosen, &kUnchosen},
         "area_combo",
         "所在地区未填写完整，请选择后再保存"},
        {"province missing, contact",
         Editor::Contact,
         {&kChosen, &kUnchosen, &kUnchosen},
         "province_combo",
         "市/地区未填写完整，请选择后再保存"},
        {"province missing, profile",
         Editor::Profile,
         {&kChosen, &kUnchosen, &kChosen},
         "province_combo",
         "所在地区未填写完整，请选择后再保存"},
        {"empty area list, contact",
         Editor::Contact,
         {&kChosen, &kChosen, &kEmpty},
         "area_combo",
         "县/区未填写完整，请选择后再保存"},
        {"empty area list, profile", Editor::Profile, {&kChosen, &kChosen, &kEmpty}, nullptr, ""},
        {"no country", Editor::Contact, {&kUnchosen, &kUnchosen, &kUnchosen}, nullptr, ""},
        {"no country picker", Editor::Contact, {nullptr, &kUnchosen, &kUnchosen}, nullptr, ""},
        {"all chosen", Editor::Contact, {&kChosen, &kChosen, &kChosen}, nullptr, ""},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RuleResult result = CheckAreaChain(c.chain, c.editor);
        EXPECT_EQ(result.passed, c.field == nullptr);
        if (c.field == nullptr) continue;
        EXPECT_EQ(result.field, c.field);
        ASSERT_TRUE(result.message);
        EXPECT_EQ(*result.message, (RuleMessage{"温馨提示", c.message}));
    }
}

TEST(FieldRules, BirthdayChain) {
    const RuleResult noMonth = CheckBirthdayChain({&kChosen, &kUnchosen, &kUnchosen}, Editor::Contact);
    EXPECT_EQ(noMonth.field, "combo_month");
    ASSERT_TRUE(noMonth.message);
    EXPECT_EQ(noMonth.message->text, "生日未填写完整，请选择后再保存");

    const RuleResult noDay = CheckBirthdayChain({&kChosen, &kChosen, &kUnchosen}, Editor::Profile);
    EXPECT_EQ(noDay.field, "combo_day");
    ASSERT_TRUE(noDay.message);
    EXPECT_EQ(noDay.message->text, "生日未填写完整，请选择后再保存");

    EXPECT_TRUE(CheckBirthdayChain({&kUnchosen, &kChosen, &kUnchosen}, Editor::Contact).passed);
}

// ---- save orders ----

ContactForm GoodContact() {
    ContactForm form;
    form.name = u"张三";
    form.mobile = u"13812345678";
    return form;
}

// Starting from a form where every check fails, mending the reported field each time
// must walk through the fields in save order.
template <class Form, class Check>
std::vector<std::string> FailureOrder(Form form, Check check, const std::vector<std::function<void(Form&)>>& mends) {
    std::vector<std::string> order;
    for (const auto& mend : mends) {
        order.push_back(check(form).field);
        mend(form);
    }
    if (!check(form).passed) order.push_back("still failing: " + check(form).field);
    return order;
}

TEST(FieldRules, ContactSaveOrder) {
    ContactForm bad;
    bad.name = u"张三😀";
    bad.mobile = u"12345678901";
    bad.qq = u"0123";
    bad.email = u"ab@cd.e";
    bad.fax = u"(1)";
    bad.officePhone = u"(2)";
    bad.homePhone = u"(3)";
    bad.relatedNames = {u"李四", u"王五😀"};
    bad.area = {&kChosen, &kUnchosen, &kUnchosen};
    bad.birthday = {&kChosen, &kUnchosen, &kUnchosen};

    using Mend = std::function<void(ContactForm&)>;
    const std::vector<Mend> mends = {
        [](ContactForm& f) { f.name = u"张三"; },
        [](ContactForm& f) { f.mobile = u"13812345678"; },
        [](ContactForm& f) { f.qq = u"12345"; },
        [](ContactForm& f) { f.fax = u"1"; },
        [](ContactForm& f) { f.officePhone = u"2"; },
        [](ContactForm& f) { f.homePhone = u"3"; },
        [](ContactForm& f) { f.relatedNames[1] = u"王五"; },
        [](ContactForm& f) { f.area.second = &kChosen; },
        [](ContactForm& f) { f.area.third = &kChosen; },
        [](ContactForm& f) { f.birthday = {}; },
    };
    EXPECT_EQ(FailureOrder(bad, CheckContactSave, mends),
              (std::vector<std::string>{"base_name_edit", "base_phone_edit", "base_qq_edit", "business_fax_edit",
                                        "business_fix_phone", "life_phone", "edt_user", "province_combo", "area_combo",
                                        "combo_month"}));
}

TEST(FieldRules, ContactSaveMandatoryFields) {
    const RuleMessage nameMissing{"温馨提示", "您未填写姓名，请填写完整"};
    const RuleMessage mobileMissing{"温馨提示", "您未填写手机号码，请填写完整"};
    const RuleMessage badEmail{"温馨提示", "您输入邮箱格式有误请重新输入"};

    EXPECT_TRUE(CheckContactSave(GoodContact()).passed);

    ContactForm noName = GoodContact();
    noName.name.clear();
    noName.qq = u"1";  // would fail later; the empty name stops the save first, silently
    SaveCheck check = CheckContactSave(noName);
    EXPECT_FALSE(check.passed);
    EXPECT_EQ(check.field, "base_name_edit");
    EXPECT_EQ(check.messages, std::vector<RuleMessage>{nameMissing});

    ContactForm noMobile = GoodContact();
    noMobile.mobile.clear();
    EXPECT_EQ(CheckContactSave(noMobile).messages, std::vector<RuleMessage>{mobileMissing});

    ContactForm nothing;
    EXPECT_EQ(CheckContactSave(nothing).messages, std::vector<RuleMessage>{nameMissing});

    // The bad e-mail is rejected while the base page is read, before the empty name,
    // and its message comes before the mandatory-field message.
    ContactForm badEmailNoName = noName;
    badEmailNoName.email = u"ab@cd";
    check = CheckContactSave(badEmailNoName);
    EXPECT_EQ(check.field, "base_email_edit");
    EXPECT_EQ(check.messages, (std::vector<RuleMessage>{badEmail, nameMissing}));

    ContactForm badQq = GoodContact();
    badQq.qq = u"9999";
    EXPECT_EQ(CheckContactSave(badQq).messages,
              (std::vector<RuleMessage>{{"温馨提示", "QQ号码必须为大于10000的数字"}}));
}

TEST(FieldRules, ProfileSaveOrderAndNoMandatoryFields) {
    EXPECT_TRUE(CheckProfileSave(ProfileForm{}).passed);

    ProfileForm bad;
    bad.name = u"欧阳#娜娜";
    bad.mobile = u"1";
    bad.email = u"ab@cd";
    bad.fax = u"(1)";
    bad.homePhone = u"(2)";
    bad.area = {&kChosen, &kChosen, &kUnchosen};
    bad.birthday = {&kChosen, &kChosen, &kUnchosen};

    using Mend = std::function<void(ProfileForm&)>;
    const std::vector<Mend> mends = {
        [](ProfileForm& f) { f.name = u"欧阳娜娜"; },        [](ProfileForm& f) { f.mobile.clear(); },
        [](ProfileForm& f) { f.email = u"ab@cd.e"; },        [](ProfileForm& f) { f.fax.clear(); },
        [](ProfileForm& f) { f.homePhone = u"010-1"; },      [](ProfileForm& f) { f.area.third = &kEmpty; },
        [](ProfileForm& f) { f.birthday.third = &kChosen; },
    };
    EXPECT_EQ(FailureOrder(bad, CheckProfileSave, mends),
              (std::vector<std::string>{"user_name_edit", "user_phone", "email_edit", "fax_phone", "home_phone",
                                        "area_combo", "combo_day"}));

    const SaveCheck check = CheckProfileSave(bad);
    EXPECT_EQ(check.messages, (std::vector<RuleMessage>{{"温馨提示", "名字不能含有“#”"}}));
}

}  // namespace
}  // namespace kivtal
