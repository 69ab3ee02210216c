// The program as real processes: a second start hands over to the first and ends, a
// restart waits for the ending instance, and the updater hears that the client ends.
// KIVTAL_TEST_SINGLE_INSTANCE makes the program show a trivial marked window instead
// of logging in.
#include <sys/stat.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

#include "support/TempDir.h"
#include "support/UiTestSupport.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

constexpr int kStartMs = 10000;

class ProgramRun {
public:
    ProgramRun(const QProcessEnvironment& env, const QStringList& arguments) {
        process_.setProcessEnvironment(env);
        process_.setProgram(QStringLiteral(KIVTAL_EXE));
        process_.setArguments(arguments);
        process_.start();
    }
    ~ProgramRun() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kStartMs);
        }
    }

    // Waits until standard output has shown line.
    bool WaitForLine(const QByteArray& line, int timeoutMs = kStartMs) {
        return test::PumpUntil([&] { return Output().contains(line + '\n'); }, timeoutMs);
    }
    QByteArray Output() {
        output_ += process_.readAllStandardOutput();
        return output_;
    }
    QByteArray Errors() { return process_.readAllStandardError(); }
    void Quit() {
        process_.write("quit\n");
        process_.closeWriteChannel();
    }
    bool Finished(int timeoutMs = kStartMs) {
        return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
    }
    bool Running() const { return process_.state() == QProcess::Running; }
    int ExitCode() const { return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1; }
    void Kill() {
        process_.kill();
        process_.waitForFinished(kStartMs);
    }

private:
    QProcess process_;
    QByteArray output_;
};

class AppProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir(dir_.file("run").c_str(), 0700), 0);
        env_.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir_.file("run")));
        env_.insert("TMPDIR", QString::fromStdString(dir_.file("tmp")));
        env_.insert("KIVTAL_DATA_DIR", QString::fromStdString(dir_.file("data")));
        env_.insert("KIVTAL_TEST_SINGLE_INSTANCE", "1");
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        ASSERT_EQ(mkdir(dir_.file("tmp").c_str(), 0700), 0);
    }

    std::unique_ptr<ProgramRun> Start(const QStringList& arguments = {}) {
        return std::make_unique<ProgramRun>(env_, arguments);
    }

    test::TempDir dir_;
    QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();
};

TEST_F(AppProcessTest, SecondStartBringsTheFirstForwardAndEnds) {
    auto first = Start();
    ASSERT_TRUE(first->WaitForLine("probe window shown")) << first->Output().constData();

    QElapsedTimer clock;
    clock.start();
    auto second = Start({QStringLiteral("c")});  // with the console, to see its lines
    ASSERT_TRUE(second->Finished());
    std::printf("second start ended after %lld ms\n", clock.elapsed());
    EXPECT_EQ(second->ExitCode(), 0);
    EXPECT_EQ(second->Output(), QByteArray("游标对象已经存在\n找到了对应游标的窗口\n"));
    EXPECT_TRUE(first->WaitForLine("raise request: found"));
    EXPECT_TRUE(first->Running());

    first->Quit();
    ASSERT_TRUE(first->Finished());
    EXPECT_EQ(first->ExitCode(), 0);
}

TEST_F(AppProcessTest, SecondStartWithoutConsolePrintsNothing) {
    auto first = Start();
    ASSERT_TRUE(first->WaitForLine("probe window shown"));
    auto second = Start();
    ASSERT_TRUE(second->Finished());
    EXPECT_EQ(second->ExitCode(), 0);
    EXPECT_TRUE(second->Output().isEmpty()) << second->Output().constData();
}

