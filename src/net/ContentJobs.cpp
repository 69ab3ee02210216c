#include "net/ContentJobs.h"

#include <algorithm>

#include "model/Diagnostics.h"
#include "net/JobSupport.h"
#include "net/LoginUser.h"
#include "net/ReplyParsers.h"
#include "net/ServiceForms.h"
#include "net/WorkerMessages.h"
#include "store/ContentStore.h"

namespace kivtal {

UploadQueue& UploadQueue::Instance() {
    static UploadQueue queue;
    return queue;
}

void UploadQueue::Append(const SecretaryImg& img) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(img);
}

std::optional<SecretaryImg> UploadQueue::LastWaiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it =
        std::find_if(entries_.rbegin(), entries_.rend(), [](const SecretaryImg& e) { return e.img_state == kWaiting; });
    if (it == entries_.rend()) return std::nullopt;
    return *it;
}

void UploadQueue::SetState(int imgId, int state) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SecretaryImg& e : entries_) {
        if (e.img_id == imgId) e.img_state = state;
    }
}

void UploadQueue::RemoveUploaded(int imgId) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(entries_, [&](const SecretaryImg& e) { return e.img_id == imgId && e.img_state == kUploaded; });
}

void UploadQueue::Remove(int imgId) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(entries_, [&](const SecretaryImg& e) { return e.img_id == imgId; });
}

SecretaryImgList UploadQueue::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

void UploadQueue::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

bool UploadQueue::TryBeginPass() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (passRunning_) return false;
    passRunning_ = true;
    return true;
}

void UploadQueue::EndPass() {
    std::lock_guard<std::mutex> lock(mutex_);
    passRunning_ = false;
}

bool UploadQueue::PassRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return passRunning_;
}

namespace {

class PassGuard {
public:
    explicit PassGuard(UploadQueue& queue) : queue_(queue), began_(queue.TryBeginPass()) {}
    ~PassGuard() {
        if (began_) queue_.EndPass();
    }
    PassGuard(const PassGuard&) = delete;
    PassGuard& operator=(const PassGuard&) = delete;
    bool began() const { return began_; }

private:
    UploadQueue& queue_;
    bool began_;
};

// Uploads one picture and records its new state; returns the code to post.
int UploadOne(JobContext& ctx, UploadQueue& queue, SecretaryImg img) {
    DebugLine("secretaryUpload");
    std::string reply;
    const std::string prefix = CardUploadPrefix(ctx.user.snapshot());
    if (ctx.net.uploadCardImage(ApiUrl(ctx.config, kCardUploadPath), reply, prefix, img.img_path) != NetUtil::kOk) {
        reply.clear();
    }
    DebugLine("secretaryUpload::" + reply);
    int uploadCount = 0;
    const int code = reply.empty() ? kReplyUnreadable : ParseUploadReply(reply, uploadCount);
    img.img_state = code == 0 ? UploadQueue::kUploaded : UploadQueue::kFailed;
    ContentStore(ctx.store).UpdateCardImage(img);
    queue.SetState(img.img_id, img.img_state);
    return code == 0 ? uploadCount : kUploadFailed;
}

}  // namespace

namespace {

// Whether the stored advertisements are the received ones already, as the store lists
// them (highest sort first); their local ids do not count.
bool AlreadyStored(ContentStore& content, TalAdList received) {
    TalAdList stored;
    if (content.ReadAds(stored) != 0 || stored.size() != received.size()) return false;
    std::stable_sort(received.begin(), received.end(),
                     [](const TalAd& a, const TalAd& b) { return a.sort_id > b.sort_id; });
    for (std::size_t i = 0; i < stored.size(); ++i) received[i].ad_id = stored[i].ad_id;
    return stored == received;
}

}  // namespace

void RunAdsJob(JobContext& ctx) {
    DebugLine("adv(LPVOID pParam)");
    if (!ctx.net.isNetworkAvailable()) return;
    const std::string reply = PostForm(ctx, kAdsPath, UserForm(ctx.user.snapshot()), "ADV_URL post:", "ADV_URL::");
    TalAdList ads;
    if (reply.empty() || ParseAdsReply(reply, ads) != 0) return;
    DebugLine("ads_list的size:" + std::to_string(ads.size()));
    for (TalAd& ad : ads) ad.ad_path = DownloadPicture(ctx, "ads", ad.ad_path);
    ContentStore content(ctx.store);
    // The same list at every login and sync: rewriting it would cost a disk write each time.
    if (AlreadyStored(content, ads)) return;
    content.ClearAds();
    content.StoreAds(ads);
}

int RunNewsJob(JobContext& ctx) {
    DebugLine("getNews(LPVOID pParam)");
    int code = kResultNoNetwork;
    if (ctx.net.isNetworkAvailable()) {
        ContentStore content(ctx.store);
        int lastNewsTime = 0;
        content.LatestNewsTime(lastNewsTime);
        const std::string reply =
            PostForm(ctx, kNewsPath, NewsForm(ctx.user.snapshot(), lastNewsTime), "GET_NEWS post::", "GET_NEWS::");
        code = 0;
        NewsList news;
        if (!reply.empty()) code = ParseNewsReply(reply, news);
        DebugLine("news_list的size:" + std::to_string(news.size()));
        for (News& item : news) {
            if (item.news_type == 1) item.extra_data_path = DownloadPicture(ctx, "news", item.news_content);
        }
        if (code == 0 && !news.empty()) content.StoreNews(news);
    }
    PostResult(ctx, WM_RES_GET_NEWS, code);
    return code;
}

void RunCardUploadPass(JobContext& ctx, UploadQueue& queue) {
    PassGuard pass(queue);
    if (!pass.began()) return;
    if (!ctx.net.isNetworkAvailable()) {
        PostResult(ctx, WM_RES_SECRETARY_UPLOAD, kResultNoNetwork, 0);
        return;
    }
    while (const std::optional<SecretaryImg> img = queue.LastWaiting()) {
        const int result = UploadOne(ctx, queue, *img);
        PostResult(ctx, WM_RES_SECRETARY_UPLOAD, result, img->img_id);
    }
}

}  // namespace kivtal
