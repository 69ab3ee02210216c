#include "SyncScene.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "store/StorePaths.h"

namespace kivtal::bench {

namespace fs = std::filesystem;

namespace {

const char* const kSurnames[] = {"张", "李", "王", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙", "马", "朱"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "洋", "艳", "勇", "军", "杰", "涛", "明", "霞"};
const char* const kCompanies[] = {"恒泰国际贸易有限公司", "华辰软件股份有限公司", "东方精密机械厂",
                                  "新锐文化传媒有限公司", "长江物流集团"};
const char* const kBanks[] = {"工商银行", "建设银行", "农业银行", "招商银行"};

template <class T, std::size_t N>
const T& Pick(const T (&list)[N], int i) {
    return list[static_cast<std::size_t>(i) % N];
}

// A business contact as people type them in: a Chinese name, a company, phones, an
// address and one bank account.
BusinessCard Contact(int i) {
    BusinessCard c;
    c.bc_name = std::string(Pick(kSurnames, i)) + Pick(kGiven, i / 14) + Pick(kGiven, i / 210);
    c.company_name = Pick(kCompanies, i / 7);
    c.position = i % 3 ? "销售经理" : "采购总监";
    c.cell_phone = "13" + std::to_string(800000000 + i);
    c.fix_phone = "021-6" + std::to_string(2000000 + i % 1000000);
    c.mail = "user" + std::to_string(i) + "@example.com";
    c.addr_c_detail = "上海市浦东新区世纪大道" + std::to_string(i % 500) + "号";
    c.main_tab = 1;
    UserBankInfo bank;
    bank.bank_name = Pick(kBanks, i);
    bank.ubank_branch = "上海分行";
    bank.ubank_card = "6222" + std::to_string(100000000000LL + i);
    bank.ubank_user = c.bc_name;
    c.bank_accounts.push_back(bank);
    return c;
}

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

}  // namespace

SyncScene::SyncScene(Programs programs, fs::path root) : programs_(std::move(programs)), root_(std::move(root)) {}

fs::path SyncScene::folder(Device device) const { return root_ / "live" / (device == Device::kA ? "A" : "B"); }

std::string SyncScene::url() const { return "http://127.0.0.1:" + std::to_string(port_); }

Command SyncScene::cli(Device device, const std::vector<std::string>& args) const {
    Command c;
    c.argv = {programs_.cli};
    c.argv.insert(c.argv.end(), args.begin(), args.end());
    c.env = {"KIVTAL_DATA_DIR=" + folder(device).string() + "/", std::string("KIVTAL_UNIQUE_ID=") + UniqueId(device),
             "KIVTAL_API_URL=" + url(), "KIVTAL_WEB_URL=" + url(), "KIVTAL_PROBE_HOSTS=127.0.0.1"};
    return c;
}

double SyncScene::serviceCpuMs() const {
    if (!service_) return 0;
    std::ifstream in("/proc/" + std::to_string(service_->pid()) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // After the command name in parentheses: state is field 3, utime and stime 14 and 15.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string skip;
    for (int field = 3; field < 14; ++field) fields >> skip;
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool SyncScene::start(std::string& error) {
    // A forked child that reopens its standard output would print what waits in ours again.
    std::fflush(nullptr);
    std::vector<std::string> extra = {"--password-rounds", kPasswordRounds};
    // Later options win: a restarted service keeps the address the devices were given.
    if (port_ != 0) extra.insert(extra.end(), {"--port", std::to_string(port_)});
    service_ = std::make_unique<service::bench::ServiceChild>(programs_.service, fs::path(serviceDb()), extra);
    if (service_->port() == 0) return Fail(error, "the service did not start");
    port_ = service_->port();
    return true;
}

bool SyncScene::prepare(int contacts, std::string& error) {
    for (const char* part : {"service", "A", "B"}) fs::create_directories(root_ / "live" / part);
    RunFigures unused;
    const Command add{{programs_.service, "--db", serviceDb(), "--password-rounds", kPasswordRounds, "--add-account",
                       kAccount, kPassword},
                      {}};
    if (!RunOnce(add, unused, error) || !start(error)) return false;
    for (Device d : {Device::kA, Device::kB}) {
        if (!RunOnce(cli(d, {"login", kAccount, kPassword}), unused, error)) return false;
    }
    double unused_figure = 0;
    return InChild([&](double&, std::string& why) { return seed(contacts, why); }, unused_figure, error);
}

// Seeding is not what is measured: one transaction, through the store's own writes, so
// every contact and account waits in the change log as a typed one would.
bool SyncScene::seed(int contacts, std::string& error) {
    LocalStore store(StorePaths{folder(Device::kA).string() + "/", DefaultRefDbPath()});
    if (store.EnsureUserDb(kAccount) != 0) return Fail(error, "cannot open device A's database");
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return Fail(error, "cannot open device A's database");
    SqliteTransaction tx(session.db());
    for (int i = 0; i < contacts; ++i) {
        BusinessCard card = Contact(i);
        if (InsertContact(session.db(), card) != StoreStatus::kOk) return Fail(error, "cannot seed device A");
    }
    return tx.commit() == 0 || Fail(error, "cannot seed device A");
}

bool SyncScene::copyLive(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code ec;
    fs::remove_all(to, ec);
    fs::create_directories(to.parent_path(), ec);
    fs::copy(from, to, fs::copy_options::recursive, ec);
    return !ec || Fail(error, "cannot copy " + from.string() + ": " + ec.message());
}

bool SyncScene::keep(const std::string& name, std::string& error) {
    stop();
    for (const char* part : {"service", "A", "B"}) {
        if (!copyLive(root_ / "live" / part, kept(name) / part, error)) return false;
    }
    return start(error);
}

bool SyncScene::restore(const std::string& name, std::string& error) {
    stop();
    for (const char* part : {"service", "A", "B"}) {
        if (!copyLive(kept(name) / part, root_ / "live" / part, error)) return false;
    }
    return start(error);
}

}  // namespace kivtal::bench
