#include "support/TestDatabase.h"

#include "platform/InListQuery.h"

// The level-at-a-time reads of the structure walks send their items in chunks: no chunk may be lost
// or read twice, and a value that could be SQL stays a value.

class InListQueryTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        for (int id = 1; id <= 7; ++id)
            db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode) VALUES (1, ?, ?)"),
                    {id, QStringLiteral("C%1").arg(id)});
    }

    TestDatabase db{GetParam()};
};

TEST_P(InListQueryTest, reads_every_chunk_once_in_chunk_order)
{
    const QString sql = QStringLiteral("SELECT iSubID FROM ManageSamples WHERE cPSCode IN (%1) ORDER BY iSubID");
    auto rows = InListQuery::rows(db.cnn(), sql,
                                  {QStringLiteral("C7"), QStringLiteral("C1"), QStringLiteral("nowhere"),
                                   QStringLiteral("C3"), QStringLiteral("C2"), QStringLiteral("' OR 1=1 --")},
                                  2);
    ASSERT_TRUE(rows) << rows.error().toStdString();
    QList<int> ids;
    for (const QVariantList &row : *rows)
        ids << row.at(0).toInt();
    // PostgreSQL takes the whole list as one array: one statement, in its own order.
    EXPECT_EQ(ids, GetParam() == Backend::Postgres ? QList<int>({1, 2, 3, 7}) : QList<int>({1, 7, 3, 2}));
}

// Every character that means something in an array literal or in SQL is matched as itself, an
// empty list element stays apart from a missing value, and numbers match number columns.
TEST_P(InListQueryTest, values_that_look_like_syntax_are_matched_as_text)
{
    const QStringList hostile{QStringLiteral("a\\\"b"), QStringLiteral("{x,y}"), QStringLiteral("NULL"),
                              QStringLiteral(" lead"), QStringLiteral("'); DROP TABLE ManageSamples; --"),
                              QStringLiteral("")};
    for (int k = 0; k < hostile.size(); ++k)
        db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode) VALUES (2, ?, ?)"),
                {100 + k, hostile[k]});
    QVariantList asked;
    for (const QString &h : hostile)
        asked << h;
    asked << QVariant(); // a missing value matches nothing
    auto rows = InListQuery::rows(
        db.cnn(), QStringLiteral("SELECT cPSCode FROM ManageSamples WHERE cPSCode IN (%1) ORDER BY iSubID"), asked);
    ASSERT_TRUE(rows) << rows.error().toStdString();
    QStringList codes;
    for (const QVariantList &row : *rows)
        codes << row.at(0).toString();
    EXPECT_EQ(codes, hostile);

    auto numbers = InListQuery::rows(
        db.cnn(), QStringLiteral("SELECT cPSCode FROM ManageSamples WHERE iSubID IN (%1) ORDER BY iSubID"),
        {qlonglong(3), 5, 101.0});
    ASSERT_TRUE(numbers) << numbers.error().toStdString();
    ASSERT_EQ(numbers->size(), 3);
    EXPECT_EQ(numbers->at(2).at(0).toString(), hostile[1]);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 7 + hostile.size());
}

TEST_P(InListQueryTest, no_values_read_nothing_and_errors_come_back)
{
    auto none
        = InListQuery::rows(db.cnn(), QStringLiteral("SELECT iSubID FROM ManageSamples WHERE iSubID IN (%1)"), {});
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    auto broken = InListQuery::rows(db.cnn(), QStringLiteral("SELECT nothing FROM nowhere WHERE x IN (%1)"), {1});
    EXPECT_FALSE(broken);
}

INSTANTIATE_TEST_SUITE_P(Db, InListQueryTest, ORVANE_BOTH_BACKENDS);
