// Breaks each request of a realistic two-run sync scenario in each way a service or a
// network can break it, on a copy of the same starting database, and checks that no
// edit is lost, that a failed run neither acknowledges nor moves the sync time, and
// that one clean run afterwards reaches exactly the state of the run without faults.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/ImmediateCommits.h"
#include "net/SyncRun.h"
#include "net/WorkerMessages.h"
#include "store/ChangeLog.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "support/JobHarness.h"
#include "support/SyncScenario.h"
#include "support/SyncUser.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

using test::Reply;

// ---- the scenario -----------------------------------------------------------------

constexpr int kStartTime = 1000;              // sync time of the starting database
constexpr int kFirstClock = 2000;             // the service's clock during the first run
constexpr int kSecondClock = 3000;            // ... and from the second run on
constexpr std::size_t kScenarioRequests = 4;  // receive and send of two runs

// Server ids the starting database already holds.
constexpr int kWangId = 500, kClientsId = 300, kFairId = 600;

SyncRecord Change(int kind, int ways, int serverId, std::string values) {
    SyncRecord c;
    c.oper_code = kind;
    c.oper_ways = ways;
    c.s_server_id = serverId;
    c.s_values = std::move(values);
    c.main_tab = kind == OPER_CONTACT ? 1 : 0;
    return c;
}

BusinessCard Contact(const std::string& name, const std::string& company) {
    BusinessCard c;
    c.bc_name = name;
    c.bc_name_pinyin = name;
    c.company_name = company;
    return c;
}

UserBankInfo Account(const std::string& bank, const std::string& card) {
    UserBankInfo a;
    a.bank_name = bank;
    a.ubank_card = card;
    a.ubank_user = "holder";
    return a;
}

// What the user typed, where it must still be after any failure.
struct Typed {
    std::string sql;
    std::string text;
};

// Changes made elsewhere before the first run: a new contact in a new group with a
// bank account, a matter in a new matter group with a remark, edits that collide with
// local ones (a contact and a contact group), and an entry of an unknown way.
void PublishFirstBatch(test::SyncFeed& feed) {
    CardGroup suppliers;
    suppliers.group_name = "Suppliers";
    BusinessCard zhou = Contact("Zhou", "Zhou Ltd");
    zhou.server_group_id = 310;
    UserBankInfo zhouAccount = Account("BOC", "6217-0000");
    zhouAccount.bc_server_id = 901;
    BusinessCard wang = Contact("Wang", "Server Co");
    wang.server_group_id = kClientsId;
    CardGroup buyers;
    buyers.group_name = "Buyers";
    EventGroup fairs;
    fairs.group_name = "Fairs";
    TalEvent expo;
    expo.description = "Expo";
    expo.start_time = 1700000000;
    expo.end_time = 1700003600;
    expo.server_group_id = 710;
    EventComment stand;
    stand.c_content = "Stand 12";
    stand.event_server_id = 950;

    for (SyncRecord c :
         {Change(OPER_CONTACT_GROUP, WAY_ADD, 310, FormatValues(suppliers)),
          Change(OPER_CONTACT, WAY_ADD, 901, FormatValues(zhou)),
          Change(OPER_BANK_ACCOUNT, WAY_ADD, 920, FormatValues(zhouAccount)),
          Change(OPER_CONTACT, WAY_MODIFY, kWangId, FormatValues(wang)),
          Change(OPER_CONTACT_GROUP, WAY_MODIFY, kClientsId, FormatValues(buyers)),
          Change(OPER_MATTER_GROUP, WAY_ADD, 710, FormatValues(fairs)),
          Change(OPER_MATTER, WAY_ADD, 950, FormatValues(expo)), Change(OPER_REMARK, WAY_ADD, 960, FormatValues(stand)),
          Change(OPER_CONTACT, 3, 999, FormatValues(Contact("Ghost", "")))})
        feed.publish(1500, c);
}

