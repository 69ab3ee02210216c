#pragma once
// The jobs of the service's content: advertisements, news and the card-picture upload
// pass with its queue.
#include <mutex>
#include <optional>

#include "model/Records.h"
#include "net/JobContext.h"

namespace kivtal {

// WM_RES_SECRETARY_UPLOAD code for a picture the service did not take.
inline constexpr int kUploadFailed = -99;

// Card pictures waiting for the transcription desk, shared by card capture (which
// appends), the upload pass (which uploads and sets states) and the main window
// (which drops uploaded entries). States: 0 waiting, 1 uploaded, 2 failed.
class UploadQueue {
public:
    static constexpr int kWaiting = 0;
    static constexpr int kUploaded = 1;
    static constexpr int kFailed = 2;

    static UploadQueue& Instance();

    void Append(const SecretaryImg& img);
    // The waiting entry that stands last: the newest picture goes up first.
    std::optional<SecretaryImg> LastWaiting() const;
    void SetState(int imgId, int state);
    // Drops the entries with this id that are uploaded.
    void RemoveUploaded(int imgId);
    // Drops the entries with this id whatever their state (the user deleted the picture).
    void Remove(int imgId);
    SecretaryImgList Snapshot() const;
    void Clear();

    // One pass at a time: a second request while a pass runs is ignored, and the
    // running pass picks up what was queued meanwhile.
    bool TryBeginPass();
    void EndPass();
    bool PassRunning() const;

private:
    mutable std::mutex mutex_;
    SecretaryImgList entries_;
    bool passRunning_ = false;
};

// Replaces the stored advertisements with the service's, pictures downloaded into
// "ads/". Posts nothing.
void RunAdsJob(JobContext& ctx);
// Fetches the news newer than the newest stored item, downloads pictures of type-1
// items into "news/", stores them and posts WM_RES_GET_NEWS; returns the code posted.
int RunNewsJob(JobContext& ctx);
// Uploads the waiting pictures, newest first, posting WM_RES_SECRETARY_UPLOAD for each
// (-200 once when offline). Returns at once when a pass is already running.
void RunCardUploadPass(JobContext& ctx, UploadQueue& queue);

}  // namespace kivtal
