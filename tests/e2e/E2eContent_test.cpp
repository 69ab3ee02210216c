// The service's content reaching the client through the core's jobs: card pictures
// going up with their running count, news and advertisement pictures coming down.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "e2e/CoreDevice.h"
#include "e2e/ServiceProcess.h"
#include "net/ContentJobs.h"
#include "net/WorkerMessages.h"
#include "store/ContentStore.h"

namespace kivtal::e2e {
namespace {

// The first bytes of a JPEG file are all the service looks at.
std::string WriteJpeg(const std::string& path, char tag) {
    std::ofstream(path, std::ios::binary) << std::string("\xFF\xD8\xFF\xE0") + std::string(64, tag) + "\xFF\xD9";
    return path;
}

class Content : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(service_.op({"--add-account", "zhao", "pw-zhao"}), 0);
        ASSERT_EQ(service_.op({"--add-news", "新功能", WriteJpeg(folder_.file("news.jpg"), 'n'), "--type", "1"}), 0);
        ASSERT_EQ(service_.op({"--add-news", "维护通知", "今晚维护"}), 0);
        ASSERT_EQ(service_.op({"--add-ad", WriteJpeg(folder_.file("ad.jpg"), 'a'), "--content", "广告"}), 0);
        ASSERT_TRUE(service_.start()) << ReadFile(service_.outPath());
        device_ = std::make_unique<CoreDevice>("device-A", service_.url());
        ASSERT_EQ(device_->login("zhao", "pw-zhao"), 0);
    }

    kivtal::test::TempDir folder_;
    ServiceProcess service_{folder_.path()};
    std::unique_ptr<CoreDevice> device_;
};

TEST_F(Content, CardUploadsAnswerTheRunningCount) {
    UploadQueue& queue = UploadQueue::Instance();
    queue.Clear();
    for (int id : {1, 2})
        queue.Append({id, WriteJpeg(device_->folder() + "card" + std::to_string(id) + ".jpg", 'c'), 0});
    JobContext ctx = device_->context();
    RunCardUploadPass(ctx, queue);
    EXPECT_EQ(device_->posted(WM_RES_SECRETARY_UPLOAD), (std::vector<std::intptr_t>{1, 2}));
    for (const SecretaryImg& img : queue.Snapshot()) EXPECT_EQ(img.img_state, UploadQueue::kUploaded);
    queue.Clear();
}

TEST_F(Content, NewsAndAdvertisementPicturesAreDownloaded) {
    JobContext ctx = device_->context();
    EXPECT_EQ(RunNewsJob(ctx), 0);
    RunAdsJob(ctx);

    NewsList news;
    ASSERT_EQ(ContentStore(device_->store()).ReadNews(news), 0);
    ASSERT_EQ(news.size(), 2u);
    const auto picture = std::find_if(news.begin(), news.end(), [](const News& n) { return n.news_type == 1; });
    ASSERT_NE(picture, news.end());
    EXPECT_EQ(ReadFile(picture->extra_data_path), ReadFile(folder_.file("news.jpg")));

    TalAdList ads;
    ASSERT_EQ(ContentStore(device_->store()).ReadAds(ads), 0);
    ASSERT_EQ(ads.size(), 1u);
    EXPECT_EQ(ads[0].ad_content, "广告");
    EXPECT_EQ(ReadFile(ads[0].ad_path), ReadFile(folder_.file("ad.jpg")));
}

}  // namespace
}  // namespace kivtal::e2e
