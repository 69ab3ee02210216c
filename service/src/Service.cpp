#include "Service.h"

#include <charconv>
#include <ctime>
#include <fstream>

#include "AccountRecords.h"
#include "BatchRules.h"
#include "ChangeList.h"
#include "Crypto.h"
#include "DemoBook.h"
#include "EmbeddedFiles.h"
#include "ErrorCodes.h"
#include "FormBody.h"
#include "JsonText.h"
#include "Schema.h"
#include "ValueLayout.h"

namespace kivtal::service {

namespace {

// The client keeps the "time" of its last upload and treats 0 as "never synced" (a
// reply time of 0 is refused as unusable), so the feed sequence travels shifted by
// one: a device that has received nothing yet still gets a time it will store.
std::int64_t SyncTimeFromSequence(std::int64_t sequence) { return sequence + 1; }
std::int64_t SequenceFromSyncTime(std::int64_t syncTime) { return std::max<std::int64_t>(0, syncTime - 1); }

Json::Value Reply(const char* error) {
    Json::Value r(Json::objectValue);
    r["error"] = error;
    return r;
}

// atoi as the client would read it; garbage is 0.
std::int64_t FieldNumber(const FormFields& f, std::string_view name) {
    const std::string_view v = Field(f, name);
    std::int64_t n = 0;
    std::from_chars(v.data(), v.data() + v.size(), n);
    return n;
}

std::string Str(std::int64_t n) { return std::to_string(n); }

// A published name is a file under files/ unless it already is an address.
std::string Address(const std::string& baseUrl, const std::string& name) {
    if (name.empty() || name.rfind("http://", 0) == 0 || name.rfind("https://", 0) == 0) return name;
    return baseUrl + "/files/" + name;
}

bool LooksLikeJpeg(const std::string& bytes) {
    return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    const std::filesystem::path partial = path.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

// Beside the code, which entry: clients that do not read it ignore it.
Json::Value RefusalReply(const Refusal& refused, const std::vector<Change>& batch) {
    Json::Value reply = Reply(refused.code);
    const Change& c = batch[refused.entry];
    reply["refused"]["index"] = Str(static_cast<std::int64_t>(refused.entry));
    reply["refused"]["oper_id"] = Str(c.oper_id);
    reply["refused"]["client_id"] = Str(c.client_id);
    return reply;
}

std::filesystem::path DataFolder(const std::string& db, const std::filesystem::path& dataDir) {
    if (!dataDir.empty()) return dataDir;
    if (IsPostgresAddress(db)) throw std::invalid_argument("a service on PostgreSQL needs a folder for its files");
    return std::filesystem::path(db).parent_path();
}

NewAccount DemoAccount() { return {kDemoLogin, ClientPasswordDigest(kDemoPassword), kDemoCoins, false, "演示用户"}; }

// The reply to a receive as WriteJson would write {"error":"0","opers":[...]}, its
// members in name order, without the object of a whole feed built first.
std::string ReceiveReply(const std::vector<FeedEntry>& entries) {
    std::string out = R"({"error":"0","opers":[)";
    std::size_t size = out.size() + 2;
    for (const FeedEntry& e : entries) size += e.content.size() + 96;
    out.reserve(size);
    for (const FeedEntry& e : entries) {
        if (&e != entries.data()) out += ',';
        out += R"({"content":)";
        AppendJsonString(out, e.content);
        out += R"(,"id":")" + Str(e.id) + R"(","main":")" + Str(e.main) + R"(","oper_id":")" + Str(e.oper_id) +
               R"(","oper_ways":")" + Str(e.oper_ways) + R"(","time":")" + Str(e.time) + R"("})";
    }
    out += "]}";
    return out;
}

}  // namespace

Service::Service(const std::string& db, ServiceOptions options, const std::filesystem::path& dataDir)
    : options_(options),
      filesDir_(DataFolder(db, dataDir) / "files"),
      cardsDir_(DataFolder(db, dataDir) / "cards"),
      pool_(db, IsPostgresAddress(db) ? options.serverConnections : 0),
      throttle_(options.throttle) {
    CreateSchema(pool_.lease()->db);
    std::filesystem::create_directories(filesDir_);
    std::filesystem::create_directories(cardsDir_);
}

// Runs `body(connection)` on a connection of its own; a failure of the storage is
// answered as such, and the transaction it was in is rolled back.
template <typename Body>
Json::Value Service::guarded(Body body) {
    try {
        auto c = pool_.lease();
        return body(*c);
    } catch (const std::exception&) {
        return Reply(code::kServerFault);
    }
}

