#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "net/ContentJobs.h"
#include "net/LoginUser.h"
#include "net/WorkerMessages.h"
#include "store/ContentStore.h"
#include "store/SqliteDb.h"
#include "support/JobHarness.h"
#include "support/FileBytes.h"
#include "support/TestClock.h"

namespace kivtal {
namespace {

using test::Posted;
using test::Reply;

class ContentJobs : public ::testing::Test {
protected:
    void SetUp() override {
        LoginUser::Instance().reset();
        LoginUser::Instance().update([](LoginUserState& s) {
            s.key = "k";
            s.unique_id = "D";
            s.user_id = "7";
        });
        ASSERT_EQ(h.store.EnsureUserDb("zhang"), 0);
        ctx = std::make_unique<JobContext>(h.context());
    }

    test::JobHarness h;
    std::unique_ptr<JobContext> ctx;
    ContentStore content{h.store};
};

TEST_F(ContentJobs, AdsReplaceTheStoredOnesWithLocalPictures) {
    test::TestClock clock(1700000123);
    test::ScopedClock pinned(clock);
    ASSERT_EQ(content.StoreAds({TalAd{0, 1, "/old.png", 1, "", "old", 0}}), 0);
    h.service.setDefault("/pics/a.png", Reply::Ok("PNG-A"));
    h.service.script(
        "/PcAd", Reply::Ok(R"({"error":"0","ads":[
        {"ad_server_id":"11","ad_path":")" +
                           h.service.url() + R"(/pics/a.png","sort_id":"2","ad_jump_url":"http://j","ad_content":"甲"},
        {"ad_server_id":"12","ad_path":"bare.png","sort_id":"1","ad_jump_url":"","ad_content":"乙"}]})"));

    RunAdsJob(*ctx);

    EXPECT_EQ(h.bodies("/PcAd"), std::vector<std::string>{"key=k&visitor=1&unique_id=D&user_id=7"});
    TalAdList stored;
    ASSERT_EQ(content.ReadAds(stored), 0);
    ASSERT_EQ(stored.size(), 2u);
    const std::string dir = h.dir.path() + "dl/ads/";
    EXPECT_EQ(stored[0].ad_path, dir + "a.png");
    EXPECT_EQ(test::FileBytes(stored[0].ad_path), "PNG-A");
    EXPECT_EQ(stored[0].ad_content, "甲");
    // No slash: named after the current time, kept although the download failed.
    EXPECT_EQ(stored[1].ad_path, dir + "1700000123");
    EXPECT_TRUE(h.posts.all().empty());
}

TEST_F(ContentJobs, TheSameAdsAgainAreNotRewritten) {
    test::TestClock clock(1700000123);
    test::ScopedClock pinned(clock);
    const auto reply = [](const char* secondContent) {
        return Reply::Ok(std::string(R"({"error":"0","ads":[
        {"ad_server_id":"11","ad_path":"a.png","sort_id":"1","ad_jump_url":"","ad_content":"甲"},
        {"ad_server_id":"12","ad_path":"b.png","sort_id":"2","ad_jump_url":"","ad_content":")") +
                         secondContent + R"("}]})");
    };
    const auto ids = [&] {
        TalAdList stored;
        EXPECT_EQ(content.ReadAds(stored), 0);
        std::vector<int> out;
        for (const TalAd& a : stored) out.push_back(a.ad_id);
        return out;
    };
    h.service.script("/PcAd", reply("乙"));
    RunAdsJob(*ctx);
    const std::vector<int> first = ids();
    ASSERT_EQ(first.size(), 2u);

    h.service.script("/PcAd", reply("乙"));
    RunAdsJob(*ctx);
    EXPECT_EQ(ids(), first);

    h.service.script("/PcAd", reply("丙"));
    RunAdsJob(*ctx);
    EXPECT_NE(ids(), first);
    TalAdList stored;
    ASSERT_EQ(content.ReadAds(stored), 0);
    EXPECT_EQ(stored[0].ad_content, "丙");
}

