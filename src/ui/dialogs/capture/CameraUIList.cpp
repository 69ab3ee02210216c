// The capture control's upload list: items, their progress, delete and retry, the
// results the main window passes on, and the uploaded counter.
#include <QDateTime>
#include <algorithm>
#include <QLabel>
#include <QtConcurrent/QtConcurrentRun>

#include "net/ContentJobs.h"
#include "store/ContentStore.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

constexpr int kProgressTickMs = 80;
constexpr int kProgressStep = 10;
constexpr int kProgressFull = 100;
constexpr int kProgressNearlyFull = 99;
constexpr int kCounterTickMs = 50;
constexpr int kCounterRise = 3;  // pixels the "+1" climbs per frame
// A request that reaches the worker just as a pass ends is dropped; while pictures
// wait, ask again now and then (a running pass ignores the extra requests).
constexpr qint64 kRequestAgainMs = 3000;

}  // namespace

void CCameraUI::AddItem(const SecretaryImg& img, QImage thumbnail) {
    const int state = img.img_state == UploadQueue::kFailed ? kItemFailed : kItemWaiting;
    items_.Append(UploadItem{img.img_id, QString::fromStdString(img.img_path), state, 0, std::move(thumbnail)});
    list_->scrollToBottom();
    EnsureProgressTimer();
}

void CCameraUI::SetItemState(int imgId, int state) {
    items_.SetState(imgId, state);
    EnsureProgressTimer();
}

void CCameraUI::FailAllItems() {
    for (const UploadItem& item : items_.Items()) {
        if (item.state != kItemUploaded && uploads_) uploads_->MarkFailed(item.imgId, item.path.toStdString());
    }
    items_.FailAll();
}

bool CCameraUI::UploadInProgress() const {
    for (const UploadItem& item : items_.Items()) {
        if (item.state == kItemWaiting) return true;
    }
    return false;
}

void CCameraUI::EnsureProgressTimer() {
    const auto& items = items_.Items();
    const bool moving =
        std::any_of(items.begin(), items.end(), [](const UploadItem& i) { return i.state != kItemFailed; });
    if (moving && !IsTimerRunning(kProgressTimer)) SetTimer(kProgressTimer, kProgressTickMs);
    if (!moving) KillTimer(kProgressTimer);
}

void CCameraUI::ProgressTick() {
    std::vector<int> done;
    bool waitingAtFull = false;
    for (const UploadItem& item : items_.Items()) {
        if (item.state == kItemFailed) continue;
        if (item.progress < kProgressNearlyFull)
            items_.SetProgress(item.imgId, std::min(kProgressFull, item.progress + kProgressStep));
        else if (item.state == kItemUploaded) done.push_back(item.imgId);
        else waitingAtFull = true;
    }
    for (int id : done) RemoveItem(id);
    if (waitingAtFull && QDateTime::currentMSecsSinceEpoch() - lastRequestMs_ >= kRequestAgainMs) PostUploadRequest();
    EnsureProgressTimer();
}

void CCameraUI::RemoveItem(int imgId) {
    const UploadItem* item = items_.Find(imgId);
    if (!item) return;
    const bool uploaded = item->state == kItemUploaded;
    items_.Remove(imgId);
    if (!uploaded) return;
    // Several removals while the animation runs each count once.
    ++pendingCount_;
    if (!IsTimerRunning(kCounterTimer)) {
        counterFrame_ = 0;
        SetTimer(kCounterTimer, kCounterTickMs);
    }
}

void CCameraUI::DeleteItem(int imgId) {
    if (uploads_) uploads_->Forget(imgId);
    RemoveItem(imgId);
    EnsureProgressTimer();
}

void CCameraUI::RetryItem(int imgId) {
    const UploadItem* item = items_.Find(imgId);
    if (!item || item->state != kItemFailed || !uploads_) return;
    const std::string path = item->path.toStdString();
    items_.SetState(imgId, kItemWaiting);
    items_.SetProgress(imgId, 0);
    EnsureProgressTimer();
    switch (uploads_->Retry(imgId, path)) {
        case CardUploads::RetryResult::kQueued: break;
        case CardUploads::RetryResult::kNotFailed: Tell(kRetryRefused); break;
        case CardUploads::RetryResult::kStoreFailed:
            items_.SetState(imgId, kItemFailed);
            Tell(kPictureAddFailed);
            break;
    }
}

void CCameraUI::CounterTick() {
    if (counterFrame_ == 0) {
        counterPlus_->move(counterLabel_->geometry().right() - counterPlus_->width(), counterLabel_->y());
        counterPlus_->show();
        counterPlus_->raise();
    }
    if (++counterFrame_ < kCounterFrames) {
        counterPlus_->move(counterPlus_->x(), counterPlus_->y() - kCounterRise);
        return;
    }
    KillTimer(kCounterTimer);
    counterPlus_->hide();
    uploaded_ += pendingCount_;
    pendingCount_ = 0;
    ShowCounter();
    StoreCounter();
}

void CCameraUI::StoreCounter() {
    if (counterWriter_.isRunning() || storedCount_ == uploaded_) return;
    storedCount_ = uploaded_;
    LocalStore* store = store_;
    const int count = uploaded_;
    counterWriter_.setFuture(QtConcurrent::run([store, count] { ContentStore(*store).SetUploadCounter(count); }));
}

void CCameraUI::ShowCounter() { counterLabel_->setText(kUploadedCounterText.arg(uploaded_)); }

}  // namespace kivtal
