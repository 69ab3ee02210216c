// The whole start: the program logs in by itself with a remembered account against the
// reference service on loopback and opens the main window over a store of 10,000
// contacts. Prints the start-up figures (time to the login window, peak memory there,
// login accepted to main window) for tuning; it asserts the flow, not the figures.
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "net/Identity.h"
#include "store/AccountStore.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "support/TempDir.h"
#include "support/UiTestSupport.h"

namespace kivtal {
namespace {

constexpr int kContacts = 10000;
constexpr int kWaitMs = 20000;

void RememberAutoLogin(LocalStore& store, const std::string& login, const std::string& password) {
    ASSERT_EQ(store.EnsureLoginDb(), 0);
    LoginRecord record;
    record.login_user = login;
    record.login_pwd = md5Hex(md5Hex(password));
    record.auto_login = 1;
    record.last_login = 1;
    ASSERT_EQ(AccountStore(store).SaveLogin(record), 0);
}

void FillContacts(LocalStore& store, const std::string& login) {
    ASSERT_EQ(store.EnsureUserDb(login), 0);
    StoreSession session = store.OpenUserDb();
    ASSERT_TRUE(session.ok());
    SqliteTransaction tx(session.db());
    for (int i = 0; i < kContacts; ++i) {
        BusinessCard card;
        card.bc_name = "联系人" + std::to_string(i);
        card.bc_name_pinyin = "LIANXIREN" + std::to_string(i);
        ASSERT_EQ(InsertContact(session.db(), card), StoreStatus::kOk);
    }
    ASSERT_EQ(tx.commit(), SQLITE_OK);
}

// Starts the reference service with its demo account on a free loopback port; its address.
QString StartService(QProcess& service, const std::string& dbPath) {
    service.setProgram(QStringLiteral(KIVTAL_SERVICE_EXE));
    service.setArguments({"--db", QString::fromStdString(dbPath), "--port", "0", "--demo"});
    service.start();
    QByteArray out;
    const QRegularExpression listening(QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)"));
    QString address;
    test::PumpUntil(
        [&] {
            out += service.readAllStandardOutput();
            const auto match = listening.match(QString::fromUtf8(out));
            if (match.hasMatch()) address = match.captured(1);
            return !address.isEmpty();
        },
        kWaitMs);
    return address;
}

TEST(AppFlowTest, RememberedAccountLogsInAndOpensTheMainWindow) {
    test::TempDir dir;
    {
        LocalStore store(StorePaths{dir.file("data/"), "/nonexistent/doz2a_v3.db"});
        RememberAutoLogin(store, "demo", "demo123");
        FillContacts(store, "demo");
    }
    QProcess service;
    const QString address = StartService(service, dir.file("service.db"));
    ASSERT_FALSE(address.isEmpty()) << service.readAllStandardError().constData();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KIVTAL_DATA_DIR", QString::fromStdString(dir.file("data/")));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    env.insert("TMPDIR", QString::fromStdString(dir.path()));
    env.insert("KIVTAL_API_URL", address);
    env.insert("KIVTAL_WEB_URL", address);
    env.insert("KIVTAL_PROBE_HOSTS", "127.0.0.1");
    env.insert("KIVTAL_STARTUP_TIMING", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess client;
    client.setProcessEnvironment(env);
    QElapsedTimer sinceStart;
    sinceStart.start();
    client.start(QStringLiteral(KIVTAL_EXE), {});

    QByteArray figures;
    qint64 loginSeenMs = -1;
    const bool mainShown = test::PumpUntil(
        [&] {
            figures += client.readAllStandardError();
            if (loginSeenMs < 0 && figures.contains("timing: login window painted")) loginSeenMs = sinceStart.elapsed();
            return figures.contains("timing: main window painted");
        },
        kWaitMs);
    std::printf("%s", figures.constData());
    std::printf("timing: login window painted %lld ms after the process was started\n", loginSeenMs);
    EXPECT_TRUE(figures.contains("timing: login window painted")) << figures.constData();
    EXPECT_TRUE(mainShown) << figures.constData();

    client.kill();
    client.waitForFinished();
    service.terminate();
    service.waitForFinished();
}

}  // namespace
}  // namespace kivtal
