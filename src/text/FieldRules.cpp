#include "text/FieldRules.h"

#include <algorithm>

#include "model/Diagnostics.h"
#include "text/NameChars.h"
#include "text/TextConv.h"

namespace kivtal {

namespace {

constexpr const char* kNameCharText = "%s不能含有";
constexpr const char* kNameLengthText = "姓名最长不能超过50个字";
constexpr const char* kContactMobileText = "请重新输入11位大陆手机号";
constexpr const char* kBadFormatText = "%s输入的格式有误，请重新输入";
constexpr const char* kQqText = "QQ号码必须为大于10000的数字";
constexpr const char* kEmailText = "您输入邮箱格式有误请重新输入";
constexpr const char* kMismatchLine = "匹配失败";

constexpr size_t kMaxNameLength = 50;
constexpr size_t kMaxEmailLength = 50;
constexpr size_t kMobileLength = 11;
constexpr size_t kMinQqDigits = 5;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLower(char16_t c) { return c >= u'a' && c <= u'z'; }
bool IsLetter(char16_t c) { return IsLower(c) || (c >= u'A' && c <= u'Z'); }
bool IsPhoneChar(char16_t c) { return IsDigit(c) || c == u'-'; }
bool IsEmailChar(char16_t c) { return IsDigit(c) || IsLetter(c) || c == u'@' || c == u'-' || c == u'.' || c == u'_'; }

template <class Pred>
bool AllOf(std::u16string_view text, Pred pred) {
    return std::all_of(text.begin(), text.end(), pred);
}

RuleResult Fail(std::string title, std::string text) {
    return {false, {}, RuleMessage{std::move(title), std::move(text)}};
}

// The pattern rules other than the e-mail rule leave this trace on the console.
RuleResult PatternFail(std::string text) {
    DebugLine(kMismatchLine);
    return Fail(kTipTitle, std::move(text));
}

bool IsMobileNumber(std::u16string_view text) {
    return text.size() == kMobileLength && text[0] == u'1' && (text[1] == u'3' || text[1] == u'5' || text[1] == u'8') &&
           AllOf(text, IsDigit);
}

// A single character before "@" or between "@" and the next ".": only a lower-case letter.
bool SingleCharPartOk(std::u16string_view text, size_t begin, size_t end) {
    return end - begin != 1 || IsLower(text[begin]);
}

enum class RuleKind { ContactName, OwnName, Mobile, Qq, Phone, Email };

struct FieldRule {
    Editor editor;
    std::string_view field;
    RuleKind kind;
    std::string_view label;
};

constexpr FieldRule kFieldRules[] = {
    {Editor::Contact, "base_name_edit", RuleKind::ContactName, ""},
    {Editor::Contact, "edt_user", RuleKind::ContactName, ""},
    {Editor::Contact, "base_phone_edit", RuleKind::Mobile, ""},
    {Editor::Contact, "base_qq_edit", RuleKind::Qq, ""},
    {Editor::Contact, "base_email_edit", RuleKind::Email, ""},
    {Editor::Contact, "business_fax_edit", RuleKind::Phone, "传真"},
    {Editor::Contact, "business_fix_phone", RuleKind::Phone, "办公座机"},
    {Editor::Contact, "life_phone", RuleKind::Phone, "家庭电话"},
    {Editor::Profile, "user_name_edit", RuleKind::OwnName, "名字"},
    {Editor::Profile, "user_phone", RuleKind::Mobile, "手机号码"},
    {Editor::Profile, "email_edit", RuleKind::Email, ""},
    {Editor::Profile, "fax_phone", RuleKind::Phone, "传真"},
    {Editor::Profile, "home_phone", RuleKind::Phone, "固定电话"},
};

RuleResult RunRule(const FieldRule& rule, std::u16string_view text) {
    switch (rule.kind) {
        case RuleKind::ContactName: return CheckContactName(text);
        case RuleKind::OwnName: return CheckOwnName(text, rule.label);
        case RuleKind::Mobile: return CheckMobile(text, rule.editor, rule.label);
        case RuleKind::Qq: return CheckQqNumber(text);
        case RuleKind::Phone: return CheckPhoneNumber(text, rule.label);
        case RuleKind::Email: return CheckEmail(text);
    }
    return RuleResult::Pass();
}

}  // namespace

std::string WithLabel(std::string_view pattern, std::string_view label) {
    std::string text(pattern);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, label);
    return text;
}

// The characters are checked before the length, so a long text of bad characters gets
// the character message.
RuleResult CheckContactName(std::u16string_view text) {
    RuleResult result = CheckOwnName(text, "姓名");
    if (result.passed && text.size() > kMaxNameLength) return PatternFail(kNameLengthText);
    return result;
}

RuleResult CheckOwnName(std::u16string_view text, std::string_view label) {
    if (const auto refused = FirstRefusedNameChar(text))
        return PatternFail(WithLabel(kNameCharText, label) + refused->shown);
    return RuleResult::Pass();
}

RuleResult CheckMobile(std::u16string_view text, Editor editor, std::string_view label) {
    if (text.empty() || IsMobileNumber(text)) return RuleResult::Pass();
    return PatternFail(editor == Editor::Contact ? std::string(kContactMobileText) : WithLabel(kBadFormatText, label));
}

RuleResult CheckQqNumber(std::u16string_view text) {
    if (text.empty()) return RuleResult::Pass();
    if (AllOf(text, IsDigit) && text[0] != u'0' && text.size() >= kMinQqDigits) {
        return RuleResult::Pass();
    }
    return PatternFail(kQqText);
}

RuleResult CheckPhoneNumber(std::u16string_view text, std::string_view label) {
    if (!AllOf(text, IsPhoneChar)) return PatternFail(WithLabel(kBadFormatText, label));
    return RuleResult::Pass();
}

RuleResult CheckEmail(std::u16string_view text) {
    if (text.empty() || IsValidEmail(text)) return RuleResult::Pass();
    return Fail(kTipTitle, kEmailText);
}

bool IsValidEmail(std::u16string_view text) {
    if (text.empty() || !AllOf(text, IsEmailChar) || text.size() > kMaxEmailLength) return false;
    const size_t at = text.find(u'@');
    if (at == std::u16string_view::npos || at == 0) return false;
    if (!SingleCharPartOk(text, 0, at)) return false;
    const size_t dot = text.find(u'.', at + 1);
    if (dot == std::u16string_view::npos || dot == at + 1) return false;
    if (!SingleCharPartOk(text, at + 1, dot)) return false;
    // The first "." of the whole text, which may stand before the "@".
    const size_t firstDot = text.find(u'.');
    return firstDot + 1 < text.size() && IsLower(text[firstDot + 1]);
}

bool IsValidEmail(std::string_view utf8) { return IsValidEmail(Utf8ToWide(utf8)); }

RuleResult CheckField(Editor editor, std::string_view field, std::u16string_view text) {
    for (const FieldRule& rule : kFieldRules) {
        if (rule.editor != editor || rule.field != field) continue;
        RuleResult result = RunRule(rule, text);
        if (!result.passed) result.field = field;
        return result;
    }
    return RuleResult::Pass();
}

}  // namespace kivtal
