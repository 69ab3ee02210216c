#pragma once
// What the operator publishes: news, advertisements and the version offer. Pictures
// and installers live under the files folder and are served from "/files/".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Database.h"

namespace kivtal::service {

struct NewsItem {
    std::int64_t id = 0;
    std::string title;
    std::string content;  // for type 1 a picture: a file name under files/ or an address
    std::int64_t createTime = 0;
    int type = 0;
};

struct Advert {
    std::int64_t id = 0;
    std::string picture;  // a file name under files/ or an address
    int sortId = 0;
    std::string jumpUrl;
    std::string content;
};

struct VersionOffer {
    int newVer = 0;
    std::string name;
    std::string description;
    std::string download;  // a file name under files/ or an address
    bool enforce = false;
    std::string fileMd5;
};

class Content {
public:
    explicit Content(Database& db) : db_(db) {}

    std::int64_t addNews(const NewsItem& n);
    // News created after `since`, oldest first.
    std::vector<NewsItem> newsSince(std::int64_t since);

    std::int64_t addAdvert(const Advert& a);
    std::vector<Advert> adverts();

    void setVersionOffer(const VersionOffer& v);
    std::optional<VersionOffer> versionOffer();

    void recordUpload(std::int64_t accountId, const std::string& file);

private:
    Database& db_;
};

}  // namespace kivtal::service
