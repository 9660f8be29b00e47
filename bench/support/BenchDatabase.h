#pragma once

#include "platform/Backend.h"
#include "platform/Connection.h"
#include "platform/Result.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class clsLogin;

// A private database with the schema for a benchmark: a SQLite file in a temporary folder, or a
// new schema on the server named by ORVANE_TEST_PG. Dropped when the object goes.
class BenchDatabase
{
public:
    explicit BenchDatabase(Backend backend);
    ~BenchDatabase();

    bool available() const { return m_available; }
    QString error() const { return m_error; }
    QString connectionString() const { return m_connectionString; }
    Connection &cnn() { return *m_cnn; }
    // A super user "bench" created on this database and logged in; the error text on failure.
    Result<std::shared_ptr<clsLogin>> login();

private:
    Backend m_backend;
    bool m_available = false;
    QString m_error;
    QString m_connectionString;
    QString m_schema;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Connection> m_cnn;
};

// A QCoreApplication for the benchmark programs (Qt SQL needs one); created on first use.
void ensureBenchApplication();

// Both backends when a PostgreSQL server is given, else SQLite only.
bool postgresAvailable();
