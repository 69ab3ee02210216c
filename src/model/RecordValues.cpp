#include "model/RecordValues.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "model/SyncKinds.h"
#include "model/ValueString.h"
#include "model/IntText.h"

namespace kivtal {
namespace {

// One field of a value string: exactly one of the two member pointers is set. The
// name is what people and the command line call it; the role tells the sync merge
// how to treat it.
template <class R>
struct ValueField {
    int R::*number = nullptr;
    std::string R::*text = nullptr;
    const char* name = "";
    FieldRole role = FieldRole::kValue;
};

template <class R>
constexpr ValueField<R> D(int R::*member, const char* name, FieldRole role = FieldRole::kValue) {
    return {member, nullptr, name, role};
}
template <class R>
constexpr ValueField<R> S(std::string R::*member, const char* name) {
    return {nullptr, member, name, FieldRole::kValue};
}

constexpr FieldRole kKey = FieldRole::kKey;
constexpr FieldRole kState = FieldRole::kState;

template <class R>
std::string FormatFields(const R& record, std::span<const ValueField<R>> fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += kValueSeparator;
        if (fields[i].number) {
            out += std::to_string(record.*fields[i].number);
            continue;
        }
        const std::string& text = record.*fields[i].text;
        if (text.find(kValueSeparator) != std::string::npos)
            throw std::invalid_argument("value string text field " + std::to_string(i + 1) +
                                        " holds the field separator");
        out += text;
    }
    return out;
}

template <class R>
void ParseFields(std::string_view text, R& record, std::span<const ValueField<R>> fields) {
    const std::vector<std::string> items = SplitValues(text, kValueSeparator);
    const std::size_t present = std::min(items.size(), fields.size());
    for (std::size_t i = 0; i < present; ++i) {
        if (fields[i].number) record.*fields[i].number = LeadingInt(items[i]);
        else record.*fields[i].text = items[i];
    }
    if (items.size() < fields.size())
        throw std::invalid_argument("value string has " + std::to_string(items.size()) + " of " +
                                    std::to_string(fields.size()) + " fields");
}

// The orders below are shared with the service; they are not the declaration orders.

// Left as laid out by hand, so each table reads as the value string it spells:
// clang-format off
using C = BusinessCard;
constexpr ValueField<C> kContactFields[] = {
    D(&C::bc_id, "id", kKey), S(&C::bc_name, "name"), S(&C::company_name, "company"),
    S(&C::cell_phone, "mobile"), S(&C::home_phone, "home_phone"), S(&C::fix_phone, "office_phone"),
    S(&C::position, "position"), D(&C::group_id, "group_id", kKey), S(&C::fax, "fax"),
    S(&C::addr_c_detail, "company_address"), S(&C::addr_f_detail, "home_address"),
    S(&C::web_site, "web_site"), D(&C::birthday_type, "birthday_type"), S(&C::birthday, "birthday"),
    S(&C::mail, "email"), S(&C::qq, "qq"), S(&C::ww, "ww"), S(&C::relate_contacts, "related"),
    S(&C::main_business, "business"), S(&C::hobby, "hobby"), S(&C::belief, "belief"),
    S(&C::habit, "habit"), S(&C::how_to_konw, "how_met"), D(&C::title, "title"),
    S(&C::favor_food, "food"), D(&C::complete, "complete", kKey), D(&C::bc_state, "state", kState),
    D(&C::bc_server_id, "server_id", kKey), D(&C::main_tab, "main_tab", kKey),
    S(&C::bc_comment, "comment"), D(&C::job_category_id, "job_category"),
    D(&C::business_id, "industry"), D(&C::common_use, "common"), D(&C::server_group_id, "group"),
};
static_assert(std::size(kContactFields) == 34);

// create_time precedes server_group_id here, unlike the declaration.
using E = TalEvent;
constexpr ValueField<E> kMatterFields[] = {
    D(&E::event_id, "id", kKey), D(&E::start_time, "start"), D(&E::end_time, "end"),
    D(&E::group_id, "group_id", kKey), S(&E::description, "description"), D(&E::place_top, "pinned"),
    D(&E::server_id, "server_id", kKey), D(&E::event_state, "state", kState),
    D(&E::create_time, "created"), D(&E::server_group_id, "group"),
};
static_assert(std::size(kMatterFields) == 10);

// Contact groups and matter groups share one order.
template <class G>
constexpr ValueField<G> kGroupFields[] = {
    D(&G::group_id, "id", kKey), S(&G::group_name, "name"), D(&G::server_id, "server_id", kKey),
    D(&G::group_state, "state", kState),
};
using CG = CardGroup;
using EG = EventGroup;

using M = EventComment;
constexpr ValueField<M> kRemarkFields[] = {
    D(&M::comment_id, "id", kKey), S(&M::c_content, "text"), D(&M::event_id, "matter_id", kKey),
    D(&M::server_id, "server_id", kKey), D(&M::comment_state, "state", kState),
    D(&M::create_time, "created"), D(&M::event_server_id, "matter", kKey),
};
static_assert(std::size(kRemarkFields) == 7);

using A = EventAlarm;
constexpr ValueField<A> kReminderFields[] = {
    D(&A::alarm_id, "id", kKey), S(&A::a_content, "message"), D(&A::event_id, "matter_id", kKey),
    D(&A::alarm_time, "time"), S(&A::alarm_whos, "whom"), D(&A::server_id, "server_id", kKey),
    D(&A::alarm_state, "state", kState), D(&A::event_description_alarm, "with_description"),
    D(&A::event_server_id, "matter", kKey), D(&A::alarm_myself, "myself"),
};
static_assert(std::size(kReminderFields) == 10);

using B = UserBankInfo;
constexpr ValueField<B> kBankFields[] = {
    D(&B::ubank_id, "id", kKey), S(&B::bank_name, "bank"), S(&B::ubank_branch, "branch"),
    S(&B::ubank_subbranch, "subbranch"), S(&B::ubank_card, "card"), S(&B::ubank_user, "holder"),
    D(&B::bc_id, "contact_id", kKey), D(&B::server_id, "server_id", kKey),
    D(&B::ubank_state, "state", kState), D(&B::bc_server_id, "contact", kKey),
};
static_assert(std::size(kBankFields) == 10);

using T = UserSettings;
constexpr ValueField<T> kSettingsFields[] = {
    D(&T::s_id, "id", kKey), D(&T::coloumn_show, "columns"), D(&T::auto_update, "auto_update"),
    D(&T::exit_ways, "exit_ways"), D(&T::auto_run, "auto_run"), D(&T::server_id, "server_id", kKey),
};

using U = UserInfo;
constexpr ValueField<U> kUserFields[] = {
    D(&U::user_id, "id", kKey), D(&U::user_server_id, "server_id", kKey),
    S(&U::login_name, "login"), S(&U::pwd, "password"), D(&U::perm_value, "permissions", kKey),
    S(&U::username, "name"), S(&U::cell_phone, "mobile"), S(&U::company1, "company"),
    D(&U::job_category1_id, "job_category"), S(&U::job_position1, "position"),
    D(&U::business1_id, "industry"), D(&U::area_id, "area"), S(&U::mail, "email"),
    S(&U::fix_phone, "office_phone"), S(&U::fax, "fax"), S(&U::address, "address"),
    D(&U::birthday_type, "birthday_type"), S(&U::birthday, "birthday"), D(&U::title, "title"),
    D(&U::certification, "certification", kKey),
};
// clang-format on
static_assert(std::size(kUserFields) == 20);

template <class R>
std::vector<FieldSpec> SpecsOf(std::span<const ValueField<R>> fields) {
    std::vector<FieldSpec> out;
    out.reserve(fields.size());
    for (const ValueField<R>& f : fields) out.push_back({f.name, f.role, f.text != nullptr});
    return out;
}

}  // namespace

