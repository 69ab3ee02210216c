// Start-up pieces inside one process: the command-line modes, the autostart entry, the
// single-instance lock and the instance mark.
#include <sys/stat.h>

#include <QFileInfo>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSharedMemory>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "ui/toolkit/AutoRun.h"
#include "app/LaunchMode.h"
#include "app/SingleInstance.h"
#include "support/TempDir.h"
#include "ui/dialogs/UpdaterPort.h"
#include "ui/toolkit/InstanceMark.h"
#include "ui/toolkit/RuntimeFolder.h"
#include "support/FileBytes.h"

namespace kivtal {
namespace {

struct ModeCase {
    const char* commandLine;
    bool restart;
    bool console;
};

TEST(LaunchModeTest, DecidedFromTheTailOfTheWholeCommandLine) {
    const ModeCase cases[] = {
        {"/opt/kivtal/kivtal", false, false},
        {"/opt/kivtal/kivtal not_autoRun", true, false},
        {"not_autoRun", true, false},  // exactly the 11 characters
        {"ot_autoRun", false, false},  // shorter: compared whole, never restart
        {"c", false, true},            // shorter, still a console
        {"", false, false},
        {"/opt/kivtal/kivtal NOT_AUTORUN", false, false},  // case-sensitive
        {"/opt/kivtal/kivtal not_autorun", false, false},
        {"/opt/kivtal/kivtal c", false, true},
        {"/opt/kivtal/kivtal not_autoRunc", false, true},  // normal mode with a console
        {"/opt/kivtal/kivtal not_autoRun c", false, true},
        {"/opt/kivtal/kivtal c not_autoRun", true, false},  // restart never opens the console
        {"/opt/kivtal/kivtal xnot_autoRun", true, false},   // only the tail counts
    };
    for (const ModeCase& c : cases) {
        const LaunchMode mode = DecideLaunchMode(c.commandLine);
        EXPECT_EQ(mode.restart, c.restart) << '"' << c.commandLine << '"';
        EXPECT_EQ(mode.console, c.console) << '"' << c.commandLine << '"';
        EXPECT_EQ(mode.autoLoginAllowed(), !c.restart) << '"' << c.commandLine << '"';
    }
}

TEST(LaunchModeTest, CommandLineJoinsPathAndArgumentsWithSpaces) {
    const char* argv[] = {"/opt/kivtal/kivtal", "not_autoRun"};
    EXPECT_EQ(JoinCommandLine(2, argv), "/opt/kivtal/kivtal not_autoRun");
    EXPECT_TRUE(DecideLaunchMode(JoinCommandLine(2, argv)).restart);
    EXPECT_EQ(JoinCommandLine(1, argv), "/opt/kivtal/kivtal");
}

// Points an environment variable at a value for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

class AutoRunTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_.path() + "config"};
    std::string entry_ = dir_.path() + "config/autostart/kivtal.desktop";
};

TEST_F(AutoRunTest, EntryRunsTheProgramWithoutArgumentsAndIsRemovedAgain) {
    EXPECT_EQ(AutoRunEntryPath(), entry_);
    EXPECT_EQ(SetAutoRun("/opt/kivtal/kivtal"), 0);
    const std::string text = test::FileBytes(entry_);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nExec=/opt/kivtal/kivtal\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nIcon=kivtal\n"), std::string::npos) << text;  // the launcher's icon
    EXPECT_FALSE(std::filesystem::exists(entry_ + ".tmp"));

    // Saving the setting again replaces the entry instead of adding a second line.
    SetAutoRun("/usr/bin/kivtal");
    const std::string again = test::FileBytes(entry_);
    EXPECT_EQ(again.find("/opt/kivtal"), std::string::npos) << again;
    EXPECT_NE(again.find("\nExec=/usr/bin/kivtal\n"), std::string::npos) << again;

    EXPECT_EQ(ClearAutoRun(), 0);
    EXPECT_FALSE(std::filesystem::exists(entry_));
    EXPECT_EQ(ClearAutoRun(), 0);  // nothing to remove is not an error
}

TEST_F(AutoRunTest, ExecStaysOneArgumentWhateverThePathHolds) {
    // Quoted for the command line, then escaped as a desktop-entry string.
    EXPECT_EQ(AutoRunExecValue("/home/u/My Apps/kivtal"), "\"/home/u/My Apps/kivtal\"");
    EXPECT_EQ(AutoRunExecValue("/a/$HOME`x`/k"), "\"/a/\\\\$HOME\\\\`x\\\\`/k\"");
    EXPECT_EQ(AutoRunExecValue("/a/b\"c\\d/k"), "\"/a/b\\\\\"c\\\\\\\\d/k\"");
    EXPECT_EQ(AutoRunExecValue("/a/100%/k"), "/a/100%%/k");
    EXPECT_EQ(AutoRunExecValue("/a/line\nbreak"), "\"/a/line\\nbreak\"");
    EXPECT_EQ(AutoRunExecValue("/opt/客户端/kivtal"), "/opt/客户端/kivtal");
}

