#pragma once

#include "platform/Backend.h"
#include "platform/Connection.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A fresh, private database for one test: a new SQLite file in a temporary folder, or a new schema
// on the PostgreSQL server named by the environment variable ORVANE_TEST_PG (a postgresql:// URI).
// The schema is dropped and the folder removed when the object goes.
class TestDatabase
{
public:
    enum Content { Empty, WithSchema };

    explicit TestDatabase(Backend backend, Content content = WithSchema);
    ~TestDatabase();

    // False (with the reason in skipReason) when PostgreSQL tests were asked for but no server is set.
    bool available() const { return m_available; }
    QString skipReason() const { return m_skipReason; }

    Backend backend() const { return m_backend; }
    // A connection string that opens this database (each open is a new, independent connection).
    QString connectionString() const { return m_connectionString; }
    // A connection held by the fixture, open on this database.
    Connection &cnn() { return *m_cnn; }

    // Convenience for assertions.
    qint64 count(const QString &table, const QString &where = QString());
    void exec(const QString &sql, const QVariantList &params = {});

    static QString postgresUri();

private:
    Backend m_backend;
    bool m_available = true;
    QString m_skipReason;
    QString m_connectionString;
    QString m_schema;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Connection> m_cnn;
};

// The printed name of a backend parameter ("Sqlite", "Postgres").
std::string backendName(const testing::TestParamInfo<Backend> &info);

// Both backends, for INSTANTIATE_TEST_SUITE_P.
#define ORVANE_BOTH_BACKENDS testing::Values(Backend::Sqlite, Backend::Postgres), backendName

// Skips the current test when its backend is not available.
#define ORVANE_REQUIRE(db)                                                                            \
    do {                                                                                              \
        if (!(db).available())                                                                        \
            GTEST_SKIP() << (db).skipReason().toStdString();                                          \
    } while (false)
