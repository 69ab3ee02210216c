// Birthday reminders over a real D-Bus session bus (a dbus-daemon of the test's own),
// with a fake notification service on it: the headless test desktop runs none.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSystemTrayIcon>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/Clock.h"
#include "store/BirthdayNotices.h"
#include "store/ContactStore.h"
#include "support/TestClock.h"
#include "ui/main/BirthdayNotifier.h"
#include "ui/support/HomeFixture.h"

namespace kivtal {
namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// Records each Notify call and answers with a fresh notification id.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        uint id;
        QString summary;
        QString body;
        QStringList actions;
    };
    std::vector<Notice> notices;

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int) {
        notices.push_back({static_cast<uint>(notices.size() + 1), summary, body, actions});
        return notices.back().id;
    }
};

class BirthdayNotifierTest : public test::HomeFixture {
protected:
    void SetUp() override {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        ASSERT_TRUE(daemon_.waitForReadyRead(5000)) << "dbus-daemon did not start";
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        client_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, "client"));
        ASSERT_TRUE(client_->isConnected());
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus("client");
        QDBusConnection::disconnectFromBus("service");
        daemon_.kill();
        daemon_.waitForFinished();
    }

    // The fake service on a connection of its own, as a desktop's would be.
    void RunService() {
        service_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, "service"));
        ASSERT_TRUE(service_->registerObject(kPath, &fake_, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service_->registerService(kNotificationService));
    }
    void Click(uint id) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kNotificationService, QStringLiteral("ActionInvoked"));
        signal << id << QStringLiteral("default");
        service_->send(signal);
    }
    int AddContact(const char* name, const char* birthday) {
        BusinessCard c;
        c.bc_name = name;
        c.birthday = birthday;
        EXPECT_EQ(ContactStore(store).AddContact(c), StoreStatus::kOk);
        return c.bc_id;
    }
    std::string ShownCount() {
        SqliteDb db;
        EXPECT_EQ(db.open(store.userDbPath()), 0);
        ResultTable t;
        if (db.query("SELECT count(*) FROM tb_birthday_notice;", t) != 0 || t.empty()) return "none";
        return t.text(0, 0);
    }
    std::vector<QString> Bodies() const {
        std::vector<QString> out;
        for (const auto& n : fake_.notices) out.push_back(n.body);
        return out;
    }
    CHomePage& OpenRecording() {
        Open();
        home->SetContactEditorOpener([this](int id, int, int) { openedContacts.push_back(id); });
        return *home;
    }

    test::TestClock clock_{*WallClockToTime(WallClock{.year = 2026, .month = 5, .day = 20, .hour = 9})};
    test::ScopedClock scoped_{clock_};
    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> client_;
    std::unique_ptr<QDBusConnection> service_;
    FakeNotificationService fake_;
    std::vector<int> openedContacts;
};

TEST_F(BirthdayNotifierTest, NotifiesOnceThroughTheServiceAndAClickOpensTheContact) {
    RunService();
    const int zhang = AddContact("张三", "1980-05-20");
    AddContact("李四", "1990-05-21");
    AddContact("王五", "0000-05-23");
    OpenRecording();
    BirthdayNotifier notifier(store, *home, nullptr, *client_);
    EXPECT_EQ(notifier.CheckNow(), 2);
    ASSERT_TRUE(test::PumpUntil([&] { return fake_.notices.size() == 2 && ShownCount() == "2"; }));
    EXPECT_THAT(Bodies(), ::testing::ElementsAre("张三 今天生日 (46岁)", "李四 明天生日 (05-21 36岁)"));
    EXPECT_EQ(fake_.notices[0].summary, "生日提醒");
    EXPECT_TRUE(fake_.notices[0].actions.contains("default"));

    EXPECT_EQ(notifier.CheckNow(), 0) << "each notice once";
    BirthdayNotifier restarted(store, *home, nullptr, *client_);
    EXPECT_EQ(restarted.CheckNow(), 0) << "once across restarts too";

    Click(fake_.notices[0].id);
    ASSERT_TRUE(test::PumpUntil([&] { return !openedContacts.empty(); }));
    EXPECT_THAT(openedContacts, ::testing::ElementsAre(zhang));

    ASSERT_EQ(SaveBirthdayNoticeDays(store, 3), 0);
    EXPECT_EQ(notifier.CheckNow(), 1);
    ASSERT_TRUE(test::PumpUntil([&] { return fake_.notices.size() == 3; }));
    EXPECT_EQ(fake_.notices[2].body, "王五 3天后生日 (05-23)");
}

TEST_F(BirthdayNotifierTest, WithoutAServiceTheTrayShowsTheNotice) {
    const int zhang = AddContact("张三", "1980-05-20");
    OpenRecording();
    QSystemTrayIcon tray;
    BirthdayNotifier notifier(store, *home, &tray, *client_);
    // Neither a service nor a tray: nothing is remembered, so a later check tries again.
    notifier.SetTrayMessage([](const QString&, const QString&) { return false; });
    EXPECT_EQ(notifier.CheckNow(), 0);
    EXPECT_EQ(ShownCount(), "0");

    std::vector<QString> trayTexts;  // a fake tray: the test desktop shows none
    notifier.SetTrayMessage([&](const QString& title, const QString& text) {
        trayTexts.push_back(title + ": " + text);
        return true;
    });
    EXPECT_EQ(notifier.CheckNow(), 1);
    EXPECT_THAT(trayTexts, ::testing::ElementsAre("生日提醒: 张三 今天生日 (46岁)"));
    EXPECT_EQ(ShownCount(), "1");
    EXPECT_EQ(notifier.CheckNow(), 0);

    QMetaObject::invokeMethod(&tray, "messageClicked");
    ASSERT_TRUE(test::PumpUntil([&] { return !openedContacts.empty(); }));
    EXPECT_THAT(openedContacts, ::testing::ElementsAre(zhang));
}

}  // namespace
}  // namespace kivtal

#include "BirthdayNotifier_test.moc"
