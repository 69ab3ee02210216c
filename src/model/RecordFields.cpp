#include "model/RecordFields.h"

#include <iterator>

namespace kivtal {
namespace {

constexpr FieldRole kValue = FieldRole::kValue;
constexpr FieldRole kKey = FieldRole::kKey;
constexpr FieldRole kState = FieldRole::kState;

template <class R>
constexpr RecordField<R> D(const char* column, int R::*member, const char* name, FieldRole role = kValue) {
    return {column, member, nullptr, name, role};
}
template <class R>
constexpr RecordField<R> S(const char* column, std::string R::*member, const char* name) {
    return {column, nullptr, member, name, kValue};
}

// Left as laid out by hand, one field a line, so each table reads as its columns:
// clang-format off
using C = BusinessCard;
constexpr RecordField<C> kContact[] = {
    D("bc_id", &C::bc_id, "id", kKey),
    S("bc_name", &C::bc_name, "name"),
    S("company_name", &C::company_name, "company"),
    S("cell_phone", &C::cell_phone, "mobile"),
    S("home_phone", &C::home_phone, "home_phone"),
    S("fix_phone", &C::fix_phone, "office_phone"),
    S("position", &C::position, "position"),
    D("group_id", &C::group_id, "group_id", kKey),
    S("fax", &C::fax, "fax"),
    S("addr_c_detail", &C::addr_c_detail, "company_address"),
    S("addr_f_detail", &C::addr_f_detail, "home_address"),
    S("web_site", &C::web_site, "web_site"),
    D("birthday_type", &C::birthday_type, "birthday_type"),
    S("birthday", &C::birthday, "birthday"),
    S("mail", &C::mail, "email"),
    S("qq", &C::qq, "qq"),
    S("ww", &C::ww, "ww"),
    S("relate_contacts", &C::relate_contacts, "related"),
    S("main_business", &C::main_business, "business"),
    S("hobby", &C::hobby, "hobby"),
    S("belief", &C::belief, "belief"),
    S("habit", &C::habit, "habit"),
    S("how_to_konw", &C::how_to_konw, "how_met"),
    D("title", &C::title, "title"),
    S("favor_food", &C::favor_food, "food"),
    D("complete", &C::complete, "complete", kKey),
    S("bc_name_pinyin", &C::bc_name_pinyin, nullptr),  // derived from the name by the store
    D("bc_state", &C::bc_state, "state", kState),
    D("bc_server_id", &C::bc_server_id, "server_id", kKey),
    D("main_tab", &C::main_tab, "main_tab", kKey),
    S("bc_comment", &C::bc_comment, "comment"),
    D("job_category_id", &C::job_category_id, "job_category"),
    D("business_id", &C::business_id, "industry"),
    D("common_use", &C::common_use, "common"),
    D("server_group_id", &C::server_group_id, "group"),
};

using E = TalEvent;
constexpr RecordField<E> kMatter[] = {
    D("event_id", &E::event_id, "id", kKey),
    D("start_time", &E::start_time, "start"),
    D("end_time", &E::end_time, "end"),
    D("group_id", &E::group_id, "group_id", kKey),
    S("description", &E::description, "description"),
    D("place_top", &E::place_top, "pinned"),
    D("server_id", &E::server_id, "server_id", kKey),
    D("event_state", &E::event_state, "state", kState),
    D("create_time", &E::create_time, "created"),
    D("server_group_id", &E::server_group_id, "group"),
};

// Contact groups and matter groups share one layout.
template <class G>
constexpr RecordField<G> kGroup[] = {
    D("group_id", &G::group_id, "id", kKey),
    S("group_name", &G::group_name, "name"),
    D("server_id", &G::server_id, "server_id", kKey),
    D("group_state", &G::group_state, "state", kState),
};

using M = EventComment;
constexpr RecordField<M> kRemark[] = {
    D("comment_id", &M::comment_id, "id", kKey),
    S("c_content", &M::c_content, "text"),
    D("event_id", &M::event_id, "matter_id", kKey),
    D("server_id", &M::server_id, "server_id", kKey),
    D("comment_state", &M::comment_state, "state", kState),
    D("create_time", &M::create_time, "created"),
    D("event_server_id", &M::event_server_id, "matter", kKey),
};

using A = EventAlarm;
constexpr RecordField<A> kReminder[] = {
    D("alarm_id", &A::alarm_id, "id", kKey),
    S("a_content", &A::a_content, "message"),
    D("event_id", &A::event_id, "matter_id", kKey),
    D("alarm_time", &A::alarm_time, "time"),
    S("alarm_whos", &A::alarm_whos, "whom"),
    D("server_id", &A::server_id, "server_id", kKey),
    D("alarm_state", &A::alarm_state, "state", kState),
    S("alarm_whos_id", &A::alarm_whos_id, nullptr),  // the service never sends them
    D("event_description_alarm", &A::event_description_alarm, "with_description"),
    D("event_server_id", &A::event_server_id, "matter", kKey),
    D("alarm_myself", &A::alarm_myself, "myself"),
};

using B = UserBankInfo;
constexpr RecordField<B> kBank[] = {
    D("ubank_id", &B::ubank_id, "id", kKey),
    S("bank_name", &B::bank_name, "bank"),
    S("ubank_branch", &B::ubank_branch, "branch"),
    S("ubank_subbranch", &B::ubank_subbranch, "subbranch"),
    S("ubank_card", &B::ubank_card, "card"),
    S("ubank_user", &B::ubank_user, "holder"),
    D("bc_id", &B::bc_id, "contact_id", kKey),
    D("server_id", &B::server_id, "server_id", kKey),
    D("ubank_state", &B::ubank_state, "state", kState),
    D("bc_server_id", &B::bc_server_id, "contact", kKey),
};

using T = UserSettings;
constexpr RecordField<T> kSettings[] = {
    D("s_id", &T::s_id, "id", kKey),
    D("coloumn_show", &T::coloumn_show, "columns"),
    D("auto_update", &T::auto_update, "auto_update"),
    D("exit_ways", &T::exit_ways, "exit_ways"),
    D("auto_run", &T::auto_run, "auto_run"),
    D("server_id", &T::server_id, "server_id", kKey),
};

using U = UserInfo;
constexpr RecordField<U> kUser[] = {
    D("user_id", &U::user_id, "id", kKey),
    D("user_server_id", &U::user_server_id, "server_id", kKey),
    S("login_name", &U::login_name, "login"),
    S("pwd", &U::pwd, "password"),
    D("perm_value", &U::perm_value, "permissions", kKey),
    S("username", &U::username, "name"),
    S("cell_phone", &U::cell_phone, "mobile"),
    S("company1", &U::company1, "company"),
    D("job_category1_id", &U::job_category1_id, "job_category"),
    S("job_position1", &U::job_position1, "position"),
    D("business1_id", &U::business1_id, "industry"),
    D("area_id", &U::area_id, "area"),
    S("mail", &U::mail, "email"),
    S("fix_phone", &U::fix_phone, "office_phone"),
    S("fax", &U::fax, "fax"),
    S("address", &U::address, "address"),
    D("birthday_type", &U::birthday_type, "birthday_type"),
    S("birthday", &U::birthday, "birthday"),
    D("title", &U::title, "title"),
    D("certification", &U::certification, "certification", kKey),
};
// clang-format on

// The service's value strings hold these many fields; the tables may not drift.
static_assert(std::size(kContact) == 34 + 1);
static_assert(std::size(kMatter) == 10);
static_assert(std::size(kRemark) == 7);
static_assert(std::size(kReminder) == 10 + 1);
static_assert(std::size(kBank) == 10);
static_assert(std::size(kSettings) == 6);
static_assert(std::size(kUser) == 20);

}  // namespace

#define KIVTAL_DESCRIBE(R, table, fields)                   \
    template <>                                             \
    const RecordDescription<R>& DescriptionOf<R>() {        \
        static const RecordDescription<R> d{table, fields}; \
        return d;                                           \
    }

KIVTAL_DESCRIBE(BusinessCard, "tb_bc", kContact)
KIVTAL_DESCRIBE(TalEvent, "tb_event", kMatter)
KIVTAL_DESCRIBE(UserInfo, "tb_user", kUser)
KIVTAL_DESCRIBE(EventComment, "tb_event_comment", kRemark)
KIVTAL_DESCRIBE(EventAlarm, "tb_event_alarm", kReminder)
KIVTAL_DESCRIBE(CardGroup, "tb_bc_group", kGroup<CardGroup>)
KIVTAL_DESCRIBE(EventGroup, "tb_event_group", kGroup<EventGroup>)
KIVTAL_DESCRIBE(UserSettings, "tb_user_settings", kSettings)
KIVTAL_DESCRIBE(UserBankInfo, "tb_ubank_info", kBank)
#undef KIVTAL_DESCRIBE

}  // namespace kivtal
