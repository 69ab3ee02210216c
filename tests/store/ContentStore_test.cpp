#include "store/ContentStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/UserDbFixture.h"
#include "support/FileBytes.h"

namespace kivtal {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;

News MakeNews(int serverId, const std::string& title, int createTime, int state = 0) {
    News n;
    n.news_server_id = serverId;
    n.news_title = title;
    n.news_content = "content of " + title;
    n.create_time = createTime;
    n.news_state = state;
    n.news_type = 2;
    n.extra_data_path = "/data/news/" + std::to_string(serverId) + ".pdf";
    return n;
}

TalAd MakeAd(int serverId, int sortId, const std::string& text, int state = 0) {
    TalAd a;
    a.server_id = serverId;
    a.sort_id = sortId;
    a.ad_path = "/data/ads/" + std::to_string(serverId) + ".png";
    a.jump_url = "https://example.com/ad?id=" + std::to_string(serverId) + "&x='1'";
    a.ad_content = text;
    a.ad_state = state;
    return a;
}

class ContentStoreTest : public test::UserDbFixture {
protected:
    ContentStore content{store};
};

TEST_F(ContentStoreTest, NewsComeBackNewestFirstWithTheirTextsUnchanged) {
    ASSERT_EQ(content.StoreNews({MakeNews(11, "it's 100% new", 200), MakeNews(12, "older_one", 100),
                                 MakeNews(13, "newest '; --", 300, 1)}),
              0);
    NewsList news{MakeNews(99, "already there", 1)};
    ASSERT_EQ(content.ReadNews(news), 0);
    ASSERT_EQ(news.size(), 4u);  // appended to the caller's list

    News expected = MakeNews(13, "newest '; --", 300, 1);
    expected.news_id = 3;
    expected.news_server_id = 0;  // not read back
    EXPECT_EQ(news[1], expected);
    EXPECT_EQ(news[2].news_title, "it's 100% new");
    EXPECT_EQ(news[3].news_title, "older_one");
    EXPECT_EQ(Scalar("SELECT group_concat(news_server_id) FROM tb_news;"), "11,12,13");
}

TEST_F(ContentStoreTest, UnreadCountFollowsMarkingNewsRead) {
    ASSERT_EQ(content.StoreNews({MakeNews(1, "a", 10), MakeNews(2, "b", 20), MakeNews(3, "c", 30, 1)}), 0);
    int unread = -1;
    ASSERT_EQ(content.UnreadNewsCount(unread), 0);
    EXPECT_EQ(unread, 2);

    ASSERT_EQ(content.MarkNewsRead(1), 0);
    ASSERT_EQ(content.UnreadNewsCount(unread), 0);
    EXPECT_EQ(unread, 1);
    EXPECT_EQ(Scalar("SELECT news_state FROM tb_news WHERE news_id=1;"), "1");
}

TEST_F(ContentStoreTest, LatestNewsTimeIsLeftAloneWhenThereIsNoNews) {
    int latest = 12345;
    ASSERT_EQ(content.LatestNewsTime(latest), 0);
    EXPECT_EQ(latest, 12345);

    ASSERT_EQ(content.StoreNews({MakeNews(1, "a", 500), MakeNews(2, "b", 900), MakeNews(3, "c", 700)}), 0);
    ASSERT_EQ(content.LatestNewsTime(latest), 0);
    EXPECT_EQ(latest, 900);
}

TEST_F(ContentStoreTest, AdvertisementsComeBackHighestSortFirstAndShownOnly) {
    ASSERT_EQ(content.StoreAds({MakeAd(1, 1, "plain"), MakeAd(2, 3, "it's 50% off_now"), MakeAd(3, 2, "mid"),
                                MakeAd(4, 9, "hidden", 1)}),
              0);
    TalAdList ads;
    ASSERT_EQ(content.ReadAds(ads), 0);
    ASSERT_EQ(ads.size(), 3u);
    TalAd expected = MakeAd(2, 3, "it's 50% off_now");
    expected.ad_id = 2;
    EXPECT_EQ(ads[0], expected);
    EXPECT_THAT(ads, ElementsAre(Field(&TalAd::sort_id, 3), Field(&TalAd::sort_id, 2), Field(&TalAd::sort_id, 1)));

    ASSERT_EQ(content.ClearAds(), 0);
    ads.clear();
    ASSERT_EQ(content.ReadAds(ads), 0);
    EXPECT_TRUE(ads.empty());
}

// A trigger rejects one item in the middle of the list: the items before it must not
// stay behind either.
TEST_F(ContentStoreTest, AFailingItemRollsBackTheWholeNewsOrAdvertisementList) {
    Exec(
        "CREATE TRIGGER bad_news BEFORE INSERT ON tb_news WHEN NEW.news_title='bad' "
        "BEGIN SELECT RAISE(ABORT,'x'); END;");
    Exec(
        "CREATE TRIGGER bad_ad BEFORE INSERT ON tb_ad WHEN NEW.ad_content='bad' "
        "BEGIN SELECT RAISE(ABORT,'x'); END;");
    ASSERT_EQ(content.StoreAds({MakeAd(1, 1, "kept")}), 0);

    EXPECT_EQ(content.StoreNews({MakeNews(1, "good", 1), MakeNews(2, "bad", 2), MakeNews(3, "late", 3)}), 1);
    EXPECT_EQ(content.StoreAds({MakeAd(2, 2, "good"), MakeAd(3, 3, "bad")}), 1);

    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_news;"), "0");
    EXPECT_EQ(Scalar("SELECT group_concat(ad_content) FROM tb_ad;"), "kept");
}

TEST_F(ContentStoreTest, CardImagesGetNewIdsAndCanBeUpdated) {
    SecretaryImg first{0, "/cards/1.jpg", 0};
    SecretaryImg second{0, "/cards/o'2%.jpg", 0};
    ASSERT_EQ(content.QueueCardImage(first), 0);
    ASSERT_EQ(content.QueueCardImage(second), 0);
    EXPECT_EQ(first.img_id, 1);
    EXPECT_EQ(second.img_id, 2);

    second.img_state = 2;
    second.img_path = "/cards/moved.jpg";
    ASSERT_EQ(content.UpdateCardImage(second), 0);
    EXPECT_EQ(Query("SELECT group_concat(img_id||'|'||img_path||'|'||img_state,';') FROM tb_secretary_img;").text(0, 0),
              "1|/cards/1.jpg|0;2|/cards/moved.jpg|2");
}

TEST_F(ContentStoreTest, ScannerCountersStartAtZeroAndKeepWhatIsSet) {
    int used = -1, uploads = -1;
    ASSERT_EQ(content.ScannerUsed(used), 0);
    ASSERT_EQ(content.UploadCounter(uploads), 0);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(uploads, 0);

    ASSERT_EQ(content.MarkScannerUsed(), 0);
    ASSERT_EQ(content.SetUploadCounter(7), 0);
    ASSERT_EQ(content.ScannerUsed(used), 0);
    ASSERT_EQ(content.UploadCounter(uploads), 0);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(uploads, 7);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_hardware_info;"), "1");
}

TEST_F(ContentStoreTest, UnusableUserDatabaseFailsEveryOperationAndIsNeverReplaced) {
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "corrupt");
        std::string bytes;
        if (missing) {
            std::filesystem::remove(store.userDbPath());
        } else {
            CorruptUserDb();
            bytes = test::FileBytes(store.userDbPath());
        }
        int value = 42;
        NewsList news;
        TalAdList ads;
        SecretaryImg img{0, "/cards/x.jpg", 0};
        const std::pair<const char*, std::function<int()>> ops[] = {
            {"StoreNews", [&] { return content.StoreNews({MakeNews(1, "a", 1)}); }},
            {"ReadNews", [&] { return content.ReadNews(news); }},
            {"UnreadNewsCount", [&] { return content.UnreadNewsCount(value); }},
            {"MarkNewsRead", [&] { return content.MarkNewsRead(1); }},
            {"LatestNewsTime", [&] { return content.LatestNewsTime(value); }},
            {"ClearAds", [&] { return content.ClearAds(); }},
            {"StoreAds", [&] { return content.StoreAds({MakeAd(1, 1, "a")}); }},
            {"ReadAds", [&] { return content.ReadAds(ads); }},
            {"QueueCardImage", [&] { return content.QueueCardImage(img); }},
            {"UpdateCardImage", [&] { return content.UpdateCardImage(img); }},
            {"ScannerUsed", [&] { return content.ScannerUsed(value); }},
            {"MarkScannerUsed", [&] { return content.MarkScannerUsed(); }},
            {"UploadCounter", [&] { return content.UploadCounter(value); }},
            {"SetUploadCounter", [&] { return content.SetUploadCounter(3); }},
        };
        for (const auto& [name, op] : ops) EXPECT_EQ(op(), 1) << name;
        EXPECT_EQ(value, 42);
        EXPECT_TRUE(news.empty());
        EXPECT_TRUE(ads.empty());
        EXPECT_EQ(img.img_id, 0);

        EXPECT_EQ(FileExists(store.userDbPath()), !missing);
        if (!missing) {
            EXPECT_EQ(test::FileBytes(store.userDbPath()), bytes);
        }
    }
}

}  // namespace
}  // namespace kivtal