// Changes made elsewhere between the runs: an edit of a contact of the first batch
// and another remark on its matter.
void PublishSecondBatch(test::SyncFeed& feed) {
    BusinessCard zhou = Contact("Zhou", "Zhou Trading");
    zhou.server_group_id = 310;
    EventComment cards;
    cards.c_content = "Bring cards";
    cards.event_server_id = 950;
    feed.publish(2500, Change(OPER_CONTACT, WAY_MODIFY, 901, FormatValues(zhou)));
    feed.publish(2500, Change(OPER_REMARK, WAY_ADD, 961, FormatValues(cards)));
}

// The starting database: three rows the service already knows, then pending local
// edits of every kind the scenario covers.
class StartingDb {
public:
    StartingDb() : store_(StorePaths{dir_.path() + "user/", "/nonexistent/doz2a_v3.db"}) {
        EXPECT_EQ(store_.EnsureUserDb("tester"), 0);
        ContactStore contacts(store_);
        MatterStore matters(store_);

        CardGroup clients;
        clients.group_name = "Clients";
        EXPECT_EQ(contacts.AddGroup(clients), StoreStatus::kOk);
        BusinessCard wang = Contact("Wang", "Acme");
        wang.group_id = clients.group_id;
        EXPECT_EQ(contacts.AddContact(wang), StoreStatus::kOk);
        TalEvent fair;
        fair.description = "Fair";
        fair.start_time = 1690000000;
        fair.end_time = 1690003600;
        EXPECT_EQ(matters.AddMatter(fair), StoreStatus::kOk);
        MarkKnown(clients.group_id, wang.bc_id, fair.event_id);
        fair_ = fair;
        fair_.server_id = kFairId;

        BusinessCard li = Contact("Li", "Li & Sons");
        li.group_id = clients.group_id;
        li.bank_accounts = {Account("ICBC", "6222-0001"), Account("CCB", "6227-0002")};
        EXPECT_EQ(contacts.AddContact(li), StoreStatus::kOk);
        wang.bc_server_id = kWangId;
        wang.server_group_id = kClientsId;
        wang.company_name = "Local Co";
        wang.bank_accounts = {Account("ABC", "6228-0003")};
        EXPECT_EQ(contacts.ModifyContact(wang), StoreStatus::kOk);
        CardGroup friends;
        friends.group_name = "Friends";
        EXPECT_EQ(contacts.AddGroup(friends), StoreStatus::kOk);
        clients.server_id = kClientsId;
        clients.group_name = "Customers";
        EXPECT_EQ(contacts.ModifyGroup(clients), StoreStatus::kOk);
        EventGroup travel;
        travel.group_name = "Travel";
        EXPECT_EQ(matters.AddMatterGroup(travel), StoreStatus::kOk);
        TalEvent trip;
        trip.description = "Trip to Hangzhou";
        trip.start_time = 1710000000;
        trip.end_time = 1710086400;
        trip.group_id = travel.group_id;
        EXPECT_EQ(matters.AddMatter(trip), StoreStatus::kOk);
        EventComment tickets;
        tickets.c_content = "Book tickets";
        tickets.event_id = trip.event_id;
        EXPECT_EQ(matters.AddRemark(tickets), StoreStatus::kOk);

        const auto id = [](int v) { return std::to_string(v); };
        typed_ = {
            {"SELECT company_name FROM tb_bc WHERE bc_id=" + id(li.bc_id), "Li & Sons"},
            {"SELECT company_name FROM tb_bc WHERE bc_id=" + id(wang.bc_id), "Local Co"},
            {"SELECT group_concat(ubank_card) FROM tb_ubank_info WHERE bc_id=" + id(li.bc_id), "6222-0001,6227-0002"},
            {"SELECT group_concat(ubank_card) FROM tb_ubank_info WHERE bc_id=" + id(wang.bc_id), "6228-0003"},
            {"SELECT group_name FROM tb_bc_group WHERE group_id=" + id(friends.group_id), "Friends"},
            {"SELECT group_name FROM tb_bc_group WHERE group_id=" + id(clients.group_id), "Customers"},
            {"SELECT group_name FROM tb_event_group WHERE group_id=" + id(travel.group_id), "Travel"},
            {"SELECT description FROM tb_event WHERE event_id=" + id(trip.event_id), "Trip to Hangzhou"},
            {"SELECT c_content FROM tb_event_comment WHERE comment_id=" + id(tickets.comment_id), "Book tickets"},
        };
    }

