// A seeded mutation run against the real program on loopback. It starts the service
// over a scratch database with two accounts, fills one ("victim") with a few changes and
// takes a copy of everything stored for it, then sends mutated real requests of every
// endpoint as the other account ("fuzzer") would, and checks that
//  - the program never goes away (a request always gets an answer or a clean close),
//  - every API reply with status 200 is one JSON object whose "error" is a string,
//  - the victim's stored rows are byte-identical afterwards.
//
//   kivtal-service-fuzz SERVICE_PROGRAM [requests=3000] [seed=time]
//
// On a failure the request is written to service_fuzz_input.txt and the seed printed,
// so the run can be repeated. Every request goes to 127.0.0.1.
#include <httplib.h>
#include <json/json.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Crypto.h"
#include "Database.h"
#include "ServiceChild.h"

namespace {

using namespace kivtal::service;
namespace fs = std::filesystem;

struct Login {
    std::string userId, key, device;
};

std::string Opers(int localId, const std::string& name) {
    std::string v = std::to_string(localId) + "'" + name + "'";
    for (int i = 2; i < 34; ++i) v += i == 33 ? "-1'" : "0'";
    return "{\"opers\":[{\"client_id\":\"" + std::to_string(localId) + "\",\"content\":\"" + v +
           "\",\"id\":\"0\",\"main\":\"1\",\"oper_id\":\"1\",\"oper_ways\":\"1\",\"time\":\"0\"}],\"escaping\":\"2\"}"
           "\n";
}

// Each account's password is its name backwards: the fuzzer's requests never carry
// the victim's.
std::string PasswordOf(std::string name) { return {name.rbegin(), name.rend()}; }

Login LogIn(httplib::Client& c, const std::string& name, const std::string& device) {
    const auto r =
        c.Post("/Login/login",
               "username=" + name + "&password=" + ClientPasswordDigest(PasswordOf(name)) + "&unique_id=" + device,
               "application/x-www-form-urlencoded");
    Json::Value v;
    std::istringstream in(r ? r->body : "");
    in >> v;
    const std::string user = v["user_id"].asString();
    return {user, RequestKey(user, device, v["random_key"].asString()), device};
}

// Everything stored for one account, as text.
std::string Snapshot(const fs::path& db, const std::string& userId) {
    const auto d = OpenDatabase(db.string());
    std::string out;
    const char* queries[] = {
        "SELECT login_name||'|'||pwd_hash||'|'||coins||'|'||real_name||'|'||last_seq||'|'||upload_count "
        "FROM accounts WHERE account_id=?1;",
        "SELECT unique_id||'|'||ifnull(random_key,'')||'|'||watermark FROM devices WHERE account_id=?1 ORDER BY 1;",
        "SELECT server_id||'|'||kind||'|'||value FROM records WHERE account_id=?1 ORDER BY server_id;",
        "SELECT seq||'|'||server_id||'|'||content||'|'||device FROM changes WHERE account_id=?1 ORDER BY seq;",
        "SELECT unique_id||'|'||kind||'|'||client_id||'|'||server_id FROM client_ids WHERE account_id=?1 ORDER BY 1;",
    };
    for (const char* q : queries) {
        auto s = d->prepare(q);
        s.bind({static_cast<std::int64_t>(std::stoll(userId))});
        while (s.step()) out += s.text(0) + "\n";
        out += "--\n";
    }
    return out;
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    std::string mutate(std::string s, const std::vector<std::string>& pieces) {
        const int rounds = 1 + pick(4);
        for (int i = 0; i < rounds; ++i) {
            const std::size_t at = s.empty() ? 0 : pick(static_cast<int>(s.size()));
            switch (pick(9)) {
                case 0:
                    if (!s.empty()) s[at] = static_cast<char>(random_());
                    break;
                case 1: s.insert(at, 1, "&=%'\"\\{}[]\x00\xff,:"[pick(15)]); break;
                case 2: s.resize(at); break;
                case 3: s.insert(at, pieces[pick(static_cast<int>(pieces.size()))]); break;
                case 4: s.insert(at, std::string(static_cast<std::size_t>(pick(3000)), '[')); break;
                case 5: s.insert(at, "99999999999999999999999"); break;
                case 6: s.insert(at, "\xc3\x28\xe2\x80\xae\xf0\x9f"); break;
                case 7: s += "&" + pieces[pick(static_cast<int>(pieces.size()))]; break;
                default: s.insert(at, "%2"); break;
            }
        }
        return s;
    }
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }

private:
    std::mt19937 random_;
};

