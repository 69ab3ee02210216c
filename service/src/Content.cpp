#include "Content.h"

#include <ctime>

namespace kivtal::service {

std::int64_t Content::addNews(const NewsItem& n) {
    const std::int64_t created = n.createTime ? n.createTime : static_cast<std::int64_t>(std::time(nullptr));
    auto s = db_.prepare("INSERT INTO news(title,content,create_time,type) VALUES(?,?,?,?) RETURNING news_id;");
    s.bind({n.title, n.content, created, std::int64_t{n.type}});
    return InsertedId(s);
}

std::vector<NewsItem> Content::newsSince(std::int64_t since) {
    auto s = db_.prepare(
        "SELECT news_id,title,content,create_time,type FROM news WHERE create_time>? "
        "ORDER BY create_time,news_id;");
    s.bind({since});
    std::vector<NewsItem> out;
    while (s.step()) out.push_back({s.integer(0), s.text(1), s.text(2), s.integer(3), static_cast<int>(s.integer(4))});
    return out;
}

std::int64_t Content::addAdvert(const Advert& a) {
    auto s = db_.prepare("INSERT INTO ads(picture,sort_id,jump_url,content) VALUES(?,?,?,?) RETURNING ad_id;");
    s.bind({a.picture, std::int64_t{a.sortId}, a.jumpUrl, a.content});
    return InsertedId(s);
}

std::vector<Advert> Content::adverts() {
    auto s = db_.prepare("SELECT ad_id,picture,sort_id,jump_url,content FROM ads ORDER BY sort_id,ad_id;");
    s.bind({});
    std::vector<Advert> out;
    while (s.step()) out.push_back({s.integer(0), s.text(1), static_cast<int>(s.integer(2)), s.text(3), s.text(4)});
    return out;
}

void Content::setVersionOffer(const VersionOffer& v) {
    db_.prepare(
           "INSERT INTO version_offer(id,new_ver,name,description,download,enforce,file_md5) "
           "VALUES(1,?,?,?,?,?,?) ON CONFLICT(id) DO UPDATE SET new_ver=excluded.new_ver,name=excluded.name,"
           "description=excluded.description,download=excluded.download,enforce=excluded.enforce,"
           "file_md5=excluded.file_md5;")
        .bind({std::int64_t{v.newVer}, v.name, v.description, v.download, std::int64_t{v.enforce}, v.fileMd5})
        .run();
}

std::optional<VersionOffer> Content::versionOffer() {
    auto s = db_.prepare("SELECT new_ver,name,description,download,enforce,file_md5 FROM version_offer WHERE id=1;");
    s.bind({});
    if (!s.step()) return std::nullopt;
    return VersionOffer{static_cast<int>(s.integer(0)), s.text(1), s.text(2), s.text(3), s.integer(4) != 0, s.text(5)};
}

void Content::recordUpload(std::int64_t accountId, const std::string& file) {
    db_.prepare("INSERT INTO uploads(account_id,file,time) VALUES(?,?,?);")
        .bind({accountId, file, static_cast<std::int64_t>(std::time(nullptr))})
        .run();
}

}  // namespace kivtal::service
