// The program itself: operator commands, the demo account, the listening line.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <string>

#include "Crypto.h"
#include "service/ScratchDatabase.h"
#include "support/TempDir.h"

namespace kivtal::service {
namespace {

std::string RunProgram(const std::string& args, int& status) {
    std::string out;
    FILE* p = popen((std::string(KIVTAL_SERVICE_EXE) + " " + args + " 2>&1").c_str(), "r");
    char buf[256];
    while (p && fgets(buf, sizeof buf, p)) out += buf;
    status = p ? pclose(p) : -1;
    return out;
}

// Starts the server and reads its first lines up to the listening line.
class Child {
public:
    Child(const std::string& db, const std::string& data, bool demo = false) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            execl(KIVTAL_SERVICE_EXE, KIVTAL_SERVICE_EXE, "--db", db.c_str(), "--data", data.c_str(), "--port", "0",
                  demo ? "--demo" : nullptr, nullptr);
            _exit(127);
        }
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (out_) fclose(out_);
    }
    std::string readLine() {
        char buf[256];
        return out_ && fgets(buf, sizeof buf, out_) ? buf : "";
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

TEST(ServiceProgram, OperatorAccountsAndTheDemoAccountCanLogIn) {
    kivtal::test::TempDir dir;
    const kivtal::test::ScratchDatabase scratch(dir.file("s.db"));
    const std::string db = "--db '" + scratch.address() + "' --data " + dir.path();
    int status = 0;
    RunProgram(db + " --add-account boss 'pa ss' --coins 7 --certified --name 老板", status);
    ASSERT_EQ(status, 0);
    RunProgram(db + " --add-account boss other", status);
    EXPECT_NE(status, 0);
    RunProgram(db + " --bogus", status);
    EXPECT_NE(status, 0);

    Child child(scratch.address(), dir.path());
    // The demo account is only made when there is no account yet.
    std::string line = child.readLine();
    EXPECT_EQ(line.find("demo"), std::string::npos);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, std::regex(R"(^listening on http://127\.0\.0\.1:(\d+)\n$)"))) << line;
    httplib::Client client("127.0.0.1", std::stoi(m[1]));
    const auto res = client.Post("/Login/login",
                                 "username=boss&password=" + ClientPasswordDigest("pa ss") + "&unique_id=X&visitor=1",
                                 "application/x-www-form-urlencoded");
    ASSERT_TRUE(res);
    EXPECT_NE(res->body.find("\"error\":\"0\""), std::string::npos) << res->body;
}

// The port of a listening line, or 0.
int ListeningPort(const std::string& line) {
    std::smatch m;
    return std::regex_search(line, m, std::regex(R"(^listening on http://127\.0\.0\.1:(\d+))")) ? std::stoi(m[1]) : 0;
}

std::string DemoLogin(int port) {
    httplib::Client client("127.0.0.1", port);
    const auto res =
        client.Post("/Login/login", "username=demo&password=4aa59776065aba3690db41623659ec9b&unique_id=X&visitor=1",
                    "application/x-www-form-urlencoded");
    return res ? res->body : "no reply";
}

// The demo account's password is public: only a service started with --demo has it.
TEST(ServiceProgram, AFreshDatabaseGetsTheDemoAccountOnlyWhenAskedFor) {
    kivtal::test::TempDir dir;
    {
        const kivtal::test::ScratchDatabase scratch(dir.file("plain.db"));
        Child plain(scratch.address(), dir.path());
        const int port = ListeningPort(plain.readLine());
        ASSERT_GT(port, 0);
        EXPECT_NE(DemoLogin(port).find("\"error\":\"1001\""), std::string::npos);
    }
    const kivtal::test::ScratchDatabase scratch(dir.file("fresh.db"));
    Child child(scratch.address(), dir.path(), true);
    EXPECT_NE(child.readLine().find("demo / demo123"), std::string::npos);
    const int port = ListeningPort(child.readLine());
    ASSERT_GT(port, 0);
    EXPECT_NE(DemoLogin(port).find("\"error\":\"0\""), std::string::npos);
}

// The users' data is for the service's eyes only; a folder it did not make keeps the
// modes its owner gave it.
TEST(ServiceProgram, ItsFilesAreItsOwnAndOtherFoldersAreLeftAsTheyAre) {
    if (kivtal::test::TestsRunOnPostgres()) GTEST_SKIP() << "the modes of a SQLite file and its folder";
    kivtal::test::TempDir dir;
    const std::string shared = dir.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0755), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0755), 0);
    int status = 0;
    RunProgram("--db " + shared + "/s.db --add-account boss pw", status);
    ASSERT_EQ(status, 0);
    RunProgram("--db " + dir.file("made/here/s.db") + " --add-account boss pw", status);
    ASSERT_EQ(status, 0);
    const auto mode = [](const std::string& path) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    };
    EXPECT_EQ(mode(shared), 0755u);
    EXPECT_EQ(mode(shared + "/s.db"), 0600u);
    EXPECT_EQ(mode(shared + "/cards"), 0700u);
    EXPECT_EQ(mode(dir.file("made/here")), 0700u);
    EXPECT_EQ(mode(dir.file("made/here/s.db")), 0600u);
}

}  // namespace
}  // namespace kivtal::service
