#include "SyncFloors.h"

#include <chrono>
#include <functional>
#include <span>
#include <vector>

#include "ChangeList.h"
#include "ConnectionPool.h"
#include "ProcessRuns.h"
#include "SyncScene.h"
#include "net/ChangeListCodec.h"
#include "net/Identity.h"
#include "net/LoginUser.h"
#include "net/NetUtil.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "store/ChangeLog.h"
#include "store/ContactStore.h"
#include "store/RecordSql.h"
#include "store/StorePaths.h"

namespace kivtal::bench {

namespace fs = std::filesystem;

namespace {

// The client's upload batches, so that no batch is over what the service takes.
constexpr std::size_t kBatch = 2000;

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

// Each run: `setUp` untimed, then `timed`; the median of the timed parts.
bool MedianMs(int runs, const std::function<bool(std::string&)>& setUp, const std::function<bool(std::string&)>& timed,
              double& ms, std::string& error) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setUp && !setUp(error)) return false;
        const auto start = std::chrono::steady_clock::now();
        if (!timed(error)) return false;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    ms = SpreadOf(times).median;
    return true;
}

std::unique_ptr<LocalStore> OpenDevice(const fs::path& folder) {
    auto store = std::make_unique<LocalStore>(StorePaths{folder.string() + "/", DefaultRefDbPath()});
    store->EnsureUserDb(SyncScene::kAccount);
    return store;
}

bool UploadBatch(const fs::path& deviceA, std::vector<service::Change>& batch, std::string& error) {
    const auto store = OpenDevice(deviceA);
    SyncRecordList pending;
    if (ChangeLog(*store).PendingEntries(pending) != 0) return Fail(error, "cannot read device A's change log");
    for (std::size_t at = 0; at < pending.size(); at += kBatch) {
        const std::span<const SyncRecord> part(pending.data() + at, std::min(kBatch, pending.size() - at));
        const auto decoded = service::DecodeChangeList(EncodeChangeList(SyncRecordList(part.begin(), part.end())));
        if (!decoded) return Fail(error, "the service cannot read device A's change list");
        batch.insert(batch.end(), decoded->begin(), decoded->end());
    }
    return true;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return !ec || Fail(error, "cannot copy " + from.string() + ": " + ec.message());
}

template <class R>
bool InsertRow(SqliteStatement& insert, const R& row) {
    insert.reset();
    return insert.bind(recordsql::ColumnArgs(row, true)) == 0 && insert.step() == 101;  // SQLITE_DONE
}

}  // namespace

bool ServiceInsertMs(const fs::path& keptService, const fs::path& deviceA, int runs, double& ms, std::string& error) {
    std::vector<service::Change> batch;
    if (!UploadBatch(deviceA, batch, error)) return false;
    const fs::path scratch = keptService.parent_path() / "insert-floor.db";
    std::unique_ptr<service::Connection> c;
    std::int64_t account = 0;
    const auto setUp = [&](std::string& why) {
        c.reset();
        if (!CopyFile(keptService / "service.db", scratch, why)) return false;
        c = std::make_unique<service::Connection>(scratch.string());
        const auto found = c->accounts.findByName(SyncScene::kAccount);
        account = found ? found->id : 0;
        return account != 0 || Fail(why, "no account in the kept service database");
    };
    const auto timed = [&](std::string&) {
        service::Transaction tx(c->db);
        c->feed.store(account, SyncScene::UniqueId(SyncScene::Device::kA), batch);
        tx.commit();
        return true;
    };
    const bool ok = MedianMs(runs, setUp, timed, ms, error);
    c.reset();
    fs::remove(scratch);
    return ok;
}

bool ReceiveRequestMs(const std::string& url, int lastSync, int runs, double& ms, std::string& error) {
    NetUtil net(std::vector<std::string>{"127.0.0.1"});
    ServiceConfig config;
    config.apiUrl = url;
    LoginUser user;
    user.update([](LoginUserState& s) {
        s.login_name = SyncScene::kAccount;
        s.password = md5Hex(md5Hex(SyncScene::kPassword));
        s.unique_id = "device-floor";
    });
    std::string reply;
    if (net.httpRequest("POST", ApiUrl(config, kLoginPath), LoginForm(user.snapshot()), reply) != NetUtil::kOk ||
        ParseLoginReply(reply, user) != 0)
        return Fail(error, "the floor's device cannot log in");
    const std::string form = SyncReceiveForm(user.snapshot(), lastSync);
    return MedianMs(
        runs, {},
        [&](std::string& why) {
            std::string received;
            return net.httpRequest("POST", ApiUrl(config, kSyncReceivePath), form, received) == NetUtil::kOk ||
                   Fail(why, "the receive request failed");
        },
        ms, error);
}

bool InsertTransactionMs(const fs::path& deviceA, const fs::path& keptB, int runs, double& ms, std::string& error) {
    BusinessCardList cards;
    {
        const auto a = OpenDevice(deviceA);
        if (ContactStore(*a).AllContacts(cards) != 0) return Fail(error, "cannot read device A's contacts");
    }
    const fs::path scratch = keptB.parent_path() / "insert-floor";
    fs::create_directories(scratch);
    const std::string file = std::string(SyncScene::kAccount) + ".db";
    SqliteDb db;
    const auto setUp = [&](std::string& why) {
        db.close();
        return CopyFile(keptB / file, scratch / file, why) && db.open((scratch / file).string()) == 0;
    };
    const auto timed = [&](std::string& why) {
        SqliteTransaction tx(db);
        SqliteStatement contact(db.raw(), recordsql::InsertSql<BusinessCard>());
        SqliteStatement bank(db.raw(), recordsql::InsertSql<UserBankInfo>());
        for (const BusinessCard& card : cards) {
            if (!InsertRow(contact, card)) return Fail(why, "a contact row was refused");
            const int bcId = static_cast<int>(db.lastInsertId());
            for (UserBankInfo account : card.bank_accounts) {
                account.bc_id = bcId;
                if (!InsertRow(bank, account)) return Fail(why, "a bank account row was refused");
            }
        }
        return tx.commit() == 0 || Fail(why, "the insert did not commit");
    };
    const bool ok = MedianMs(runs, setUp, timed, ms, error);
    db.close();
    fs::remove_all(scratch);
    return ok;
}

}  // namespace kivtal::bench
