// Opening the contact editor for an existing contact in a user database of 10,000
// contacts (20 groups, one bank account each): from the click's call into the editor
// to a shown, initialised window with its first page filled, and then each further
// page the first time it is shown. Prints the figures; a timed program, not a test.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "store/StorePaths.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/StandardControls.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;
constexpr int kGroups = 20;
constexpr int kRuns = 30;

BusinessCard MakeContact(int i, int firstGroupId) {
    static const char* const kSurnames[] = {"张", "李", "王", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
    BusinessCard c;
    c.bc_name = std::string(kSurnames[i % 10]) + "某" + std::to_string(i);
    c.bc_name_pinyin = "MOU" + std::to_string(i);
    c.company_name = "公司" + std::to_string(i % 300);
    c.cell_phone = "139" + std::to_string(10000000 + i);
    c.mail = "user" + std::to_string(i) + "@example.com";
    c.group_id = firstGroupId + i % kGroups;
    c.main_business = "外贸[pig]物流[pig]";
    c.hobby = "读书[pig]旅游[pig]";
    c.relate_contacts = "张三[gx]同学[pig]";
    c.birthday_type = 2;
    c.birthday = "1984-03-05";
    c.business_id = 51;
    c.job_category_id = 3;
    UserBankInfo a;
    a.bank_name = "工商银行";
    a.ubank_card = "6222" + std::to_string(100000000 + i);
    c.bank_accounts.push_back(a);
    return c;
}

void Fill(LocalStore& store) {
    ContactStore contacts(store);
    int firstGroupId = 0;
    for (int g = 0; g < kGroups; ++g) {
        CardGroup group;
        group.group_name = "组" + std::to_string(g);
        contacts.AddGroup(group);
        if (g == 0) firstGroupId = group.group_id;
    }
    StoreSession s = store.OpenUserDb();
    SqliteTransaction tx(s.db());
    for (int i = 0; i < kContacts; ++i) {
        BusinessCard c = MakeContact(i, firstGroupId);
        if (InsertContact(s.db(), c) != StoreStatus::kOk) std::abort();
    }
    if (tx.commit() != 0) std::abort();
}

struct Figures {
    std::vector<double> ms;
    void Print(const char* what) {
        std::sort(ms.begin(), ms.end());
        std::printf("%-34s median %7.1f ms   max %7.1f ms   (%zu runs)\n", what, ms[ms.size() / 2], ms.back(),
                    ms.size());
    }
};

double Elapsed(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

void Run(LocalStore& store) {
    Figures open, business, life, relations;
    for (int run = 0; run < kRuns; ++run) {
        const int id = 1 + (run * 331) % kContacts;
        QElapsedTimer t;
        t.start();
        CAddConnectionDlg* dlg = CAddConnectionDlg::Open(store, nullptr, id, 0);
        if (!dlg) std::abort();
        dlg->ShowWindow(true);
        while (!dlg->Initialised()) QApplication::processEvents();
        QApplication::processEvents();  // the first paint
        open.ms.push_back(Elapsed(t));
        for (auto [page, figures] :
             {std::pair{kBusinessPage, &business}, {kLifePage, &life}, {kRelationsPage, &relations}}) {
            t.restart();
            dlg->OpenPage(page);
            QApplication::processEvents();
            figures->ms.push_back(Elapsed(t));
        }
        dlg->Close(1);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    open.Print("open existing contact (page 0)");
    business.Print("first show of the business page");
    life.Print("first show of the life page");
    relations.Print("first show of the relations page");
}

}  // namespace
}  // namespace kivtal

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivtal::PrepareWindows();
    char pattern[] = "/tmp/kivtal-bench-editor-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    {
        kivtal::LocalStore store(kivtal::StorePaths{dir + "/user", kivtal::DefaultRefDbPath()});
        store.EnsureUserDb("bench");
        kivtal::Fill(store);
        std::printf("%d contacts, %d groups, reference database %s\n", kivtal::kContacts, kivtal::kGroups,
                    kivtal::DefaultRefDbPath().c_str());
        kivtal::Run(store);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
