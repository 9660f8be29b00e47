#include "TestDatabase.h"

#include "platform/Schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QUrl>
#include <QUrlQuery>

std::string backendName(const testing::TestParamInfo<Backend> &info)
{
    return info.param == Backend::Postgres ? "Postgres" : "Sqlite";
}

QString TestDatabase::postgresUri()
{
    return qEnvironmentVariable("ORVANE_TEST_PG");
}

TestDatabase::TestDatabase(Backend backend, Content content)
    : m_backend(backend)
{
    if (backend == Backend::Sqlite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_connectionString = QStringLiteral("sqlite://") + m_dir->filePath(QStringLiteral("test.db"));
        m_cnn = std::make_unique<Connection>();
        auto opened = m_cnn->Open(m_connectionString, Connection::CreateIfMissing);
        if (!opened)
            ADD_FAILURE() << opened.error().toStdString();
    } else {
        const QString base = postgresUri();
        if (base.isEmpty()) {
            m_available = false;
            m_skipReason = QStringLiteral("ORVANE_TEST_PG is not set: no PostgreSQL server for this test");
            return;
        }
        static QAtomicInt serial;
        m_schema = QStringLiteral("t_%1_%2_%3")
                       .arg(QCoreApplication::applicationPid())
                       .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                       .arg(serial.fetchAndAddRelaxed(1));
        Connection admin;
        auto opened = admin.Open(base);
        if (!opened) {
            ADD_FAILURE() << opened.error().toStdString();
            m_available = false;
            return;
        }
        auto made = admin.Execute(QStringLiteral("CREATE SCHEMA ") + m_schema);
        if (!made)
            ADD_FAILURE() << made.error().toStdString();
        QUrl url(base);
        QUrlQuery q(url);
        q.removeAllQueryItems(QStringLiteral("schema"));
        q.addQueryItem(QStringLiteral("schema"), m_schema);
        url.setQuery(q);
        m_connectionString = url.toString();
        m_cnn = std::make_unique<Connection>();
        auto again = m_cnn->Open(m_connectionString);
        if (!again)
            ADD_FAILURE() << again.error().toStdString();
    }
    if (content == WithSchema) {
        auto created = Schema::create(*m_cnn);
        if (!created)
            ADD_FAILURE() << "schema: " << created.error().toStdString();
    }
}

TestDatabase::~TestDatabase()
{
    if (m_cnn)
        m_cnn->Close();
    if (m_backend == Backend::Postgres && !m_schema.isEmpty()) {
        Connection admin;
        if (admin.Open(postgresUri()))
            admin.Execute(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }
}

qint64 TestDatabase::count(const QString &table, const QString &where)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    auto v = m_cnn->Scalar(sql);
    if (!v) {
        ADD_FAILURE() << v.error().toStdString();
        return -1;
    }
    return v->toLongLong();
}

void TestDatabase::exec(const QString &sql, const QVariantList &params)
{
    auto r = params.isEmpty() ? m_cnn->Execute(sql) : m_cnn->Execute(sql, params);
    if (!r)
        ADD_FAILURE() << sql.toStdString() << ": " << r.error().toStdString();
}