    std::string file() { return store_.userDbPath(); }
    const std::vector<Typed>& typed() const { return typed_; }
    // The edit the user makes between the two runs.
    TalEvent movedFair() const {
        TalEvent moved = fair_;
        moved.description = "Fair, moved to May";
        return moved;
    }

private:
    // The service holds these rows and their entries; the last sync was at kStartTime.
    void MarkKnown(int clientsId, int wangId, int fairId) {
        SqliteDb db;
        ASSERT_EQ(db.open(store_.userDbPath()), SQLITE_OK);
        const auto exec = [&](const std::string& sql, const SqlArgs& args) {
            EXPECT_EQ(db.execute(sql, args), SQLITE_OK) << sql;
        };
        exec("UPDATE tb_bc_group SET server_id=? WHERE group_id=?", {Arg(kClientsId), Arg(clientsId)});
        exec("UPDATE tb_bc SET bc_server_id=?,server_group_id=? WHERE bc_id=?",
             {Arg(kWangId), Arg(kClientsId), Arg(wangId)});
        exec("UPDATE tb_event SET server_id=? WHERE event_id=?", {Arg(kFairId), Arg(fairId)});
        exec(
            "UPDATE tb_sync_record SET sync_state=3,s_server_id=CASE oper_code WHEN ? THEN ? WHEN ? THEN ? "
            "ELSE ? END",
            {Arg(OPER_CONTACT_GROUP), Arg(kClientsId), Arg(OPER_CONTACT), Arg(kWangId), Arg(kFairId)});
        exec("UPDATE tb_sync_time SET tal_sync_time=?", {Arg(kStartTime)});
    }

    test::TempDir dir_;
    LocalStore store_;
    TalEvent fair_;
    std::vector<Typed> typed_;
};

// ---- looking at a database --------------------------------------------------------

ResultTable Query(const std::string& file, const std::string& sql) {
    SqliteDb db;
    EXPECT_EQ(db.open(file), SQLITE_OK);
    ResultTable t;
    EXPECT_EQ(db.query(sql, t), SQLITE_OK) << sql;
    return t;
}

std::string Scalar(const std::string& file, const std::string& sql) {
    const ResultTable t = Query(file, sql);
    return t.empty() ? std::string() : t.text(0, 0);
}

std::vector<std::string> Rows(const std::string& file, const std::string& sql) {
    const ResultTable t = Query(file, sql);
    std::vector<std::string> rows;
    for (int r = 0; r < t.rows(); ++r) {
        std::string row;
        for (int c = 0; c < t.cols(); ++c) row += (c ? "|" : "") + t.text(r, c);
        rows.push_back(row);
    }
    return rows;
}

// What a run must bring about. The entries' oper_time only stamps when an edit was
// logged, and sync_id is a counter, so neither is compared.
const char* const kComparedTables[] = {
    "SELECT * FROM tb_bc ORDER BY bc_id",
    "SELECT * FROM tb_ubank_info ORDER BY ubank_id",
    "SELECT * FROM tb_bc_group ORDER BY group_id",
    "SELECT * FROM tb_event_group ORDER BY group_id",
    "SELECT * FROM tb_event ORDER BY event_id",
    "SELECT * FROM tb_event_comment ORDER BY comment_id",
    "SELECT oper_code,oper_ways,s_row_id,s_values,sync_state,s_server_id,main_tab FROM tb_sync_record "
    "ORDER BY oper_code,s_row_id",
    "SELECT tal_sync_time FROM tb_sync_time",
};

using TableDump = std::vector<std::vector<std::string>>;

TableDump Dump(const std::string& file) {
    TableDump dump;
    for (const char* sql : kComparedTables) dump.push_back(Rows(file, sql));
    return dump;
}

