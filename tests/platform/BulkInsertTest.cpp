#include "support/TestDatabase.h"

#include "platform/BulkInsert.h"

#include <QDate>

class BulkInsertRows : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

// 250 rows at 100 a statement: on SQLite two full statements and a short one for the rest; on
// PostgreSQL one COPY when finished, the batch not being full before.
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
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99'")),
              GetParam() == Backend::Postgres ? 0 : 200);
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
    EXPECT_TRUE(db.cnn().lastErrorIsUniqueViolation());
    EXPECT_EQ(db.count(QStringLiteral("UserDefine"), QStringLiteral("cID = '99'")), 0);
}

// What separates values and rows in PostgreSQL's copy format, and what it reads as a missing
// value, comes back as it was written; so do numbers at full precision. A batch holding a date goes
// by statements instead, and is written all the same.
TEST_P(BulkInsertRows, text_that_looks_like_the_copy_format_comes_back_unchanged)
{
    ORVANE_REQUIRE(db);
    const QStringList texts{QStringLiteral("tab\there"), QStringLiteral("two\nlines\r\n"), QStringLiteral("back\\slash"),
                            QStringLiteral("\\N"), QStringLiteral("样品\\.\\t"), QStringLiteral("")};
    BulkInsert insert(db.cnn(), QStringLiteral("ManageSample"), {"iAutoID", "cCode", "cNewInvName", "itolcost"});
    for (int i = 0; i < texts.size(); ++i)
        ASSERT_TRUE(insert.add({i + 1, QStringLiteral("C%1").arg(i), texts[i], 0.1 + i * 1e-9}));
    ASSERT_TRUE(insert.add({100, QStringLiteral("C100"), QVariant(), QVariant()}));
    ASSERT_TRUE(insert.finish());
    EXPECT_EQ(insert.rowsWritten(), texts.size() + 1);
    auto rs = db.cnn().Query(QStringLiteral("SELECT cNewInvName, itolcost FROM ManageSample ORDER BY iAutoID"));
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->RecordCount(), texts.size() + 1);
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(rs->value(i, 0).toString(), texts[i]) << i;
        EXPECT_EQ(rs->value(i, 1).toDouble(), 0.1 + i * 1e-9) << i;
    }
    EXPECT_TRUE(rs->value(texts.size(), 0).isNull());
    EXPECT_TRUE(rs->value(texts.size(), 1).isNull());

    BulkInsert dated(db.cnn(), QStringLiteral("ManageSample"), {"iAutoID", "cCode", "dDate"}, 2);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(dated.add({200 + i, QStringLiteral("D%1").arg(i), QDate(2026, 12, 1 + i)}));
    ASSERT_TRUE(dated.finish());
    EXPECT_EQ(dated.rowsWritten(), 5);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("dDate IS NOT NULL")), 5);
}

INSTANTIATE_TEST_SUITE_P(Db, BulkInsertRows, ORVANE_BOTH_BACKENDS);
