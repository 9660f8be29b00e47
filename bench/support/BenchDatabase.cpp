#include "BenchDatabase.h"

#include "host/clsLogin.h"
#include "platform/Schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QUrl>
#include <QUrlQuery>

void ensureBenchApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

bool postgresAvailable()
{
    return !qEnvironmentVariable("ORVANE_TEST_PG").isEmpty();
}

BenchDatabase::BenchDatabase(Backend backend)
    : m_backend(backend)
{
    ensureBenchApplication();
    m_cnn = std::make_unique<Connection>();
    if (backend == Backend::Sqlite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_connectionString = QStringLiteral("sqlite://") + m_dir->filePath(QStringLiteral("bench.db"));
        auto opened = m_cnn->Open(m_connectionString, Connection::CreateIfMissing);
        if (!opened) {
            m_error = opened.error();
            return;
        }
    } else {
        const QString base = qEnvironmentVariable("ORVANE_TEST_PG");
        if (base.isEmpty()) {
            m_error = QStringLiteral("ORVANE_TEST_PG is not set");
            return;
        }
        // One schema per database: a program keeps several fixtures at once, and a name shared by
        // two of them would let the second drop the first one's data. The process id keeps two
        // programs that run at the same time apart.
        static QAtomicInt schemas;
        m_schema = QStringLiteral("bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(schemas.fetchAndAddRelaxed(1));
        Connection admin;
        auto opened = admin.Open(base);
        if (!opened) {
            m_error = opened.error();
            return;
        }
        admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS ") + m_schema + QStringLiteral(" CASCADE"));
        auto made = admin.Execute(QStringLiteral("CREATE SCHEMA ") + m_schema);
        if (!made) {
            m_error = made.error();
            return;
        }
        QUrl url(base);
        QUrlQuery q(url);
        q.addQueryItem(QStringLiteral("schema"), m_schema);
        url.setQuery(q);
        m_connectionString = url.toString();
        auto again = m_cnn->Open(m_connectionString);
        if (!again) {
            m_error = again.error();
            return;
        }
    }
    auto created = Schema::create(*m_cnn);
    if (!created) {
        m_error = created.error();
        return;
    }
    m_available = true;
}

Result<std::shared_ptr<clsLogin>> BenchDatabase::login()
{
    auto made = clsLogin::CreateUser(*m_cnn, QStringLiteral("bench"), QStringLiteral("bench"), QStringLiteral("pw"), true);
    if (!made)
        return fail(made.error());
    return clsLogin::Login(m_connectionString, QStringLiteral("bench"), QStringLiteral("pw"));
}

BenchDatabase::~BenchDatabase()
{
    m_cnn->Close();
    if (m_backend == Backend::Postgres && !m_schema.isEmpty()) {
        Connection admin;
        if (admin.Open(qEnvironmentVariable("ORVANE_TEST_PG")))
            admin.Execute(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }
}
