// The field descriptions against the real schema: every described column exists, every
// column a kind's table holds is described (or named below as one no record carries),
// and every field written through the generated SQL reads back as it was written, in
// the row and in the value string.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/RecordFields.h"
#include "model/RecordValues.h"
#include "store/RecordSql.h"
#include "support/UserDbFixture.h"

namespace kivtal {
namespace {

// Distinct values a careless SQL builder would mangle, one per field.
template <class R>
R Sample() {
    R record;
    int i = 0;
    for (const RecordField<R>& f : DescriptionOf<R>().fields) {
        ++i;
        if (f.number) record.*f.number = i * 1009 + (i % 2 ? 0 : -70000);
        else record.*f.text = "O'Brien " + std::to_string(i) + " 100%_";
    }
    return record;
}

// Columns of the schema that no record carries: the three reserved ones of every
// table, the trash's time stamp (the trash keeps it) and the profile's second and
// third job, which nothing edits.
const std::set<std::string> kNotDescribed = {
    "filed_1",       "filed_2",      "filed_3",          "deleted_at",    "job_category2_id",
    "job_position2", "business2_id", "job_category3_id", "job_position3", "business3_id",
};

template <class R>
class RecordFieldsTest : public test::UserDbFixture {};

using Kinds = ::testing::Types<BusinessCard, TalEvent, UserInfo, EventComment, EventAlarm, CardGroup, EventGroup,
                               UserSettings, UserBankInfo>;
TYPED_TEST_SUITE(RecordFieldsTest, Kinds);

TYPED_TEST(RecordFieldsTest, TheDescriptionNamesEveryColumnOfItsTable) {
    const RecordDescription<TypeParam>& d = DescriptionOf<TypeParam>();
    std::set<std::string> described;
    for (const RecordField<TypeParam>& f : d.fields) described.insert(f.column);
    std::set<std::string> inTable;
    const ResultTable t = this->Query(std::string("PRAGMA table_info(") + d.table + ")");
    for (int r = 0; r < t.rows(); ++r)
        if (!kNotDescribed.count(t.text(r, 1))) inTable.insert(t.text(r, 1));
    EXPECT_EQ(described, inTable) << d.table;
    EXPECT_EQ(std::string(d.fields[0].column), t.text(0, 1)) << "the local key comes first";
}

TYPED_TEST(RecordFieldsTest, EveryFieldReadsBackAsWritten) {
    const TypeParam written = Sample<TypeParam>();
    StoreSession session = this->store.OpenUserDb();
    ASSERT_TRUE(session.ok());
    SqliteDb& db = session.db();
    ASSERT_EQ(db.execute(recordsql::InsertSql<TypeParam>(), recordsql::ColumnArgs(written, true)), SQLITE_OK);
    const int key = static_cast<int>(db.lastInsertId());
    // The key is the row's own; the update then writes every other column over it.
    SqlArgs args = recordsql::ColumnArgs(written, true);
    args.push_back(Arg(key));
    ASSERT_EQ(db.execute(recordsql::UpdateSql<TypeParam>(), args), SQLITE_OK);
    ASSERT_EQ(db.changes(), 1);

    ResultTable t;
    ASSERT_EQ(db.query(recordsql::SelectSql<TypeParam>(), t), SQLITE_OK);
    ASSERT_EQ(t.rows(), 1);
    TypeParam read;
    recordsql::ReadRow(t, 0, read);
    TypeParam expected = written;
    expected.*DescriptionOf<TypeParam>().fields[0].number = key;
    EXPECT_EQ(read, expected);

    TypeParam parsed;
    ParseValues(FormatValues(read), parsed);
    for (const RecordField<TypeParam>& f : DescriptionOf<TypeParam>().fields) {
        if (!f.travels()) continue;
        if (f.number) EXPECT_EQ(parsed.*f.number, read.*f.number) << f.column;
        else EXPECT_EQ(parsed.*f.text, read.*f.text) << f.column;
    }
}

}  // namespace
}  // namespace kivtal
