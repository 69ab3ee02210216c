// A sync run that receives 10,000 contact adds and uploads 1,000 pending contacts,
// against the loopback sync service, with each of its steps timed on its own:
// receive parse, merge, reading and marking the pending entries, upload encoding,
// acknowledgements and apply. Every timed iteration starts from a fresh copy of the
// same database.
//
// "peak_rss_MB" is the process's peak resident set size (getrusage), which includes
// the in-process service, its copy of the replies and the benchmark's own fixtures.
// The "/1" variants add indexes on the looked-up columns to the copy, to show what
// they would buy; the program's schema has none.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/ChangeListCodec.h"
#include "net/ReplyParsers.h"
#include "net/SyncMerge.h"
#include "net/SyncRun.h"
#include "store/ChangeLog.h"
#include "store/ContactStore.h"
#include "store/ServerChanges.h"
#include "support/JobHarness.h"
#include "support/SyncScenario.h"
#include "support/SyncUser.h"
#include "support/TempDir.h"

namespace kivtal {
namespace {

constexpr int kReceived = 10000;
constexpr int kPending = 1000;
constexpr int kLastSync = 1000;

const char* const kIndexes =
    "CREATE INDEX IF NOT EXISTS sync_record_row ON tb_sync_record(s_row_id,oper_code);"
    "CREATE INDEX IF NOT EXISTS bc_server ON tb_bc(bc_server_id);"
    "CREATE INDEX IF NOT EXISTS bc_group_server ON tb_bc_group(server_id);";

BusinessCard Card(const std::string& name, int n) {
    BusinessCard c;
    c.bc_name = name + std::to_string(n);
    c.bc_name_pinyin = c.bc_name;
    c.company_name = "Company " + std::to_string(n % 97);
    c.cell_phone = "138" + std::to_string(10000000 + n);
    c.mail = c.bc_name + "@example.com";
    c.hobby = "tea, chess";
    return c;
}

// A user database with kPending contacts waiting to go up, and a service whose feed
// holds kReceived contacts added elsewhere.
class World {
public:
    World() : feed_(service_) {
        test::SignInSyncUser();
        LocalStore store(StorePaths{template_.path(), ""});
        store.EnsureUserDb("bench");
        {
            StoreSession s = store.OpenUserDb();
            SqliteTransaction tx(s.db());
            for (int i = 0; i < kPending; ++i) {
                BusinessCard c = Card("Local", i);
                InsertContact(s.db(), c);
            }
            s.db().execute("UPDATE tb_sync_time SET tal_sync_time=1000;");
            tx.commit();
        }
        templateFile_ = store.userDbPath();
        for (int i = 0; i < kReceived; ++i) {
            SyncRecord c;
            c.oper_code = OPER_CONTACT;
            c.oper_ways = WAY_ADD;
            c.main_tab = 1;
            c.s_server_id = 500000 + i;
            c.s_values = FormatValues(Card("Remote", i));
            feed_.publish(1500, c);
        }
        feed_.setClock(2000);
        config_.apiUrl = service_.url();
    }

    // A fresh copy of the starting database, with the indexes when asked.
    std::unique_ptr<LocalStore> freshStore(bool withIndexes) {
        copies_ = std::make_unique<test::TempDir>();
        std::filesystem::copy_file(templateFile_, copies_->path() + "bench.db");
        auto store = std::make_unique<LocalStore>(StorePaths{copies_->path(), ""});
        store->EnsureUserDb("bench");
        if (withIndexes) store->OpenUserDb().db().execute(kIndexes);
        return store;
    }

