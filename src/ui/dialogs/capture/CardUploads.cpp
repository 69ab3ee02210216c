#include "ui/dialogs/capture/CardUploads.h"

#include <cstdio>

#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "store/StorePaths.h"

namespace kivtal {
namespace {

std::optional<int> StateOf(const UploadQueue& queue, int imgId) {
    for (const SecretaryImg& e : queue.Snapshot()) {
        if (e.img_id == imgId) return e.img_state;
    }
    return std::nullopt;
}

}  // namespace

CardUploads::CardUploads(LocalStore& store, UploadQueue& queue, Poster post)
    : store_(store), queue_(queue), post_(std::move(post)) {}

std::optional<SecretaryImg> CardUploads::Keep(const std::string& path) {
    SecretaryImg img{0, path, UploadQueue::kWaiting};
    if (path.empty() || !FileExists(path) || ContentStore(store_).QueueCardImage(img) != 0) {
        if (!path.empty()) std::remove(path.c_str());
        return std::nullopt;
    }
    queue_.Append(img);
    RequestPass();
    return img;
}

CardUploads::RetryResult CardUploads::Retry(int imgId, const std::string& path) {
    if (StateOf(queue_, imgId) != UploadQueue::kFailed) return RetryResult::kNotFailed;
    if (ContentStore(store_).UpdateCardImage({imgId, path, UploadQueue::kWaiting}) != 0) {
        return RetryResult::kStoreFailed;
    }
    queue_.SetState(imgId, UploadQueue::kWaiting);
    RequestPass();
    return RetryResult::kQueued;
}

void CardUploads::RequestPass() {
    if (post_) post_(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
}

void CardUploads::MarkFailed(int imgId, const std::string& path) {
    // An uploaded picture stays uploaded whatever a later pass reported.
    const std::optional<int> state = StateOf(queue_, imgId);
    if (!state || *state == UploadQueue::kUploaded) return;
    ContentStore(store_).UpdateCardImage({imgId, path, UploadQueue::kFailed});
    queue_.SetState(imgId, UploadQueue::kFailed);
}

void CardUploads::Forget(int imgId) { queue_.Remove(imgId); }

}  // namespace kivtal