// Parses the client's form, checks its key and runs `body(connection, fields,
// accountId, device)`; a request whose key does not prove a login touches nothing.
template <typename Body>
Json::Value Service::authenticated(std::string_view form, std::string_view tailName, Body body) {
    return guarded([&](Connection& c) {
        const FormFields f = ParseClientForm(form, tailName);
        const std::string device(Field(f, "unique_id"));
        const auto accountId = c.accounts.checkKey(Field(f, "user_id"), device, Field(f, "key"));
        if (!accountId) return Reply(code::kBadKey);
        return body(c, f, *accountId, device);
    });
}

// A name nobody has is checked against this, so that it is answered as slowly as a
// wrong password and the time tells nobody which names exist.
const std::string& Service::unknownAccountHash() {
    std::call_once(unknownAccountHashMade_,
                   [this] { unknownAccountHash_ = HashPassword({}, options_.passwordRounds); });
    return unknownAccountHash_;
}

Json::Value Service::login(std::string_view body, std::string_view address) {
    return guarded([&](Connection& c) {
        const FormFields f = ParseClientForm(body);
        // Keys are per device: a login that names none has nothing to hand one to. A
        // device id is a short machine id; one past kMaxDeviceId is no client's, and
        // would not fit the database's keys on every backend.
        const std::string_view device = Field(f, "unique_id");
        if (device.empty() || device.size() > kMaxDeviceId) return Reply(code::kBadRequest);
        const std::string name = PercentDecode(Field(f, "username"), false);
        if (!throttle_.allows(name, address)) return Reply(code::kTooManyLogins);
        // The password is slow to check on purpose: that happens outside any transaction.
        const auto stored = c.accounts.storedPassword(name);
        const std::string_view password = Field(f, "password");
        if (!VerifyPassword(stored ? stored->hash : unknownAccountHash(), password) || !stored) {
            throttle_.failed(name, address);
            return Reply(stored ? code::kWrongPassword : code::kUnknownAccount);
        }
        throttle_.succeeded(name);
        const bool rehash = StoredRounds(stored->hash) < options_.passwordRounds;
        const std::string newHash = rehash ? HashPassword(password, options_.passwordRounds) : std::string();
        Transaction tx(c.db);
        // The account's row first, as every write of it does: one order of locks.
        c.accounts.lockForWrite(stored->accountId);
        if (rehash) c.accounts.setPasswordHash(stored->accountId, newHash);
        Json::Value reply = Reply(code::kOk);
        reply["random_key"] = c.accounts.issueKey(stored->accountId, device);
        reply["user_id"] = Str(stored->accountId);
        ensureAccountRecords(c, stored->accountId);
        tx.commit();
        return reply;
    });
}

Json::Value Service::logout(std::string_view body) {
    return authenticated(body, {},
                         [&](Connection& c, const FormFields&, std::int64_t account, const std::string& device) {
                             c.accounts.logout(account, device);
                             return Reply(code::kOk);
                         });
}

Json::Value Service::versionCheck(std::string_view body, const std::string& baseUrl) {
    return authenticated(body, {}, [&](Connection& c, const FormFields& f, std::int64_t, const std::string&) {
        const auto offer = c.content.versionOffer();
        const bool newer = offer && offer->newVer > FieldNumber(f, "cur_ver");
        const VersionOffer v = newer ? *offer : VersionOffer{};
        Json::Value reply = Reply(code::kOk);
        reply["new_ver"] = Str(v.newVer);
        reply["new_ver_name"] = v.name;
        reply["ver_description"] = v.description;
        reply["download_addr"] = Address(baseUrl, v.download);
        reply["enforce_update"] = v.enforce ? "1" : "0";
        reply["file_md5"] = v.fileMd5;
        return reply;
    });
}

