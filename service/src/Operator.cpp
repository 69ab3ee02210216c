#include "Operator.h"

#include <json/json.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>

#include "Crypto.h"
#include "TypedText.h"

namespace kivtal::service {

namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::size_t> kCommandArity = {
    {"--add-account", 2}, {"--add-news", 2}, {"--add-ad", 1}, {"--set-version", 4}, {"--load", 1}, {"--seed-demo", 0},
};
const std::set<std::string> kValueOptions = {"--public-url",    "--password-rounds", "--coins", "--name", "--type",
                                             "--jump",          "--content",         "--sort",  "--md5",  "--data",
                                             "--db-connections"};
const std::set<std::string> kFlags = {"--certified", "--enforce", "--demo"};

std::optional<int> ToInt(const std::string& s) {
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

int IntOption(const CommandLine& cl, const std::string& name, int fallback) {
    const auto it = cl.options.find(name);
    return it == cl.options.end() ? fallback : ToInt(it->second).value_or(fallback);
}

std::string TextOption(const CommandLine& cl, const std::string& name) {
    const auto it = cl.options.find(name);
    return it == cl.options.end() ? std::string() : it->second;
}

bool IsAddress(const std::string& s) { return s.rfind("http://", 0) == 0 || s.rfind("https://", 0) == 0; }

// Copies a local file under files/<folder>/ and answers its published name; an
// address is published as it is.
std::string Publish(Service& service, const std::string& source, const std::string& folder, const fs::path& base) {
    if (IsAddress(source)) return source;
    const fs::path from = fs::path(source).is_absolute() ? fs::path(source) : base / source;
    const fs::path dir = service.filesDir() / folder;
    fs::create_directories(dir);
    fs::copy_file(from, dir / from.filename(), fs::copy_options::overwrite_existing);
    return folder + "/" + from.filename().string();
}

std::string FileMd5(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return Md5Hex(bytes.str());
}

int AddAccount(Service& service, const NewAccount& a, std::ostream& out, std::ostream& err) {
    if (a.loginName.empty()) {
        err << "an account needs a login name\n";
        return 2;
    }
    if (!PrintableLength(a.loginName)) {
        err << "a login name is UTF-8 text without control characters or direction marks\n";
        return 2;
    }
    const auto id = service.createAccount(a);
    if (!id) {
        err << "account " << a.loginName << " exists already\n";
        return 1;
    }
    out << "account " << a.loginName << " created with user id " << *id << "\n";
    return 0;
}

int SetVersion(Service& service, VersionOffer v, const fs::path& base, std::ostream& out) {
    const std::string installer = v.download;
    v.download = Publish(service, installer, "update", base);
    if (v.fileMd5.empty() && !IsAddress(installer)) v.fileMd5 = FileMd5(service.filesDir() / v.download);
    service.setVersionOffer(v);
    out << "version " << v.newVer << " offered\n";
    return 0;
}

int LoadDataFile(Service& service, const fs::path& file, std::ostream& out, std::ostream& err) {
    std::ifstream in(file);
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    if (!in || !Json::parseFromStream(builder, in, &root, &errors) || !root.isObject()) {
        err << "cannot read " << file << ": " << errors << "\n";
        return 2;
    }
    const fs::path base = file.parent_path();
    int rc = 0;
    for (const Json::Value& a : root["accounts"]) {
        rc |= AddAccount(service,
                         {a["name"].asString(), ClientPasswordDigest(a["password"].asString()), a["coins"].asInt64(),
                          a["certified"].asBool(), a["real_name"].asString()},
                         out, err);
    }
    for (const Json::Value& n : root["news"]) {
        const int type = n["type"].asInt();
        const std::string content = n["content"].asString();
        service.addNews({0, n["title"].asString(), type == 1 ? Publish(service, content, "news", base) : content,
                         n["create_time"].asInt64(), type});
    }
    for (const Json::Value& a : root["ads"]) {
        service.addAdvert({0, Publish(service, a["picture"].asString(), "ads", base), a["sort"].asInt(),
                           a["jump_url"].asString(), a["content"].asString()});
    }
    if (const Json::Value& v = root["version"]; v.isObject()) {
        rc |= SetVersion(service,
                         {v["number"].asInt(), v["name"].asString(), v["description"].asString(),
                          v["installer"].asString(), v["enforce"].asBool(), v["md5"].asString()},
                         base, out);
    }
    out << "loaded " << file.string() << "\n";
    return rc;
}

int SeedDemo(Service& service, std::ostream& out) {
    if (service.seedDemoBook(std::time(nullptr)) == Service::Seeded::kAlreadyThere) {
        out << "the demo account has its demo book already\n";
        return 0;
    }
    out << "the demo account " << kDemoLogin << " / " << kDemoPassword << " has its demo book\n";
    return 0;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(int argc, const char* const* argv, std::string& error) {
    CommandLine cl;
    cl.db = DefaultDbPath().string();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--db" && hasValue) {
            cl.db = argv[++i];
        } else if (arg == "--host" && hasValue) {
            cl.host = argv[++i];
        } else if (arg == "--port" && hasValue) {
            const auto port = ToInt(argv[++i]);
            if (!port || *port < 0 || *port > 65535) {
                error = "bad port";
                return std::nullopt;
            }
            cl.port = *port;
        } else if (kCommandArity.count(arg) && cl.command.empty()) {
            cl.command = arg;
        } else if (kValueOptions.count(arg) && hasValue) {
            cl.options[arg] = argv[++i];
        } else if (kFlags.count(arg)) {
            cl.options[arg] = "1";
        } else if (!cl.command.empty() && arg.rfind("--", 0) != 0) {
            cl.args.push_back(arg);
        } else {
            error = "unexpected argument " + arg;
            return std::nullopt;
        }
    }
    if (!cl.command.empty() && cl.args.size() != kCommandArity.at(cl.command)) {
        error = cl.command + " needs " + std::to_string(kCommandArity.at(cl.command)) + " argument(s)";
        return std::nullopt;
    }
    return cl;
}

std::string Usage() {
    return "usage: kivtal-service [--db PATH|postgresql://...] [--data DIR] [--host ADDRESS] [--port N]\n"
           "                     [--public-url URL] [--demo] [--db-connections N]\n"
           "       (any form may add --password-rounds N, for tests only)\n"
           "       kivtal-service [--db PATH] --add-account NAME PASSWORD [--coins N] [--certified] [--name "
           "REAL_NAME]\n"
           "       kivtal-service [--db PATH] --add-news TITLE CONTENT [--type N]\n"
           "       kivtal-service [--db PATH] --add-ad PICTURE [--jump URL] [--content TEXT] [--sort N]\n"
           "       kivtal-service [--db PATH] --set-version NUMBER NAME DESCRIPTION INSTALLER [--enforce] [--md5 HEX]\n"
           "       kivtal-service [--db PATH] --load DATA.json\n"
           "       kivtal-service [--db PATH] --seed-demo\n";
}

ServiceOptions OptionsOf(const CommandLine& cl) {
    ServiceOptions o;
    o.passwordRounds = std::max(1, IntOption(cl, "--password-rounds", kPasswordRounds));
    o.serverConnections = static_cast<std::size_t>(std::max(1, IntOption(cl, "--db-connections", 16)));
    return o;
}

fs::path DataDir(const CommandLine& cl) {
    if (const auto given = cl.options.find("--data"); given != cl.options.end()) return given->second;
    return IsPostgresAddress(cl.db) ? DefaultDbPath().parent_path() : fs::path(cl.db).parent_path();
}

fs::path DefaultDbPath() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(home ? home : ".") / ".local" / "share";
    return base / "kivtal-service" / "service.db";
}

