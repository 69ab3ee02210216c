// The contacts pane's trash over a user database of 10,000 deleted contacts: prints
// how long choosing 回收站 takes until the trash view lists them all and has painted,
// each of several times (switching back to 全部 in between).
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/ui/bench_trash_view [contacts]
// Budget: trash view shown <= 150 ms.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "CpuTime.h"
#include "ScratchBook.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/main/TrashView.h"
#include "ui/StandardControls.h"

namespace {

using namespace kivtal;

void Fill(LocalStore& store, int count) {
    std::vector<int> ids;
    {
        StoreSession session = store.OpenUserDb();
        SqliteTransaction tx(session.db());
        for (int i = 0; i < count; ++i) {
            BusinessCard c;
            c.bc_name = "联系人" + std::to_string(i);
            c.bc_name_pinyin = "LIANXIREN" + std::to_string(i);
            c.company_name = "公司" + std::to_string(i % 300);
            c.cell_phone = "139" + std::to_string(10000000 + i);
            InsertContact(session.db(), c);
            ids.push_back(c.bc_id);
        }
        tx.commit();
    }
    ContactStore(store).DeleteContacts(ids);
}

using bench::CpuMs;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    bench::ScratchBook book;
    LocalStore& store = book.store;
    Fill(store, count);
    PrepareWindows();
    std::printf("deleted contacts: %d\n", count);

    auto* home = new CHomePage(store);
    home->Create(nullptr, kHomeTitle);
    home->ShowWindow(true);
    auto* groups = home->FindControl<QListWidget>("table_list");
    while (groups == nullptr || groups->count() < 3) {
        QApplication::processEvents();
        groups = home->FindControl<QListWidget>("table_list");
    }

    std::vector<double> wall, cpu;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer clock;
        clock.start();
        const double cpuAt = CpuMs();
        groups->setCurrentRow(groups->count() - 1);
        TrashView* trash = home->Contacts().Trash();
        if (trash == nullptr || static_cast<int>(trash->Records().size()) != count) {
            std::printf("the trash view did not list %d contacts\n", count);
            return 1;
        }
        home->repaint();
        QApplication::processEvents();
        wall.push_back(clock.nsecsElapsed() / 1e6);
        cpu.push_back(CpuMs() - cpuAt);
        groups->setCurrentRow(0);
        QApplication::processEvents();
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-26s wall median %6.1f max %6.1f ms | cpu median %6.1f max %6.1f ms (%zu runs, budget 150)\n",
                "trash view shown", wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], cpu.back(), wall.size());
    home->Close(0);
    return 0;
}
