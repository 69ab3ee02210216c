#pragma once
// A reference service on a loopback port with its own scratch database, and devices
// that log in and call it the way the client does: raw forms, derived key, change
// lists encoded as the client encodes them.
#include <gtest/gtest.h>
#include <httplib.h>
#include <json/json.h>

#include <memory>
#include <string>
#include <vector>

#include "Crypto.h"
#include "HttpServer.h"
#include "Service.h"
#include "ValueLayout.h"
#include "service/ScratchDatabase.h"
#include "support/TempDir.h"

namespace kivtal::service::test {

struct Device {
    std::string uniqueId;
    std::string userId;
    std::string key;
};

struct Entry {
    int oper_id;
    int oper_ways;
    int client_id;
    int id;
    std::string content;
    int main = 1;
};

// A value string of `count` fields, all "0" except those given.
inline std::string Values(std::size_t count, std::vector<std::pair<std::size_t, std::string>> set) {
    std::vector<std::string> fields(count, "0");
    for (auto& [i, v] : set) fields[i] = v;
    return JoinFields(fields);
}

inline std::string ContactGroup(int localId, const std::string& name) {
    return Values(4, {{0, std::to_string(localId)}, {1, name}, {2, "-1"}});
}
// A contact in local group `groupId` whose group's server id the device does not know.
inline std::string Contact(int localId, const std::string& name, int groupId, int serverGroupId = -1) {
    return Values(
        34,
        {{0, std::to_string(localId)}, {1, name}, {7, std::to_string(groupId)}, {33, std::to_string(serverGroupId)}});
}
inline std::string Reminder(int localId, const std::string& text, int state = 0) {
    return Values(10, {{0, std::to_string(localId)}, {1, text}, {6, std::to_string(state)}});
}
inline std::string Profile(const std::string& username, const std::string& pwd = "digest") {
    return Values(20, {{2, "demo"}, {3, pwd}, {5, username}});
}

// The client's content escaping of the form characters (enough for the values here).
inline std::string EscapeForForm(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '/': out += "%2F"; break;
            case '+': out += "%2B"; break;
            case '?': out += "%3F"; break;
            case '#': out += "%23"; break;
            case '&': out += "%26"; break;
            case '=': out += "%3D"; break;
            case '\'': out += "%27"; break;
            default: out += c;
        }
    }
    return out;
}

inline std::string EncodeOpers(const std::vector<Entry>& entries) {
    Json::Value doc;
    for (const Entry& e : entries) {
        Json::Value o(Json::objectValue);
        o["client_id"] = std::to_string(e.client_id);
        o["content"] = EscapeForForm(e.content);
        o["id"] = std::to_string(e.id);
        o["main"] = std::to_string(e.main);
        o["oper_id"] = std::to_string(e.oper_id);
        o["oper_ways"] = std::to_string(e.oper_ways);
        o["time"] = "1700000000";
        doc["opers"].append(o);
    }
    Json::StreamWriterBuilder b;
    b["indentation"] = "";
    b["emitUTF8"] = true;
    std::string text = Json::writeString(b, doc) + "\n";
    std::string out;
    for (char c : text) out += c == '\\' ? std::string("%5c") : std::string(1, c);
    return out;
}

// Passwords stored with few rounds: the tests log in hundreds of times.
inline ServiceOptions FastLogins() {
    ServiceOptions o;
    o.passwordRounds = 1000;
    return o;
}

class ServiceHarness : public ::testing::Test {
protected:
    void SetUp() override {
        service_ = std::make_unique<Service>(db_.address(), options_, dir_.path());
        http_ = std::make_unique<HttpServer>(*service_, limits_);
        port_ = http_->bind("127.0.0.1", 0);
        ASSERT_GT(port_, 0);
        http_->start();
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
        client_->set_read_timeout(30, 0);
    }
    void TearDown() override { http_->stop(); }

    Service& service() { return *service_; }

    void addAccount(const std::string& name, const std::string& password, std::int64_t coins = 0,
                    bool certified = false, const std::string& realName = "") {
        ASSERT_TRUE(service_->createAccount({name, ClientPasswordDigest(password), coins, certified, realName}));
    }

    Json::Value post(const std::string& path, const std::string& body) {
        const auto res = client_->Post(path.c_str(), body, "application/x-www-form-urlencoded");
        if (!res || res->status != 200) {
            ADD_FAILURE() << path << " failed";
            return {};
        }
        Json::Value v;
        std::string errors;
        const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
        EXPECT_TRUE(reader->parse(res->body.data(), res->body.data() + res->body.size(), &v, &errors)) << res->body;
        return v;
    }

    Json::Value loginReply(const std::string& name, const std::string& password, const std::string& uniqueId) {
        return post("/Login/login", "username=" + name + "&password=" + ClientPasswordDigest(password) +
                                        "&unique_id=" + uniqueId + "&visitor=1");
    }

    Device login(const std::string& name, const std::string& password, const std::string& uniqueId) {
        const Json::Value r = loginReply(name, password, uniqueId);
        EXPECT_EQ(r["error"].asString(), "0");
        const std::string userId = r["user_id"].asString();
        return {uniqueId, userId, RequestKey(userId, uniqueId, r["random_key"].asString())};
    }

    static std::string identity(const Device& d) { return "key=" + d.key + "&visitor=1&unique_id=" + d.uniqueId; }

    Json::Value send(const Device& d, const std::vector<Entry>& entries) {
        return post("/Sync/send", identity(d) + "&user_id=" + d.userId + "&opers=" + EncodeOpers(entries));
    }
    Json::Value receive(const Device& d, std::int64_t lastSync) {
        return post("/Sync/receive", identity(d) + "&last_sync=" + std::to_string(lastSync) + "&user_id=" + d.userId);
    }

    // The kinds of a receive reply's entries, in order.
    static std::vector<int> kinds(const Json::Value& reply) {
        std::vector<int> out;
        for (const auto& e : reply["opers"]) out.push_back(std::stoi(e["oper_id"].asString()));
        return out;
    }

    // The first run of a device of an account nobody has changed yet: it receives just
    // the account's profile and settings records, then keeps the time of its send.
    std::int64_t firstSync(const Device& d) {
        EXPECT_EQ(kinds(receive(d, 0)), (std::vector<int>{3, 8})) << d.uniqueId;
        return std::stoll(send(d, {})["time"].asString());
    }

    std::int64_t coins(const std::string& name) { return service_->findAccount(name)->coins; }

    // The service's own database, behind its back (as an older service left it, ...).
    std::unique_ptr<Database> openDatabase() { return OpenDatabase(db_.address()); }

    kivtal::test::TempDir dir_;
    kivtal::test::ScratchDatabase db_{dir_.file("service.db")};
    AcceptorLimits limits_;  // a fixture may change these before SetUp
    ServiceOptions options_ = FastLogins();
    std::unique_ptr<Service> service_;
    std::unique_ptr<HttpServer> http_;
    std::unique_ptr<httplib::Client> client_;
    int port_ = 0;
};

}  // namespace kivtal::service::test