const std::vector<FieldSpec>& FieldsOfKind(int operCode) {
    static const std::vector<FieldSpec> none;
    static const std::vector<FieldSpec> kinds[] = {
        none,
        SpecsOf<C>(kContactFields),
        SpecsOf<E>(kMatterFields),
        SpecsOf<U>(kUserFields),
        SpecsOf<M>(kRemarkFields),
        SpecsOf<A>(kReminderFields),
        SpecsOf<CG>(kGroupFields<CG>),
        SpecsOf<EG>(kGroupFields<EG>),
        SpecsOf<T>(kSettingsFields),
        SpecsOf<B>(kBankFields),
    };
    return operCode >= OPER_CONTACT && operCode <= OPER_BANK_ACCOUNT ? kinds[operCode] : none;
}

const FieldSpec* FieldOfKind(int operCode, int field) {
    const std::vector<FieldSpec>& fields = FieldsOfKind(operCode);
    return field >= 0 && static_cast<std::size_t>(field) < fields.size() ? &fields[static_cast<std::size_t>(field)]
                                                                         : nullptr;
}

int FieldIndexOfKind(int operCode, std::string_view name) {
    const std::vector<FieldSpec>& fields = FieldsOfKind(operCode);
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (name == fields[i].name) return static_cast<int>(i);
    return -1;
}

std::string FormatValues(const BusinessCard& r) { return FormatFields<C>(r, kContactFields); }
std::string FormatValues(const TalEvent& r) { return FormatFields<E>(r, kMatterFields); }
std::string FormatValues(const CardGroup& r) { return FormatFields<CG>(r, kGroupFields<CG>); }
std::string FormatValues(const EventGroup& r) { return FormatFields<EG>(r, kGroupFields<EG>); }
std::string FormatValues(const EventComment& r) { return FormatFields<M>(r, kRemarkFields); }
std::string FormatValues(const EventAlarm& r) { return FormatFields<A>(r, kReminderFields); }
std::string FormatValues(const UserBankInfo& r) { return FormatFields<B>(r, kBankFields); }
std::string FormatValues(const UserSettings& r) { return FormatFields<T>(r, kSettingsFields); }
std::string FormatValues(const UserInfo& r) { return FormatFields<U>(r, kUserFields); }

void ParseValues(std::string_view t, BusinessCard& r) { ParseFields<C>(t, r, kContactFields); }
void ParseValues(std::string_view t, TalEvent& r) { ParseFields<E>(t, r, kMatterFields); }
void ParseValues(std::string_view t, CardGroup& r) { ParseFields<CG>(t, r, kGroupFields<CG>); }
void ParseValues(std::string_view t, EventGroup& r) { ParseFields<EG>(t, r, kGroupFields<EG>); }
void ParseValues(std::string_view t, EventComment& r) { ParseFields<M>(t, r, kRemarkFields); }
void ParseValues(std::string_view t, UserBankInfo& r) { ParseFields<B>(t, r, kBankFields); }
void ParseValues(std::string_view t, UserSettings& r) { ParseFields<T>(t, r, kSettingsFields); }
void ParseValues(std::string_view t, UserInfo& r) { ParseFields<U>(t, r, kUserFields); }

void ParseValues(std::string_view t, EventAlarm& r) {
    ParseFields<A>(t, r, kReminderFields);
    // The ids of the people to remind never travel in the value string.
    r.alarm_whos_id.clear();
}

}  // namespace kivtal
