// The main window's contacts pane over a user database of 10,000 contacts (with a bank
// account each) in 20 groups: prints how long the list takes to show after login (the
// login accepted, the main window made, the list painted) beside its floor (the same
// SELECT and one paint of a list of its rows), how long the pane takes to apply a letter
// of the letter bar, to answer a search keystroke (keystrokes that match every contact
// as well as a mix) and to switch groups, and the process's peak memory with the list
// shown. Each figure is the median and max of several runs after a warm-up.
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/ui/bench_contacts_pane [contacts [runs]]
// (100000 contacts for the memory of the main window over them; the runs default to 7)
// Targets: list shown <= 150 ms, a keystroke matching all <= 16 ms (one frame), letter
// and group switch <= 100 ms.
#include <sqlite3.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "ChineseBook.h"
#include "CpuTime.h"
#include "ScratchBook.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "ui/controls/ListKiv.h"
#include "ui/main/ContactColumns.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/StandardControls.h"

namespace {

using namespace kivtal;

long StatusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLong();
    return -1;
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
    void Print(const char* what, const char* target) const {
        std::vector<double> wall, cpu;
        for (const Sample& s : ms) {
            wall.push_back(s.wall);
            cpu.push_back(s.cpu);
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        std::printf("%-30s wall median %6.1f max %6.1f ms | cpu median %6.1f max %6.1f ms (%zu runs) | target %s\n",
                    what, wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2], cpu.back(), ms.size(), target);
    }
};

// The floor's rows: the texts of the SELECT as they came, turned into QStrings only for
// the rows painted.
class SelectedRows : public ListRows {
public:
    static constexpr int kTexts = 5;
    std::vector<int> ids;
    std::vector<std::array<std::string, kTexts>> texts;

    int RowCount() const override { return static_cast<int>(ids.size()); }
    std::int64_t RowTag(int row) const override { return ids[static_cast<std::size_t>(row)]; }
    QString PartText(int row, const QString& part) const override {
        const QString* parts[kTexts] = {&kNamePart, &kPhonePart, &kMailPart, &kCompanyPart, &kPositionPart};
        for (int i = 0; i < kTexts; ++i)
            if (part == *parts[i]) return QString::fromStdString(texts[static_cast<std::size_t>(row)][i]);
        return {};
    }
};

std::unique_ptr<SelectedRows> SelectListColumns(LocalStore& store) {
    auto rows = std::make_unique<SelectedRows>();
    StoreSession session = store.OpenUserDb();
    SqliteStatement stmt(session.db().raw(),
                         "SELECT bc_id,bc_name,cell_phone,mail,company_name,position FROM tb_bc "
                         "WHERE bc_state=0 ORDER BY bc_name_pinyin,bc_id;");
    while (stmt.ok() && stmt.step() == SQLITE_ROW) {
        rows->ids.push_back(sqlite3_column_int(stmt.raw(), 0));
        auto& texts = rows->texts.emplace_back();
        for (int i = 0; i < SelectedRows::kTexts; ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.raw(), i + 1));
            if (text) texts[static_cast<std::size_t>(i)].assign(text, sqlite3_column_bytes(stmt.raw(), i + 1));
        }
    }
    return rows;
}

// The floor of the list shown after login: the same SELECT, then one paint of a list
// control as large as the main window, with the contact list's row layout.
Sample ListFloor(LocalStore& store, QSize size) {
    QElapsedTimer clock;
    clock.start();
    const double cpu = CpuMs();
    QWidget window;
    window.resize(size);
    auto* list = new ListKiv(&window);
    list->resize(size);
    list->SetRowLayout(ContactRowLayout(kColumnCellPhone | kColumnCompany, size.width()));
    list->SetRows(SelectListColumns(store));
    window.show();
    window.repaint();
    QApplication::processEvents();
    return {clock.nsecsElapsed() / 1e6, CpuMs() - cpu};
}

// Login accepted -> the main window made and shown -> the list of every contact painted.
Sample OpenHome(LocalStore& store, int count, CHomePage*& home) {
    QElapsedTimer clock;
    clock.start();
    const double cpu = CpuMs();
    home = new CHomePage(store);
    home->Create(nullptr, kHomeTitle);
    home->ShowWindow(true);
    while (home->Contacts().Rows().RowCount() < count) QApplication::processEvents();
    home->repaint();
    QApplication::processEvents();
    return {clock.nsecsElapsed() / 1e6, CpuMs() - cpu};
}

void CloseHome(CHomePage* home) {
    home->Close(0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// "@", "@e" ... "@example.com" and back to "@": every contact's e-mail holds each.
std::vector<QString> KeystrokesMatchingAll() {
    const QString typed = QStringLiteral("@example.com");
    std::vector<QString> texts;
    for (int n = 1; n <= typed.size(); ++n) texts.push_back(typed.left(n));
    for (int n = typed.size() - 1; n >= 1; --n) texts.push_back(typed.left(n));
    return texts;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    bench::ScratchBook book;
    LocalStore& store = book.store;
    if (!bench::FillBook(store, count)) return 1;
    PrepareWindows();
    std::printf("contacts: %d in %d groups, a bank account each; peak memory before the window %.1f MB\n", count,
                bench::kBookGroups, StatusKb("VmHWM") / 1024.0);

    // The first of each warms the font and image caches, as the login window has by then.
    CHomePage* home = nullptr;
    Figures shown;
    for (int run = 0; run <= runs; ++run) {
        if (home) CloseHome(home);
        const Sample s = OpenHome(store, count, home);
        if (run > 0) shown.ms.push_back(s);
    }
    const long peakShown = StatusKb("VmHWM");
    Figures floor;
    for (int run = 0; run <= runs; ++run) {
        const Sample s = ListFloor(store, home->size());
        if (run > 0) floor.ms.push_back(s);
    }
    shown.Print("list shown after login", "150 ms");
    floor.Print("floor: SELECT + one paint", "-");

    Figures letters;
    QWidget* bar = home->FindControl("sort_btn_layout");
    for (QAbstractButton* letter : bar->findChildren<QAbstractButton*>())
        if (letter->isEnabled()) letters.ms.push_back(Timed([letter] { letter->click(); }, home));
    letters.Print("letter filter", "100 ms");

    auto* search = home->FindControl<QLineEdit>("search_edit");
    search->show();
    Figures all;
    for (const QString& typed : KeystrokesMatchingAll()) all.ms.push_back(Timed([&] { search->setText(typed); }, home));
    if (home->Contacts().Rows().RowCount() != count) std::printf("(the keystrokes did not match every contact)\n");
    all.Print("search keystroke matching all", "16 ms");
    Figures keys;
    for (const char* typed : {"1", "13", "139", "1391", "13910", "公", "公司", "公司1", "user", "user9", "张", "张伟"})
        keys.ms.push_back(Timed([&] { search->setText(QString::fromUtf8(typed)); }, home));
    keys.ms.push_back(Timed([&] { search->clear(); }, home));  // back to everything
    keys.Print("search keystroke, a mix", "100 ms");

    Figures groups;
    auto* list = home->FindControl<QListWidget>("table_list");
    for (int row = 1; row < list->count(); ++row) groups.ms.push_back(Timed([&] { list->setCurrentRow(row); }, home));
    groups.ms.push_back(Timed([&] { list->setCurrentRow(0); }, home));
    groups.Print("group switch", "100 ms");

    std::printf("%-30s %7.1f MB (with the list shown; %.1f MB at the end)\n", "peak memory (VmHWM)", peakShown / 1024.0,
                StatusKb("VmHWM") / 1024.0);
    CloseHome(home);
    return 0;
}
