#include "model/RecordValues.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "model/ValueString.h"
#include "text/IntText.h"

namespace kivtal {
namespace {

// One field of a value string: exactly one of the two member pointers is set.
template <class R>
struct ValueField {
    int R::*number = nullptr;
    std::string R::*text = nullptr;
};

template <class R>
constexpr ValueField<R> D(int R::*member) {
    return {member, nullptr};
}
template <class R>
constexpr ValueField<R> S(std::string R::*member) {
    return {nullptr, member};
}

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
    D(&C::bc_id), S(&C::bc_name), S(&C::company_name), S(&C::cell_phone), S(&C::home_phone),
    S(&C::fix_phone), S(&C::position), D(&C::group_id), S(&C::fax), S(&C::addr_c_detail),
    S(&C::addr_f_detail), S(&C::web_site), D(&C::birthday_type), S(&C::birthday), S(&C::mail),
    S(&C::qq), S(&C::ww), S(&C::relate_contacts), S(&C::main_business), S(&C::hobby),
    S(&C::belief), S(&C::habit), S(&C::how_to_konw), D(&C::title), S(&C::favor_food),
    D(&C::complete), D(&C::bc_state), D(&C::bc_server_id), D(&C::main_tab), S(&C::bc_comment),
    D(&C::job_category_id), D(&C::business_id), D(&C::common_use), D(&C::server_group_id),
};
static_assert(std::size(kContactFields) == 34);

// create_time precedes server_group_id here, unlike the declaration.
using E = TalEvent;
constexpr ValueField<E> kMatterFields[] = {
    D(&E::event_id), D(&E::start_time), D(&E::end_time), D(&E::group_id), S(&E::description),
    D(&E::place_top), D(&E::server_id), D(&E::event_state), D(&E::create_time),
    D(&E::server_group_id),
};
static_assert(std::size(kMatterFields) == 10);

// Contact groups and matter groups share one order.
template <class G>
constexpr ValueField<G> kGroupFields[] = {
    D(&G::group_id), S(&G::group_name), D(&G::server_id), D(&G::group_state),
};
using CG = CardGroup;
using EG = EventGroup;

using M = EventComment;
constexpr ValueField<M> kRemarkFields[] = {
    D(&M::comment_id), S(&M::c_content), D(&M::event_id), D(&M::server_id),
    D(&M::comment_state), D(&M::create_time), D(&M::event_server_id),
};
static_assert(std::size(kRemarkFields) == 7);

using A = EventAlarm;
constexpr ValueField<A> kReminderFields[] = {
    D(&A::alarm_id), S(&A::a_content), D(&A::event_id), D(&A::alarm_time), S(&A::alarm_whos),
    D(&A::server_id), D(&A::alarm_state), D(&A::event_description_alarm),
    D(&A::event_server_id), D(&A::alarm_myself),
};
static_assert(std::size(kReminderFields) == 10);

using B = UserBankInfo;
constexpr ValueField<B> kBankFields[] = {
    D(&B::ubank_id), S(&B::bank_name), S(&B::ubank_branch), S(&B::ubank_subbranch),
    S(&B::ubank_card), S(&B::ubank_user), D(&B::bc_id), D(&B::server_id), D(&B::ubank_state),
    D(&B::bc_server_id),
};
static_assert(std::size(kBankFields) == 10);

using T = UserSettings;
constexpr ValueField<T> kSettingsFields[] = {
    D(&T::s_id), D(&T::coloumn_show), D(&T::auto_update),
    D(&T::exit_ways), D(&T::auto_run), D(&T::server_id),
};

using U = UserInfo;
constexpr ValueField<U> kUserFields[] = {
    D(&U::user_id), D(&U::user_server_id), S(&U::login_name), S(&U::pwd), D(&U::perm_value),
    S(&U::username), S(&U::cell_phone), S(&U::company1), D(&U::job_category1_id),
    S(&U::job_position1), D(&U::business1_id), D(&U::area_id), S(&U::mail), S(&U::fix_phone),
    S(&U::fax), S(&U::address), D(&U::birthday_type), S(&U::birthday), D(&U::title),
    D(&U::certification),
};
// clang-format on
static_assert(std::size(kUserFields) == 20);

}  // namespace

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
