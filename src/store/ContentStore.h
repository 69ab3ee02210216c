#pragma once
// What the service pushes and the card scanner leaves behind, kept in the user
// database: news, advertisements, the queue of captured card images and the two
// scanner counters. None of it is logged: it is not the user's own data.
#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

class ContentStore {
public:
    explicit ContentStore(LocalStore& store) : store_(store) {}

    // Every result: 0 on success; 1 when the user database cannot be opened or a
    // statement fails; -1 when a transaction cannot begin.

    // Inserts the items in order in one transaction; the first failing insert rolls
    // them all back.
    int StoreNews(const NewsList& news);
    // Appends the news newest first (news_server_id is not read).
    int ReadNews(NewsList& out);
    int UnreadNewsCount(int& count);
    int MarkNewsRead(int newsId);
    // The newest create_time; `time` is left as it was when there is no news.
    int LatestNewsTime(int& time);

    // The worker replaces the advertisements by clearing them, then storing the new list.
    int ClearAds();
    int StoreAds(const TalAdList& ads);
    // Appends the shown advertisements, highest sort_id first.
    int ReadAds(TalAdList& out);

    // Queues a captured card image; `img.img_id` receives the new id on success.
    int QueueCardImage(SecretaryImg& img);
    int UpdateCardImage(const SecretaryImg& img);

    // The scanner counters of the single tb_hardware_info row.
    int ScannerUsed(int& used);
    int MarkScannerUsed();
    int UploadCounter(int& count);
    int SetUploadCounter(int count);

private:
    LocalStore& store_;
};

}  // namespace kivtal
