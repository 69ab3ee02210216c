#pragma once
// A store with a fresh user database in a scratch folder, for tests of the store
// operations, with a side connection to look at the file and to break it on purpose.
#include <gtest/gtest.h>
#include <sqlite3.h>  // SQLITE_OK and the codes the tests compare against

#include <string>

#include "store/LocalStore.h"
#include "support/TempDir.h"

namespace kivtal::test {

// The reference database this build produces ($KIVTAL_REFDB, which every registered
// test has), else a missing file.
std::string RefDbForTests();

class UserDbFixture : public ::testing::Test {
protected:
    UserDbFixture();

    // Runs SQL on a connection of its own (outside the store lock).
    ResultTable Query(const std::string& sql);
    void Exec(const std::string& sql);
    std::string Scalar(const std::string& sql);

    // Makes every write to the change log fail, to show that the row change it
    // belongs to is rolled back with it.
    void FailChangeLogWrites();

    // Replaces the user database with bytes that are not a database.
    void CorruptUserDb();

    TempDir dir;
    LocalStore store;
};

}  // namespace kivtal::test
