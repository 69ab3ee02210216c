#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "net/Identity.h"
#include "net/ReplyParsers.h"

namespace kivtal {
namespace {

std::string Nested(int depth) {
    return "{\"error\":\"0\",\"x\":" + std::string(depth, '[') + std::string(depth, ']') + "}";
}

// Replies no parser can read. Every parser has one "unreadable" code for all of them.
const char* const kUnreadable[] = {
    "", "<html>502</html>", "[1,2]", "\"text\"", "{\"error\":", "{}", "{\"error\":0}", "{\"error\":\"x\"}",
};

TEST(ReplyParsers, UnreadableRepliesNeverCountAsSuccessWhereThatWouldLoseData) {
    const std::string deep = Nested(2000);
    auto each = [&](auto&& check) {
        for (const char* r : kUnreadable) check(std::string(r));
        check(deep);
    };
    LoginUser user;
    each([&](const std::string& r) {
        SyncRecordList list;
        int time = 7, count = 7;
        TalAdList ads;
        NewsList news;
        VersionOffer offer;
        EXPECT_EQ(ParseLoginReply(r, user), kReplyUnreadable) << r.substr(0, 40);
        EXPECT_EQ(ParseUploadReply(r, count), kReplyUnreadable);
        EXPECT_EQ(ParseReceiveReply(r, list), kReplyUnreadable);
        EXPECT_EQ(ParseSendReply(r, time, list), kReplyUnreadable);
        EXPECT_EQ(ParseSingleResultReply(r, time, list), kReplyUnreadable);
        EXPECT_EQ(ParseAdsReply(r, ads), kReplyUnreadable);
        // Harmless ones report 0 with nothing read.
        EXPECT_EQ(ParseVersionReply(r, offer), 0);
        EXPECT_EQ(ParseLogoutReply(r), 0);
        EXPECT_EQ(ParseNewsReply(r, news), 0);
        EXPECT_TRUE(list.empty() && ads.empty() && news.empty());
        EXPECT_EQ(time, 7);
        EXPECT_EQ(count, 7);
        EXPECT_EQ(offer.new_ver, 0);
    });
    EXPECT_TRUE(user.snapshot().key.empty());
}

TEST(ReplyParsers, ServiceErrorCodesStopTheReading) {
    const std::string r = R"({"error":"1003","random_key":"k","user_id":"9","opers":[{"oper_id":"1"}],
                             "time":"5","results":[{"id":"1"}],"ads":[{}],"news_list":[{}],"upload_count":"3"})";
    LoginUser user;
    SyncRecordList list;
    int time = 0, count = 0;
    TalAdList ads;
    NewsList news;
    VersionOffer offer;
    EXPECT_EQ(ParseLoginReply(r, user), 1003);
    EXPECT_EQ(ParseVersionReply(r, offer), 1003);
    EXPECT_EQ(ParseLogoutReply(r), 1003);
    EXPECT_EQ(ParseUploadReply(r, count), 1003);
    EXPECT_EQ(ParseReceiveReply(r, list), 1003);
    EXPECT_EQ(ParseSendReply(r, time, list), 1003);
    EXPECT_EQ(ParseAdsReply(r, ads), 1003);
    EXPECT_EQ(ParseNewsReply(r, news), 1003);
    EXPECT_EQ(ParseNewsReply(R"({"error":" -7abc"})", news), -7);  // the atoi rule
    EXPECT_TRUE(user.snapshot().user_id.empty());
    EXPECT_TRUE(list.empty() && ads.empty() && news.empty());
    EXPECT_EQ(count, 0);
}

TEST(LoginReply, StoresTheLoginAndDerivesTheKey) {
    setenv("KIVTAL_UNIQUE_ID", "DEV1", 1);
    LoginUser user;
    EXPECT_EQ(ParseLoginReply(R"({"error":"0","random_key":"r4nd","user_id":"10086"})", user), 0);
    unsetenv("KIVTAL_UNIQUE_ID");
    const LoginUserState s = user.snapshot();
    EXPECT_EQ(s.user_id, "10086");
    EXPECT_EQ(s.random_key, "r4nd");
    EXPECT_EQ(s.key, ComputeKeyText("10086", "DEV1", "r4nd"));
}

TEST(VersionReply, ReadsTheOfferOnlyForANewVersion) {
    VersionOffer offer;
    EXPECT_EQ(ParseVersionReply(R"({"error":"0","new_ver":"4","new_ver_name":"1.4","ver_description":"d",
                                    "download_addr":"http://h/s.exe","enforce_update":"1",
                                    "file_md5":"abc"})",
                                offer),
              0);
    EXPECT_EQ(offer.new_ver, 4);
    EXPECT_EQ(offer.download_addr, "http://h/s.exe");
    EXPECT_EQ(offer.enforce_update, 1);
    EXPECT_EQ(offer.file_md5, "abc");

    VersionOffer none;
    EXPECT_EQ(ParseVersionReply(R"({"error":"0","new_ver":"0","download_addr":"http://h/s.exe"})", none), 0);
    EXPECT_EQ(none.download_addr, "");
}

TEST(SyncReplies, ReceivedEntriesBecomeChangeRecords) {
    SyncRecordList list;
    ASSERT_EQ(ParseReceiveReply(R"({"error":"0","opers":[
        {"oper_id":"1","main":"2","time":"100","oper_ways":"2","id":"77","content":"5~麤^张三"},
        {"oper_id":"2","main":"9","time":"101","oper_ways":"1","id":"78","content":7},
        {"oper_id":[],"time":"x"}]})",
                                list),
              0);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], (SyncRecord{0, 1, 2, 0, "5~麤^张三", 0, 100, 2, 77}));
    EXPECT_EQ(list[1], (SyncRecord{0, 2, 1, 0, "", 0, 101, 0, 78}));  // main only for contacts
    EXPECT_EQ(list[2], SyncRecord{});                                 // members of the wrong type read as empty
    EXPECT_EQ(ParseReceiveReply(R"({"error":"0","opers":null})", list), 0);
    EXPECT_EQ(list.size(), 3u);
}