// Names the rows that differ, table by table.
void ExpectSameTables(const TableDump& after, const TableDump& expected) {
    for (std::size_t t = 0; t < after.size(); ++t) {
        if (after[t] == expected[t]) continue;
        std::string diff;
        for (const std::string& row : after[t])
            if (std::find(expected[t].begin(), expected[t].end(), row) == expected[t].end()) diff += "\n  + " + row;
        for (const std::string& row : expected[t])
            if (std::find(after[t].begin(), after[t].end(), row) == after[t].end()) diff += "\n  - " + row;
        ADD_FAILURE() << kComparedTables[t] << diff;
    }
}

int SyncTime(const std::string& file) { return std::stoi(Scalar(file, "SELECT tal_sync_time FROM tb_sync_time")); }

std::set<std::string> PendingIds(const std::string& file) {
    const std::vector<std::string> ids = Rows(file, "SELECT sync_id FROM tb_sync_record WHERE sync_state=0");
    return {ids.begin(), ids.end()};
}

// Nothing the user typed is gone, and every entry is either waiting or acknowledged
// with the server id its row now carries.
void ExpectNothingLost(const std::string& file, const std::vector<Typed>& typed) {
    for (const Typed& t : typed) EXPECT_EQ(Scalar(file, t.sql), t.text) << t.sql;
    EXPECT_EQ(Scalar(file,
                     "SELECT count(*) FROM tb_sync_record WHERE NOT (sync_state=0 OR "
                     "(sync_state=3 AND s_server_id>0))"),
              "0");
    struct Kind {
        int code;
        const char* table;
        const char* idColumn;
        const char* serverIdColumn;
    };
    for (const Kind& k :
         {Kind{OPER_CONTACT, "tb_bc", "bc_id", "bc_server_id"}, Kind{OPER_MATTER, "tb_event", "event_id", "server_id"},
          Kind{OPER_REMARK, "tb_event_comment", "comment_id", "server_id"},
          Kind{OPER_CONTACT_GROUP, "tb_bc_group", "group_id", "server_id"},
          Kind{OPER_MATTER_GROUP, "tb_event_group", "group_id", "server_id"},
          Kind{OPER_BANK_ACCOUNT, "tb_ubank_info", "ubank_id", "server_id"}}) {
        const std::string sql = std::string("SELECT count(*) FROM tb_sync_record e JOIN ") + k.table + " r ON r." +
                                k.idColumn + "=e.s_row_id WHERE e.oper_code=" + std::to_string(k.code) +
                                " AND e.sync_state=3 AND r." + k.serverIdColumn + "<>e.s_server_id";
        EXPECT_EQ(Scalar(file, sql), "0") << k.table << ": acknowledged, but the row lacks its server id";
    }
}

// ---- running it -------------------------------------------------------------------

// One copy of the starting database with the service and the transport of one case.
class ScenarioRun {
public:
    explicit ScenarioRun(StartingDb& start) : feed_(service_), store_(StorePaths{dir_.path() + "user/", ""}) {
        std::filesystem::copy_file(start.file(), dir_.path() + "user/tester.db");
        EXPECT_EQ(store_.EnsureUserDb("tester"), 0);
        config_.apiUrl = service_.url();
        NetUtil::Limits limits;
        limits.connectTimeoutMs = 2000;
        // A silent service is given up on after about a second. The rate is high because
        // curl averages over the last seconds, in which the request itself went out.
        limits.lowSpeedBytesPerSecond = 100000;
        limits.lowSpeedSeconds = 1;
        net_.setLimits(limits);
        PublishFirstBatch(feed_);
        feed_.setClock(kFirstClock);
    }

    test::SyncFeed& feed() { return feed_; }
    LocalStore& store() { return store_; }
    // The clean run after a fault gets the program's own patience: on a slow (sanitizer)
    // build the service may still be busy finishing a huge broken reply for a second.
    void useDefaultLimits() { net_.setLimits(NetUtil::Limits{}); }
    std::string file() { return store_.userDbPath(); }

