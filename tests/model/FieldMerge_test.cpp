#include "model/FieldMerge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/SyncKinds.h"
#include "model/ValueString.h"

namespace kivtal {
namespace {

// A record of each kind as both devices agreed on it, and helpers that change one copy.
BusinessCard Contact() {
    BusinessCard c;
    c.bc_id = 7;
    c.bc_name = "周八";
    c.company_name = "原公司";
    c.cell_phone = "13800000000";
    c.bc_server_id = 500;
    c.server_group_id = 40;
    return c;
}

TalEvent Matter() {
    TalEvent e;
    e.event_id = 3;
    e.start_time = 1000;
    e.end_time = 2000;
    e.description = "签约";
    e.server_id = 600;
    return e;
}

struct Case {
    const char* what;
    int kind;
    std::string base, local, remote;
    std::string merged;
    std::vector<FieldClash> clashes;
};

template <class R, class F>
R With(R r, F change) {
    change(r);
    return r;
}

// Each kind's fields by name, so a case reads as the edit it makes.
int Field(int kind, const std::string& name) {
    const int index = FieldIndexOfKind(kind, name);
    EXPECT_GE(index, 0) << "no field " << name;
    return index;
}

std::vector<Case> Cases() {
    const BusinessCard c = Contact();
    const auto company = [](BusinessCard& r) { r.company_name = "新公司"; };
    const auto mobile = [](BusinessCard& r) { r.cell_phone = "13900000000"; };
    const auto deleted = [](BusinessCard& r) { r.bc_state = 1; };
    const TalEvent m = Matter();
    CardGroup g;
    g.group_name = "供应商";
    g.server_id = 40;
    EventComment remark;
    remark.c_content = "初稿";
    remark.server_id = 70;
    EventAlarm alarm;
    alarm.a_content = "提醒";
    alarm.alarm_time = 5000;
    alarm.server_id = 80;
    UserBankInfo bank;
    bank.bank_name = "工行";
    bank.ubank_card = "6222";
    bank.server_id = 90;
    UserSettings settings;
    settings.server_id = 10;
    return {
        {"contact: different fields both kept",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c, mobile)),
         FormatValues(With(With(c, company), mobile)),
         {}},
        {"contact: the same change on both sides",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c, company)),
         FormatValues(With(c, company)),
         {}},
        {"contact: one field changed differently keeps this device's and records the other",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c, [](BusinessCard& r) { r.company_name = "别家"; })),
         FormatValues(With(c, company)),
         {{Field(OPER_CONTACT, "company"), "别家"}}},
        {"contact: a field emptied on one side is a change like any other",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, [](BusinessCard& r) { r.cell_phone.clear(); })),
         FormatValues(With(c, company)),
         FormatValues(With(With(c, company), [](BusinessCard& r) { r.cell_phone.clear(); })),
         {}},
        {"contact: the other device's ids are never taken",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c,
                           [](BusinessCard& r) {
                               r.bc_id = 99;
                               r.group_id = 98;
                           })),
         FormatValues(With(c, company)),
         {}},
        {"contact: moved to another group there",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c, [](BusinessCard& r) { r.server_group_id = 41; })),
         FormatValues(With(With(c, company), [](BusinessCard& r) { r.server_group_id = 41; })),
         {}},
        {"contact: deleted there, edited here: stays live with the edit",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, company)),
         FormatValues(With(c, deleted)),
         FormatValues(With(c, company)),
         {{Field(OPER_CONTACT, "state"), "1"}}},
        {"contact: deleted here, edited there: stays live with that edit",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, deleted)),
         FormatValues(With(c, mobile)),
         FormatValues(With(c, mobile)),
         {{Field(OPER_CONTACT, "state"), "1"}}},
        {"contact: deleted on both sides",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, deleted)),
         FormatValues(With(c, deleted)),
         FormatValues(With(c, deleted)),
         {}},
        {"contact: deleted there, nothing edited here but the pin",
         OPER_CONTACT,
         FormatValues(c),
         FormatValues(With(c, [](BusinessCard& r) { r.main_tab = 3; })),
         FormatValues(With(c, deleted)),
         FormatValues(With(With(c, deleted), [](BusinessCard& r) { r.main_tab = 3; })),
         {}},
        {"matter: description here, time there",
         OPER_MATTER,
         FormatValues(m),
         FormatValues(With(m, [](TalEvent& r) { r.description = "改约"; })),
         FormatValues(With(m, [](TalEvent& r) { r.start_time = 1500; })),
         FormatValues(With(m,
                           [](TalEvent& r) {
                               r.description = "改约";
                               r.start_time = 1500;
                           })),
         {}},
        {"matter: description on both sides",
         OPER_MATTER,
         FormatValues(m),
         FormatValues(With(m, [](TalEvent& r) { r.description = "甲"; })),
         FormatValues(With(m, [](TalEvent& r) { r.description = "乙"; })),
         FormatValues(With(m, [](TalEvent& r) { r.description = "甲"; })),
         {{Field(OPER_MATTER, "description"), "乙"}}},
        {"group: renamed on both sides",
         OPER_CONTACT_GROUP,
         FormatValues(g),
         FormatValues(With(g, [](CardGroup& r) { r.group_name = "甲"; })),
         FormatValues(With(g, [](CardGroup& r) { r.group_name = "乙"; })),
         FormatValues(With(g, [](CardGroup& r) { r.group_name = "甲"; })),
         {{Field(OPER_CONTACT_GROUP, "name"), "乙"}}},
        {"remark: deleted there, unchanged here",
         OPER_REMARK,
         FormatValues(remark),
         FormatValues(remark),
         FormatValues(With(remark, [](EventComment& r) { r.comment_state = 1; })),
         FormatValues(With(remark, [](EventComment& r) { r.comment_state = 1; })),
         {}},
        {"reminder: message here, time there",
         OPER_REMINDER,
         FormatValues(alarm),
         FormatValues(With(alarm, [](EventAlarm& r) { r.a_content = "早到"; })),
         FormatValues(With(alarm, [](EventAlarm& r) { r.alarm_time = 6000; })),
         FormatValues(With(alarm,
                           [](EventAlarm& r) {
                               r.a_content = "早到";
                               r.alarm_time = 6000;
                           })),
         {}},
        {"bank account: card here, holder there",
         OPER_BANK_ACCOUNT,
         FormatValues(bank),
         FormatValues(With(bank, [](UserBankInfo& r) { r.ubank_card = "6228"; })),
         FormatValues(With(bank, [](UserBankInfo& r) { r.ubank_user = "周八"; })),
         FormatValues(With(bank,
                           [](UserBankInfo& r) {
                               r.ubank_card = "6228";
                               r.ubank_user = "周八";
                           })),
         {}},
        {"settings: one bit each side",
         OPER_SETTINGS,
         FormatValues(settings),
         FormatValues(With(settings, [](UserSettings& r) { r.auto_run = 0; })),
         FormatValues(With(settings, [](UserSettings& r) { r.exit_ways = 1; })),
         FormatValues(With(settings,
                           [](UserSettings& r) {
                               r.auto_run = 0;
                               r.exit_ways = 1;
                           })),
         {}},
    };
}

