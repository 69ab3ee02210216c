#pragma once
// The service's endpoints, independent of HTTP: each takes the raw form body the
// client sent and answers the reply object. Each request runs on a database connection
// of its own: every change is one write transaction, so a send and a receive of the
// same account never interleave inside the feed, and replies are read from a snapshot
// that holds up no other account.
#include <json/json.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "Accounts.h"
#include "ConnectionPool.h"
#include "Content.h"
#include "Crypto.h"
#include "LoginThrottle.h"

namespace kivtal::service {

inline constexpr const char* kDemoLogin = "demo";
inline constexpr const char* kDemoPassword = "demo123";
inline constexpr std::int64_t kDemoCoins = 100;

struct ServiceOptions {
    // PBKDF2 rounds for passwords stored from now on; a stored hash with fewer is
    // replaced at its account's next good login. Only tests lower it, to keep their many
    // logins fast.
    int passwordRounds = kPasswordRounds;
    ThrottleLimits throttle;
    // Card pictures one account may store.
    std::int64_t cardUploads = 1000;
    // Connections to a PostgreSQL server this process opens at most (SQLite: no limit).
    std::size_t serverConnections = 16;
};

// The longest device id (unique_id) a login accepts, in bytes.
inline constexpr std::size_t kMaxDeviceId = 255;

// The largest card picture stored: a scan at the client's resolution is a few hundred KiB.
inline constexpr std::size_t kMaxCardPicture = std::size_t{2} << 20;

class Service {
public:
    // `db` is a SQLite file's path or a postgresql:// address (see Database.h); the
    // tables are created when missing. Pictures and installers go to "files/", card
    // uploads to "cards/", in `dataDir`, which defaults to the SQLite file's folder and
    // must be given for PostgreSQL. Throws when the database cannot be opened.
    explicit Service(const std::string& db, ServiceOptions options = {}, const std::filesystem::path& dataDir = {});

    // `address` is the client's, for counting failed logins.
    Json::Value login(std::string_view body, std::string_view address);
    Json::Value logout(std::string_view body);
    // `baseUrl` ("http://host:port") turns published file names into addresses.
    Json::Value versionCheck(std::string_view body, const std::string& baseUrl);
    // Answered as written JSON: the reply may hold a whole feed, which costs far less
    // written out as it is read than built into an object first.
    std::string syncReceive(std::string_view body);
    Json::Value syncSend(std::string_view body);
    Json::Value cardUpload(std::string_view body);
    Json::Value adverts(std::string_view body, const std::string& baseUrl);
    Json::Value news(std::string_view body, const std::string& baseUrl);
    static Json::Value dateline();

    // Operator side.
    std::optional<std::int64_t> createAccount(const NewAccount& a);
    std::optional<Account> findAccount(std::string_view loginName);
    // Creates the demo account when there is no account at all.
    bool ensureDemoAccount();
    // Gives the demo account (made when missing) the book of service/demo/ and publishes
    // its news and advertisements, all in one transaction; relative times count from `now`.
    enum class Seeded { kDone, kAlreadyThere };
    // Throws when the built-in book cannot be read or stored; nothing is kept then.
    Seeded seedDemoBook(std::time_t now);
    std::int64_t addNews(const NewsItem& n);
    std::int64_t addAdvert(const Advert& a);
    void setVersionOffer(const VersionOffer& v);

    const std::filesystem::path& filesDir() const { return filesDir_; }
    const std::filesystem::path& cardsDir() const { return cardsDir_; }

private:
    static std::optional<std::int64_t> addAccount(Connection& c, const NewAccount& a, const std::string& hash);
    static void ensureAccountRecords(Connection& c, std::int64_t accountId);
    std::string publishEmbedded(const std::string& name, const std::string& folder);

    template <typename Body>
    Json::Value guarded(Body body);
    template <typename Body>
    Json::Value authenticated(std::string_view form, std::string_view tailName, Body body);

    const std::string& unknownAccountHash();

    ServiceOptions options_;
    std::filesystem::path filesDir_;
    std::filesystem::path cardsDir_;
    ConnectionPool pool_;
    LoginThrottle throttle_;
    std::once_flag unknownAccountHashMade_;
    std::string unknownAccountHash_;
};

}  // namespace kivtal::service
