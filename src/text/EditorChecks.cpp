#include "text/EditorChecks.h"

#include <string_view>

namespace kivtal {

namespace {

constexpr const char* kIncompleteText = "%s未填写完整，请选择后再保存";
constexpr const char* kNameMissingText = "您未填写姓名，请填写完整";
constexpr const char* kMobileMissingText = "您未填写手机号码，请填写完整";

struct ChainLink {
    const Picker* picker;
    std::string_view field;
    std::string_view label;
};

// In the profile editor an empty list needs no choice (an area list that is empty for
// the chosen province); in the contact editor it does. A picker missing from the
// layout offers nothing the user could choose, so it cannot block the save.
bool Settled(const Picker* picker, Editor editor) {
    if (picker == nullptr) return true;
    return picker->hasChoice() || (editor == Editor::Profile && picker->entryCount() == 0);
}

// Without a choice in the first picker the whole chain is optional.
RuleResult CheckChain(const Picker* first, ChainLink second, ChainLink third, Editor editor) {
    if (first == nullptr || !first->hasChoice()) return RuleResult::Pass();
    for (const ChainLink& link : {second, third}) {
        if (Settled(link.picker, editor)) continue;
        return {false, std::string(link.field), RuleMessage{kTipTitle, WithLabel(kIncompleteText, link.label)}};
    }
    return RuleResult::Pass();
}

struct NamedText {
    std::string_view field;
    std::u16string_view text;
};

RuleResult FirstFieldFailure(Editor editor, const std::vector<NamedText>& fields) {
    for (const NamedText& f : fields) {
        RuleResult result = CheckField(editor, f.field, f.text);
        if (!result.passed) return result;
    }
    return RuleResult::Pass();
}

RuleResult FirstChainFailure(const PickerChain& area, const PickerChain& birthday, Editor editor) {
    RuleResult result = CheckAreaChain(area, editor);
    return result.passed ? CheckBirthdayChain(birthday, editor) : result;
}

RuleResult SilentFailure(std::string_view field) { return {false, std::string(field), {}}; }

// Reading the base page into the record runs before the ordered checks: it rejects a
// bad e-mail with its message and a missing name or mobile number without one.
RuleResult BasePageFailure(const ContactForm& form) {
    if (!form.email.empty() && !IsValidEmail(form.email)) {
        return CheckField(Editor::Contact, "base_email_edit", form.email);
    }
    if (form.name.empty()) return SilentFailure("base_name_edit");
    if (form.mobile.empty()) return SilentFailure("base_phone_edit");
    return RuleResult::Pass();
}

RuleResult FirstContactFailure(const ContactForm& form) {
    RuleResult result = BasePageFailure(form);
    if (!result.passed) return result;
    std::vector<NamedText> fields = {
        {"base_name_edit", form.name},   {"base_phone_edit", form.mobile}, {"base_qq_edit", form.qq},
        {"base_email_edit", form.email}, {"business_fax_edit", form.fax},  {"business_fix_phone", form.officePhone},
        {"life_phone", form.homePhone},
    };
    for (const std::u16string& name : form.relatedNames) fields.push_back({"edt_user", name});
    result = FirstFieldFailure(Editor::Contact, fields);
    if (!result.passed) return result;
    return FirstChainFailure(form.area, form.birthday, Editor::Contact);
}

SaveCheck ToSaveCheck(RuleResult result) {
    SaveCheck check{result.passed, std::move(result.field), {}};
    if (result.message) check.messages.push_back(std::move(*result.message));
    return check;
}

}  // namespace

RuleResult CheckAreaChain(const PickerChain& chain, Editor editor) {
    const bool contact = editor == Editor::Contact;
    return CheckChain(chain.first, {chain.second, "province_combo", contact ? "市/地区" : "所在地区"},
                      {chain.third, "area_combo", contact ? "县/区" : "所在地区"}, editor);
}

RuleResult CheckBirthdayChain(const PickerChain& chain, Editor editor) {
    return CheckChain(chain.first, {chain.second, "combo_month", "生日"}, {chain.third, "combo_day", "生日"}, editor);
}

SaveCheck CheckContactSave(const ContactForm& form) {
    SaveCheck check = ToSaveCheck(FirstContactFailure(form));
    if (check.passed) return check;
    if (form.name.empty()) {
        check.messages.push_back({kTipTitle, kNameMissingText});
    } else if (form.mobile.empty()) {
        check.messages.push_back({kTipTitle, kMobileMissingText});
    }
    return check;
}

SaveCheck CheckProfileSave(const ProfileForm& form) {
    const std::vector<NamedText> fields = {
        {"user_name_edit", form.name}, {"user_phone", form.mobile},    {"email_edit", form.email},
        {"fax_phone", form.fax},       {"home_phone", form.homePhone},
    };
    RuleResult result = FirstFieldFailure(Editor::Profile, fields);
    if (result.passed) result = FirstChainFailure(form.area, form.birthday, Editor::Profile);
    return ToSaveCheck(std::move(result));
}

}  // namespace kivtal
