// A seeded random-reply driver for the service's reply parsers. It starts from valid
// replies of every endpoint, mutates them the ways a broken service, proxy or network
// would (flipped and inserted bytes, cuts, repeated members, members of other types,
// deep nesting, huge numbers, broken UTF-8, pieces of other replies) and feeds each
// result to every parser for the given number of seconds.
//
//   reply_fuzz [seconds=60] [seed=time]
//
// A crash is found by the sanitizers (build with KIVTAL_SANITIZE=ON); a parser that
// breaks its own contract (outputs written on failure, success without a server time)
// aborts the run. Either way the input is first written to reply_fuzz_input.bin and
// the seed printed, so the run can be repeated.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/Records.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"

namespace {

using namespace kivtal;

const std::vector<std::string> kCorpus = {
    R"({"error":"0","random_key":"r4nd","user_id":"10086"})",
    R"({"error":"1003"})",
    R"({"error":"0","new_ver":"4","new_ver_name":"1.4","ver_description":"修复","download_addr":"http://h/s.exe","enforce_update":"1","file_md5":"0123456789abcdef0123456789abcdef"})",
    R"({"error":"0","upload_count":"12"})",
    R"({"error":"0","opers":[{"oper_id":"1","main":"2","time":"1700000000","oper_ways":"2","id":"77","content":"5~麤^张三~麤^Acme"},{"oper_id":"9","time":"1700000001","oper_ways":"1","id":"78","content":"ICBC~麤^6222"}]})",
    R"({"error":"0","time":"1700000100","results":[{"oper_id":"1","id":"501","client_id":"12"},{"oper_id":"5","id":"502","client_id":"13"}]})",
    R"({"error":"0","time":"1700000100","results":[{"oper_id":"3","id":"9","client_id":"1"}]})",
    R"({"error":"0","ads":[{"ad_server_id":"3","ad_path":"http://h/a/1.jpg","sort_id":"1","ad_jump_url":"http://h/x","ad_content":"新品"}]})",
    R"({"error":"0","news_list":[{"news_id":"5","news_title":"通知","news_content":"http://h/n.jpg","create_time":"1700000000","news_type":"1"}]})",
    R"({"dateline":"1700000200"})",
};

const std::vector<std::string> kOddValues = {
    "0",
    "-1",
    "null",
    "true",
    "[]",
    "{}",
    "\"\"",
    "1e999",
    "-1e400",
    "99999999999999999999999999",
    "\"99999999999999999999\"",
    "\"-2147483649\"",
    "\"\\u0000\"",
    "\"\\ud800\"",
    "\"\xC0\x80\"",
    "\"\xFF\xFE\"",
    "\"~麤^\"",
    "[{}]",
    "[1,2]",
    "{\"error\":\"0\"}",
    "0.5",
    "\"\\\\%5c\"",
};

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : random_(seed) {}

    std::string next() {
        std::string s = pick(kCorpus);
        const int rounds = 1 + below(4);
        for (int i = 0; i < rounds; ++i) mutate(s);
        return s;
    }

private:
    int below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    std::size_t at(const std::string& s) { return s.empty() ? 0 : random_() % (s.size() + 1); }
    const std::string& pick(const std::vector<std::string>& v) { return v[random_() % v.size()]; }

    // The span of a value starting right after a ':' (a string, a number, or a
    // bracketed part), for the type and duplicate mutations.
    static std::size_t ValueEnd(const std::string& s, std::size_t from) {
        if (from >= s.size()) return from;
        if (s[from] == '"') {
            std::size_t i = from + 1;
            while (i < s.size() && s[i] != '"') i += s[i] == '\\' ? 2 : 1;
            return std::min(i + 1, s.size());
        }
        if (s[from] == '[' || s[from] == '{') {
            int depth = 0;
            for (std::size_t i = from; i < s.size(); ++i) {
                if (s[i] == '[' || s[i] == '{') ++depth;
                if ((s[i] == ']' || s[i] == '}') && --depth == 0) return i + 1;
            }
            return s.size();
        }
        std::size_t i = from;
        while (i < s.size() && s[i] != ',' && s[i] != '}' && s[i] != ']') ++i;
        return i;
    }

    // A ':' of the text, or npos when there is none.
    std::size_t someColon(const std::string& s) {
        std::vector<std::size_t> colons;
        for (std::size_t i = 0; i < s.size(); ++i)
            if (s[i] == ':') colons.push_back(i);
        return colons.empty() ? std::string::npos : colons[random_() % colons.size()];
    }

