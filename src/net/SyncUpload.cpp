#include "net/SyncUpload.h"

#include <span>
#include <string>
#include <utility>

#include "model/Diagnostics.h"
#include "net/ChangeListCodec.h"
#include "net/JobSupport.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "net/WorkerMessages.h"
#include "store/ChangeLog.h"
#include "store/RefusedUploads.h"

namespace kivtal {

namespace {

using Range = std::pair<std::size_t, std::size_t>;  // [first, last) of the entries

// Codes with which the service refuses a request whatever it carries: splitting the
// batch would only refuse every entry in turn. Any other code refuses an entry.
constexpr int kBadKey = 1002;
constexpr int kServiceFault = 1005;

bool RefusesEntries(int code) { return code > 0 && code != kBadKey && code != kServiceFault; }

std::string RefusalReason(int code) {
    const std::string tail = " (code " + std::to_string(code) + ")";
    switch (code) {
        case 1004: return "the service cannot read it" + tail;
        case 2004: return "not enough gold coins for the reminder" + tail;
        case 2007: return "a certified account's name cannot change" + tail;
        case 2008: return "the reminder's text holds a word the service refuses" + tail;
        default: return "the service refused it" + tail;
    }
}

std::size_t UploadBytes(const SyncRecord& e) { return 3 * e.s_values.size() + 128; }

// Consecutive ranges within both bounds; a single entry over the byte bound goes alone.
std::vector<Range> Batches(const SyncRecordList& entries) {
    std::vector<Range> out;
    std::size_t first = 0, bytes = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t size = UploadBytes(entries[i]);
        if (i > first && (i - first == kUploadBatchEntries || bytes + size > kUploadBatchBytes)) {
            out.emplace_back(first, i);
            first = i;
            bytes = 0;
        }
        bytes += size;
    }
    if (first < entries.size() || out.empty()) out.emplace_back(first, entries.size());
    return out;
}

class Uploader {
public:
    Uploader(JobContext& ctx, const SyncRecordList& entries, UploadOutcome& out, const SyncStepHook& hook)
        : ctx_(ctx), entries_(entries), out_(out), hook_(hook) {}

    // Sends the range. When the service refuses it, the entry it names is set aside
    // and the entries around it are sent again; when it names none, the two halves.
    int Send(Range r) {
        SyncRecordList results;
        int time = 0;
        std::string reply;
        const int code = Post(r, time, results, reply);
        if (code == 0) return Acknowledge(r, time, results);
        if (!RefusesEntries(code) || r.first == r.second) return code;
        if (r.second - r.first == 1) return SetAside(entries_[r.first], code);
        const int named = ParseRefusedEntry(reply);
        if (named >= 0 && static_cast<std::size_t>(named) < r.second - r.first) {
            const std::size_t at = r.first + static_cast<std::size_t>(named);
            if (const int set = SetAside(entries_[at], code); set != 0) return set;
            return SendEach({{r.first, at}, {at + 1, r.second}});
        }
        const std::size_t middle = r.first + (r.second - r.first) / 2;
        return SendEach({{r.first, middle}, {middle, r.second}});
    }

    // A run whose every entry was refused has no time yet: an empty request brings one.
    int EnsureTime() { return out_.serverTime > 0 ? 0 : Send({0, 0}); }

private:
    // The ranges that hold entries, in order, until one fails.
    int SendEach(std::initializer_list<Range> ranges) {
        for (const Range& r : ranges) {
            if (r.first == r.second) continue;
            if (const int code = Send(r); code != 0) return code;
        }
        return 0;
    }

    int Post(Range r, int& time, SyncRecordList& results, std::string& reply) {
        const SyncRecordList batch(entries_.begin() + static_cast<std::ptrdiff_t>(r.first),
                                   entries_.begin() + static_cast<std::ptrdiff_t>(r.second));
        reply = PostForm(ctx_, kSyncSendPath, SyncSendForm(ctx_.user.snapshot(), EncodeChangeList(batch)),
                         "COMMIT_SYNCE_URL post::", "COMMIT_SYNCE_URL::");
        if (reply.empty()) return kResultNoNetwork;
        if (hook_) hook_(SyncStep::kUploaded);
        const int code = ParseSendReply(reply, time, results);
        // A reply without a readable time acknowledges nothing: taking it for success
        // would set the sync time to 0 and bring every change down again.
        return code == kReplyUnreadable ? kResultNoNetwork : code;
    }

    // The service holds these entries now: they must never go up again, whatever
    // becomes of the rest of the run.
    int Acknowledge(Range r, int time, SyncRecordList& results) {
        AttachSentValues(std::span(entries_).subspan(r.first, r.second - r.first), results);
        if (ChangeLog(ctx_.store).AcknowledgeResults(results) != 0) {
            DebugLine("sync: acknowledgements not stored");
            return kResultNotStored;
        }
        out_.serverTime = time;
        out_.acknowledged.insert(out_.acknowledged.end(), results.begin(), results.end());
        return 0;
    }

    int SetAside(const SyncRecord& entry, int code) {
        DebugLine("sync: upload refused, code " + std::to_string(code));
        if (MarkUploadsRefused(ctx_.store, {entry}, RefusalReason(code)) != 0) return kResultNotStored;
        ++out_.refused;
        return 0;
    }

    JobContext& ctx_;
    const SyncRecordList& entries_;
    UploadOutcome& out_;
    const SyncStepHook& hook_;
};

}  // namespace

int UploadEntries(JobContext& ctx, const SyncRecordList& entries, UploadOutcome& out, const SyncStepHook& hook) {
    Uploader uploader(ctx, entries, out, hook);
    for (const Range& r : Batches(entries)) {
        if (const int code = uploader.Send(r); code != 0) return code;
    }
    return uploader.EnsureTime();
}

}  // namespace kivtal
