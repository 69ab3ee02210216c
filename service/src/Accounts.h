#pragma once
// Accounts, their devices and the login that hands a device its random key.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Database.h"

namespace kivtal::service {

struct Account {
    std::int64_t id = 0;
    std::string loginName;
    std::int64_t coins = 0;
    bool certified = false;
    std::string realName;
    std::int64_t uploadCount = 0;
};

struct NewAccount {
    std::string loginName;
    std::string clientDigest;  // what the client sends as "password"
    std::int64_t coins = 0;
    bool certified = false;
    std::string realName;
};

struct StoredPassword {
    std::int64_t accountId;
    std::string hash;
};

class Accounts {
public:
    explicit Accounts(Database& db) : db_(db) {}

    // The new account's id, or nullopt when the login name is taken. `passwordHash` is
    // HashPassword of the account's client digest, made before the caller's transaction.
    std::optional<std::int64_t> create(const NewAccount& a, std::string_view passwordHash);
    std::optional<Account> find(std::int64_t id);
    // The account as `find` reads it, its row locked until the caller's write transaction
    // ends: every write of the account runs this first, so writes of one account, in
    // any service process, run one after the other and each sees the one before.
    std::optional<Account> lockForWrite(std::int64_t id);
    std::optional<Account> findByName(std::string_view loginName);

    // The account's id and password hash, to check a login against outside any transaction.
    std::optional<StoredPassword> storedPassword(std::string_view loginName);
    void setPasswordHash(std::int64_t accountId, std::string_view hash);
    // A fresh random key for the device, which replaces the one it had.
    std::string issueKey(std::int64_t accountId, std::string_view uniqueId);
    // The account id when `key` is the one derived from the device's current random key
    // and `userId` (the account id as decimal text).
    std::optional<std::int64_t> checkKey(std::string_view userId, std::string_view uniqueId, std::string_view key);
    // The device's key stops working.
    void logout(std::int64_t accountId, std::string_view uniqueId);

    void addCoins(std::int64_t accountId, std::int64_t delta);
    void setRealName(std::int64_t accountId, std::string_view name);
    std::int64_t countUpload(std::int64_t accountId);

private:
    Database& db_;
};

}  // namespace kivtal::service
