#include "Feed.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "ValueLayout.h"

namespace kivtal::service {

namespace {

bool IsUnsetServerId(const std::string& field) { return std::strtol(field.c_str(), nullptr, 10) <= 0; }

// The sender of the records the service makes itself. Devices send their id as a raw
// form field, which ends at the first '&', so no device can carry this one and none
// is left out of a receive.
constexpr std::string_view kNoDevice = "&service";

}  // namespace

std::int64_t Feed::ownedRecord(std::int64_t accountId, int kind, std::int64_t serverId) {
    if (serverId <= 0) return 0;
    auto s = db_.prepare("SELECT server_id FROM records WHERE account_id=? AND kind=? AND server_id=?;");
    s.bind({accountId, std::int64_t{kind}, serverId});
    return s.step() ? s.integer(0) : 0;
}

// Profile and settings are one record per account, whatever id a device gives them.
std::int64_t Feed::singletonRecord(std::int64_t accountId, int kind) {
    auto s = db_.prepare("SELECT min(server_id) FROM records WHERE account_id=? AND kind=?;");
    s.bind({accountId, std::int64_t{kind}});
    return s.step() ? s.integer(0) : 0;
}

std::int64_t Feed::mappedRecord(std::int64_t accountId, std::string_view device, int kind, std::int64_t clientId) {
    if (clientId <= 0) return 0;
    auto s =
        db_.prepare("SELECT server_id FROM client_ids WHERE account_id=? AND unique_id=? AND kind=? AND client_id=?;");
    s.bind({accountId, device, std::int64_t{kind}, clientId});
    return s.step() ? s.integer(0) : 0;
}

// An add this device already sent: the service took the batch but the client never
// stored the answer (a lost reply, a time-out, the program closed), so it sends the
// entry again, with whatever the user changed since. It is the same record; a second
// one would be a duplicate on every other device. The client that never learnt the
// server id sends none; an add that names one is a new record the client split off
// on purpose (a conflict), unless it is an exact resend. The server id the add got
// the first time, or 0 when this is a new add.
std::int64_t Feed::resentAdd(std::int64_t accountId, std::string_view device, const Change& c) {
    if (c.oper_ways != 1 || IsSingleton(c.oper_id)) return 0;
    const std::int64_t id = mappedRecord(accountId, device, c.oper_id, c.client_id);
    if (!id) return 0;
    if (c.id <= 0) return answerLost(accountId, device, id) ? id : 0;
    return lastSent(accountId, device, id) == storedValue(accountId, device, c, id) ? id : 0;
}

// Whether the device may still be waiting for the answer to the add that made the
// record. A device that has since received past that add stored the answer (or is a new
// data folder on the same computer, whose local row ids start again): its add is new.
bool Feed::answerLost(std::int64_t accountId, std::string_view device, std::int64_t serverId) {
    auto added = db_.prepare("SELECT MIN(seq) FROM changes WHERE account_id=? AND device=? AND server_id=?;");
    added.bind({accountId, device, serverId});
    if (!added.step()) return false;
    const std::int64_t addedAt = added.integer(0);
    auto position = db_.prepare("SELECT position FROM device_positions WHERE account_id=? AND unique_id=?;");
    position.bind({accountId, device});
    return !position.step() || position.integer(0) < addedAt;
}

// The value this device last stored for the record; empty when it stored none.
std::string Feed::lastSent(std::int64_t accountId, std::string_view device, std::int64_t serverId) {
    auto s = db_.prepare(
        "SELECT content FROM changes WHERE account_id=? AND device=? AND server_id=? ORDER BY seq DESC LIMIT 1;");
    s.bind({accountId, device, serverId});
    return s.step() ? s.text(0) : std::string();
}

// A modify names its record by server id, or, when the device never learnt it (an id
// of 0 or below), by its local id; it never falls back to another record of the kind.
// Profile and settings exist once per account whatever id they carry. Anything else
// becomes a new record.
std::int64_t Feed::targetRecord(std::int64_t accountId, std::string_view device, const Change& c) {
    std::int64_t id = 0;
    if (IsSingleton(c.oper_id)) {
        id = singletonRecord(accountId, c.oper_id);
    } else if (c.oper_ways == 2) {
        id = ownedRecord(accountId, c.oper_id, c.id);
        if (!id) id = mappedRecord(accountId, device, c.oper_id, c.client_id);
    }
    return id ? id : newRecord(accountId, c.oper_id);
}

std::int64_t Feed::newRecord(std::int64_t accountId, int kind) {
    auto s = db_.prepare("INSERT INTO records(account_id,kind,value) VALUES(?,?,'') RETURNING server_id;");
    s.bind({accountId, std::int64_t{kind}});
    return InsertedId(s);
}

// The value other devices receive: its own server id filled in, a parent that was
// added in this batch or earlier named by its server id, and no password digest.
std::string Feed::storedValue(std::int64_t accountId, std::string_view device, const Change& c, std::int64_t id) {
    std::vector<std::string> fields = SplitFields(c.content);
    const KindLayout& layout = LayoutOf(c.oper_id);
    if (fields.size() > layout.serverIdField) fields[layout.serverIdField] = std::to_string(id);
    if (const auto& p = layout.parent;
        p && fields.size() > std::max(p->localField, p->serverField) && IsUnsetServerId(fields[p->serverField])) {
        const std::int64_t parent = mappedRecord(accountId, device, p->kind, FieldInt(fields, p->localField));
        if (parent) fields[p->serverField] = std::to_string(parent);
    }
    if (c.oper_id == kProfile && fields.size() > kProfilePassword) fields[kProfilePassword].clear();
    return JoinFields(fields);
}

void Feed::logChange(std::int64_t accountId, std::string_view device, const Change& c, std::int64_t id,
                     const std::string& value) {
    db_.prepare("UPDATE accounts SET last_seq=last_seq+1 WHERE account_id=?;").bind({accountId}).run();
    db_.prepare(
           "INSERT INTO changes(account_id,seq,kind,ways,main,server_id,content,device,time) "
           "SELECT ?1,last_seq,?2,?3,?4,?5,?6,?7,?8 FROM accounts WHERE account_id=?1;")
        .bind({accountId, std::int64_t{c.oper_id}, std::int64_t{c.oper_ways}, std::int64_t{c.main}, id, value, device,
               static_cast<std::int64_t>(std::time(nullptr))})
        .run();
}

std::vector<SendResult> Feed::store(std::int64_t accountId, std::string_view device, const std::vector<Change>& batch) {
    std::vector<SendResult> results;
    auto setValue = db_.prepare("UPDATE records SET value=? WHERE server_id=?;");
    auto remember = db_.prepare(
        "INSERT INTO client_ids(account_id,unique_id,kind,client_id,server_id) VALUES(?,?,?,?,?) "
        "ON CONFLICT(account_id,unique_id,kind,client_id) DO UPDATE SET server_id=excluded.server_id;");
    for (const Change& sent : batch) {
        Change c = sent;
        std::int64_t id = resentAdd(accountId, device, c);
        if (id) {
            c.oper_ways = 2;  // the other devices have the record: they change it
        } else {
            id = targetRecord(accountId, device, c);
        }
        const std::string value = storedValue(accountId, device, c, id);
        // Resent exactly as it was stored: passing it on again could undo a later
        // change another device made.
        const bool repeat = c.oper_ways != sent.oper_ways && value == lastSent(accountId, device, id);
        results.push_back({c.oper_id, id, c.client_id, !repeat});
        if (repeat) continue;
        setValue.bind({value, id}).run();
        if (c.client_id > 0)
            remember.bind({accountId, device, std::int64_t{c.oper_id}, std::int64_t{c.client_id}, id}).run();
        logChange(accountId, device, c, id, value);
    }
    return results;
}

void Feed::ensureRecord(std::int64_t accountId, int kind, const std::string& value) {
    if (singletonRecord(accountId, kind)) return;
    const Change c{kind, 1, 0, 0, 0, 0, value};
    const std::int64_t id = newRecord(accountId, kind);
    const std::string stored = storedValue(accountId, kNoDevice, c, id);
    db_.prepare("UPDATE records SET value=? WHERE server_id=?;").bind({stored, id}).run();
    logChange(accountId, kNoDevice, c, id, stored);
}

std::vector<SendResult> Feed::storeOwn(std::int64_t accountId, const std::vector<Change>& batch) {
    return store(accountId, kNoDevice, batch);
}

bool Feed::hasOwnBatch(std::int64_t accountId) {
    auto s = db_.prepare("SELECT 1 FROM client_ids WHERE account_id=? AND unique_id=? LIMIT 1;");
    s.bind({accountId, kNoDevice});
    return s.step();
}

Feed::Page Feed::changesAfter(std::int64_t accountId, std::string_view device, std::int64_t lastSync) {
    auto latest = db_.prepare("SELECT last_seq FROM accounts WHERE account_id=?;");
    latest.bind({accountId});
    Page page;
    page.end = latest.step() ? latest.integer(0) : 0;
    auto s = db_.prepare(
        "SELECT kind,main,time,ways,server_id,content FROM changes "
        "WHERE account_id=? AND seq>? AND seq<=? AND device<>? ORDER BY seq;");
    s.bind({accountId, lastSync, page.end, device});
    while (s.step()) {
        page.entries.push_back({static_cast<int>(s.integer(0)), static_cast<int>(s.integer(1)), s.integer(2),
                                static_cast<int>(s.integer(3)), s.integer(4), s.text(5)});
    }
    return page;
}

void Feed::markReceived(std::int64_t accountId, std::string_view device, const Page& page, std::int64_t lastSync) {
    db_.prepare("UPDATE devices SET watermark=? WHERE account_id=? AND unique_id=?;")
        .bind({page.end, accountId, device})
        .run();
    db_.prepare(
           "INSERT INTO device_positions(account_id,unique_id,position) VALUES(?,?,?) "
           "ON CONFLICT(account_id,unique_id) DO UPDATE SET position=excluded.position;")
        .bind({accountId, device, lastSync})
        .run();
}

std::int64_t Feed::syncTimeFor(std::int64_t accountId, std::string_view device) {
    auto s = db_.prepare("SELECT watermark FROM devices WHERE account_id=? AND unique_id=?;");
    s.bind({accountId, device});
    return s.step() ? s.integer(0) : 0;
}

}  // namespace kivtal::service
