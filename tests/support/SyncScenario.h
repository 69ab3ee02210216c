#pragma once
// A service that behaves like the real one for sync runs, on top of the scripted
// loopback service: it keeps a feed of changes made elsewhere and hands out those newer
// than the client's last sync, and it acknowledges every uploaded entry with a server
// id derived from the entry itself. Because the answers follow from the requests,
// a run may be repeated after any failure and still meet consistent replies, as it
// would against the real service.
//
//   ScriptedService wire;
//   SyncFeed feed(wire);
//   feed.publish(1500, change);   // visible to receives with last_sync < 1500
//   feed.setClock(2000);          // the time every upload reply carries
//   feed.failRequest(1, [](const Reply& normal) { return Reply::Status(500); });
#include <json/json.h>

#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/Records.h"
#include "support/ScriptedService.h"
#include "model/IntText.h"

namespace kivtal::test {

// A change made on another device, as the service hands it out.
inline SyncRecord ChangeMadeElsewhere(int kind, int ways, int serverId, std::string values) {
    SyncRecord c;
    c.oper_code = kind;
    c.oper_ways = ways;
    c.s_server_id = serverId;
    c.s_values = std::move(values);
    return c;
}

class SyncFeed {
public:
    using FaultMaker = std::function<Reply(const Reply& normal)>;

    // Takes over every answer of `wire` (a fault plan that answers every request).
    explicit SyncFeed(ScriptedService& wire) {
        wire.setFaultPlan({[this](std::size_t index, const Request& r) { return answer(index, r); }});
    }
    SyncFeed(const SyncFeed&) = delete;
    SyncFeed& operator=(const SyncFeed&) = delete;

    // The server id an uploaded entry is acknowledged with: a modify of a row the
    // service knows keeps its id; anything else gets a new one, the same each time the
    // same entry comes up again.
    static int ResultId(int kind, int clientId, int ways, int serverId) {
        return ways == 2 && serverId != 0 ? serverId : kind * 1000000 + clientId;
    }

    // A change made elsewhere at `time` (the entry's oper_time is set to it).
    void publish(int time, SyncRecord change) {
        change.oper_time = time;
        std::lock_guard<std::mutex> lock(mutex_);
        feed_.push_back(std::move(change));
    }
    void setClock(int serverTime) {
        std::lock_guard<std::mutex> lock(mutex_);
        clock_ = serverTime;
    }
    // The request with this index (counted from 0 over every request the wire
    // received since this feed took over) is answered by `fault`, given the reply it
    // would have had.
    void failRequest(std::size_t index, FaultMaker fault) {
        std::lock_guard<std::mutex> lock(mutex_);
        faultAt_ = index;
        fault_ = std::move(fault);
    }

    // The reply /Sync/receive gives for this last sync time.
    std::string receiveReply(int lastSync) const {
        Json::Value root;
        root["error"] = "0";
        root["opers"] = Json::Value(Json::arrayValue);
        std::lock_guard<std::mutex> lock(mutex_);
        for (const SyncRecord& c : feed_)
            if (c.oper_time > lastSync) root["opers"].append(Entry(c));
        return Write(root);
    }

private:
    static Json::Value Entry(const SyncRecord& c) {
        Json::Value e;
        e["oper_id"] = std::to_string(c.oper_code);
        e["main"] = std::to_string(c.main_tab);
        e["time"] = std::to_string(c.oper_time);
        e["oper_ways"] = std::to_string(c.oper_ways);
        e["id"] = std::to_string(c.s_server_id);
        e["content"] = c.s_values;
        return e;
    }

    static std::string Write(const Json::Value& v) {
        Json::StreamWriterBuilder w;
        w["indentation"] = "";
        w["emitUTF8"] = true;
        return Json::writeString(w, v);
    }

    // The value of a form field ("" when absent); the client sends them unescaped.
    static std::string Field(const std::string& body, const std::string& name, bool toEnd = false) {
        const std::string key = name + "=";
        std::size_t at = body.rfind("&" + key);
        at = at == std::string::npos ? (body.starts_with(key) ? 0 : std::string::npos) : at + 1;
        if (at == std::string::npos) return {};
        const std::size_t from = at + key.size();
        return body.substr(from, toEnd ? std::string::npos : body.find('&', from) - from);
    }

    std::string sendReply(const Request& r) const {
        Json::Value uploaded;
        Json::Reader().parse(Field(r.body, "opers", true), uploaded);
        Json::Value root;
        root["error"] = "0";
        {
            std::lock_guard<std::mutex> lock(mutex_);
            root["time"] = std::to_string(clock_);
        }
        root["results"] = Json::Value(Json::arrayValue);
        for (const Json::Value& o : uploaded["opers"]) {
            const int kind = LeadingInt(o["oper_id"].asString());
            const int clientId = LeadingInt(o["client_id"].asString());
            const int id =
                ResultId(kind, clientId, LeadingInt(o["oper_ways"].asString()), LeadingInt(o["id"].asString()));
            Json::Value result;
            result["oper_id"] = std::to_string(kind);
            result["id"] = std::to_string(id);
            result["client_id"] = std::to_string(clientId);
            root["results"].append(result);
        }
        return Write(root);
    }

    std::optional<Reply> answer(std::size_t index, const Request& r) {
        Reply normal = Reply::Status(404);
        if (r.path == "/Sync/receive") normal = Reply::Ok(receiveReply(LeadingInt(Field(r.body, "last_sync"))));
        if (r.path == "/Sync/send") normal = Reply::Ok(sendReply(r));
        FaultMaker fault;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (faultAt_ == index) fault = fault_;
        }
        return fault ? fault(normal) : normal;
    }

    mutable std::mutex mutex_;
    std::vector<SyncRecord> feed_;
    int clock_ = 0;
    std::optional<std::size_t> faultAt_;
    FaultMaker fault_;
};

}  // namespace kivtal::test
