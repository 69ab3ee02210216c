#pragma once
// Birthday reminders on the desktop: on the day, and the set number of days ahead, one
// notice per birthday through the freedesktop notification service (D-Bus); the tray
// icon's message when no such service runs. Each notice shows once, even across restarts
// (store/BirthdayNotices.h), and is remembered only once it was handed on. A click on a
// notice posts WM_UI_CONTACT_OPEN with the contact's id to the window.
#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "store/LocalStore.h"
#include "text/Birthdays.h"

class QSystemTrayIcon;

namespace kivtal {

class WindowImplBase;

inline const QString kNotificationService = QStringLiteral("org.freedesktop.Notifications");

class BirthdayNotifier : public QObject {
    Q_OBJECT

public:
    // Shows a tray message: the tray icon's by default; a test seam for the headless desktop.
    using TrayMessage = std::function<bool(const QString& title, const QString& text)>;

    BirthdayNotifier(LocalStore& store, WindowImplBase& window, QSystemTrayIcon* tray,
                     QDBusConnection bus = QDBusConnection::sessionBus());

    void SetTrayMessage(TrayMessage message) { trayMessage_ = std::move(message); }
    // Checks now, then every hour (the date changes while the program runs).
    void Start();
    // Hands on the notices due today that were not shown before: the number sent to the
    // notification service or shown in the tray. A sent notice is remembered when the
    // service answers; one it refuses goes to the tray.
    int CheckNow();

private slots:
    void OnActionInvoked(uint id, const QString& action);

private:
    bool ServiceRuns() const;
    void SendNotice(const BirthdayNotice& notice);
    bool ShowInTray(const BirthdayNotice& notice);
    void OpenContact(int contactId);

    LocalStore& store_;
    WindowImplBase& window_;
    QPointer<QSystemTrayIcon> tray_;
    QDBusConnection bus_;
    TrayMessage trayMessage_;
    QTimer timer_;
    std::map<uint, int> contactOfNotice_;  // the service's notification id -> contact
    int trayContact_ = 0;                  // the contact of the tray's last message
    std::set<std::string> sent_;           // notices sent, their answer not yet in
};

}  // namespace kivtal
