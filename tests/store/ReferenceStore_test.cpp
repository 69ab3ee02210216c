#include "store/ReferenceStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace kivtal {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// A small reference database whose ids and sort orders differ, so that a list read in
// id order or a path that follows the wrong column shows.
//   areas:  province 20 (sort 2) > city 21 > district 22 > street 23 (a fourth level)
//           municipality 10 (sort 1) > district 11;  province 30 (sort 3) without children
//   industries: sections 101 (sort 2), 100 (sort 1) and the catch-all 504 (sort 0), all
//           under 0; divisions 201, 200 under 100
//   positions: 3 (sort 1), 1 (sort 2), 2 (sort 3)
constexpr const char* kRefSchemaAndRows =
    "CREATE TABLE sm_area(id INTEGER, title TEXT, pid INTEGER, sortid INTEGER);"
    "CREATE TABLE sm_industry(id INTEGER, title TEXT, pid INTEGER, sortid INTEGER);"
    "CREATE TABLE sm_post(id INTEGER, title TEXT, sortid INTEGER);"
    "INSERT INTO sm_area VALUES(30,'广东省',1,3),(20,'湖北省',1,2),(10,'北京市',1,1),"
    "(21,'武汉市',20,1),(22,'洪山区',21,1),(23,'关山街道',22,1),(11,'朝阳区',10,1),(12,'海淀区',10,0);"
    "INSERT INTO sm_industry VALUES(504,'其他',0,0),(101,'建筑业',0,2),(100,'制造业',0,1),"
    "(201,'汽车制造',100,2),(200,'食品加工',100,1);"
    "INSERT INTO sm_post VALUES(1,'销售',2),(2,'财务',3),(3,'管理',1);";

class ReferenceStoreTest : public ::testing::Test {
protected:
    ReferenceStoreTest() {
        SqliteDb db;
        EXPECT_EQ(db.open(refPath), SQLITE_OK);
        EXPECT_EQ(db.execute(kRefSchemaAndRows), SQLITE_OK) << db.lastError();
    }

    static std::vector<int> AreaIds(const AddressInfoList& list) {
        std::vector<int> ids;
        for (const AddressInfo& a : list) ids.push_back(a.id);
        return ids;
    }
    template <class List>
    static std::vector<std::string> Titles(const List& list) {
        std::vector<std::string> titles;
        for (const auto& item : list) titles.push_back(item.title);
        return titles;
    }

    test::TempDir dir;
    std::string refPath = dir.file("doz2a_v3.db");
    LocalStore store{StorePaths{dir.path() + "user", refPath}};
    ReferenceStore refs{store};
};

TEST_F(ReferenceStoreTest, AreaListsFollowSortOrderCarryTheirParentAndAppend) {
    AddressInfoList provinces{AddressInfo{99, "kept", 0, 0}};
    ASSERT_EQ(refs.Provinces(provinces), 0);
    EXPECT_THAT(provinces, ElementsAre(AddressInfo{99, "kept", 0, 0}, AddressInfo{10, "北京市", 1, 1},
                                       AddressInfo{20, "湖北省", 1, 2}, AddressInfo{30, "广东省", 1, 3}));

    AddressInfoList districts;
    ASSERT_EQ(refs.AreasUnder(10, districts), 0);
    EXPECT_THAT(districts, ElementsAre(AddressInfo{12, "海淀区", 10, 0}, AddressInfo{11, "朝阳区", 10, 1}));
    AddressInfoList none;
    ASSERT_EQ(refs.AreasUnder(30, none), 0);
    EXPECT_TRUE(none.empty());
}

TEST_F(ReferenceStoreTest, AreaPathClimbsToTheTopLevelInAtMostThreeRows) {
    struct Case {
        int id;
        std::vector<int> path;
    };
    const Case cases[] = {
        {22, {22, 21, 20}},                      // district, city, province
        {11, {11, 10}},                          // a municipality's district: its city is the top level
        {20, {20}},         {23, {23, 22, 21}},  // a deeper area stops after three rows
        {777, {}},
    };
    for (const Case& c : cases) {
        AddressInfoList path;
        ASSERT_EQ(refs.AreaPath(c.id, path), 0) << c.id;
        EXPECT_THAT(AreaIds(path), ElementsAreArray(c.path)) << c.id;
    }
    AddressInfoList path;
    ASSERT_EQ(refs.AreaPath(22, path), 0);
    EXPECT_EQ(path[1], (AddressInfo{21, "武汉市", 20, 1}));
}

