// Checks the shipped reference database as built from data/refdb: the shape the
// store's readers select, and the tree properties the pickers and the area path
// rely on. The queries below are the readers' own statements.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

class RefDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("KIVTAL_REFDB");
        ASSERT_NE(path, nullptr) << "KIVTAL_REFDB is not set";
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(path, &raw, SQLITE_OPEN_READONLY, nullptr);
        db_.reset(raw);
        ASSERT_EQ(rc, SQLITE_OK) << path << ": " << sqlite3_errmsg(raw);
    }

    Rows query(const std::string& sql) {
        Rows rows;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &st, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_.get());
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                row.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        return rows;
    }

    std::string scalar(const std::string& sql) {
        const Rows rows = query(sql);
        return rows.empty() || rows[0].empty() ? "" : rows[0][0];
    }

    std::vector<std::string> column(const std::string& sql, size_t index) {
        std::vector<std::string> values;
        for (const Row& row : query(sql)) values.push_back(row.at(index));
        return values;
    }

    // The store's area path: the area, then its parents while the last pid read
    // is not the top marker 1, at most three rows.
    std::vector<std::string> areaPath(int id) {
        std::vector<std::string> titles;
        std::string next = std::to_string(id);
        while (titles.size() < 3) {
            const Rows rows = query("SELECT id,title,pid,sortid FROM sm_area where id=" + next + " ;");
            if (rows.empty()) break;
            titles.push_back(rows[0][1]);
            next = rows[0][2];
            if (next == "1") break;
        }
        return titles;
    }

private:
    std::unique_ptr<sqlite3, DbCloser> db_;
};

TEST_F(RefDbTest, HoldsExactlyTheThreeReferenceTablesWithTheirColumns) {
    EXPECT_THAT(column("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name;", 0),
                ElementsAre("sm_area", "sm_industry", "sm_post"));
    struct Expected {
        const char* table;
        std::vector<std::string> columns;
    };
    const Expected tables[] = {
        {"sm_area", {"id INTEGER", "title TEXT", "pid INTEGER", "sortid INTEGER"}},
        {"sm_industry", {"id INTEGER", "title TEXT", "pid INTEGER", "sortid INTEGER"}},
        {"sm_post", {"id INTEGER", "title TEXT", "sortid INTEGER"}},
    };
    for (const Expected& t : tables) {
        std::vector<std::string> got;
        for (const Row& r : query(std::string("PRAGMA table_info(") + t.table + ");")) got.push_back(r[1] + " " + r[2]);
        EXPECT_THAT(got, ElementsAreArray(t.columns)) << t.table;
    }
}

TEST_F(RefDbTest, ProvincesAreTheTopLevelInCodeOrder) {
    const Rows provinces = query("SELECT id,title,sortid FROM sm_area where pid=1 order by sortid;");
    ASSERT_EQ(provinces.size(), 34u);
    EXPECT_THAT(provinces.front(), ElementsAre("110000", "北京市", "1"));
    EXPECT_THAT(provinces.back(), ElementsAre("820000", "澳门特别行政区", "34"));
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_area WHERE id=1;"), "0")
        << "an area id would collide with the top marker";
}

TEST_F(RefDbTest, CitiesAndDistrictsHangUnderTheirParents) {
    const auto cities = column("SELECT id,title,sortid FROM sm_area where pid=440000 order by sortid;", 1);
    EXPECT_EQ(cities.front(), "广州市");
    EXPECT_THAT(cities, ::testing::Contains("深圳市"));
    EXPECT_THAT(areaPath(440106), ElementsAre("天河区", "广州市", "广东省"));
    // A municipality's districts sit right under it, so their path has two rows.
    EXPECT_THAT(areaPath(110105), ElementsAre("朝阳区", "北京市"));
    // County-level cities under direct provincial administration count as cities.
    EXPECT_THAT(areaPath(429004), ElementsAre("仙桃市", "湖北省"));
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_area WHERE title='市辖区' OR title LIKE '%直辖县级行政区划';"), "0")
        << "code-list placeholders are not places";
}

TEST_F(RefDbTest, EveryAreaReachesTheTopWithinThreeLevels) {
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_area WHERE pid!=1 AND pid NOT IN (SELECT id FROM sm_area);"), "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_area a JOIN sm_area b ON a.pid=b.id JOIN sm_area c ON b.pid=c.id "
                     "WHERE c.pid!=1;"),
              "0");
    EXPECT_GT(std::stoi(scalar("SELECT count(*) FROM sm_area;")), 3000);
}

TEST_F(RefDbTest, SiblingsHaveDistinctSortIds) {
    for (const char* table : {"sm_area", "sm_industry"}) {
        EXPECT_EQ(scalar(std::string("SELECT count(*) FROM (SELECT 1 FROM ") + table +
                         " GROUP BY pid,sortid HAVING count(*)>1);"),
                  "0")
            << table;
    }
    EXPECT_EQ(scalar("SELECT count(*) - count(DISTINCT sortid) FROM sm_post;"), "0");
}

TEST_F(RefDbTest, IndustrySectionsAreTheTopLevelWithTheirDivisionsBeneath) {
    const Rows sections = query("SELECT id,title,sortid FROM sm_industry where pid=0 and id!=504 order by sortid;");
    ASSERT_EQ(sections.size(), 20u);
    EXPECT_EQ(sections.front()[1], "农、林、牧、渔业");
    EXPECT_EQ(sections.back()[1], "国际组织");
    size_t divisions = 0;
    for (const Row& section : sections) {
        const auto under =
            column("SELECT id,title,sortid FROM sm_industry where pid=" + section[0] + " order by sortid;", 1);
        EXPECT_FALSE(under.empty()) << section[1];
        divisions += under.size();
    }
    EXPECT_EQ(divisions, 97u);
    const auto manufacturing =
        column("SELECT id,title,sortid FROM sm_industry where pid=" + sections[2][0] + " order by sortid;", 1);
    ASSERT_EQ(manufacturing.size(), 31u);
    EXPECT_EQ(manufacturing.front(), "农副食品加工业");
    EXPECT_EQ(manufacturing.back(), "金属制品、机械和设备修理业");
}

TEST_F(RefDbTest, OtherIndustryIsFoundByIdButListedNowhere) {
    EXPECT_EQ(query("SELECT id,title,sortid FROM sm_industry where id=504;").size(), 1u);
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_industry WHERE id=504 AND "
                     "(pid=0 OR pid IN (SELECT id FROM sm_industry));"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM sm_industry WHERE id!=504 AND pid!=0 AND "
                     "pid NOT IN (SELECT id FROM sm_industry WHERE pid=0);"),
              "0")
        << "a division whose section is missing";
}

TEST_F(RefDbTest, PositionsAreAShortFlatListOfDistinctFunctions) {
    const auto titles = column("SELECT id,title,sortid FROM sm_post order by sortid;", 1);
    EXPECT_GE(titles.size(), 20u);
    EXPECT_LE(titles.size(), 40u);
    EXPECT_THAT(titles, ::testing::IsSupersetOf({"销售", "市场", "技术研发", "财务", "人力资源", "行政", "管理"}));
    EXPECT_EQ(scalar("SELECT count(*) - count(DISTINCT title) FROM sm_post;"), "0");
}

}  // namespace
