#include "net/ReplyParsers.h"

#include <charconv>

#include <json/json.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

#include "model/Diagnostics.h"
#include "model/SyncKinds.h"
#include "net/Identity.h"
#include "model/IntText.h"
#include "text/TextConv.h"

namespace kivtal {

namespace {

// Deeper documents are refused rather than recursed into.
constexpr int kJsonStackLimit = 256;

bool ParseJsonObject(const std::string& text, Json::Value& root) {
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = kJsonStackLimit;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) return false;
    } catch (const Json::Exception&) {
        return false;
    }
    return root.isObject();
}

std::string Text(const Json::Value& object, const char* name) {
    if (!object.isObject()) return {};
    const Json::Value* member = object.find(name, name + std::char_traits<char>::length(name));
    return (member != nullptr && member->isString()) ? member->asString() : std::string();
}

int Int(const Json::Value& object, const char* name) { return LeadingInt(Text(object, name)); }

// Texts the user reads (contents, titles) are decoded as UTF-8, up to a zero byte,
// with broken sequences repaired.
std::string UserText(const Json::Value& object, const char* name) {
    return WideToUtf8(Utf8CharsToWide(Text(object, name).c_str()));
}

// The entries of an array member; a missing or null member has none. A list of any
// other shape makes the whole reply unreadable: read as empty, a receive would move
// the sync time past changes it never got, and an upload would count as answered.
const Json::Value& Entries(const Json::Value& object, const char* name) {
    static const Json::Value kNone(Json::arrayValue);
    const Json::Value* member = object.find(name, name + std::char_traits<char>::length(name));
    if (member == nullptr || member->isNull()) return kNone;
    const bool wellFormed = member->isArray() && std::all_of(member->begin(), member->end(),
                                                             [](const Json::Value& e) { return e.isObject(); });
    if (!wellFormed) throw std::runtime_error(std::string("not a list of objects: ") + name);
    return *member;
}

void ReportWrongJson() { DebugLine("exception:json is wrong"); }

// Opens a reply: 0 with the root when its error is "0", the service's code when it is
// another number, `unreadable` when there is no JSON object or no usable code.
int OpenReply(const std::string& reply, int unreadable, Json::Value& root) {
    if (!ParseJsonObject(reply, root)) {
        ReportWrongJson();
        return unreadable;
    }
    const std::string error = Text(root, "error");
    if (error == "0") return 0;
    const int code = LeadingInt(error);
    return code != 0 ? code : unreadable;
}

// Keeps every failure inside the parser: allocation and container failures report
// the framework code, anything else `otherFailure`.
template <class Body>
int Guarded(int otherFailure, Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    } catch (const std::out_of_range&) {
    } catch (...) {
        ReportWrongJson();
        return otherFailure;
    }
    ReportWrongJson();
    return kReplyFrameworkFailure;
}

SyncRecord ReceivedEntry(const Json::Value& e) {
    SyncRecord r;
    r.oper_code = Int(e, "oper_id");
    r.main_tab = r.oper_code == 1 ? Int(e, "main") : 0;
    r.oper_time = Int(e, "time");
    r.oper_ways = Int(e, "oper_ways");
    r.s_server_id = Int(e, "id");
    r.s_values = UserText(e, "content");
    return r;
}

SyncRecord ResultEntry(const Json::Value& e) {
    SyncRecord r;
    r.oper_code = Int(e, "oper_id");
    r.s_server_id = Int(e, "id");
    r.s_row_id = Int(e, "client_id");
    r.sync_state = SYNC_DONE;
    return r;
}

TalAd AdEntry(const Json::Value& e) {
    TalAd ad;
    ad.server_id = Int(e, "ad_server_id");
    ad.ad_path = Text(e, "ad_path");
    ad.sort_id = Int(e, "sort_id");
    ad.jump_url = Text(e, "ad_jump_url");
    ad.ad_content = UserText(e, "ad_content");
    return ad;
}

News NewsEntry(const Json::Value& e) {
    News n;
    n.news_server_id = Int(e, "news_id");
    n.news_title = UserText(e, "news_title");
    n.news_content = UserText(e, "news_content");
    n.create_time = Int(e, "create_time");
    n.news_type = Int(e, "news_type");
    return n;
}