// A small file may declare a picture that takes gigabytes to decode: such a picture is
// not kept, as if its download had failed; an ordinary one is.
TEST_F(ContentJobs, PicturesDeclaringTooManyPixelsAreNotKept) {
    const auto png = [](std::uint32_t w, std::uint32_t h) {
        std::string b = "\x89PNG\r\n\x1a\n" + std::string("\0\0\0\rIHDR", 8);
        for (std::uint32_t v : {w, h})
            for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((v >> shift) & 0xFF);
        return b;
    };
    h.service.setDefault("/pics/bomb.png", Reply::Ok(png(60000, 60000)));
    h.service.setDefault("/pics/fine.png", Reply::Ok(png(800, 600)));
    h.service.script(
        "/PcAd", Reply::Ok(R"({"error":"0","ads":[
        {"ad_server_id":"11","ad_path":")" +
                           h.service.url() +
                           R"(/pics/bomb.png","sort_id":"1","ad_jump_url":"","ad_content":"a"},
        {"ad_server_id":"12","ad_path":")" +
                           h.service.url() + R"(/pics/fine.png","sort_id":"2","ad_jump_url":"","ad_content":"b"}]})"));

    RunAdsJob(*ctx);

    const std::string dir = h.dir.path() + "dl/ads/";
    EXPECT_FALSE(std::filesystem::exists(dir + "bomb.png"));
    EXPECT_TRUE(std::filesystem::exists(dir + "fine.png"));
}

TEST_F(ContentJobs, AdsStayWhenTheReplyIsUnusable) {
    ASSERT_EQ(content.StoreAds({TalAd{0, 1, "/old.png", 1, "", "old", 0}}), 0);
    for (Reply r : {Reply::Ok("<html>"), Reply::Ok(R"({"error":"3","ads":[]})"), Reply::Status(500)}) {
        h.service.script("/PcAd", r);
        RunAdsJob(*ctx);
    }
    h.net.online = false;
    RunAdsJob(*ctx);
    TalAdList stored;
    ASSERT_EQ(content.ReadAds(stored), 0);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].ad_path, "/old.png");
    EXPECT_EQ(h.bodies("/PcAd").size(), 3u);
}

TEST_F(ContentJobs, NewsAsksSinceTheNewestAndDownloadsOnlyPictures) {
    ASSERT_EQ(content.StoreNews({News{0, "old", "", 500, 1, 1, 2, ""}}), 0);
    h.service.setDefault("/n/p.jpg", Reply::Ok("JPG"));
    h.service.script("/Notice", Reply::Ok(R"({"error":"0","news_list":[
        {"news_id":"8","news_title":"图","news_content":")" +
                                          h.service.url() + R"(/n/p.jpg","create_time":"600","news_type":"1"},
        {"news_id":"9","news_title":"文","news_content":")" +
                                          h.service.url() + R"(/n/other.jpg","create_time":"700","news_type":"2"}]})"));

    EXPECT_EQ(RunNewsJob(*ctx), 0);

    EXPECT_EQ(h.bodies("/Notice"),
              std::vector<std::string>{"key=k&visitor=1&unique_id=D&last_news_time=500&user_id=7"});
    EXPECT_EQ(h.posts.all(), std::vector<Posted>{(Posted{WM_RES_GET_NEWS, 0, 0})});
    NewsList stored;
    ASSERT_EQ(content.ReadNews(stored), 0);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].news_title, "文");
    EXPECT_EQ(stored[0].extra_data_path, "");
    EXPECT_EQ(stored[0].news_state, 0);
    EXPECT_EQ(stored[1].extra_data_path, h.dir.path() + "dl/news/p.jpg");
    EXPECT_EQ(test::FileBytes(stored[1].extra_data_path), "JPG");
    EXPECT_EQ(h.service.requests().size(), 2u);  // the type-2 address was not fetched
}

TEST_F(ContentJobs, NewsFailureCodes) {
    h.service.script("/Notice", Reply::Ok(R"({"error":"6","news_list":[{"news_id":"1"}]})"));
    EXPECT_EQ(RunNewsJob(*ctx), 6);
    h.service.script("/Notice", Reply::Status(500));
    EXPECT_EQ(RunNewsJob(*ctx), 0);
    h.net.online = false;
    EXPECT_EQ(RunNewsJob(*ctx), -200);
    EXPECT_EQ(h.posts.codes(WM_RES_GET_NEWS), (std::vector<std::intptr_t>{6, 0, -200}));
    NewsList stored;
    ASSERT_EQ(content.ReadNews(stored), 0);
    EXPECT_TRUE(stored.empty());
}

