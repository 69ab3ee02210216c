#pragma once
// The floors the sync figures are held against, each taken in this process as the
// median of `runs` timings, in milliseconds; false, with `error` saying why, when one
// cannot be taken.
#include <filesystem>
#include <string>

namespace kivtal::bench {

// The service's own insert of what device A uploads: A's pending change-log entries
// encoded as the client sends them and decoded by the service, stored by its feed in
// one transaction over a copy of `keptService` (the service's folder before the upload).
bool ServiceInsertMs(const std::filesystem::path& keptService, const std::filesystem::path& deviceA, int runs,
                     double& ms, std::string& error);

// One receive request (a connection of its own, as the client makes one per request)
// by a device that logged in once: `lastSync` 0 receives the whole feed, a time past
// its end nothing.
bool ReceiveRequestMs(const std::string& url, int lastSync, int runs, double& ms, std::string& error);

// One transaction inserting device A's contacts and bank accounts as bare rows (no
// change log, nothing derived) into a copy of `keptB` (device B's data folder as it
// was before its download).
bool InsertTransactionMs(const std::filesystem::path& deviceA, const std::filesystem::path& keptB, int runs, double& ms,
                         std::string& error);

}  // namespace kivtal::bench