bool WellFormedApiReply(const std::string& body) {
    Json::Value v;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    return reader->parse(body.data(), body.data() + body.size(), &v, &errors) && v.isObject() && v["error"].isString();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: kivtal-service-fuzz SERVICE_PROGRAM [requests=3000] [seed=time]\n";
        return 2;
    }
    const std::string program = argv[1];
    const int requests = argc > 2 ? std::atoi(argv[2]) : 3000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10))
                                   : static_cast<unsigned>(std::time(nullptr));
    std::cout << "seed " << seed << std::endl;
    char pattern[] = "/tmp/kivtal-service-fuzz-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    const fs::path db = dir / "service.db";
    for (const char* name : {"victim", "fuzzer"}) {
        const std::string add = program + " --db " + db.string() + " --password-rounds 1000 --add-account " + name +
                                " " + PasswordOf(name) + " > /dev/null";
        if (std::system(add.c_str()) != 0) return 1;
    }
    int failures = 0;
    {
        bench::ServiceChild service(program, db, {"--password-rounds", "1000"});
        if (!service.port()) {
            std::cerr << "the service did not start\n";
            return 1;
        }
        httplib::Client c("127.0.0.1", service.port());
        c.set_read_timeout(20, 0);
        const Login victim = LogIn(c, "victim", "V1");
        const std::string victimForm = "key=" + victim.key + "&unique_id=V1&user_id=" + victim.userId;
        c.Post("/Sync/send", victimForm + "&opers=" + Opers(1, "victim-contact"), "application/x-www-form-urlencoded");
        c.Post("/Sync/receive", victimForm + "&last_sync=0", "application/x-www-form-urlencoded");
        const std::string before = Snapshot(db, victim.userId);

        const Login f = LogIn(c, "fuzzer", "F1");
        const std::string id = "key=" + f.key + "&visitor=1&unique_id=F1&user_id=" + f.userId;
        const std::vector<std::pair<std::string, std::string>> seeds = {
            {"/Login/login",
             "username=fuzzer&password=" + ClientPasswordDigest(PasswordOf("fuzzer")) + "&unique_id=F2&visitor=1"},
            {"/Login/loginOut", id},
            {"/Sync/receive", id + "&last_sync=1"},
            {"/Sync/send", id + "&opers=" + Opers(7, "fuzz")},
            {"/Secretary/upload", id + "&bc_data=/9j/4EpGSUb+"},
            {"/PcAd", id},
            {"/Notice", id + "&last_news_time=0"},
            {"/Update/check", id + "&cur_ver=1"},
            {"/Index/Register/index", "username=new&password=secret1&password2=secret1"},
        };
        const std::vector<std::string> pieces = {
            "user_id=" + victim.userId,
            "unique_id=V1",
            "key=" + victim.key.substr(0, 16),
            "opers=",
            "id=-1",
            "\"oper_ways\":\"2\"",
            "\"id\":\"0\"",
            "%5c",
            "bc_data=",
            "username=victim",
            "last_sync=-5",
            "&&&&",
        };
        Mutator m(seed);
        for (int i = 0; i < requests && failures == 0; ++i) {
            const auto& [path, body] = seeds[static_cast<std::size_t>(m.pick(static_cast<int>(seeds.size())))];
            const std::string sent = m.mutate(body, pieces);
            const auto r = c.Post(path, sent, "application/x-www-form-urlencoded");
            const bool page = path.rfind("/Index/", 0) == 0;
            const bool ok = r && (r->status != 200 || page || WellFormedApiReply(r->body));
            if (!ok || !service.alive()) {
                ++failures;
                std::ofstream(dir.parent_path() / "service_fuzz_input.txt") << path << "\n" << sent;
                std::cerr << "request " << i << " to " << path << ": "
                          << (!service.alive() ? "the service went away"
                              : r              ? "malformed reply: " + r->body.substr(0, 200)
                                               : "no reply")
                          << "\n";
            }
        }
        if (const std::string after = Snapshot(db, victim.userId); after != before) {
            ++failures;
            std::cerr << "the untouched account's rows changed:\n" << before << "now:\n" << after;
        }
    }
    fs::remove_all(dir);
    std::printf("%d requests, %d failed\n", requests, failures);
    return failures == 0 ? 0 : 1;
}
