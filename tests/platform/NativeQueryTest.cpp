#include "support/TestDatabase.h"

#include "platform/Connection.h"
#include "platform/DemoData.h"
#include "platform/VoucherDocument.h"

// Hot reads go through the native client straight into the persisted-recordset text. The text
// must be exactly what the Qt SQL path gives for the same query, whatever the column types and
// values, and the native statements must be kept, bounded and freed like the others.
class NativeQueryOnBoth : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }

    // The same query both ways; fails the test when they differ.
    void expectSameText(const QString &sql, const QVariantList &params = {})
    {
        Connection &cnn = db.cnn();
        auto native = cnn.QueryXml(sql, params);
        ASSERT_TRUE(native) << native.error().toStdString();
        auto rs = cnn.Query(sql, params);
        ASSERT_TRUE(rs) << rs.error().toStdString();
        const QByteArray viaQt = VoucherDocument::fromRecordset(*rs).xml().toUtf8();
        if (*native != viaQt) {
            qsizetype at = 0;
            while (at < native->size() && at < viaQt.size() && native->at(at) == viaQt.at(at))
                ++at;
            ADD_FAILURE() << sql.toStdString() << "\n native: " << native->mid(at - 40, 120).toStdString()
                          << "\n via Qt: " << viaQt.mid(at - 40, 120).toStdString();
        }
        VoucherDocument parsed = VoucherDocument::fromPersistedText(*native);
        EXPECT_EQ(parsed.rowCount(), rs->RecordCount());
    }

    TestDatabase db{GetParam(), TestDatabase::Empty};
};

TEST_P(NativeQueryOnBoth, gives_the_text_of_the_qt_path_for_every_column_type_and_awkward_value)
{
    const Dialect &d = db.cnn().dialect();
    db.exec(QStringLiteral("CREATE TABLE k (id %1 PRIMARY KEY, big %2, flag %3, amount %4, code %5, note %6, "
                           "made %7, stamped %8, raw %9)")
                .arg(d.integerType(), d.bigintType(), d.smallintType(), d.realType(), d.textType(20), d.textType(0),
                     d.dateType(), d.dateTimeType(), d.blobType()));
    const QString insert = QStringLiteral("INSERT INTO k VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    db.exec(insert, {1, qlonglong(9007199254740993), 1, 0.1 + 0.2, QStringLiteral("A&B<'c'>\"d\""),
                     QStringLiteral("行1\n行2\t\x01 😀"), QDate(2026, 12, 6), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)),
                     QByteArray("\x00\xff\x10", 3)});
    db.exec(insert, {2, -1, 0, 1e20, QStringLiteral("  trailing  "), QString(""), QVariant(), QVariant(), QVariant()});
    db.exec(insert, {3, QVariant(), QVariant(), -0.000123456789012345, QVariant(), QVariant(), QVariant(), QVariant(),
                     QByteArray("")});
    db.exec(insert, {4, 0, 0, 123456.789, QStringLiteral("x"), QString(300, QChar(u'长')), QDate(1999, 1, 31),
                     QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 500)), QByteArray(1000, 'a')});

    expectSameText(QStringLiteral("SELECT *, '' AS editprop FROM k WHERE id > ? ORDER BY id"), {0});
    expectSameText(QStringLiteral("SELECT *, '' AS editprop FROM k WHERE id = ?"), {99}); // no row
    // Expression columns: typed by their values on SQLite, by the expression on PostgreSQL.
    expectSameText(QStringLiteral("SELECT count(*) AS n, max(amount) AS top, NULL AS absent, 'x' || code AS joined, "
                                  "sum(id) * 1.5 AS half FROM k WHERE code <> ? GROUP BY code ORDER BY code"),
                   {QStringLiteral("?")});
    expectSameText(QStringLiteral("SELECT NULL AS a, id FROM k WHERE id = ?"), {2});
    // Values of every kind the native client binds; quotes around a "?" leave it alone.
    expectSameText(QStringLiteral("SELECT id, '?' AS mark FROM k WHERE amount > ? AND code = ? AND big IS NOT NULL "
                                  "OR id = ? ORDER BY id"),
                   {0.25, QStringLiteral("x"), qlonglong(2)});
    // A date value is not bound natively: the query goes the Qt way and still gives the text.
    expectSameText(QStringLiteral("SELECT id FROM k WHERE made = ?"), {QDate(2026, 12, 6)});
}

// A column typed by its values (an expression) is untyped when no row comes back; the head written
// then is kept for the next empty run and must not stand in for a run that finds rows, nor the
// other way round.
TEST_P(NativeQueryOnBoth, an_expression_column_reads_alike_whether_runs_find_rows_or_none)
{
    db.exec(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(10))"));
    db.exec(QStringLiteral("INSERT INTO t VALUES (1, 'a')"));
    const QString sql = QStringLiteral("SELECT *, '' AS editprop FROM t WHERE id = ?");
    for (int id : {2, 2, 1, 2, 1, 1, 2})
        expectSameText(sql, {id});
}