    JobContext context(LocalStore& store) {
        return JobContext{net_, store, LoginUser::Instance(), config_, nullptr, copies_->path(), nullptr};
    }
    std::string receiveReply() const { return feed_.receiveReply(kLastSync); }

private:
    test::TempDir template_;
    std::string templateFile_;
    test::ScriptedService service_;
    test::SyncFeed feed_;
    test::ProbedNet net_;
    ServiceConfig config_;
    std::unique_ptr<test::TempDir> copies_;
};

World& TheWorld() {
    static World world;
    return world;
}

void ReportPeakRss(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// What the run reads before it uploads: the received list and the pending entries.
struct Lists {
    SyncRecordList server, local, dropped;
};

Lists ReadLists(LocalStore& store) {
    Lists l;
    ParseReceiveReply(TheWorld().receiveReply(), l.server);
    ChangeLog(store).PendingEntries(l.local);
    return l;
}

// The acknowledgements the service gives for the pending contacts.
SyncRecordList Results(const SyncRecordList& local) {
    SyncRecordList results;
    for (const SyncRecord& e : local) {
        SyncRecord r;
        r.oper_code = e.oper_code;
        r.s_row_id = e.s_row_id;
        r.s_server_id = test::SyncFeed::ResultId(e.oper_code, e.s_row_id, e.oper_ways, e.s_server_id);
        r.sync_state = SYNC_DONE;
        results.push_back(r);
    }
    return results;
}

void BM_SyncRun(benchmark::State& state) {
    World& world = TheWorld();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LocalStore> store = world.freshStore(state.range(0) != 0);
        JobContext ctx = world.context(*store);
        state.ResumeTiming();
        if (runSync(ctx) != 0) state.SkipWithError("the run failed");
        state.PauseTiming();
        const ResultTable t = [&] {
            ResultTable r;
            store->OpenUserDb().db().query(
                "SELECT count(*),(SELECT count(*) FROM tb_sync_record WHERE sync_state=3) FROM tb_bc", r);
            return r;
        }();
        if (t.integer(0, 0) != kReceived + kPending || t.integer(0, 1) != kPending)
            state.SkipWithError("the run did not receive and acknowledge everything");
        state.ResumeTiming();
    }
    ReportPeakRss(state);
}
BENCHMARK(BM_SyncRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ReceiveParse(benchmark::State& state) {
    const std::string reply = TheWorld().receiveReply();
    for (auto _ : state) {
        SyncRecordList server;
        benchmark::DoNotOptimize(ParseReceiveReply(reply, server));
    }
    state.counters["reply_MB"] = static_cast<double>(reply.size()) / (1 << 20);
}
BENCHMARK(BM_ReceiveParse)->Unit(benchmark::kMillisecond);

void BM_ReadAndMarkPending(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LocalStore> store = TheWorld().freshStore(false);
        state.ResumeTiming();
        ChangeLog log(*store);
        SyncRecordList local;
        log.PendingEntries(local);
        log.MarkSending(local);
    }
}
BENCHMARK(BM_ReadAndMarkPending)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Merge(benchmark::State& state) {
    std::unique_ptr<LocalStore> store = TheWorld().freshStore(false);
    const Lists lists = ReadLists(*store);
    for (auto _ : state) {
        state.PauseTiming();
        Lists l = lists;
        state.ResumeTiming();
        mergeChanges(l.local, l.server, l.dropped);
    }
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond);

void BM_UploadEncode(benchmark::State& state) {
    std::unique_ptr<LocalStore> store = TheWorld().freshStore(false);
    const Lists lists = ReadLists(*store);
    for (auto _ : state) benchmark::DoNotOptimize(EncodeChangeList(lists.local));
}
BENCHMARK(BM_UploadEncode)->Unit(benchmark::kMillisecond);

void BM_Acknowledge(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LocalStore> store = TheWorld().freshStore(state.range(0) != 0);
        const SyncRecordList results = Results(ReadLists(*store).local);
        state.ResumeTiming();
        if (ChangeLog(*store).AcknowledgeResults(results) != 0) state.SkipWithError("not stored");
    }
}
BENCHMARK(BM_Acknowledge)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Apply(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<LocalStore> store = TheWorld().freshStore(state.range(0) != 0);
        const SyncRecordList server = ReadLists(*store).server;
        state.ResumeTiming();
        if (applyServerChanges(*store, server, 2000) != 0) state.SkipWithError("not stored");
    }
}
BENCHMARK(BM_Apply)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace kivtal

BENCHMARK_MAIN();