// Taken for an empty list, such a reply would move the sync time past the changes in it.
TEST(SyncReplies, ListOfTheWrongShapeIsUnreadable) {
    for (const char* r : {R"({"error":"0","opers":"none"})", R"({"error":"0","opers":{"0":{"oper_id":"1"}}})",
                          R"({"error":"0","opers":[{"oper_id":"1","id":"7"},5]})"}) {
        SyncRecordList list;
        EXPECT_EQ(ParseReceiveReply(r, list), kReplyUnreadable) << r;
        EXPECT_TRUE(list.empty()) << r;
    }
    SyncRecordList results;
    int time = 0;
    EXPECT_EQ(ParseSendReply(R"({"error":"0","time":"1700000100","results":{}})", time, results), kReplyUnreadable);
    EXPECT_EQ(time, 0);
}

TEST(SyncReplies, SendReplyNeedsAServerTime) {
    SyncRecordList results{SyncRecord{1, 2, 2, 3, "dropped", 3, 0, 0, 4}};
    int time = 0;
    ASSERT_EQ(ParseSendReply(R"({"error":"0","time":"1700000100","results":[
        {"oper_id":"1","id":"501","client_id":"12"},{"oper_id":"5","id":"502","client_id":"13"}]})",
                             time, results),
              0);
    EXPECT_EQ(time, 1700000100);
    ASSERT_EQ(results.size(), 3u);  // appended after what the caller put in
    EXPECT_EQ(results[1], (SyncRecord{0, 1, 0, 12, "", 3, 0, 0, 501}));
    EXPECT_EQ(results[2].s_server_id, 502);

    for (const char* r :
         {R"({"error":"0","results":[{"id":"1"}]})", R"({"error":"0","time":"0"})", R"({"error":"0","time":123})"}) {
        SyncRecordList none;
        int t = 9;
        EXPECT_EQ(ParseSendReply(r, t, none), kReplyUnreadable) << r;
        EXPECT_TRUE(none.empty());
        EXPECT_EQ(t, 9);
    }
}

TEST(SyncReplies, SingleResultCommitTakesExactlyOne) {
    for (const auto& [reply, expected] :
         {std::pair{R"({"error":"0","time":"5","results":[{"id":"1"}]})", 1u},
          std::pair{R"({"error":"0","time":"5","results":[{"id":"1"},{"id":"2"}]})", 0u},
          std::pair{R"({"error":"0","time":"5","results":[]})", 0u}}) {
        SyncRecordList results;
        int time = 0;
        EXPECT_EQ(ParseSingleResultReply(reply, time, results), 0);
        EXPECT_EQ(results.size(), expected) << reply;
        EXPECT_EQ(time, 5);
    }
}

TEST(ContentReplies, AdsAndNewsEntries) {
    TalAdList ads;
    ASSERT_EQ(ParseAdsReply(R"({"error":"0","ads":[{"ad_server_id":"3","ad_path":"http://h/a/b.png",
        "sort_id":"2","ad_jump_url":"http://h/j","ad_content":"广告"}]})",
                            ads),
              0);
    ASSERT_EQ(ads.size(), 1u);
    EXPECT_EQ(ads[0], (TalAd{0, 3, "http://h/a/b.png", 2, "http://h/j", "广告", 0}));

    NewsList news;
    ASSERT_EQ(ParseNewsReply(R"({"error":"0","news_list":[{"news_id":"8","news_title":"标题",
        "news_content":"http://h/n.jpg","create_time":"1700000000","news_type":"1"}]})",
                             news),
              0);
    ASSERT_EQ(news.size(), 1u);
    EXPECT_EQ(news[0], (News{0, "标题", "http://h/n.jpg", 1700000000, 0, 8, 1, ""}));
}

TEST(SmallReplies, UploadCountAndServerTime) {
    int count = 0;
    EXPECT_EQ(ParseUploadReply(R"({"error":"0","upload_count":"12"})", count), 0);
    EXPECT_EQ(count, 12);

    int dateline = -1;
    EXPECT_EQ(ParseServerTimeReply(R"({"dateline":"1700000000"})", dateline), 0);
    EXPECT_EQ(dateline, 1700000000);
    EXPECT_EQ(ParseServerTimeReply(R"({"dateline":1700000000})", dateline), 0);
    EXPECT_EQ(dateline, 0);
    EXPECT_EQ(ParseServerTimeReply(Nested(2000), dateline), kReplyUnreadable);
    EXPECT_EQ(dateline, 0);
}

}  // namespace
}  // namespace kivtal