std::string Service::syncReceive(std::string_view body) {
    std::string written;
    const Json::Value refused = authenticated(
        body, {}, [&](Connection& c, const FormFields& f, std::int64_t account, const std::string& device) {
            {
                Transaction tx(c.db);
                ensureAccountRecords(c, account);
                tx.commit();
            }
            const std::int64_t lastSync = SequenceFromSyncTime(FieldNumber(f, "last_sync"));
            Feed::Page page;
            {
                Transaction read(c.db, Transaction::Mode::kRead);
                page = c.feed.changesAfter(account, device, lastSync);
                read.commit();
            }
            std::string reply = ReceiveReply(page.entries);
            // Credited only once the page is written: a failure before leaves the device where it was.
            Transaction tx(c.db);
            c.accounts.lockForWrite(account);
            c.feed.markReceived(account, device, page, lastSync);
            tx.commit();
            written = std::move(reply);
            return Reply(code::kOk);
        });
    return written.empty() ? WriteJson(refused) : written;
}

Json::Value Service::syncSend(std::string_view body) {
    return authenticated(body, "opers",
                         [&](Connection& c, const FormFields& f, std::int64_t accountId, const std::string& device) {
                             const auto batch = DecodeChangeList(Field(f, "opers"));
                             if (!batch) return Reply(code::kBadRequest);
                             // The batch is stored first and paid for in the same transaction, so only what
                             // is really stored costs coins; a refusal rolls all of it back.
                             Transaction tx(c.db);
                             const Account account = *c.accounts.lockForWrite(accountId);
                             if (const Refusal refused = CheckBatch(account, *batch); refused.code)
                                 return RefusalReply(refused, *batch);
                             const auto results = c.feed.store(accountId, device, *batch);
                             std::vector<bool> stored;
                             for (const SendResult& r : results) stored.push_back(r.stored);
                             if (const Refusal unpaid = CheckCoins(account.coins, *batch, stored); unpaid.code)
                                 return RefusalReply(unpaid, *batch);
                             c.accounts.addCoins(accountId, -ReminderCost(*batch, stored));
                             for (const Change& change : *batch) {
                                 const auto fields = SplitFields(change.content);
                                 if (change.oper_id == kProfile && fields.size() > kProfileName)
                                     c.accounts.setRealName(accountId, fields[kProfileName]);
                             }
                             const std::int64_t time = SyncTimeFromSequence(c.feed.syncTimeFor(accountId, device));
                             tx.commit();
                             Json::Value reply = Reply(code::kOk);
                             reply["time"] = Str(time);
                             Json::Value& list = reply["results"] = Json::Value(Json::arrayValue);
                             for (const SendResult& r : results) {
                                 Json::Value o(Json::objectValue);
                                 o["oper_id"] = Str(r.oper_id);
                                 o["id"] = Str(r.id);
                                 o["client_id"] = Str(r.client_id);
                                 list.append(o);
                             }
                             return reply;
                         });
}

Json::Value Service::cardUpload(std::string_view body) {
    return authenticated(body, "bc_data",
                         [&](Connection& c, const FormFields& f, std::int64_t account, const std::string&) {
                             const auto picture = Base64Decode(Field(f, "bc_data"));
                             if (!picture || !LooksLikeJpeg(*picture)) return Reply(code::kBadRequest);
                             if (picture->size() > kMaxCardPicture) return Reply(code::kPictureTooLarge);
                             Transaction tx(c.db);
                             if (c.accounts.lockForWrite(account)->uploadCount >= options_.cardUploads)
                                 return Reply(code::kUploadQuota);
                             const std::int64_t count = c.accounts.countUpload(account);
                             const std::string name = Str(account) + "/card-" + Str(count) + ".jpg";
                             WriteFile(cardsDir_ / name, *picture);
                             c.content.recordUpload(account, name);
                             tx.commit();
                             Json::Value reply = Reply(code::kOk);
                             reply["upload_count"] = Str(count);
                             return reply;
                         });
}

Json::Value Service::adverts(std::string_view body, const std::string& baseUrl) {
    return authenticated(body, {}, [&](Connection& c, const FormFields&, std::int64_t, const std::string&) {
        Json::Value reply = Reply(code::kOk);
        Json::Value& list = reply["ads"] = Json::Value(Json::arrayValue);
        for (const Advert& a : c.content.adverts()) {
            Json::Value o(Json::objectValue);
            o["ad_server_id"] = Str(a.id);
            o["ad_path"] = Address(baseUrl, a.picture);
            o["sort_id"] = Str(a.sortId);
            o["ad_jump_url"] = a.jumpUrl;
            o["ad_content"] = a.content;
            list.append(o);
        }
        return reply;
    });
}