class CardUpload : public ContentJobs {
protected:
    void SetUp() override {
        ContentJobs::SetUp();
        queue.Clear();
        for (const char* name : {"first", "second", "third"}) {
            SecretaryImg img{0, h.dir.file(std::string(name) + ".jpg"), 0};
            std::ofstream(img.img_path) << name;
            ASSERT_EQ(content.QueueCardImage(img), 0);
            queue.Append(img);
        }
    }
    int StoredState(int id) {
        SqliteDb db;
        EXPECT_EQ(db.open(h.store.userDbPath()), 0);
        ResultTable t;
        EXPECT_EQ(db.query("SELECT img_state FROM tb_secretary_img WHERE img_id=" + std::to_string(id), t), 0);
        return t.integer(0, 0);
    }
    UploadQueue queue;
};

TEST_F(CardUpload, NewestWaitingPictureGoesFirst) {
    h.service.script("/Secretary/upload", Reply::Ok(R"({"error":"0","upload_count":"5"})"));
    h.service.script("/Secretary/upload", Reply::DropMidBody(R"({"error":"0","upload_count":"6"})"));
    h.service.script("/Secretary/upload", Reply::Ok(R"({"error":"0","upload_count":"7"})"));

    RunCardUploadPass(*ctx, queue);

    // Bodies end with the picture's Base64: third, second, first.
    const auto bodies = h.bodies("/Secretary/upload");
    ASSERT_EQ(bodies.size(), 3u);
    const std::string prefix = "key=k&visitor=1&unique_id=D&user_id=7&bc_data=";
    EXPECT_EQ(bodies[0], prefix + "dGhpcmQ=");
    EXPECT_EQ(bodies[1], prefix + "c2Vjb25k");
    EXPECT_EQ(bodies[2], prefix + "Zmlyc3Q=");

    const auto imgs = queue.Snapshot();
    EXPECT_EQ(h.posts.all(), (std::vector<Posted>{{WM_RES_SECRETARY_UPLOAD, 5, imgs[2].img_id},
                                                  {WM_RES_SECRETARY_UPLOAD, -99, imgs[1].img_id},
                                                  {WM_RES_SECRETARY_UPLOAD, 7, imgs[0].img_id}}));
    EXPECT_EQ(imgs[2].img_state, 1);
    EXPECT_EQ(imgs[1].img_state, 2);  // a broken connection leaves the picture failed
    EXPECT_EQ(imgs[0].img_state, 1);
    for (const SecretaryImg& img : imgs) EXPECT_EQ(StoredState(img.img_id), img.img_state);

    queue.RemoveUploaded(imgs[0].img_id);
    queue.RemoveUploaded(imgs[1].img_id);  // failed: stays
    EXPECT_EQ(queue.Snapshot().size(), 2u);
}

TEST_F(CardUpload, UnreadableReplyIsAFailureNotAnUpload) {
    h.service.setDefault("/Secretary/upload", Reply::Ok("<html>gateway</html>"));
    RunCardUploadPass(*ctx, queue);
    EXPECT_EQ(h.posts.codes(WM_RES_SECRETARY_UPLOAD), (std::vector<std::intptr_t>{-99, -99, -99}));
    for (const SecretaryImg& img : queue.Snapshot()) EXPECT_EQ(img.img_state, 2);
}

TEST_F(CardUpload, OfflineOrAlreadyRunningSendsNothing) {
    h.net.online = false;
    RunCardUploadPass(*ctx, queue);
    EXPECT_EQ(h.posts.all(), std::vector<Posted>{(Posted{WM_RES_SECRETARY_UPLOAD, -200, 0})});

    h.net.online = true;
    ASSERT_TRUE(queue.TryBeginPass());
    RunCardUploadPass(*ctx, queue);
    EXPECT_TRUE(queue.PassRunning());  // the other pass still owns the flag
    queue.EndPass();
    EXPECT_TRUE(h.service.requests().empty());
    EXPECT_EQ(h.posts.all().size(), 1u);
    for (const SecretaryImg& img : queue.Snapshot()) EXPECT_EQ(img.img_state, 0);
}

}  // namespace
}  // namespace kivtal
