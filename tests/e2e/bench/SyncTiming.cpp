// Times a large sync end to end and prints the figures: 10,000 contacts, each with a
// bank account, uploaded by device A and downloaded by a fresh device B through the
// real kivtal-cli and kivtal-service, plus one raw receive of the whole feed.
#include <chrono>
#include <cstdio>
#include <string>

#include "e2e/CoreDevice.h"
#include "e2e/Device.h"
#include "e2e/ServiceProcess.h"
#include "net/ServiceForms.h"
#include "store/ContactStore.h"
#include "store/SqliteDb.h"

namespace kivtal::e2e {
namespace {

constexpr int kContacts = 10000;
constexpr const char* kAccount = "bench";

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Seeding is not what is measured: one transaction instead of one per contact.
bool Seed(LocalStore& store) {
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return false;
    SqliteTransaction tx(session.db());
    for (int i = 0; i < kContacts; ++i) {
        BusinessCard card;
        card.bc_name = "Contact" + std::to_string(i);
        card.bc_name_pinyin = "CONTACT" + std::to_string(i);
        card.company_name = "Company " + std::to_string(i % 97);
        card.cell_phone = "138" + std::to_string(10000000 + i);
        UserBankInfo bank;
        bank.bank_name = "Bank";
        bank.ubank_card = "6222" + std::to_string(100000000 + i);
        card.bank_accounts.push_back(bank);
        if (InsertContact(session.db(), card) != StoreStatus::kOk) return false;
    }
    return tx.commit() == 0;
}

struct Timed {
    double seconds;
    ProcessEnd end;
};

Timed TimedCli(const Device& d, const std::vector<std::string>& args) {
    const auto start = std::chrono::steady_clock::now();
    ChildProcess p = d.spawn(args);
    ProcessEnd end = p.wait();
    return {Seconds(start), end};
}

void Report(const char* what, const Timed& t, double limitSeconds) {
    std::printf("%-34s %7.3f s (limit %.0f s)  peak RSS %6.1f MB (limit 250 MB)  exit %d  %s\n", what, t.seconds,
                limitSeconds, t.end.maxRssKb / 1024.0, t.end.exitCode,
                t.seconds <= limitSeconds && t.end.maxRssKb <= 250 * 1024 && t.end.exitCode == 0 ? "ok" : "MISSED");
}

int Run() {
    kivtal::test::TempDir folder;
    ServiceProcess service(folder.path());
    if (service.op({"--add-account", kAccount, "pw"}) != 0 || !service.start()) return 1;
    Device a("device-A", service.url());
    Device b("device-B", service.url());
    if (a.run({"login", kAccount, "pw"}).exitCode() != 0 || b.run({"login", kAccount, "pw"}).exitCode() != 0) return 1;
    if (!Seed(a.store(kAccount))) return 1;

    const Timed up = TimedCli(a, {"sync"});
    Report("A: upload 10,000 contacts", up, 5);
    const Timed down = TimedCli(b, {"sync"});
    Report("B: download and apply them", down, 5);

    CoreDevice reader("device-C", service.url());
    if (reader.login(kAccount, "pw") != 0) return 1;
    NetUtil net(std::vector<std::string>{"127.0.0.1"});
    std::string reply;
    const auto start = std::chrono::steady_clock::now();
    const int code = net.httpRequest("POST", service.url() + kSyncReceivePath,
                                     SyncReceiveForm(LoginUser::Instance().snapshot(), 0), reply);
    const double receive = Seconds(start);
    std::printf("%-34s %7.3f s (limit 1 s)  %zu bytes, %d contacts + %d bank accounts  %s\n",
                "service: one receive of the feed", receive, reply.size(), kContacts, kContacts,
                code == NetUtil::kOk && receive <= 1.0 ? "ok" : "MISSED");
    return 0;
}

}  // namespace
}  // namespace kivtal::e2e

int main() { return kivtal::e2e::Run(); }