TEST(MergeFields, KeepsEveryChangeAndRecordsTrueClashes) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        const std::optional<FieldMergeResult> r = MergeFields(c.kind, c.base, c.local, c.remote);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->merged, c.merged);
        EXPECT_EQ(r->clashes, c.clashes);
    }
}

TEST(MergeFields, NoMergeWhenAValueStringDoesNotHoldTheKindsFields) {
    const std::string card = FormatValues(Contact());
    EXPECT_FALSE(MergeFields(OPER_CONTACT, "", card, card));
    EXPECT_FALSE(MergeFields(OPER_CONTACT, card, card, "7"));
    EXPECT_FALSE(MergeFields(OPER_CONTACT, card, card, card + std::string(kValueSeparator) + "extra"));
    EXPECT_FALSE(MergeFields(42, card, card, card));
}

TEST(MergeFields, AdoptingAClashsValueChangesOnlyThatField) {
    const BusinessCard c = Contact();
    const BusinessCard adopted = AdoptField(c, Field(OPER_CONTACT, "company"), "别家");
    EXPECT_EQ(adopted.company_name, "别家");
    EXPECT_EQ(With(adopted, [](BusinessCard& r) { r.company_name = "原公司"; }), c);
    EXPECT_EQ(AdoptField(c, 99, "x"), c);
}

}  // namespace
}  // namespace kivtal
