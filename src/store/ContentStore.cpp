#include "store/ContentStore.h"

#include "store/AccountStoreOps.h"

namespace kivtal {

using storeops::Ok;

namespace {

constexpr const char* kInsertNews =
    "INSERT INTO tb_news(news_server_id,news_title,news_content,create_time,news_state,news_type,"
    "extra_data_path) VALUES(?,?,?,?,?,?,?);";
constexpr const char* kSelectNews =
    "SELECT news_id,news_title,news_content,create_time,news_state,news_type ,extra_data_path FROM tb_news "
    "ORDER BY create_time DESC; ";
constexpr const char* kCountNewsInState = "SELECT COUNT(news_state) FROM tb_news where news_state = ?;";
constexpr const char* kSetNewsState = "UPDATE tb_news SET news_state=? where news_id=?;";
// The count tells an empty table apart from a maximum that is NULL.
constexpr const char* kLatestNewsTime = "SELECT count(*), max(create_time) FROM tb_news;";

constexpr const char* kClearAds = "DELETE FROM tb_ad;";
constexpr const char* kInsertAd =
    "INSERT INTO tb_ad (ad_path ,jump_url ,sort_id ,server_id ,ad_content ,ad_state )VALUES(?,?,?,?,?,?);";
constexpr const char* kSelectAds =
    "SELECT ad_id,ad_path,jump_url,sort_id,server_id,ad_content,ad_state FROM tb_ad WHERE ad_state=0 "
    "ORDER BY sort_id DESC; ";

constexpr const char* kInsertCardImage = "INSERT INTO tb_secretary_img( img_path, img_state )VALUES( ?, ?);";
constexpr const char* kUpdateCardImage = "UPDATE tb_secretary_img SET  img_path=?, img_state=? WHERE img_id=?;";

constexpr const char* kSelectUseTimes = "SELECT use_times from tb_hardware_info;";
constexpr const char* kMarkUsed = "UPDATE tb_hardware_info SET use_times=?;";
constexpr const char* kSelectUploadTimes = "SELECT upload_times from tb_hardware_info;";
constexpr const char* kSetUploadTimes = "UPDATE tb_hardware_info SET upload_times=?;";

SqlArgs NewsArgs(const News& n) {
    return {Arg(n.news_server_id), Arg(n.news_title), Arg(n.news_content),   Arg(n.create_time),
            Arg(n.news_state),     Arg(n.news_type),  Arg(n.extra_data_path)};
}

News NewsFromRow(const ResultTable& t, int r) {
    News n;
    n.news_id = t.integer(r, 0);
    n.news_title = t.text(r, 1);
    n.news_content = t.text(r, 2);
    n.create_time = t.integer(r, 3);
    n.news_state = t.integer(r, 4);
    n.news_type = t.integer(r, 5);
    n.extra_data_path = t.text(r, 6);
    return n;
}

SqlArgs AdArgs(const TalAd& a) {
    return {Arg(a.ad_path), Arg(a.jump_url), Arg(a.sort_id), Arg(a.server_id), Arg(a.ad_content), Arg(a.ad_state)};
}

TalAd AdFromRow(const ResultTable& t, int r) {
    TalAd a;
    a.ad_id = t.integer(r, 0);
    a.ad_path = t.text(r, 1);
    a.jump_url = t.text(r, 2);
    a.sort_id = t.integer(r, 3);
    a.server_id = t.integer(r, 4);
    a.ad_content = t.text(r, 5);
    a.ad_state = t.integer(r, 6);
    return a;
}

}  // namespace

int ContentStore::StoreNews(const NewsList& news) {
    return storeops::InsertAll(store_.OpenUserDb(), "begin;", kInsertNews, news, NewsArgs);
}

int ContentStore::ReadNews(NewsList& out) {
    return storeops::AppendRowsIn(store_.OpenUserDb(), kSelectNews, {}, out, NewsFromRow);
}

int ContentStore::UnreadNewsCount(int& count) {
    return storeops::ReadIntIn(store_.OpenUserDb(), kCountNewsInState, {Arg(0)}, count);
}

int ContentStore::MarkNewsRead(int newsId) {
    return storeops::ExecuteIn(store_.OpenUserDb(), kSetNewsState, {Arg(1), Arg(newsId)});
}

int ContentStore::LatestNewsTime(int& time) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    ResultTable t;
    if (!Ok(session.db().query(kLatestNewsTime, t))) return 1;
    if (t.integer(0, 0) > 0) time = t.integer(0, 1);
    return 0;
}

int ContentStore::ClearAds() { return storeops::ExecuteIn(store_.OpenUserDb(), kClearAds, {}); }

int ContentStore::StoreAds(const TalAdList& ads) {
    return storeops::InsertAll(store_.OpenUserDb(), "begin", kInsertAd, ads, AdArgs);
}

int ContentStore::ReadAds(TalAdList& out) {
    return storeops::AppendRowsIn(store_.OpenUserDb(), kSelectAds, {}, out, AdFromRow);
}

int ContentStore::QueueCardImage(SecretaryImg& img) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return 1;
    if (!Ok(session.db().execute(kInsertCardImage, {Arg(img.img_path), Arg(img.img_state)}))) return 1;
    img.img_id = static_cast<int>(session.db().lastInsertId());
    return 0;
}

int ContentStore::UpdateCardImage(const SecretaryImg& img) {
    return storeops::ExecuteIn(store_.OpenUserDb(), kUpdateCardImage,
                               {Arg(img.img_path), Arg(img.img_state), Arg(img.img_id)});
}

int ContentStore::ScannerUsed(int& used) { return storeops::ReadIntIn(store_.OpenUserDb(), kSelectUseTimes, {}, used); }

int ContentStore::MarkScannerUsed() { return storeops::ExecuteIn(store_.OpenUserDb(), kMarkUsed, {Arg(1)}); }

int ContentStore::UploadCounter(int& count) {
    return storeops::ReadIntIn(store_.OpenUserDb(), kSelectUploadTimes, {}, count);
}

int ContentStore::SetUploadCounter(int count) {
    return storeops::ExecuteIn(store_.OpenUserDb(), kSetUploadTimes, {Arg(count)});
}

}  // namespace kivtal
