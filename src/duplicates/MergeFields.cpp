#include "duplicates/MergeFields.h"

#include <array>

namespace kivtal::duplicates {
namespace {

template <std::string BusinessCard::*M>
constexpr MergeField Text(const char* key, const char* label) {
    return {key, label, [](const BusinessCard& c) { return c.*M; },
            [](const BusinessCard& from, BusinessCard& to) { to.*M = from.*M; }};
}

// A number field whose 0 means "not set".
template <int BusinessCard::*M>
constexpr MergeField Number(const char* key, const char* label) {
    return {key, label, [](const BusinessCard& c) { return c.*M == 0 ? std::string() : std::to_string(c.*M); },
            [](const BusinessCard& from, BusinessCard& to) { to.*M = from.*M; }};
}

// The stored pinyin goes with the name it was made from.
std::string NameText(const BusinessCard& c) { return c.bc_name; }
void CopyName(const BusinessCard& from, BusinessCard& to) {
    to.bc_name = from.bc_name;
    to.bc_name_pinyin = from.bc_name_pinyin;
}

std::string BirthdayText(const BusinessCard& c) {
    if (c.birthday.empty()) return {};
    return c.birthday_type == 2 ? c.birthday + " (农历)" : c.birthday;
}

void CopyBirthday(const BusinessCard& from, BusinessCard& to) {
    to.birthday = from.birthday;
    to.birthday_type = from.birthday_type;
}

std::string TitleText(const BusinessCard& c) { return c.title == 2 ? "女士" : "先生"; }
void CopyTitle(const BusinessCard& from, BusinessCard& to) { to.title = from.title; }

std::string GroupText(const BusinessCard& c) { return c.group_id == 0 ? std::string() : std::to_string(c.group_id); }
void CopyGroup(const BusinessCard& from, BusinessCard& to) {
    to.group_id = from.group_id;
    to.server_group_id = from.server_group_id;
}

using B = BusinessCard;
const std::array kFields{
    MergeField{"name", "姓名", NameText, CopyName},
    Text<&B::company_name>("company", "公司"),
    Text<&B::position>("position", "职位"),
    Text<&B::cell_phone>("mobile", "手机"),
    Text<&B::fix_phone>("office_phone", "办公电话"),
    Text<&B::home_phone>("home_phone", "家庭电话"),
    Text<&B::fax>("fax", "传真"),
    Text<&B::mail>("mail", "邮箱"),
    Text<&B::qq>("qq", "QQ"),
    Text<&B::ww>("ww", "旺旺"),
    Text<&B::web_site>("web_site", "网址"),
    Text<&B::addr_c_detail>("company_address", "公司地址"),
    Text<&B::addr_f_detail>("home_address", "家庭地址"),
    MergeField{"birthday", "生日", BirthdayText, CopyBirthday},
    MergeField{"title", "称呼", TitleText, CopyTitle},
    Text<&B::relate_contacts>("relations", "人脉关系"),
    Text<&B::main_business>("main_business", "主营业务"),
    Text<&B::hobby>("hobby", "爱好"),
    Text<&B::belief>("belief", "信仰"),
    Text<&B::habit>("habit", "习惯"),
    Text<&B::how_to_konw>("how_to_know", "认识途径"),
    Text<&B::favor_food>("favor_food", "喜欢的食物"),
    Number<&B::job_category_id>("job_category", "职能"),
    Number<&B::business_id>("industry", "行业"),
    MergeField{"group", "分组", GroupText, CopyGroup},
    Text<&B::bc_comment>("comment", "备注"),
};

}  // namespace

std::span<const MergeField> MergeFields() { return kFields; }

std::size_t GroupFieldIndex() { return kFields.size() - 2; }

}  // namespace kivtal::duplicates
