#pragma once
// The upload queue as card capture and the main window change it: the stored picture
// table, the process's in-memory queue that the worker's upload pass reads, and the
// request that starts a pass. A picture is queued in both or in neither.
#include <functional>
#include <optional>
#include <string>

#include "model/Records.h"
#include "net/WorkerRequest.h"

namespace kivtal {

class LocalStore;
class UploadQueue;

class CardUploads {
public:
    using Poster = std::function<void(WorkerRequest)>;

    CardUploads(LocalStore& store, UploadQueue& queue, Poster post);

    // Queues a kept picture (state waiting) and asks for an upload pass. When the
    // picture file is missing or the store refuses the entry, nothing is queued and the
    // file is removed: no orphan file, no entry without its file.
    std::optional<SecretaryImg> Keep(const std::string& path);

    enum class RetryResult { kQueued, kNotFailed, kStoreFailed };
    // Puts a failed picture back to waiting, stored and in memory, and asks for a pass.
    RetryResult Retry(int imgId, const std::string& path);

    // Asks the worker for an upload pass (ignored while one runs).
    void RequestPass();

    // A picture the user gave up on, or one the window shows as failed: failed in the
    // store and in memory, so no pass takes it until it is retried.
    void MarkFailed(int imgId, const std::string& path);
    // The user deleted the picture from the list: no pass takes it any more.
    void Forget(int imgId);

private:
    LocalStore& store_;
    UploadQueue& queue_;
    Poster post_;
};

}  // namespace kivtal