TEST_P(NativeQueryOnBoth, reads_the_voucher_views_as_the_qt_path_does)
{
    TestDatabase full{GetParam()};
    ORVANE_REQUIRE(full);
    auto first = DemoData::generateVouchers(full.cnn(), 3, 40);
    ASSERT_TRUE(first) << first.error().toStdString();
    Connection &cnn = full.cnn();
    for (const QString &sql : {QStringLiteral("SELECT *, '' AS editprop FROM v_managesample WHERE iautoid = ?"),
                               QStringLiteral("SELECT *, '' AS editprop FROM v_managesamples WHERE iautoid = ? ORDER BY isubid")}) {
        auto native = cnn.QueryXml(sql, {*first + 1});
        ASSERT_TRUE(native) << native.error().toStdString();
        auto rs = cnn.Query(sql, {*first + 1});
        ASSERT_TRUE(rs);
        EXPECT_GT(rs->RecordCount(), 0);
        EXPECT_TRUE(*native == VoucherDocument::fromRecordset(*rs).xml().toUtf8()) << sql.toStdString();
    }
}

TEST_P(NativeQueryOnBoth, a_failed_statement_leaves_the_connection_usable_and_frees_its_statement)
{
    Connection &cnn = db.cnn();
    db.exec(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(10))"));
    db.exec(QStringLiteral("INSERT INTO t VALUES (1, 'a')"));
    auto bad = cnn.QueryXml(QStringLiteral("SELECT nosuchcolumn FROM t WHERE id = ?"), {1});
    EXPECT_FALSE(bad);
    EXPECT_FALSE(bad.error().isEmpty());
    EXPECT_EQ(cnn.failureSinceCleared(), FailureKind::Other);

    // Inside a transaction a failure on PostgreSQL breaks it; its statements are freed after.
    const QString division = QStringLiteral("SELECT 1 / (id - ?) AS q FROM t WHERE id = ?");
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(cnn.BeginTrans());
        auto read = cnn.QueryXml(division, {1, 1});
        if (cnn.backend() == Backend::Postgres) {
            EXPECT_FALSE(read) << "division by zero";
        }
        ASSERT_TRUE(cnn.RollbackTrans());
    }
    auto good = cnn.QueryXml(QStringLiteral("SELECT name FROM t WHERE id = ?"), {1});
    ASSERT_TRUE(good) << good.error().toStdString();
    EXPECT_EQ(VoucherDocument::fromPersistedText(*good).headRow().value(QStringLiteral("name")), QStringLiteral("a"));
    if (cnn.backend() == Backend::Postgres) {
        auto held = cnn.Scalar(QStringLiteral("SELECT count(*) FROM pg_prepared_statements"));
        EXPECT_EQ(held->toInt(), cnn.preparedStatementCount());
    }
}

TEST_P(NativeQueryOnBoth, keeps_a_bounded_number_of_statements_and_prepares_again_after_a_schema_change)
{
    Connection &cnn = db.cnn();
    db.exec(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(10))"));
    db.exec(QStringLiteral("INSERT INTO t VALUES (1, 'a')"));
    for (int i = 0; i < 3000; ++i) {
        auto read = cnn.QueryXml(QStringLiteral("SELECT name, %1 AS n FROM t WHERE id = ?").arg(i % 200), {1});
        ASSERT_TRUE(read) << read.error().toStdString();
    }
    EXPECT_LE(cnn.preparedStatementCount(), 64);
    if (cnn.backend() == Backend::Postgres) {
        EXPECT_EQ(cnn.Scalar(QStringLiteral("SELECT count(*) FROM pg_prepared_statements"))->toInt(),
                  cnn.preparedStatementCount());
    }

    const QString all = QStringLiteral("SELECT * FROM t WHERE id = ?");
    ASSERT_TRUE(cnn.QueryXml(all, {1}));
    ASSERT_TRUE(cnn.Execute(QStringLiteral("ALTER TABLE t ADD COLUMN extra INTEGER")));
    db.exec(QStringLiteral("UPDATE t SET extra = 7"));
    auto wider = cnn.QueryXml(all, {1});
    ASSERT_TRUE(wider) << wider.error().toStdString();
    EXPECT_EQ(VoucherDocument::fromPersistedText(*wider).headRow().value(QStringLiteral("extra")), QStringLiteral("7"));
}

INSTANTIATE_TEST_SUITE_P(Db, NativeQueryOnBoth, ORVANE_BOTH_BACKENDS);
