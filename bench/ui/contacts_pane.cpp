// The main window's contacts pane over a user database of 10,000 contacts in 20 groups:
// prints how long the pane takes to show the list after the window opens (login), to
// apply a letter of the letter bar, to answer a search keystroke and to switch groups,
// and the process's peak memory with the list shown.
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/ui/bench_contacts_pane [contacts]
// Budgets: list shown <= 300 ms, letter and keystroke <= 100 ms, group switch <= 100 ms,
// peak memory <= 150 MB.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "CpuTime.h"
#include "ScratchBook.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/StandardControls.h"

namespace {

using namespace kivtal;

constexpr int kGroups = 20;
const char* const kSurnames[] = {"张", "李", "王", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kSurnamePinyin[] = {"ZHANG", "LI", "WANG", "LIU", "CHEN", "YANG", "ZHAO", "HUANG", "ZHOU", "WU"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "洋", "艳", "勇", "军", "杰"};
const char* const kGivenPinyin[] = {"WEI", "FANG", "NA",  "MIN",  "JING", "QIANG",
                                    "LEI", "YANG", "YAN", "YONG", "JUN",  "JIE"};

long StatusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLong();
    return -1;
}

void Fill(LocalStore& store, int count) {
    ContactStore contacts(store);
    int firstGroup = 0;
    for (int g = 0; g < kGroups; ++g) {
        CardGroup group;
        group.group_name = "组" + std::to_string(g);
        contacts.AddGroup(group);
        if (g == 0) firstGroup = group.group_id;
    }
    StoreSession session = store.OpenUserDb();
    SqliteTransaction tx(session.db());
    for (int i = 0; i < count; ++i) {
        BusinessCard c;
        const int s = i % 10, g1 = (i / 10) % 12, g2 = (i / 120) % 12;
        c.bc_name = std::string(kSurnames[s]) + kGiven[g1] + kGiven[g2];
        c.bc_name_pinyin = std::string(kSurnamePinyin[s]) + kGivenPinyin[g1] + kGivenPinyin[g2];
        if (i % 97 == 0) c.bc_name_pinyin = "3" + c.bc_name_pinyin;
        c.company_name = "公司" + std::to_string(i % 300);
        c.cell_phone = "139" + std::to_string(10000000 + i);
        c.mail = "user" + std::to_string(i) + "@example.com";
        c.position = "经理";
        c.group_id = firstGroup + i % kGroups;
        c.common_use = i % 50 == 0;
        UserBankInfo a;
        a.bank_name = "工商银行";
        a.ubank_card = "6222" + std::to_string(100000000 + i);
        c.bank_accounts.push_back(a);
        InsertContact(session.db(), c);
    }
    tx.commit();
}

using bench::CpuMs;

struct Sample {
    double wall;
    double cpu;
};

// Runs step, then lets the window paint; the time until both are done.
Sample Timed(const std::function<void()>& step, QWidget* window) {
    QElapsedTimer clock;
    clock.start();
    const double cpu = CpuMs();
    step();
    window->repaint();
    QApplication::processEvents();
    return {clock.nsecsElapsed() / 1e6, CpuMs() - cpu};
}

struct Figures {
    std::vector<Sample> ms;
    void Print(const char* what, double budget) {
        std::vector<double> wall, cpu;
        for (const Sample& s : ms) {
            wall.push_back(s.wall);
            cpu.push_back(s.cpu);
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("%-26s wall median %6.1f max %6.1f ms | cpu median %6.1f max %6.1f ms (%zu runs, budget %.0f)\n",
                    what, wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], cpu.back(), ms.size(), budget);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    bench::ScratchBook book;
    LocalStore& store = book.store;
    Fill(store, count);
    PrepareWindows();
    std::printf("contacts: %d in %d groups\n", count, kGroups);

    // Login accepted -> the main window opens and the pane lists everything.
    QElapsedTimer clock;
    clock.start();
    const double cpuAtOpen = CpuMs();
    auto* home = new CHomePage(store);
    home->Create(nullptr, kHomeTitle);
    home->ShowWindow(true);
    while (home->Contacts().Rows().RowCount() < count) QApplication::processEvents();
    home->repaint();
    QApplication::processEvents();
    std::printf("%-26s wall %6.1f ms | cpu %6.1f ms (budget 300)\n", "window open to list shown",
                clock.nsecsElapsed() / 1e6, CpuMs() - cpuAtOpen);

    Figures letters;
    QWidget* bar = home->FindControl("sort_btn_layout");
    for (QAbstractButton* letter : bar->findChildren<QAbstractButton*>())
        if (letter->isEnabled()) letters.ms.push_back(Timed([letter] { letter->click(); }, home));
    letters.Print("letter filter", 100);

    Figures keys;
    auto* search = home->FindControl<QLineEdit>("search_edit");
    search->show();
    for (const char* typed : {"1", "13", "139", "1391", "13910", "公", "公司", "公司1", "user", "user9", "张", "张伟"})
        keys.ms.push_back(Timed([&] { search->setText(QString::fromUtf8(typed)); }, home));
    keys.ms.push_back(Timed([&] { search->clear(); }, home));  // back to everything
    keys.Print("search keystroke", 100);

    Figures groups;
    auto* list = home->FindControl<QListWidget>("table_list");
    for (int row = 1; row < list->count(); ++row) groups.ms.push_back(Timed([&] { list->setCurrentRow(row); }, home));
    groups.ms.push_back(Timed([&] { list->setCurrentRow(0); }, home));
    groups.Print("group switch", 100);

    std::printf("%-34s %7.1f MB  (budget 150 MB)\n", "peak memory (VmHWM)", StatusKb("VmHWM") / 1024.0);
    home->Close(0);
    return 0;
}
