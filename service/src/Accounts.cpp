#include "Accounts.h"

#include <charconv>
#include <ctime>

#include "Crypto.h"
#include "ErrorCodes.h"

namespace kivtal::service {

namespace {

constexpr const char* kSelectAccount =
    "SELECT account_id,login_name,coins,certified,real_name,upload_count FROM accounts ";

Account ReadAccount(const Statement& s) {
    return Account{s.integer(0), s.text(1), s.integer(2), s.integer(3) != 0, s.text(4), s.integer(5)};
}

// Only the canonical decimal form names an account: "007" is not user 7.
std::optional<std::int64_t> ParseUserId(std::string_view text) {
    std::int64_t id = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (ec != std::errc() || end != text.data() + text.size() || id <= 0 || std::to_string(id) != text) {
        return std::nullopt;
    }
    return id;
}

}  // namespace

std::optional<std::int64_t> Accounts::create(const NewAccount& a, std::string_view passwordHash) {
    if (findByName(a.loginName)) return std::nullopt;
    auto s = db_.prepare(
        "INSERT INTO accounts(login_name,pwd_hash,coins,certified,real_name,created) VALUES(?,?,?,?,?,?) "
        "RETURNING account_id;");
    s.bind({a.loginName, passwordHash, a.coins, std::int64_t{a.certified}, a.realName,
            static_cast<std::int64_t>(std::time(nullptr))});
    return InsertedId(s);
}

std::optional<Account> Accounts::find(std::int64_t id) {
    auto s = db_.prepare(std::string(kSelectAccount) + "WHERE account_id=?;");
    s.bind({id});
    if (!s.step()) return std::nullopt;
    return ReadAccount(s);
}

std::optional<Account> Accounts::lockForWrite(std::int64_t id) {
    auto s = db_.prepare(std::string(kSelectAccount) + "WHERE account_id=?" + db_.lockRowsClause() + ";");
    s.bind({id});
    if (!s.step()) return std::nullopt;
    return ReadAccount(s);
}

std::optional<Account> Accounts::findByName(std::string_view loginName) {
    auto s = db_.prepare(std::string(kSelectAccount) + "WHERE login_name=?;");
    s.bind({loginName});
    if (!s.step()) return std::nullopt;
    return ReadAccount(s);
}

std::optional<StoredPassword> Accounts::storedPassword(std::string_view loginName) {
    auto s = db_.prepare("SELECT account_id,pwd_hash FROM accounts WHERE login_name=?;");
    s.bind({loginName});
    if (!s.step()) return std::nullopt;
    return StoredPassword{s.integer(0), s.text(1)};
}

void Accounts::setPasswordHash(std::int64_t accountId, std::string_view hash) {
    db_.prepare("UPDATE accounts SET pwd_hash=? WHERE account_id=?;").bind({hash, accountId}).run();
}

std::string Accounts::issueKey(std::int64_t accountId, std::string_view uniqueId) {
    const std::string randomKey = RandomHex(16);
    db_.prepare(
           "INSERT INTO devices(account_id,unique_id,random_key) VALUES(?1,?2,?3) "
           "ON CONFLICT(account_id,unique_id) DO UPDATE SET random_key=?3;")
        .bind({accountId, uniqueId, randomKey})
        .run();
    return randomKey;
}

std::optional<std::int64_t> Accounts::checkKey(std::string_view userId, std::string_view uniqueId,
                                               std::string_view key) {
    const auto id = ParseUserId(userId);
    if (!id || key.empty()) return std::nullopt;
    auto s =
        db_.prepare("SELECT random_key FROM devices WHERE account_id=? AND unique_id=? AND random_key IS NOT NULL;");
    s.bind({*id, uniqueId});
    if (!s.step()) return std::nullopt;
    if (!SameSecret(RequestKey(userId, uniqueId, s.text(0)), key)) return std::nullopt;
    return id;
}

void Accounts::logout(std::int64_t accountId, std::string_view uniqueId) {
    db_.prepare("UPDATE devices SET random_key=NULL WHERE account_id=? AND unique_id=?;")
        .bind({accountId, uniqueId})
        .run();
}

void Accounts::addCoins(std::int64_t accountId, std::int64_t delta) {
    db_.prepare("UPDATE accounts SET coins=coins+? WHERE account_id=?;").bind({delta, accountId}).run();
}

void Accounts::setRealName(std::int64_t accountId, std::string_view name) {
    db_.prepare("UPDATE accounts SET real_name=? WHERE account_id=?;").bind({name, accountId}).run();
}

std::int64_t Accounts::countUpload(std::int64_t accountId) {
    db_.prepare("UPDATE accounts SET upload_count=upload_count+1 WHERE account_id=?;").bind({accountId}).run();
    return find(accountId)->uploadCount;
}

}  // namespace kivtal::service
