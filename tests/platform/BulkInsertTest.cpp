#include "support/TestDatabase.h"

#include "platform/BulkInsert.h"

class BulkInsertRows : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

// 250 rows at 100 a statement: two full statements and a short one for the rest.
TEST_P(BulkInsertRows, writes_full_statements_and_the_rest_with_every_value_bound)
{
    ORVANE_REQUIRE(db);
    BulkInsert insert(db.cnn(), QStringLiteral("UserDefine"), {"cID", "cValue", "cAlias", "iOrder"}, 100);
    const QString hostile = QStringLiteral("O'Neil's'); DROP TABLE UserDefine; --");
    for (int i = 0; i < 250; ++i) {
        auto added = insert.add(
            {QStringLiteral("99"), QStringLiteral("值%1").arg(i), i == 7 ? QVariant(hostile) : QVariant(), i});
        ASSERT_TRUE(added) << added.error().toStdString();
    }
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99'")), 200);
    ASSERT_TRUE(insert.finish());
    EXPECT_EQ(insert.rowsWritten(), 250);
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99'")), 250);
    auto alias
        = db.cnn().Scalar(QStringLiteral("SELECT cAlias FROM UserDefine WHERE cValue = ?"), {QStringLiteral("值7")});
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->toString(), hostile);
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99' AND cAlias IS NULL")), 249);
}

TEST_P(BulkInsertRows, reports_the_table_of_a_failing_statement_and_rows_of_the_wrong_width)
{
    ORVANE_REQUIRE(db);
    BulkInsert insert(db.cnn(), QStringLiteral("UserDefine"), {"cID", "cValue"}, 10);
    auto narrow = insert.add({QStringLiteral("99")});
    ASSERT_FALSE(narrow);
    EXPECT_TRUE(narrow.error().contains(QStringLiteral("UserDefine")));

    // The same key twice: the statement fails as a whole.
    ASSERT_TRUE(insert.add({QStringLiteral("99"), QStringLiteral("a")}));
    ASSERT_TRUE(insert.add({QStringLiteral("99"), QStringLiteral("a")}));
    auto finished = insert.finish();
    ASSERT_FALSE(finished);
    EXPECT_TRUE(finished.error().contains(QStringLiteral("UserDefine")));
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99'")), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, BulkInsertRows, ORVANE_BOTH_BACKENDS);
