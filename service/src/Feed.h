#pragma once
// The per-account change feed. Every stored change gets the account's next sequence
// number; the "time" a client keeps is such a number, so changes made in the same
// second are told apart and none is skipped.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ChangeList.h"
#include "Database.h"

namespace kivtal::service {

struct SendResult {
    int oper_id;
    std::int64_t id;
    int client_id;
    // False for a resend the service recognised as already stored: answered, not kept again.
    bool stored;
};

struct FeedEntry {
    int oper_id;
    int main;
    std::int64_t time;
    int oper_ways;
    std::int64_t id;
    std::string content;
};

class Feed {
public:
    explicit Feed(Database& db) : db_(db) {}

    // Stores the batch in order (inside the caller's transaction): assigns server ids,
    // fills parent server ids from the device's earlier adds, logs each change. An add
    // this device sent before (same kind and local id, no server id) changes the record
    // it made then instead of making a second one; one resent exactly as this device
    // last stored it is answered but not passed on again.
    std::vector<SendResult> store(std::int64_t accountId, std::string_view device, const std::vector<Change>& batch);

    // The changes of the account's other devices after `lastSync` up to the account's
    // current sequence (`end`), in order. Only reads: a large page is built in a read
    // transaction that holds up no writer.
    struct Page {
        std::vector<FeedEntry> entries;
        std::int64_t end = 0;
    };
    Page changesAfter(std::int64_t accountId, std::string_view device, std::int64_t lastSync);
    // Credits the device with everything up to `end` of the page it received, and keeps
    // how far it said it had received. Inside the caller's write transaction.
    void markReceived(std::int64_t accountId, std::string_view device, const Page& page, std::int64_t lastSync);

    // The sequence a device may store as its sync time: the end of its last receive,
    // so a change another device made after that receive is still ahead of it.
    std::int64_t syncTimeFor(std::int64_t accountId, std::string_view device);

    // Gives the account its one record of a singleton kind (profile, settings) when it
    // has none yet, logged as an add that comes from no device, so that every device
    // of the account receives it. Inside the caller's transaction.
    void ensureRecord(std::int64_t accountId, int kind, const std::string& value);

    // Stores a batch the service makes itself (the demo book) like a device's batch, as
    // changes that come from no device. Inside the caller's transaction.
    std::vector<SendResult> storeOwn(std::int64_t accountId, const std::vector<Change>& batch);
    // Whether the service stored a batch of its own for the account already.
    bool hasOwnBatch(std::int64_t accountId);

private:
    std::int64_t resentAdd(std::int64_t accountId, std::string_view device, const Change& c);
    std::int64_t targetRecord(std::int64_t accountId, std::string_view device, const Change& c);
    std::int64_t ownedRecord(std::int64_t accountId, int kind, std::int64_t serverId);
    std::int64_t singletonRecord(std::int64_t accountId, int kind);
    std::int64_t newRecord(std::int64_t accountId, int kind);
    bool answerLost(std::int64_t accountId, std::string_view device, std::int64_t serverId);
    std::string lastSent(std::int64_t accountId, std::string_view device, std::int64_t serverId);
    std::int64_t mappedRecord(std::int64_t accountId, std::string_view device, int kind, std::int64_t clientId);
    std::string storedValue(std::int64_t accountId, std::string_view device, const Change& c, std::int64_t id);
    void logChange(std::int64_t accountId, std::string_view device, const Change& c, std::int64_t id,
                   const std::string& value);

    Database& db_;
};

}  // namespace kivtal::service
