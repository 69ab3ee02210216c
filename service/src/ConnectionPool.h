#pragma once
// SQLite connections for the service's requests. Each request leases a connection of
// its own for its duration, so requests run side by side: in WAL mode readers go on
// beside the one writer, and writers wait their turn on the database's own lock
// (BEGIN IMMEDIATE) instead of on one lock around every request.
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
    explicit Connection(const std::string& path) : db(path), accounts(db), feed(db), content(db) {}
    Database db;
    Accounts accounts;
    Feed feed;
    Content content;
};

class ConnectionPool {
public:
    explicit ConnectionPool(std::string path) : path_(std::move(path)) {}

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

    // An idle connection, or a new one when all are in use.
    Lease lease();

private:
    void giveBack(std::unique_ptr<Connection> c);

    std::string path_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

}  // namespace kivtal::service