TEST_F(ReferenceStoreTest, IndustriesLeaveOutTheCatchAllAtTheTopButFindItById) {
    IndustryInfoList top;
    ASSERT_EQ(refs.TopIndustries(top), 0);
    EXPECT_THAT(top, ElementsAre(IndustryInfo{100, "制造业", 1}, IndustryInfo{101, "建筑业", 2}));

    IndustryInfoList under;
    ASSERT_EQ(refs.IndustriesUnder(100, under), 0);
    EXPECT_THAT(Titles(under), ElementsAre("食品加工", "汽车制造"));

    IndustryInfo found;
    ASSERT_EQ(refs.IndustryById(504, found), 0);
    EXPECT_EQ(found, (IndustryInfo{504, "其他", 0}));
    IndustryInfo untouched{1, "x", 2};
    ASSERT_EQ(refs.IndustryById(9999, untouched), 0);
    EXPECT_EQ(untouched, (IndustryInfo{1, "x", 2}));
}

TEST_F(ReferenceStoreTest, PositionsFollowSortOrder) {
    PositionInfoList positions;
    ASSERT_EQ(refs.Positions(positions), 0);
    EXPECT_THAT(positions,
                ElementsAre(PositionInfo{3, "管理", 1}, PositionInfo{1, "销售", 2}, PositionInfo{2, "财务", 3}));
}

TEST_F(ReferenceStoreTest, MissingOrUnreadableReferenceDatabaseLeavesEveryListEmpty) {
    const std::string missing = dir.file("absent.db");
    const std::string corrupt = dir.file("corrupt.db");
    std::ofstream(corrupt) << "not a database";
    for (const std::string& path : {missing, corrupt}) {
        SCOPED_TRACE(path);
        LocalStore other{StorePaths{dir.path() + "user", path}};
        ReferenceStore r{other};
        AddressInfoList areas;
        IndustryInfoList industries;
        PositionInfoList positions;
        IndustryInfo one{1, "x", 2};
        EXPECT_EQ(r.Provinces(areas), 1);
        EXPECT_EQ(r.AreasUnder(10, areas), 1);
        EXPECT_EQ(r.AreaPath(22, areas), 1);
        EXPECT_EQ(r.TopIndustries(industries), 1);
        EXPECT_EQ(r.IndustriesUnder(100, industries), 1);
        EXPECT_EQ(r.IndustryById(100, one), 1);
        EXPECT_EQ(r.Positions(positions), 1);
        EXPECT_TRUE(areas.empty());
        EXPECT_TRUE(industries.empty());
        EXPECT_TRUE(positions.empty());
        EXPECT_EQ(one, (IndustryInfo{1, "x", 2}));
    }
    EXPECT_FALSE(FileExists(missing)) << "the reference database is never created";
}

// The database built from data/ at build time, when the build provides it.
TEST(ShippedReferenceDatabase, EveryProvincesFirstCityLeadsBackToIt) {
    const char* path = std::getenv("KIVTAL_REFDB");
    if (path == nullptr || !FileExists(path)) GTEST_SKIP() << "no built reference database";
    test::TempDir dir;
    LocalStore store{StorePaths{dir.path() + "user", path}};
    ReferenceStore refs{store};

    AddressInfoList provinces;
    ASSERT_EQ(refs.Provinces(provinces), 0);
    ASSERT_FALSE(provinces.empty());
    for (const AddressInfo& province : provinces) {
        AddressInfoList cities, path;
        ASSERT_EQ(refs.AreasUnder(province.id, cities), 0);
        if (cities.empty()) continue;  // a province without cities (an island, say) has no path to check
        ASSERT_EQ(refs.AreaPath(cities.front().id, path), 0);
        ASSERT_FALSE(path.empty()) << province.title;
        EXPECT_EQ(path.back().id, province.id) << province.title;
        EXPECT_EQ(path.back().pid, 1) << province.title;
    }
}

}  // namespace
}  // namespace kivtal
