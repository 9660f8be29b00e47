#include "host/ReferenceListService.h"

#include "support/TestDatabase.h"

#include "platform/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QUrl>

#include <gtest/gtest.h>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The reference lists on a PostgreSQL database created with a linguistic collation, where "A01"
// sorts between "a" and "b": the search still matches and orders by code point, as on SQLite, and
// still walks the search indexes. The database uses ICU's en-US collation, which needs no locale of
// the operating system.

namespace {

// A database of its own on the server of ORVANE_TEST_PG, dropped when the object goes.
class LinguisticDatabase
{
public:
    LinguisticDatabase()
    {
        const QString base = TestDatabase::postgresUri();
        if (base.isEmpty())
            return;
        m_name = QStringLiteral("orvane_icu_%1").arg(QCoreApplication::applicationPid());
        if (!m_admin.Open(base)) {
            m_error = QStringLiteral("the server cannot be reached");
            return;
        }
        m_admin.Execute(QStringLiteral("DROP DATABASE IF EXISTS ") + m_name);
        auto made = m_admin.Execute(QStringLiteral("CREATE DATABASE ") + m_name
                                    + QStringLiteral(" TEMPLATE template0 LOCALE_PROVIDER icu ICU_LOCALE 'en-US'"));
        if (!made) {
            m_error = made.error();
            m_name.clear();
            return;
        }
        QUrl url(base);
        url.setPath(QLatin1Char('/') + m_name);
        if (auto opened = cnn.Open(url.toString()); !opened)
            m_error = opened.error();
    }
    ~LinguisticDatabase()
    {
        cnn.Close();
        if (!m_name.isEmpty())
            m_admin.Execute(QStringLiteral("DROP DATABASE ") + m_name);
    }

    QString error() const { return m_error; }

    Connection cnn;

private:
    Connection m_admin;
    QString m_name;
    QString m_error;
};

ReferenceListRequest items(const QString &search)
{
    ReferenceListRequest r;
    r.kind = QStringLiteral("inventory");
    r.table = QStringLiteral("Inventory i");
    r.columns = QStringLiteral("i.cInvCode, i.cInvName");
    r.codeColumn = QStringLiteral("i.cInvCode");
    r.nameColumn = QStringLiteral("i.cInvName");
    r.valueColumn = QStringLiteral("cInvCode");
    r.search = search;
    r.pageSize = 100;
    return r;
}

// The statement with its values written in, for EXPLAIN (the values are the test's own).
QString withValues(QString sql, const QVariantList &params)
{
    for (const QVariant &value : params) {
        QString literal = value.toString();
        if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QDate)
            literal = QLatin1Char('\'') + literal.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        sql.replace(sql.indexOf(QLatin1Char('?')), 1, literal);
    }
    return sql;
}

} // namespace

TEST(ReferenceListCollation, psql_a_linguistic_database_matches_and_orders_by_code_point_through_the_search_indexes)
{
    if (TestDatabase::postgresUri().isEmpty())
        GTEST_SKIP() << "ORVANE_TEST_PG is not set: no PostgreSQL server for this test";
    LinguisticDatabase db;
    ASSERT_TRUE(db.error().isEmpty()) << db.error().toStdString();
    auto linguistic = db.cnn.Scalar(QStringLiteral("SELECT CASE WHEN 'A01' > 'a' AND 'A01' < 'b' THEN 1 ELSE 0 END"));
    ASSERT_TRUE(linguistic && linguistic->toInt() == 1) << "the database must sort linguistically";
    ASSERT_TRUE(Schema::create(db.cnn));
    const QString add = QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) VALUES (?, ?, ?)");
    int id = 0;
    for (const char *code : {"A01", "a01", "ab1", "B01", "b02", "Ä01"})
        ASSERT_TRUE(
            db.cnn.Execute(add, {QString::fromUtf8(code), QStringLiteral("件") + QString::fromUtf8(code), ++id}));

    ReferenceListService service(db.cnn);
    auto codes = [&service](const QString &search) {
        auto page = service.page(items(search));
        EXPECT_TRUE(page) << page.error().toStdString();
        QStringList out;
        for (int r = 0; page && r < page->rows.RecordCount(); ++r)
            out << page->rows.value(r, 0).toString();
        return out.join(u' ');
    };
    EXPECT_EQ(codes(QStringLiteral("a")), QStringLiteral("a01 ab1"));
    EXPECT_EQ(codes(QStringLiteral("A")), QStringLiteral("A01"));
    EXPECT_EQ(codes(QStringLiteral("b")), QStringLiteral("b02"));
    EXPECT_EQ(codes(QString()), QStringLiteral("A01 B01 a01 ab1 b02 Ä01"));
    EXPECT_EQ(codes(QStringLiteral("件a")), QStringLiteral("a01 ab1")) << "names by code point too";

    // Each branch of the search walks the search index of its column (a table this small would
    // otherwise be read whole, so that way is closed for the plan).
    ASSERT_TRUE(db.cnn.Execute(QStringLiteral("SET enable_seqscan = off")));
    QVariantList params;
    const QString sql = ReferenceListService::statement(db.cnn.dialect(), items(QStringLiteral("a")), params);
    auto plan = db.cnn.Query(QStringLiteral("EXPLAIN ") + withValues(sql, params));
    ASSERT_TRUE(plan) << plan.error().toStdString();
    QStringList lines;
    for (int r = 0; r < plan->RecordCount(); ++r)
        lines << plan->value(r, 0).toString();
    const QString text = lines.join(u'\n');
    EXPECT_TRUE(text.contains(QStringLiteral("ix_inventory_code_search"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ix_inventory_name_search"))) << text.toStdString();
}