TEST_F(AutoRunTest, FailuresAreSilent) {
    // The autostart folder cannot be created: a file is in the way.
    std::ofstream(dir_.path() + "config") << "not a folder";
    EXPECT_EQ(SetAutoRun("/opt/kivtal/kivtal"), 0);
    EXPECT_FALSE(std::filesystem::exists(entry_));
    EXPECT_EQ(ClearAutoRun(), 0);
}

TEST(AutoRunPathTest, FallsBackToHomeWhenConfigHomeIsUnsetOrRelative) {
    ScopedEnv home("HOME", "/home/someone");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(AutoRunEntryPath(), "/home/someone/.config/autostart/kivtal.desktop");
}

class SingleInstanceTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    ScopedEnv runtime_{"XDG_RUNTIME_DIR", dir_.path() + "run"};

    void SetUp() override { ASSERT_EQ(mkdir((dir_.path() + "run").c_str(), 0700), 0); }
};

TEST_F(SingleInstanceTest, FirstHoldsTheLockUntilItEnds) {
    auto first = std::make_unique<SingleInstance>();
    ASSERT_EQ(first->Acquire(), 1);
    EXPECT_TRUE(first->held());
    EXPECT_EQ(first->Acquire(), 1);  // asking again keeps what it has
    EXPECT_TRUE(QFileInfo::exists(SingleInstance::ServerPath()));

    // The lock is per open file, so a second holder in this process sees it taken.
    SingleInstance second;
    EXPECT_EQ(second.Acquire(), 0);
    EXPECT_FALSE(second.held());

    first.reset();
    EXPECT_EQ(second.Acquire(), 1);
}

TEST_F(SingleInstanceTest, SocketLeftByADeadInstanceIsTakenOver) {
    // Stands for the socket file of a crashed instance: nobody listens behind it.
    std::ofstream(SingleInstance::ServerPath().toStdString()) << "";

    SingleInstance instance;
    EXPECT_EQ(instance.Acquire(), 1);
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::ServerPath());
    EXPECT_TRUE(probe.waitForConnected(1000));
}

TEST_F(SingleInstanceTest, RuntimeFolderOpenToOthersIsNotTrusted) {
    ASSERT_EQ(chmod((dir_.path() + "run").c_str(), 0777), 0);
    EXPECT_TRUE(RuntimeFolder().isEmpty());
    SingleInstance instance;
    EXPECT_EQ(instance.Acquire(), 0);

    ScopedEnv link("XDG_RUNTIME_DIR", dir_.path() + "link");
    std::filesystem::create_directory_symlink(dir_.path() + "run", dir_.path() + "link");
    ASSERT_EQ(chmod((dir_.path() + "run").c_str(), 0700), 0);
    EXPECT_TRUE(RuntimeFolder().isEmpty());
}

// The updater's socket and shared block are looked for only in the private runtime
// folder: a server another local user opened under the shared name is no updater.
TEST_F(SingleInstanceTest, UpdaterMeetingPointsLiveInThePrivateRuntimeFolder) {
    LocalUpdaterPort port(QStringLiteral("/nonexistent/update"));
    QLocalServer impostor;
    ASSERT_TRUE(impostor.listen(kUpdaterServerName));  // in the shared temporary folder
    EXPECT_FALSE(port.IsRunning());

    QLocalServer updater;
    ASSERT_EQ(UpdaterServerPath(), QString::fromStdString(dir_.path() + "run/") + kUpdaterServerName);
    ASSERT_TRUE(updater.listen(UpdaterServerPath()));
    EXPECT_TRUE(port.IsRunning());

    ASSERT_TRUE(port.ShareInstallerPath(QStringLiteral("/data/kivtalsetup.exe")));
    QSharedMemory block;
    block.setNativeKey(QString::fromStdString(dir_.path() + "run/") + kUpdaterSharedBlock);
    ASSERT_TRUE(block.attach(QSharedMemory::ReadOnly)) << block.errorString().toStdString();
    EXPECT_EQ(QString::fromUtf16(static_cast<const char16_t*>(block.constData())), "/data/kivtalsetup.exe");

    ASSERT_EQ(chmod((dir_.path() + "run").c_str(), 0755), 0);
    EXPECT_FALSE(port.IsRunning());
    EXPECT_TRUE(UpdaterServerPath().isEmpty());
    EXPECT_TRUE(UpdaterSharedBlockKey().isEmpty());
    EXPECT_TRUE(RuntimeFolderProblem().contains("open to other users (mode 0755)"))
        << RuntimeFolderProblem().toStdString();
}

TEST(InstanceMarkTest, MarkedWindowIsFoundAndBroughtBack) {
    QLabel plain(QStringLiteral("plain"));
    plain.show();
    EXPECT_EQ(InstanceMark::Find(), nullptr);
    EXPECT_FALSE(InstanceMark::BringForward());

    QLabel marked(QStringLiteral("marked"));
    InstanceMark::Set(&marked);  // hidden, as a main window in the tray
    EXPECT_EQ(InstanceMark::Find(), &marked);
    EXPECT_TRUE(InstanceMark::BringForward());
    EXPECT_TRUE(marked.isVisible());

    InstanceMark::Clear(&marked);
    EXPECT_FALSE(InstanceMark::IsSet(&marked));
    EXPECT_EQ(InstanceMark::Find(), nullptr);
}

}  // namespace
}  // namespace kivtal