    void mutate(std::string& s) {
        switch (below(10)) {
            case 0:  // flip bytes
                for (int n = 1 + below(8); n > 0 && !s.empty(); --n) s[random_() % s.size()] ^= 1 << below(8);
                break;
            case 1:  // insert random bytes
                s.insert(at(s), std::string(1 + below(4), static_cast<char>(random_())));
                break;
            case 2: {  // cut: the tail, or a piece from the middle
                const std::size_t from = at(s);
                s.erase(from, below(2) ? std::string::npos : static_cast<std::size_t>(below(16)));
                break;
            }
            case 3: {  // repeat a member
                const std::size_t colon = someColon(s);
                if (colon == std::string::npos) break;
                const std::size_t keyEnd = colon > 0 ? s.rfind('"', colon - 1) : std::string::npos;
                const std::size_t keyStart =
                    keyEnd != std::string::npos && keyEnd > 0 ? s.rfind('"', keyEnd - 1) : std::string::npos;
                if (keyStart == std::string::npos) break;
                const std::size_t end = ValueEnd(s, colon + 1);
                s.insert(end, "," + s.substr(keyStart, end - keyStart));
                break;
            }
            case 4: {  // give a member a value of another type
                const std::size_t colon = someColon(s);
                if (colon == std::string::npos) break;
                const std::size_t end = ValueEnd(s, colon + 1);
                s.replace(colon + 1, end - colon - 1, pick(kOddValues));
                break;
            }
            case 5: {  // nest deeply, around a value or in its place
                // Past the parsers' limit only now and then: refusing it unwinds the whole
                // recursion, which would otherwise take most of the run.
                const int depth = below(8) != 0 ? below(200) : 1000 + below(9000);
                const char open = below(2) ? '[' : '{';
                std::string nest;
                for (int i = 0; i < depth; ++i) nest += open == '[' ? "[" : "{\"a\":";
                nest += "0";
                for (int i = 0; i < depth; ++i) nest += open == '[' ? ']' : '}';
                const std::size_t colon = someColon(s);
                if (colon == std::string::npos) s = nest;
                else s.replace(colon + 1, ValueEnd(s, colon + 1) - colon - 1, nest);
                break;
            }
            case 6: {  // a huge or odd number in a string member
                static const char* kNumbers[] = {"99999999999999999999",
                                                 "-99999999999999999999",
                                                 "2147483648",
                                                 "-2147483648",
                                                 " 42abc",
                                                 "+7",
                                                 "0x10",
                                                 "1e10",
                                                 ""};
                const std::size_t colon = someColon(s);
                if (colon == std::string::npos) break;
                const std::size_t end = ValueEnd(s, colon + 1);
                s.replace(colon + 1, end - colon - 1, std::string("\"") + kNumbers[below(9)] + "\"");
                break;
            }
            case 7: {  // invalid UTF-8 inside the text
                static const char* kBroken[] = {"\xC3", "\xE9\x80", "\xF0\x9F\x98", "\xED\xA0\x80", "\xC0\xAF",
                                                "\xFF", "\x80\x80", "\\ud83d",      "\\udc00x"};
                s.insert(at(s), kBroken[below(9)]);
                break;
            }
            case 8: {  // a piece of another reply spliced in
                const std::string& other = pick(kCorpus);
                const std::size_t from = at(other);
                s.insert(at(s), other.substr(from, below(64)));
                break;
            }
            default:  // zero bytes and control characters
                s.insert(at(s), std::string(1, static_cast<char>(below(32))));
                break;
        }
    }

    std::mt19937_64 random_;
};

[[noreturn]] void Fail(const std::string& input, const char* what, std::uint64_t seed) {
    if (std::FILE* f = std::fopen("reply_fuzz_input.bin", "wb")) {
        std::fwrite(input.data(), 1, input.size(), f);
        std::fclose(f);
    }
    std::fprintf(stderr, "reply_fuzz: %s (seed %llu, input in reply_fuzz_input.bin)\n", what,
                 static_cast<unsigned long long>(seed));
    std::abort();
}

// A list parser must leave its output as it was unless it returns 0.
template <class List, class Parse>
void CheckList(const std::string& input, std::uint64_t seed, const char* name, Parse parse) {
    List list(1);
    const int code = parse(input, list);
    if (code != 0 && list.size() != 1) Fail(input, name, seed);
}

std::map<std::string, int> gSuccesses;

void FeedEveryParser(const std::string& input, std::uint64_t seed) {
    // Opened and written by the login parser; a local one keeps runs independent.
    static LoginUser user;
    if (ParseLoginReply(input, user) == 0) ++gSuccesses["login"];
    VersionOffer offer;
    if (ParseVersionReply(input, offer) == 0 && offer.new_ver != 0) ++gSuccesses["version offer"];
    ParseLogoutReply(input);
    int count = 0;
    if (ParseUploadReply(input, count) == 0) ++gSuccesses["upload"];
    CheckList<SyncRecordList>(input, seed, "receive wrote its list on failure",
                              [](const std::string& r, SyncRecordList& l) { return ParseReceiveReply(r, l); });
    for (auto parse : {&ParseSendReply, &ParseSingleResultReply}) {
        int time = -5;
        SyncRecordList results(1);
        const int code = parse(input, time, results);
        if (code != 0 && (results.size() != 1 || time != -5)) Fail(input, "commit parser wrote on failure", seed);
        if (code == 0 && time <= 0) Fail(input, "commit parser succeeded without a server time", seed);
        if (code == 0) ++gSuccesses["commit"];
    }
    CheckList<TalAdList>(input, seed, "ads parser wrote its list on failure",
                         [](const std::string& r, TalAdList& l) { return ParseAdsReply(r, l); });
    CheckList<NewsList>(input, seed, "news parser wrote its list on failure",
                        [](const std::string& r, NewsList& l) { return ParseNewsReply(r, l); });
    int dateline = -5;
    if (ParseServerTimeReply(input, dateline) != 0 && dateline != 0) Fail(input, "server time not reset", seed);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const std::uint64_t seed =
        argc > 2 ? std::strtoull(argv[2], nullptr, 10)
                 : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::printf("reply_fuzz: seed %llu, %.0f s\n", static_cast<unsigned long long>(seed), seconds);
    std::fflush(stdout);

    for (const std::string& r : kCorpus) FeedEveryParser(r, seed);
    Mutator mutator(seed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        for (int i = 0; i < 100; ++i, ++runs) FeedEveryParser(mutator.next(), seed);
    }
    std::printf("reply_fuzz: %lld replies, no fault\n", runs);
    for (const auto& [what, n] : gSuccesses) std::printf("  read as success by %s: %d\n", what.c_str(), n);
    return 0;
}
