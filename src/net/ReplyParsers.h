#pragma once
// Readers of the service's JSON replies. Each returns the service's error code (0 =
// success) and fills its outputs only on success. A reply is never trusted: members
// that are missing or not strings read as empty text (numbers as 0), and a reply that
// cannot be read at all — not JSON, nested too deep, no error code, a list that is not
// an array of objects — returns the parser's "unreadable" code instead of throwing.
#include <string>

#include "model/Records.h"
#include "net/LoginUser.h"

namespace kivtal {

// A container or allocation failure while reading the reply.
inline constexpr int kReplyFrameworkFailure = -3;
// A reply that is not a JSON object with an error code the client understands.
inline constexpr int kReplyUnreadable = -4;

struct VersionOffer {
    int new_ver = 0;
    std::string new_ver_name;
    std::string ver_description;
    std::string download_addr;
    int enforce_update = 0;
    std::string file_md5;
};

// Stores random_key and user_id and derives the request key on success.
// Unreadable: kReplyUnreadable, so that a broken reply never counts as a login.
int ParseLoginReply(const std::string& reply, LoginUser& user);
// The offer is read only when new_ver is not 0. Unreadable: 0 (nothing offered).
int ParseVersionReply(const std::string& reply, VersionOffer& offer);
// Unreadable: 0.
int ParseLogoutReply(const std::string& reply);
// Unreadable: kReplyUnreadable, so the picture is not taken for uploaded.
int ParseUploadReply(const std::string& reply, int& uploadCount);
// Appends the received changes. Unreadable: kReplyUnreadable, so that a run never
// uploads (and moves its sync time past) changes it did not receive.
int ParseReceiveReply(const std::string& reply, SyncRecordList& received);
// Reads the server time and appends the acknowledgements (state 3). A success without
// a usable time is unreadable: the sync time must never fall back to 0.
int ParseSendReply(const std::string& reply, int& serverTime, SyncRecordList& results);
// The position in the batch of the entry a refused send names ("refused"), or -1 when
// the reply names none (a service that refuses only whole batches) or cannot be read.
int ParseRefusedEntry(const std::string& reply);
// As ParseSendReply, but takes the acknowledgement only when there is exactly one.
int ParseSingleResultReply(const std::string& reply, int& serverTime, SyncRecordList& results);
// Appends the advertisements. Unreadable: kReplyUnreadable, so stored ones are kept.
int ParseAdsReply(const std::string& reply, TalAdList& ads);
// Appends the news items (state 0, no local picture yet). Unreadable: 0.
int ParseNewsReply(const std::string& reply, NewsList& news);
// Reads "dateline" (0 when absent). Returns 0, or kReplyUnreadable with dateline 0.
int ParseServerTimeReply(const std::string& reply, int& dateline);

}  // namespace kivtal
