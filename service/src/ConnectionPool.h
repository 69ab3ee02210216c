#pragma once
// Database connections for the service's requests. Each request leases a connection of
// its own for its duration, so requests run side by side: on SQLite readers go on beside
// the one writer (WAL) and writers wait their turn on the file's lock; on PostgreSQL
// writes of one account wait for each other on the account's row and others do not.
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Accounts.h"
#include "Content.h"
#include "Database.h"
#include "Feed.h"

namespace kivtal::service {

struct Connection {
    explicit Connection(const std::string& address)
        : owner(OpenDatabase(address)), db(*owner), accounts(db), feed(db), content(db) {}
    std::unique_ptr<Database> owner;
    Database& db;
    Accounts accounts;
    Feed feed;
    Content content;
};

class ConnectionPool {
public:
    // At most `limit` connections at once (0: no limit); a lease past it waits for one
    // to come back. A database server serves a bounded number of connections, shared by
    // every service process in front of it.
    ConnectionPool(std::string address, std::size_t limit) : address_(std::move(address)), limit_(limit) {}

    // Hands its connection back to the pool when it goes.
    class Lease {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<Connection> c) : pool_(pool), c_(std::move(c)) {}
        ~Lease() { pool_.giveBack(std::move(c_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Connection* operator->() const { return c_.get(); }
        Connection& operator*() const { return *c_; }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<Connection> c_;
    };

    // An idle connection, or a new one while under the limit; throws DbError when a new
    // one cannot be opened.
    Lease lease();

private:
    void giveBack(std::unique_ptr<Connection> c);

    std::string address_;
    std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable returned_;
    std::size_t open_ = 0;
    std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace kivtal::service