TEST_F(AppProcessTest, RestartWaitsUntilTheEndingInstanceIsGone) {
    auto ending = Start();
    ASSERT_TRUE(ending->WaitForLine("probe window shown"));

    auto restarted = Start({QStringLiteral("not_autoRun")});
    // Each try it makes brings the ending instance's window forward.
    ASSERT_TRUE(ending->WaitForLine("raise request: found"));
    test::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(restarted->Running());
    EXPECT_FALSE(restarted->Output().contains("probe window shown"));

    ending->Quit();
    ASSERT_TRUE(ending->Finished());
    EXPECT_TRUE(restarted->WaitForLine("probe window shown (restart mode)")) << restarted->Output().constData();
    restarted->Quit();
    EXPECT_TRUE(restarted->Finished());
    EXPECT_EQ(restarted->ExitCode(), 0);
}

TEST_F(AppProcessTest, RestartLaunchesANewInstanceThatTakesOver) {
    // Files, not pipes: the restarted process shares them and outlives the first.
    const QString input = QString::fromStdString(dir_.file("input"));
    const QString output = QString::fromStdString(dir_.file("output"));
    QFile commands(input);
    ASSERT_TRUE(commands.open(QIODevice::WriteOnly));
    commands.write("restart\n");
    commands.close();

    QProcess ending;
    ending.setProcessEnvironment(env_);
    ending.setStandardInputFile(input);
    ending.setStandardOutputFile(output);
    ending.start(QStringLiteral(KIVTAL_EXE), {});
    ASSERT_TRUE(ending.waitForFinished(kStartMs));
    EXPECT_EQ(ending.exitCode(), 0);

    // Had the new process inherited the lock it waits for, it would wait forever. It
    // ends by itself at the end of its input.
    QFile shown(output);
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            shown.open(QIODevice::ReadOnly);
            const QByteArray text = shown.readAll();
            shown.close();
            return text == "probe window shown\nprobe window shown (restart mode)\n";
        },
        kStartMs));
}

TEST_F(AppProcessTest, CrashedInstanceDoesNotBlockTheNextStart) {
    auto crashed = Start();
    ASSERT_TRUE(crashed->WaitForLine("probe window shown"));
    crashed->Kill();  // leaves its socket file behind

    auto next = Start();
    ASSERT_TRUE(next->WaitForLine("probe window shown")) << next->Output().constData();
    auto third = Start();
    ASSERT_TRUE(third->Finished());
    EXPECT_TRUE(next->WaitForLine("raise request: found"));
}

// A runtime folder others can write into holds no lock worth having: both a normal
// start and a restart (which used to retry for ever) end at once and say why.
TEST_F(AppProcessTest, ARuntimeFolderOpenToOthersEndsEveryStartWithTheReason) {
    ASSERT_EQ(chmod(dir_.file("run").c_str(), 0755), 0);
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("not_autoRun")}}) {
        auto run = Start(arguments);
        ASSERT_TRUE(run->Finished()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run->Output().contains("probe window shown"));
        EXPECT_TRUE(run->Errors().contains("is open to other users (mode 0755); not starting"));
    }
}

TEST_F(AppProcessTest, UpdaterIsToldThatTheClientEnds) {
    QLocalServer updater;
    ASSERT_TRUE(updater.listen(QString::fromStdString(dir_.file("run/ZELUpdataWindow"))));
    QByteArray received;
    QObject::connect(&updater, &QLocalServer::newConnection, [&] {
        QLocalSocket* socket = updater.nextPendingConnection();
        QObject::connect(socket, &QLocalSocket::readyRead, [&received, socket] { received += socket->readAll(); });
    });

    auto client = Start();
    ASSERT_TRUE(client->WaitForLine("probe window shown"));
    EXPECT_TRUE(received.isEmpty());
    client->Quit();
    ASSERT_TRUE(client->Finished());
    ASSERT_TRUE(test::PumpUntil([&] { return received.size() >= 20; }));

    QDataStream in(received);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 number = 0;
    qint64 wParam = -1, lParam = -1;
    in >> number >> wParam >> lParam;
    EXPECT_EQ(number, WM_UPD_CLIENT_EXIT);
    EXPECT_EQ(wParam, 0);
    EXPECT_EQ(lParam, 0);
}

}  // namespace
}  // namespace kivtal