    JobContext context(test::PostLog& posts) {
        JobContext ctx{net_, store_, LoginUser::Instance(), config_, nullptr, dir_.path() + "dl/", nullptr};
        ctx.post = [&posts](unsigned m, std::intptr_t w, std::intptr_t l) { posts.add({m, w, l}); };
        return ctx;
    }

    // Runs one sync and returns the result it posted.
    std::intptr_t sync(const SyncStepHook& hook = {}) {
        test::PostLog posts;
        JobContext ctx = context(posts);
        runSync(ctx, hook);
        const std::vector<std::intptr_t> codes = posts.codes(WM_RES_SYNC);
        EXPECT_EQ(codes.size(), 1u);
        return codes.empty() ? 0 : codes.front();
    }

    // The two runs of the scenario with the user's edit and the service's second batch
    // in between. `eachRun` sees the run number and what it did.
    void scenario(const std::function<void(std::size_t run, std::intptr_t result, int timeBefore,
                                           const std::set<std::string>& pendingBefore)>& eachRun,
                  StartingDb& start) {
        for (std::size_t run = 0; run < 2; ++run) {
            if (run == 1) {
                EXPECT_EQ(MatterStore(store_).ModifyMatter(start.movedFair()), StoreStatus::kOk);
                PublishSecondBatch(feed_);
                feed_.setClock(kSecondClock);
            }
            const int timeBefore = SyncTime(file());
            const std::set<std::string> pendingBefore = PendingIds(file());
            const std::intptr_t result = sync();
            EXPECT_EQ(Scalar(file(), "SELECT count(*) FROM tb_sync_record WHERE sync_state=2"), "0");
            EXPECT_EQ(Scalar(file(), "SELECT count(*) FROM tb_sync_record_tmp"), "0");
            eachRun(run, result, timeBefore, pendingBefore);
        }
    }

private:
    test::TempDir dir_;
    test::ScriptedService service_;
    test::SyncFeed feed_;
    test::ProbedNet net_;
    LocalStore store_;
    ServiceConfig config_;
};

// ---- the faults -------------------------------------------------------------------

// A reply of about 50 MB: bytes that are no JSON at all, or a receive reply whose
// first entry's content goes on and on and is never closed. (A reply of 50 MB of
// small entries works too, but the JSON tree built before the end is found takes
// some 800 MB, too much for a test run beside others.)
const std::string& HugeGarbage() {
    static const std::string garbage = [] {
        std::string s(50u << 20, '\0');
        std::mt19937 random(7);
        for (char& c : s) c = static_cast<char>(random() % 255 + 1);
        return s;
    }();
    return garbage;
}

const std::string& HugeUnfinishedJson() {
    static const std::string json = [] {
        std::string s = R"({"error":"0","time":"2000","opers":[{"oper_id":"1","main":"1","time":"1500",)"
                        R"("oper_ways":"1","id":"901","content":"0~麤^Zhou~麤^)";
        s.resize(50u << 20, 'z');
        return s;
    }();
    return json;
}

// The normal reply with its JSON changed by `change`.
Reply Rewritten(const Reply& normal, const std::function<void(Json::Value&)>& change) {
    Json::Value v;
    Json::Reader().parse(normal.body, v);
    change(v);
    return Reply::Ok(Json::FastWriter().write(v));
}

struct Fault {
    const char* name;
    test::SyncFeed::FaultMaker make;
};