int RunOperatorCommand(Service& service, const CommandLine& cl, std::ostream& out, std::ostream& err) {
    const auto& a = cl.args;
    const fs::path here = fs::current_path();
    if (cl.command == "--add-account") {
        return AddAccount(service,
                          {a[0], ClientPasswordDigest(a[1]), IntOption(cl, "--coins", 0),
                           cl.options.count("--certified") > 0, TextOption(cl, "--name")},
                          out, err);
    }
    if (cl.command == "--add-news") {
        const int type = IntOption(cl, "--type", 0);
        const auto id = service.addNews({0, a[0], type == 1 ? Publish(service, a[1], "news", here) : a[1], 0, type});
        out << "news " << id << " added\n";
        return 0;
    }
    if (cl.command == "--add-ad") {
        const auto id = service.addAdvert({0, Publish(service, a[0], "ads", here), IntOption(cl, "--sort", 0),
                                           TextOption(cl, "--jump"), TextOption(cl, "--content")});
        out << "advertisement " << id << " added\n";
        return 0;
    }
    if (cl.command == "--set-version") {
        const auto number = ToInt(a[0]);
        if (!number) {
            err << "the version number must be an integer\n";
            return 2;
        }
        return SetVersion(service,
                          {*number, a[1], a[2], a[3], cl.options.count("--enforce") > 0, TextOption(cl, "--md5")}, here,
                          out);
    }
    if (cl.command == "--seed-demo") return SeedDemo(service, out);
    return LoadDataFile(service, a[0], out, err);
}

}  // namespace kivtal::service