Json::Value Service::news(std::string_view body, const std::string& baseUrl) {
    return authenticated(body, {}, [&](Connection& c, const FormFields& f, std::int64_t, const std::string&) {
        Json::Value reply = Reply(code::kOk);
        Json::Value& list = reply["news_list"] = Json::Value(Json::arrayValue);
        for (const NewsItem& n : c.content.newsSince(FieldNumber(f, "last_news_time"))) {
            Json::Value o(Json::objectValue);
            o["news_id"] = Str(n.id);
            o["news_title"] = n.title;
            o["news_content"] = n.type == 1 ? Address(baseUrl, n.content) : n.content;
            o["create_time"] = Str(n.createTime);
            o["news_type"] = Str(n.type);
            list.append(o);
        }
        return reply;
    });
}

Json::Value Service::dateline() {
    Json::Value r(Json::objectValue);
    r["dateline"] = Str(static_cast<std::int64_t>(std::time(nullptr)));
    return r;
}

std::optional<std::int64_t> Service::createAccount(const NewAccount& a) {
    const std::string hash = HashPassword(a.clientDigest, options_.passwordRounds);
    auto c = pool_.lease();
    Transaction tx(c->db);
    const auto id = addAccount(*c, a, hash);
    tx.commit();
    return id;
}

// Inside the caller's write transaction. The password is hashed before it: the hash
// is slow on purpose.
std::optional<std::int64_t> Service::addAccount(Connection& c, const NewAccount& a, const std::string& hash) {
    const auto id = c.accounts.create(a, hash);
    if (id) ensureAccountRecords(c, *id);
    return id;
}

// Accounts made before the service kept these records get them the first time one of
// their devices logs in or receives; every device then receives them like any add.
void Service::ensureAccountRecords(Connection& c, std::int64_t accountId) {
    const auto account = c.accounts.lockForWrite(accountId);
    if (!account) return;
    c.feed.ensureRecord(accountId, kProfile, InitialProfileValue(*account));
    c.feed.ensureRecord(accountId, kSettings, InitialSettingsValue());
}

std::optional<Account> Service::findAccount(std::string_view loginName) {
    return pool_.lease()->accounts.findByName(loginName);
}

bool Service::ensureDemoAccount() {
    const std::string hash = HashPassword(DemoAccount().clientDigest, options_.passwordRounds);
    auto c = pool_.lease();
    Transaction tx(c->db);
    auto any = c->db.prepare("SELECT count(*) FROM accounts;");
    any.bind({});
    if (any.step() && any.integer(0) > 0) return false;
    addAccount(*c, DemoAccount(), hash);
    tx.commit();
    return true;
}

Service::Seeded Service::seedDemoBook(std::time_t now) {
    const auto json = EmbeddedFile("demo_book.json");
    std::string error;
    const auto book = json ? ReadBook(*json, now, error) : std::nullopt;
    if (!book) throw std::runtime_error("the built-in demo book cannot be read: " + error);
    const std::string hash = HashPassword(DemoAccount().clientDigest, options_.passwordRounds);
    auto c = pool_.lease();
    Transaction tx(c->db);
    auto account = c->accounts.findByName(kDemoLogin);
    if (!account) {
        addAccount(*c, DemoAccount(), hash);
        account = c->accounts.findByName(kDemoLogin);
    }
    c->accounts.lockForWrite(account->id);
    if (c->feed.hasOwnBatch(account->id)) return Seeded::kAlreadyThere;
    c->feed.storeOwn(account->id, book->changes);
    for (NewsItem n : book->news) {
        if (n.type == 1) n.content = publishEmbedded(n.content, "demo");
        c->content.addNews(n);
    }
    for (Advert a : book->ads) {
        a.picture = publishEmbedded(a.picture, "demo");
        c->content.addAdvert(a);
    }
    tx.commit();
    return Seeded::kDone;
}

// Writes an embedded file under files/<folder>/ and answers its published name.
std::string Service::publishEmbedded(const std::string& name, const std::string& folder) {
    const auto bytes = EmbeddedFile(name);
    if (!bytes) throw std::runtime_error("no built-in file " + name);
    WriteFile(filesDir_ / folder / name, std::string(*bytes));
    return folder + "/" + name;
}

std::int64_t Service::addNews(const NewsItem& n) { return pool_.lease()->content.addNews(n); }

std::int64_t Service::addAdvert(const Advert& a) { return pool_.lease()->content.addAdvert(a); }

void Service::setVersionOffer(const VersionOffer& v) { pool_.lease()->content.setVersionOffer(v); }

}  // namespace kivtal::service