const Fault kFaults[] = {
    {"Refused", [](const Reply&) { return Reply::Refuse(); }},
    {"DroppedMidBody", [](const Reply& n) { return Reply::DropMidBody(n.body); }},
    {"Http404", [](const Reply&) { return Reply::Status(404, "<html>not found</html>"); }},
    {"Http500", [](const Reply& n) { return Reply::Status(500, n.body); }},
    {"EmptyBody", [](const Reply&) { return Reply::Ok(""); }},
    {"NotJson", [](const Reply&) { return Reply::Ok("<html>502 Bad Gateway</html>"); }},
    {"BrokenJson", [](const Reply&) { return Reply::Ok(R"({"error":"0" "opers":[] "time":"2000"})"); }},
    {"ErrorOfWrongType", [](const Reply& n) { return Rewritten(n, [](Json::Value& v) { v["error"] = 0; }); }},
    {"ListOfWrongType",
     [](const Reply& n) {
         return Rewritten(n, [](Json::Value& v) {
             for (const std::string& name : v.getMemberNames())
                 if (v[name].isArray()) v[name] = Json::Value(Json::objectValue);
         });
     }},
    {"Nested2000Deep",
     [](const Reply&) {
         return Reply::Ok(R"({"error":"0","time":"2000","opers":)" + std::string(2000, '[') + std::string(2000, ']') +
                          "}");
     }},
    {"CutShortWithoutLength", [](const Reply& n) { return Reply::CutShortNoLength(n.body); }},
    {"Huge50MbGarbage", [](const Reply&) { return Reply::Ok(HugeGarbage()); }},
    {"Huge50MbUnfinishedJson", [](const Reply&) { return Reply::Ok(HugeUnfinishedJson()); }},
    {"Hangs", [](const Reply& n) { return Reply::Hang(std::chrono::milliseconds(5000), n.body); }},
};

// ---- the tests ----------------------------------------------------------------------

class SyncFaults : public ::testing::TestWithParam<std::tuple<std::size_t, Fault>> {
protected:
    static void SetUpTestSuite() {
        test::SignInSyncUser();
        start_ = new StartingDb();
        ScenarioRun clean(*start_);
        clean.scenario(
            [](std::size_t, std::intptr_t result, int, const std::set<std::string>&) { EXPECT_EQ(result, 0); },
            *start_);
        EXPECT_EQ(clean.sync(), 0);
        final_ = new TableDump(Dump(clean.file()));
    }
    static void TearDownTestSuite() {
        delete start_;
        delete final_;
    }

    static StartingDb* start_;
    static TableDump* final_;
};

StartingDb* SyncFaults::start_ = nullptr;
TableDump* SyncFaults::final_ = nullptr;

TEST_F(SyncFaults, RunWithoutFaultsSettlesEverything) {
    ASSERT_NE(final_, nullptr);
    EXPECT_EQ(final_->back(), std::vector<std::string>{std::to_string(kSecondClock)});
    ScenarioRun check(*start_);
    check.scenario([](std::size_t, std::intptr_t, int, const std::set<std::string>&) {}, *start_);
    const std::string f = check.file();
    EXPECT_EQ(Scalar(f, "SELECT count(*) FROM tb_sync_record WHERE sync_state<>3"), "0");
    // Both versions of Wang survive; Zhou and his account arrived with the second
    // batch's edit; the colliding group edit went up, the colliding one came not down.
    EXPECT_EQ(Rows(f, "SELECT bc_name||'/'||company_name||'/'||bc_server_id FROM tb_bc ORDER BY bc_id"),
              (std::vector<std::string>{"Wang/Local Co/1000001", "Li/Li & Sons/1000002", "Zhou/Zhou Trading/901",
                                        "Wang/Server Co/500"}));
    EXPECT_EQ(Scalar(f, "SELECT b.bc_name FROM tb_ubank_info a JOIN tb_bc b ON a.bc_id=b.bc_id WHERE a.server_id=920"),
              "Zhou");
    EXPECT_EQ(Scalar(f, "SELECT group_name FROM tb_bc_group WHERE server_id=300"), "Customers");
    EXPECT_EQ(Rows(f,
                   "SELECT c.c_content FROM tb_event_comment c JOIN tb_event e ON c.event_id=e.event_id "
                   "WHERE e.server_id=950 ORDER BY c.comment_id"),
              (std::vector<std::string>{"Stand 12", "Bring cards"}));
    EXPECT_EQ(Scalar(f, "SELECT description FROM tb_event WHERE server_id=600"), "Fair, moved to May");
    EXPECT_EQ(Dump(f), *final_);
}

