// Shows 10,000 contact rows of nine parts each in a ListKiv and prints how long the
// first complete paint took and how much memory the list and its rows added.
// Run: QT_QPA_PLATFORM=offscreen build/release/bench/ui/bench_list_control [rows]
// Budget: 10,000 rows shown in <= 100 ms, <= 30 MB.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include "ui/controls/ListKiv.h"
#include "ui/StandardControls.h"

namespace {

using namespace kivtal;

// Resident or peak memory in kB from /proc/self/status ("VmRSS", "VmHWM").
long StatusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLong();
    }
    return -1;
}

struct Contact {
    std::int64_t id;
    QString name, company, job, phone, mobile, email, qq;
};

class ContactRows : public ListRows {
public:
    std::vector<Contact> contacts;
    int RowCount() const override { return static_cast<int>(contacts.size()); }
    std::int64_t RowTag(int row) const override { return contacts[row].id; }
    QString PartText(int row, const QString& part) const override {
        const Contact& c = contacts[row];
        if (part == "head_pic") return QStringLiteral("head_default.png");
        if (part == "name_label") return c.name;
        if (part == "company_label") return c.company;
        if (part == "job_label") return c.job;
        if (part == "phone_label") return c.phone;
        if (part == "mobile_label") return c.mobile;
        if (part == "email_label") return c.email;
        if (part == "qq_label") return c.qq;
        return {};
    }
};

RowLayout ContactLayout() {
    RowLayout layout;
    layout.height = 56;
    layout.parts = {
        {.name = "head_pic", .kind = RowPart::Image, .rect = {10, 8, 40, 40}},
        {.name = "name_label", .rect = {60, 6, 120, 22}, .bold = true},
        {.name = "company_label", .rect = {60, 30, 120, 20}},
        {.name = "job_label", .rect = {190, 6, 100, 22}},
        {.name = "phone_label", .rect = {190, 30, 100, 20}},
        {.name = "mobile_label", .rect = {300, 6, 110, 22}},
        {.name = "email_label", .rect = {300, 30, 160, 20}},
        {.name = "qq_label", .rect = {470, 6, 100, 22}},
        {.name = "edit_btn", .rect = {40, 16, 24, 24}, .fromRight = true, .image = "edit.png", .hoverOnly = true},
    };
    return layout;
}

std::unique_ptr<ContactRows> MakeContacts(int count) {
    auto rows = std::make_unique<ContactRows>();
    rows->contacts.reserve(count);
    for (int i = 0; i < count; ++i) {
        rows->contacts.push_back({i + 1, QStringLiteral("联系人%1").arg(i),
                                  QStringLiteral("某某科技有限公司%1").arg(i % 97), QStringLiteral("销售经理"),
                                  QStringLiteral("010-6%1").arg(1000000 + i), QStringLiteral("138%1").arg(10000000 + i),
                                  QStringLiteral("user%1@example.com").arg(i), QString::number(100000 + i)});
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    PrepareWindows();

    QWidget window;
    window.resize(700, 600);
    auto* layout = new QVBoxLayout(&window);
    // The program has drawn text (the login window) long before the contact list shows:
    // the font database is loaded once per process, so the warm-up keeps it out of the
    // list's figure.
    auto* warmUp = new QLabel(QStringLiteral("联系人 user@example.com 010-61000000"), &window);
    layout->addWidget(warmUp);
    window.show();
    QApplication::processEvents();
    warmUp->repaint();

    const long rssBefore = StatusKb("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    auto rows = MakeContacts(count);
    const double recordsMs = clock.nsecsElapsed() / 1e6;
    const long rssRecords = StatusKb("VmRSS:");

    clock.restart();
    auto* list = new ListKiv(&window);
    layout->addWidget(list);
    list->SetRowLayout(ContactLayout());
    list->SetRows(std::move(rows));
    list->show();
    QApplication::processEvents();
    list->viewport()->repaint();
    const double shownMs = clock.nsecsElapsed() / 1e6;
    const long rssShown = StatusKb("VmRSS:");

    // Scrolling a page at a time to the end: every page is drawn once.
    clock.restart();
    int pages = 0;
    QScrollBar* bar = list->verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep(), ++pages) {
        bar->setValue(value);
        list->viewport()->repaint();
    }
    const double pageMs = pages ? clock.nsecsElapsed() / 1e6 / pages : 0;

    std::printf("rows                      %d\n", count);
    std::printf("records built             %.1f ms, %.1f MB\n", recordsMs, (rssRecords - rssBefore) / 1024.0);
    std::printf("list shown (first paint)  %.1f ms   (budget 100 ms)\n", shownMs);
    std::printf("memory added by the list  %.1f MB   (budget 30 MB; records and list: %.1f MB)\n",
                (rssShown - rssRecords) / 1024.0, (rssShown - rssBefore) / 1024.0);
    std::printf("one page scrolled         %.2f ms (%d pages)\n", pageMs, pages);
    std::printf("process peak              %.1f MB\n", StatusKb("VmHWM:") / 1024.0);
    return 0;
}
