#include "ui/main/BirthdayNotifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>

#include "model/Diagnostics.h"
#include "store/BirthdayNotices.h"
#include "store/ContactBirthdays.h"
#include "ui/controls/CalendarDate.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kTitle = QStringLiteral("生日提醒");
constexpr int kCheckEveryMs = 60 * 60 * 1000;
constexpr int kShowForMs = 10 * 1000;

std::string KeyOf(const BirthdayNotice& n) {
    return std::to_string(n.birthday.contactId) + "/" + DateText(n.birthday.next.date) + "/" +
           std::to_string(static_cast<int>(n.kind));
}

}  // namespace

BirthdayNotifier::BirthdayNotifier(LocalStore& store, WindowImplBase& window, QSystemTrayIcon* tray,
                                   QDBusConnection bus)
    : QObject(&window), store_(store), window_(window), tray_(tray), bus_(std::move(bus)) {
    trayMessage_ = [this](const QString& title, const QString& text) {
        if (!tray_ || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
        tray_->showMessage(title, text, QSystemTrayIcon::Information, kShowForMs);
        return true;
    };
    if (tray_) connect(tray_, &QSystemTrayIcon::messageClicked, this, [this] { OpenContact(trayContact_); });
    if (bus_.isConnected())
        bus_.connect(kNotificationService, kPath, kNotificationService, QStringLiteral("ActionInvoked"), this,
                     SLOT(OnActionInvoked(uint, QString)));
    timer_.setInterval(kCheckEveryMs);
    connect(&timer_, &QTimer::timeout, this, &BirthdayNotifier::CheckNow);
}

void BirthdayNotifier::Start() {
    CheckNow();
    timer_.start();
}

int BirthdayNotifier::CheckNow() {
    int days = kDefaultBirthdayNoticeDays;
    std::vector<ContactBirthday> contacts;
    if (ReadBirthdayNoticeDays(store_, days) != 0 || ReadContactBirthdays(store_, contacts) != 0) {
        DebugLine("生日提醒：数据库读取失败");
        return 0;
    }
    const CalendarDate today = TodayDate();
    std::vector<BirthdayNotice> due = DueBirthdayNotices(contacts, {today.year, today.month, today.day}, days);
    if (due.empty() || DropShownNotices(store_, due) != 0) return 0;
    const bool service = ServiceRuns();
    int handed = 0;
    for (const BirthdayNotice& notice : due) {
        if (service) {
            if (!sent_.insert(KeyOf(notice)).second) continue;
            SendNotice(notice);
            ++handed;
        } else if (ShowInTray(notice)) {
            MarkNoticeShown(store_, notice);
            ++handed;
        }
    }
    return handed;
}

bool BirthdayNotifier::ServiceRuns() const {
    const QDBusConnectionInterface* daemon = bus_.isConnected() ? bus_.interface() : nullptr;
    return daemon && daemon->isServiceRegistered(kNotificationService).value();
}

// Asynchronous: the window never waits on the desktop. The notice counts as shown once
// the service answered; an error sends it to the tray instead.
void BirthdayNotifier::SendNotice(const BirthdayNotice& notice) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kNotificationService, kPath, kNotificationService, QStringLiteral("Notify"));
    const QString text = QString::fromStdString(BirthdayNoticeText(notice));
    call << QStringLiteral("Kivtal") << uint{0} << QStringLiteral("x-office-address-book") << kTitle << text
         << QStringList{QStringLiteral("default"), QStringLiteral("查看")} << QVariantMap{} << kShowForMs;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notice](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        sent_.erase(KeyOf(notice));
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            DebugLine("生日提醒：通知服务失败 " + reply.error().message().toStdString());
            if (ShowInTray(notice)) MarkNoticeShown(store_, notice);
            return;
        }
        contactOfNotice_[reply.value()] = notice.birthday.contactId;
        MarkNoticeShown(store_, notice);
    });
}

bool BirthdayNotifier::ShowInTray(const BirthdayNotice& notice) {
    if (!trayMessage_ || !trayMessage_(kTitle, QString::fromStdString(BirthdayNoticeText(notice)))) return false;
    trayContact_ = notice.birthday.contactId;
    return true;
}

void BirthdayNotifier::OnActionInvoked(uint id, const QString&) {
    const auto it = contactOfNotice_.find(id);
    if (it != contactOfNotice_.end()) OpenContact(it->second);
}

void BirthdayNotifier::OpenContact(int contactId) {
    if (contactId > 0) window_.PostMessage(WM_UI_CONTACT_OPEN, contactId);
}

}  // namespace kivtal
