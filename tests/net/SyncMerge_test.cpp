#include "net/SyncMerge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "model/ValueString.h"

namespace kivtal {
namespace {

std::string Fields(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& f : fields) out += (out.empty() ? "" : std::string(kValueSeparator)) + f;
    return out;
}

SyncRecord E(int kind, int ways, int rowId, int serverId, std::string values = "1", int mainTab = 1) {
    SyncRecord e;
    e.oper_code = kind;
    e.oper_ways = ways;
    e.s_row_id = rowId;
    e.s_server_id = serverId;
    e.s_values = std::move(values);
    e.main_tab = mainTab;
    return e;
}

struct Merged {
    SyncRecordList local, server, dropped;
};

Merged Merge(SyncRecordList local, SyncRecordList server) {
    Merged m{std::move(local), std::move(server), {}};
    mergeChanges(m.local, m.server, m.dropped);
    return m;
}

TEST(MergeChanges, ContactModifiedOnBothSidesWithSameNameKeepsBothWithMainTwo) {
    const SyncRecord local = E(OPER_CONTACT, WAY_MODIFY, 7, 500, Fields({"7", "Wang", "local co"}));
    const SyncRecord other = E(OPER_CONTACT, WAY_MODIFY, 0, 900, Fields({"3", "Li"}));
    const SyncRecord received = E(OPER_CONTACT, WAY_MODIFY, 0, 500, Fields({"7", "Wang", "server co"}));
    const Merged m = Merge({local}, {other, received});

    ASSERT_EQ(m.local.size(), 1u);
    EXPECT_EQ(m.local[0].oper_ways, WAY_ADD);
    EXPECT_EQ(m.local[0].main_tab, 2);
    // A copy of the local version goes down before the service's version, so the
    // service's modify lands on the copy and the local row keeps its own values.
    ASSERT_EQ(m.server.size(), 3u);
    EXPECT_EQ(m.server[0], other);
    EXPECT_EQ(m.server[1], m.local[0]);
    EXPECT_EQ(m.server[2].oper_ways, WAY_MODIFY);
    EXPECT_EQ(m.server[2].main_tab, 2);
    EXPECT_EQ(m.server[2].s_values, received.s_values);
    EXPECT_TRUE(m.dropped.empty());
}

TEST(MergeChanges, ContactConflictWithDifferentNameOrShortValuesBecomesTwoAdds) {
    for (const std::string& values : {Fields({"7", "Zhao"}), std::string("7")}) {
        const Merged m = Merge({E(OPER_CONTACT, WAY_MODIFY, 7, 500, Fields({"7", "Wang"}))},
                               {E(OPER_CONTACT, WAY_MODIFY, 0, 500, values)});
        ASSERT_EQ(m.server.size(), 1u) << values;
        for (const SyncRecord& r : {m.local.at(0), m.server[0]}) {
            EXPECT_EQ(r.oper_ways, WAY_ADD) << values;
            EXPECT_EQ(r.main_tab, 1) << values;
        }
    }
}

TEST(MergeChanges, ContactIsSettledOnlyForTwoModifiesWithTheSameMainTab) {
    const std::string v = Fields({"7", "Wang"});
    const std::vector<std::pair<SyncRecord, SyncRecord>> unsettled = {
        {E(OPER_CONTACT, WAY_ADD, 7, 500, v), E(OPER_CONTACT, WAY_MODIFY, 0, 500, v)},
        {E(OPER_CONTACT, WAY_MODIFY, 7, 500, v), E(OPER_CONTACT, WAY_ADD, 0, 500, v)},
        {E(OPER_CONTACT, WAY_MODIFY, 7, 500, v, 1), E(OPER_CONTACT, WAY_MODIFY, 0, 500, v, 0)},
    };
    for (const auto& [local, received] : unsettled) {
        const Merged m = Merge({local}, {received});
        EXPECT_EQ(m.local, SyncRecordList{local});
        EXPECT_EQ(m.server, SyncRecordList{received});
    }
}

TEST(MergeChanges, MatterConflictDropsTheLocalEntryAsAcknowledged) {
    const SyncRecord next = E(OPER_MATTER, WAY_MODIFY, 9, 601);
    const SyncRecord received = E(OPER_MATTER, WAY_MODIFY, 0, 600);
    // Two conflicting matters in a row: the second moves into the first one's place and
    // must still be settled.
    const Merged m = Merge({E(OPER_MATTER, WAY_MODIFY, 8, 600), next, E(OPER_USER, WAY_MODIFY, 1, 5)},
                           {received, E(OPER_MATTER, WAY_ADD, 0, 601)});
    ASSERT_EQ(m.dropped.size(), 2u);
    EXPECT_EQ(m.dropped[0].s_row_id, 8);
    EXPECT_EQ(m.dropped[1].s_row_id, 9);
    for (const SyncRecord& d : m.dropped) EXPECT_EQ(d.sync_state, SYNC_DONE);
    ASSERT_EQ(m.local.size(), 1u);
    EXPECT_EQ(m.local[0].oper_code, OPER_USER);
    EXPECT_EQ(m.server.size(), 2u);
}

TEST(MergeChanges, RemarkConflictBySecondField) {
    const std::string mine = Fields({"4", "see you at noon", "12"});
    const Merged same = Merge({E(OPER_REMARK, WAY_MODIFY, 4, 70, mine)},
                              {E(OPER_REMARK, WAY_MODIFY, 0, 70, Fields({"99", "see you at noon", "3"}))});
    EXPECT_TRUE(same.local.empty());
    EXPECT_TRUE(same.server.empty());
    EXPECT_TRUE(same.dropped.empty());

    const Merged differ = Merge({E(OPER_REMARK, WAY_MODIFY, 4, 70, mine)},
                                {E(OPER_REMARK, WAY_MODIFY, 0, 70, Fields({"4", "at one", "12"}))});
    ASSERT_EQ(differ.local.size(), 1u);
    ASSERT_EQ(differ.server.size(), 1u);
    EXPECT_EQ(differ.local[0].oper_ways, WAY_ADD);
    EXPECT_EQ(differ.server[0].oper_ways, WAY_ADD);

    const Merged added = Merge({E(OPER_REMARK, WAY_ADD, 4, 70, mine)}, {E(OPER_REMARK, WAY_MODIFY, 0, 70, mine)});
    EXPECT_EQ(added.local.size(), 1u);
    EXPECT_EQ(added.server.size(), 1u);
}

TEST(MergeChanges, GroupsAndSettingsKeepTheLocalChange) {
    for (int kind : {OPER_CONTACT_GROUP, OPER_MATTER_GROUP, OPER_SETTINGS}) {
        const SyncRecord other = E(kind, WAY_MODIFY, 0, 31);
        const Merged m = Merge({E(kind, WAY_ADD, 3, 30, "1", 0)}, {E(kind, WAY_MODIFY, 0, 30), other});
        ASSERT_EQ(m.local.size(), 1u) << kind;
        EXPECT_EQ(m.local[0].oper_ways, WAY_MODIFY) << kind;
        EXPECT_EQ(m.local[0].main_tab, 1) << kind;
        EXPECT_EQ(m.server, SyncRecordList{other}) << kind;
    }
}

TEST(MergeChanges, UnsettledKindsAndOtherRowsPassUntouched) {
    SyncRecordList local, server;
    for (int kind : {OPER_USER, OPER_REMINDER, OPER_BANK_ACCOUNT}) {
        local.push_back(E(kind, WAY_MODIFY, 5, 50));
        server.push_back(E(kind, WAY_MODIFY, 0, 50));
    }
    local.push_back(E(OPER_MATTER, WAY_MODIFY, 6, 61));
    server.push_back(E(OPER_MATTER, WAY_MODIFY, 0, 62));         // another matter
    server.push_back(E(OPER_CONTACT_GROUP, WAY_MODIFY, 0, 61));  // another kind
    const Merged m = Merge(local, server);
    EXPECT_EQ(m.local, local);
    EXPECT_EQ(m.server, server);
    EXPECT_TRUE(m.dropped.empty());
}

TEST(MergeChanges, MatchesByLocalIdAsWellAsServerId) {
    // A received entry naming the row by its local id settles too.
    const Merged m = Merge({E(OPER_MATTER_GROUP, WAY_MODIFY, 12, 0)}, {E(OPER_MATTER_GROUP, WAY_MODIFY, 12, 44)});
    EXPECT_TRUE(m.server.empty());
}

TEST(MergeChanges, EmptyListsChangeNothing) {
    const SyncRecordList one = {E(OPER_MATTER, WAY_MODIFY, 1, 1)};
    const Merged noServer = Merge(one, {});
    EXPECT_EQ(noServer.local, one);
    EXPECT_TRUE(noServer.dropped.empty());
    const Merged noLocal = Merge({}, one);
    EXPECT_EQ(noLocal.server, one);
}

// The value string of `record` with one text changed.
template <class R>
std::string ValuesWith(R record, std::string R::*field, std::string value) {
    record.*field = std::move(value);
    return FormatValues(record);
}

// With a base, every kind is settled field by field; the records below show what the
// rules around that merge decide.
TEST(MergeChanges, WithABaseBothEntriesCarryTheMergeAndClashesNameTheLocalRow) {
    EventComment remark;
    remark.c_content = "初稿";
    remark.server_id = 70;
    const auto text = [&](const std::string& t) { return ValuesWith(remark, &EventComment::c_content, t); };
    const SyncBases bases = {{{OPER_REMARK, 70}, FormatValues(remark)}};

    // The same new text on both sides: one remark, nothing to show.
    SyncRecordList local = {E(OPER_REMARK, WAY_MODIFY, 5, 70, text("定稿"))};
    SyncRecordList server = {E(OPER_REMARK, WAY_MODIFY, 0, 70, text("定稿"))};
    SyncRecordList dropped;
    SyncClashList clashes;
    mergeChanges(local, server, dropped, bases, clashes, 1234);
    EXPECT_EQ(local[0].oper_ways, WAY_MODIFY);
    EXPECT_EQ(server[0].s_values, local[0].s_values);
    EXPECT_TRUE(clashes.empty());

    // Two different texts: a remark keeps both, as without a base.
    local = {E(OPER_REMARK, WAY_MODIFY, 5, 70, text("甲"))};
    server = {E(OPER_REMARK, WAY_MODIFY, 0, 70, text("乙"))};
    mergeChanges(local, server, dropped, bases, clashes, 1234);
    EXPECT_EQ(local[0].oper_ways, WAY_ADD);
    EXPECT_EQ(server[0].oper_ways, WAY_ADD);
    EXPECT_TRUE(clashes.empty());

    // Bank accounts added on both sides never meet; a group renamed on both sides is
    // a clash on the local row, settled with the later received rename.
    CardGroup group;
    group.group_name = "供应商";
    group.server_id = 40;
    const auto named = [&](const std::string& n) { return ValuesWith(group, &CardGroup::group_name, n); };
    const SyncRecord ourAccount = E(OPER_BANK_ACCOUNT, WAY_ADD, 8, 0, "ours");
    const SyncRecord theirAccount = E(OPER_BANK_ACCOUNT, WAY_ADD, 3, 91, "theirs");
    local = {ourAccount, E(OPER_CONTACT_GROUP, WAY_MODIFY, 2, 40, named("甲"))};
    server = {theirAccount, E(OPER_CONTACT_GROUP, WAY_MODIFY, 0, 40, named("旧")),
              E(OPER_CONTACT_GROUP, WAY_MODIFY, 0, 40, named("乙"))};
    mergeChanges(local, server, dropped, {{{OPER_CONTACT_GROUP, 40}, FormatValues(group)}}, clashes, 1234);
    EXPECT_EQ(local[0], ourAccount);
    EXPECT_EQ(server[0], theirAccount);
    EXPECT_EQ(local[1].s_values, named("甲"));
    EXPECT_EQ(server[2].s_values, named("甲"));
    ASSERT_EQ(clashes.size(), 1u);
    EXPECT_EQ(clashes[0], (SyncClash{0, OPER_CONTACT_GROUP, 2, 40, 1, "乙", 1234}));
    EXPECT_TRUE(dropped.empty());
}

TEST(MergeChanges, BasesToReadAreThoseOfLocalModifiesMetByReceivedModifies) {
    const SyncRecordList local = {E(OPER_CONTACT, WAY_MODIFY, 1, 500), E(OPER_CONTACT, WAY_ADD, 2, 0),
                                  E(OPER_MATTER, WAY_MODIFY, 3, 600), E(OPER_CONTACT, WAY_MODIFY, 4, 501)};
    const SyncRecordList server = {E(OPER_CONTACT, WAY_MODIFY, 0, 500), E(OPER_CONTACT, WAY_MODIFY, 0, 600),
                                   E(OPER_MATTER, WAY_ADD, 0, 600)};
    EXPECT_EQ(BasesToRead(local, server), (std::vector<SyncBaseKey>{{OPER_CONTACT, 500}}));
}

}  // namespace
}  // namespace kivtal