int ParseCommit(const std::string& reply, int& serverTime, SyncRecordList& results, bool onlySingle) {
    return Guarded(kReplyUnreadable, [&] {
        Json::Value root;
        const int code = OpenReply(reply, kReplyUnreadable, root);
        if (code != 0) return code;
        const int time = Int(root, "time");
        if (time <= 0) return kReplyUnreadable;
        const Json::Value& entries = Entries(root, "results");
        SyncRecordList read;
        if (!onlySingle || entries.size() == 1) {
            for (const auto& e : entries) read.push_back(ResultEntry(e));
        }
        serverTime = time;
        results.insert(results.end(), read.begin(), read.end());
        return 0;
    });
}

// A reply whose payload is one array: each entry is read with `read` and appended to
// `out` only when the whole reply was read.
template <class Record>
int ParseList(const std::string& reply, int unreadable, const char* member, Record (*read)(const Json::Value&),
              std::vector<Record>& out) {
    return Guarded(unreadable, [&] {
        Json::Value root;
        const int code = OpenReply(reply, unreadable, root);
        if (code != 0) return code;
        std::vector<Record> list;
        for (const auto& e : Entries(root, member)) list.push_back(read(e));
        out.insert(out.end(), list.begin(), list.end());
        return 0;
    });
}

}  // namespace

int ParseLoginReply(const std::string& reply, LoginUser& user) {
    return Guarded(kReplyUnreadable, [&] {
        Json::Value root;
        const int code = OpenReply(reply, kReplyUnreadable, root);
        if (code != 0) return code;
        const std::string randomKey = Text(root, "random_key");
        const std::string userId = Text(root, "user_id");
        user.update([&](LoginUserState& s) {
            s.random_key = randomKey;
            s.user_id = userId;
        });
        computeKey(user);
        return 0;
    });
}

int ParseVersionReply(const std::string& reply, VersionOffer& offer) {
    return Guarded(0, [&] {
        Json::Value root;
        const int code = OpenReply(reply, 0, root);
        if (code != 0) return code;
        VersionOffer read;
        read.new_ver = Int(root, "new_ver");
        if (read.new_ver != 0) {
            read.new_ver_name = Text(root, "new_ver_name");
            read.ver_description = Text(root, "ver_description");
            read.download_addr = Text(root, "download_addr");
            read.enforce_update = Int(root, "enforce_update");
            read.file_md5 = Text(root, "file_md5");
        }
        offer = read;
        return 0;
    });
}

int ParseLogoutReply(const std::string& reply) {
    return Guarded(0, [&] {
        Json::Value root;
        return OpenReply(reply, 0, root);
    });
}

int ParseUploadReply(const std::string& reply, int& uploadCount) {
    return Guarded(kReplyUnreadable, [&] {
        Json::Value root;
        const int code = OpenReply(reply, kReplyUnreadable, root);
        if (code == 0) uploadCount = Int(root, "upload_count");
        return code;
    });
}

int ParseReceiveReply(const std::string& reply, SyncRecordList& received) {
    return ParseList(reply, kReplyUnreadable, "opers", ReceivedEntry, received);
}

int ParseSendReply(const std::string& reply, int& serverTime, SyncRecordList& results) {
    return ParseCommit(reply, serverTime, results, false);
}

int ParseRefusedEntry(const std::string& reply) {
    return Guarded(-1, [&] {
        Json::Value root;
        if (!ParseJsonObject(reply, root) || !root["refused"].isObject()) return -1;
        const std::string text = Text(root["refused"], "index");
        int index = -1;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, index);
        return error == std::errc() && stop == end && index >= 0 ? index : -1;
    });
}

int ParseSingleResultReply(const std::string& reply, int& serverTime, SyncRecordList& results) {
    return ParseCommit(reply, serverTime, results, true);
}

int ParseAdsReply(const std::string& reply, TalAdList& ads) {
    return ParseList(reply, kReplyUnreadable, "ads", AdEntry, ads);
}

int ParseNewsReply(const std::string& reply, NewsList& news) {
    return ParseList(reply, 0, "news_list", NewsEntry, news);
}

int ParseServerTimeReply(const std::string& reply, int& dateline) {
    dateline = 0;
    return Guarded(kReplyUnreadable, [&] {
        Json::Value root;
        if (!ParseJsonObject(reply, root)) {
            ReportWrongJson();
            return kReplyUnreadable;
        }
        dateline = Int(root, "dateline");
        return 0;
    });
}

}  // namespace kivtal