TEST_P(SyncFaults, NothingIsLostAndTheNextCleanRunCatchesUp) {
    const auto& [failing, fault] = GetParam();
    ScenarioRun run(*start_);
    run.feed().failRequest(failing, fault.make);

    run.scenario(
        [&](std::size_t n, std::intptr_t result, int timeBefore, const std::set<std::string>& pendingBefore) {
            if (n != failing / 2) return;
            EXPECT_NE(result, 0) << "a broken reply reported as success";
            EXPECT_EQ(SyncTime(run.file()), timeBefore);
            const std::set<std::string> pendingAfter = PendingIds(run.file());
            EXPECT_TRUE(
                std::includes(pendingAfter.begin(), pendingAfter.end(), pendingBefore.begin(), pendingBefore.end()))
                << "an entry was acknowledged by a failed run";
            ExpectNothingLost(run.file(), start_->typed());
        },
        *start_);

    run.useDefaultLimits();
    EXPECT_EQ(run.sync(), 0);
    ExpectSameTables(Dump(run.file()), *final_);
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<std::size_t, Fault>>& info) {
    static const char* const kRequests[] = {"FirstReceive", "FirstSend", "SecondReceive", "SecondSend"};
    return std::string(kRequests[std::get<0>(info.param)]) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(EveryRequestEveryFault, SyncFaults,
                         ::testing::Combine(::testing::Range<std::size_t>(0, kScenarioRequests),
                                            ::testing::ValuesIn(kFaults)),
                         CaseName);

// ---- the store fault loop ------------------------------------------------------------

// The fault seam of the database layer, walked over one scenario: the scenario's own
// store calls are counted, the user's edits in between are not (a failed edit is
// reported to the user at once and is not what this loop is after).
class StoreFaultWalk {
public:
    explicit StoreFaultWalk(long failing) : failing_(failing) { FailNthSqliteCall(failing); }
    ~StoreFaultWalk() { FailNthSqliteCall(0); }

    template <class Edit>
    void withoutFaults(Edit edit) {
        const long used = SqliteCallsSinceArmed();
        hit_ = hit_ || SqliteFaultHit();
        FailNthSqliteCall(0);
        edit();
        if (!hit_) {
            failing_ -= used;
            FailNthSqliteCall(failing_);
        }
    }
    bool hit() const { return hit_ || SqliteFaultHit(); }

private:
    long failing_;
    bool hit_ = false;
};

// The tables as the store fault walk compares them. The reminder's entry is checked on
// its own (a failed commit is reported, not retried here). An entry whose
// acknowledgement could not be stored goes up again as the add it was, and a deferred
// edit replayed before its acknowledgement is logged as one (the service answers a
// resent add with the id it gave the first time), so how an entry was logged may
// differ from a walk without faults; which row it is for, whether it is settled and its
// server id may not, and the rows themselves are compared whole.
TableDump DumpForStoreFaults(const std::string& file) {
    TableDump dump = Dump(file);
    dump[6] = Rows(file,
                   "SELECT oper_code,s_row_id,sync_state,s_server_id,main_tab FROM tb_sync_record "
                   "WHERE oper_code<>5 ORDER BY oper_code,s_row_id");
    return dump;
}

// No received row was written twice: server ids are unique in every table.
void ExpectNothingTwice(const std::string& file) {
    for (const auto& [table, column] : {std::pair{"tb_bc", "bc_server_id"},
                                        {"tb_ubank_info", "server_id"},
                                        {"tb_bc_group", "server_id"},
                                        {"tb_event_group", "server_id"},
                                        {"tb_event", "server_id"},
                                        {"tb_event_comment", "server_id"},
                                        {"tb_event_alarm", "server_id"}}) {
        EXPECT_EQ(Scalar(file, std::string("SELECT count(*) FROM (SELECT 1 FROM ") + table + " WHERE " + column +
                                   ">0 GROUP BY " + column + " HAVING count(*)>1)"),
                  "0")
            << table;
    }
}

class StoreFaults : public ::testing::Test {
protected:
    static constexpr int kTripId = 2;  // the second matter of the starting database

    static void SetUpTestSuite() { test::SignInSyncUser(); }

    // The two runs of the scenario, with an edit deferred behind the first upload (the
    // trip pinned: a row without children, whose parent ids a replay before or after
    // the acknowledgement would fill alike) and,
    // between the runs, the user's matter edit and a reminder committed at once.
    // Returns the reminder commit's result.
    static int Scenario(ScenarioRun& run, StartingDb& start, StoreFaultWalk* walk) {
        const auto userEdit = [walk](const std::function<void()>& edit) {
            if (walk) walk->withoutFaults(edit);
            else edit();
        };
        bool typed = false;
        const SyncStepHook hook = [&](SyncStep step) {
            if (step != SyncStep::kUploaded || typed) return;
            typed = true;
            userEdit([&] {
                TalEvent trip;
                ASSERT_EQ(MatterStore(run.store()).MatterById(kTripId, trip), 0);
                trip.place_top = 1;
                EXPECT_EQ(MatterStore(run.store()).ModifyMatter(trip), StoreStatus::kOk);
            });
        };
        run.sync(hook);
        userEdit([&] { EXPECT_EQ(MatterStore(run.store()).ModifyMatter(start.movedFair()), StoreStatus::kOk); });
        PublishSecondBatch(run.feed());
        run.feed().setClock(kSecondClock);
        test::PostLog posts;
        JobContext ctx = run.context(posts);
        EventAlarm reminder;
        reminder.a_content = "Call the organisers";
        reminder.event_id = 1;
        reminder.alarm_time = 1700000000;
        const int committed = commitReminderAdd(ctx, reminder);
        run.sync(hook);
        return committed;
    }

    static void SetUpFinal() {
        if (final_) return;
        start_ = new StartingDb();
        ScenarioRun clean(*start_);
        EXPECT_EQ(Scenario(clean, *start_, nullptr), 0);
        EXPECT_EQ(clean.sync(), 0);
        final_ = new TableDump(DumpForStoreFaults(clean.file()));
    }
    static void TearDownTestSuite() {
        delete start_;
        delete final_;
        start_ = nullptr;
        final_ = nullptr;
    }

    static StartingDb* start_;
    static TableDump* final_;
};

StartingDb* StoreFaults::start_ = nullptr;
TableDump* StoreFaults::final_ = nullptr;

// Fails the i-th store call of the scenario for every i until a scenario meets no
// fault. After each: the file is sound, nothing typed is lost or applied twice, and one
// clean run reaches the tables of the scenario without faults.
TEST_F(StoreFaults, EveryStoreCallFailingInTurnLosesNothing) {
    SetUpFinal();
    ASSERT_NE(final_, nullptr);
    long failing = 1;
    for (;; ++failing) {
        SCOPED_TRACE("store call " + std::to_string(failing));
        ScenarioRun run(*start_);
        int committed = 0;
        bool hit = false;
        {
            StoreFaultWalk walk(failing);
            committed = Scenario(run, *start_, &walk);
            hit = walk.hit();
        }
        const std::string f = run.file();
        EXPECT_EQ(Scalar(f, "PRAGMA integrity_check"), "ok");
        ExpectNothingLost(f, start_->typed());
        ExpectNothingTwice(f);
        EXPECT_EQ(run.sync(), 0);
        EXPECT_EQ(Scalar(f, "SELECT count(*) FROM tb_sync_record WHERE sync_state=2"), "0");
        EXPECT_EQ(Scalar(f, "SELECT count(*) FROM tb_sync_record_tmp"), "0");
        EXPECT_EQ(Scalar(f, "SELECT place_top FROM tb_event WHERE event_id=" + std::to_string(kTripId)), "1");
        // A commit that said so stored its reminder; one that failed stored it at most once.
        const std::string reminders = Scalar(f, "SELECT count(*) FROM tb_event_alarm");
        if (committed == 0) EXPECT_EQ(reminders, "1");
        else EXPECT_NE(reminders, "2");
        ExpectSameTables(DumpForStoreFaults(f), *final_);
        if (!hit || HasFailure()) break;
    }
    std::printf("store fault loop: %ld store calls failed in turn\n", failing - 1);
}

}  // namespace
}  // namespace kivtal
