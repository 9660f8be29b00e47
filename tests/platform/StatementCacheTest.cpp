#include "support/TestDatabase.h"

#include "platform/Connection.h"

// Statements with parameters are prepared once per connection and executed again with new values.
// These cases look for stale values, statements that leak on the server, and cached statements that
// outlive a schema change, a failure or the connection they were prepared on.
class StatementCacheOnBoth : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        db.exec(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(40))"));
    }

    // The prepared statements the session holds: on PostgreSQL as the server counts them (QPSQL
    // prepares under names of its own), on SQLite as the connection keeps them.
    static int statementsHeld(Connection &cnn)
    {
        if (cnn.backend() != Backend::Postgres)
            return cnn.preparedStatementCount();
        auto n = cnn.Scalar(QStringLiteral("SELECT count(*) FROM pg_prepared_statements"));
        return n ? n->toInt() : -1;
    }

    TestDatabase db{GetParam(), TestDatabase::Empty};
};

TEST_P(StatementCacheOnBoth, runs_one_prepared_statement_with_the_values_of_each_call)
{
    Connection &cnn = db.cnn();
    const QString insert = QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)");
    const QString byId = QStringLiteral("SELECT name FROM t WHERE id = ?");
    for (int id = 1; id <= 3; ++id)
        ASSERT_TRUE(cnn.Execute(insert, {id, QStringLiteral("n%1").arg(id)}));
    ASSERT_TRUE(cnn.Execute(insert, {4, QVariant()})); // NULL after values
    for (int id = 1; id <= 3; ++id)
        EXPECT_EQ(cnn.Scalar(byId, {id})->toString(), QStringLiteral("n%1").arg(id));
    EXPECT_TRUE(cnn.Scalar(byId, {4})->isNull());
    EXPECT_FALSE(cnn.Scalar(byId, {99})->isValid()) << "no row: nothing left over from the last call";
    auto rs = cnn.Query(QStringLiteral("SELECT id FROM t WHERE id > ? ORDER BY id"), {2});
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(statementsHeld(cnn), 3);
}

TEST_P(StatementCacheOnBoth, holds_a_bounded_number_of_statements_however_many_run)
{
    Connection &cnn = db.cnn();
    ASSERT_TRUE(cnn.Execute(QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)"), {1, QStringLiteral("a")}));
    // A few hot statements between many that run once, the way pasted codes in a filter arrive.
    for (int i = 0; i < 20000; ++i) {
        const QString sql = i % 2 ? QStringLiteral("SELECT name FROM t WHERE id = ? AND %1 = %1").arg(i % 7)
                                  : QStringLiteral("SELECT count(*) + %1 FROM t WHERE id <> ?").arg(i);
        auto n = cnn.Scalar(sql, {i % 3});
        ASSERT_TRUE(n) << n.error().toStdString();
    }
    EXPECT_LE(cnn.preparedStatementCount(), 64);
    EXPECT_EQ(statementsHeld(cnn), cnn.preparedStatementCount());
}

// PostgreSQL refuses every statement, DEALLOCATE included, in a transaction after a failure; the
// failed statement must still be freed once the transaction ends, and prepared afresh next time.
TEST_P(StatementCacheOnBoth, frees_a_statement_that_failed_inside_a_transaction)
{
    Connection &cnn = db.cnn();
    const QString insert = QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)");
    ASSERT_TRUE(cnn.Execute(insert, {1, QStringLiteral("a")}));
    for (int round = 0; round < 100; ++round) {
        ASSERT_TRUE(cnn.BeginTrans());
        ASSERT_TRUE(cnn.Execute(QStringLiteral("UPDATE t SET name = ? WHERE id = ?"), {QStringLiteral("b"), 1}));
        EXPECT_FALSE(cnn.Execute(insert, {1, QStringLiteral("dup")}));
        EXPECT_TRUE(cnn.lastErrorIsUniqueViolation());
        ASSERT_TRUE(cnn.RollbackTrans());
    }
    EXPECT_EQ(statementsHeld(cnn), cnn.preparedStatementCount());
    ASSERT_TRUE(cnn.Execute(insert, {2, QStringLiteral("c")}));
    EXPECT_EQ(db.count(QStringLiteral("t")), 2);
    EXPECT_EQ(cnn.Scalar(QStringLiteral("SELECT name FROM t WHERE id = ?"), {1})->toString(), QStringLiteral("a"));
}

TEST_P(StatementCacheOnBoth, prepares_again_after_a_schema_change_or_a_reopen)
{
    Connection &cnn = db.cnn();
    const QString all = QStringLiteral("SELECT * FROM t WHERE id = ?");
    ASSERT_TRUE(cnn.Execute(QStringLiteral("INSERT INTO t (id, name) VALUES (?, ?)"), {1, QStringLiteral("a")}));
    ASSERT_EQ(cnn.Query(all, {1})->fieldCount(), 2);

    ASSERT_TRUE(cnn.Execute(QStringLiteral("ALTER TABLE t ADD COLUMN extra INTEGER")));
    auto wider = cnn.Query(all, {1});
    ASSERT_TRUE(wider) << wider.error().toStdString();
    EXPECT_EQ(wider->fieldCount(), 3);

    ASSERT_TRUE(cnn.Execute(QStringLiteral("DROP TABLE t")));
    ASSERT_TRUE(cnn.Execute(QStringLiteral("CREATE TABLE t (id INTEGER, other VARCHAR(10))")));
    auto fresh = cnn.Query(all, {1});
    ASSERT_TRUE(fresh) << fresh.error().toStdString();
    EXPECT_EQ(fresh->RecordCount(), 0);

    cnn.Close();
    ASSERT_TRUE(cnn.Open(db.connectionString()));
    EXPECT_EQ(cnn.preparedStatementCount(), 0);
    ASSERT_TRUE(cnn.Execute(QStringLiteral("INSERT INTO t (id, other) VALUES (?, ?)"), {5, QStringLiteral("x")}));
    EXPECT_EQ(cnn.Query(all, {5})->RecordCount(), 1);
    EXPECT_EQ(statementsHeld(cnn), 2);
}

INSTANTIATE_TEST_SUITE_P(Db, StatementCacheOnBoth, ORVANE_BOTH_BACKENDS);
