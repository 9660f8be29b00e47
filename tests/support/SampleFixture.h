#pragma once

#include "TestDatabase.h"

#include <QString>

#include <memory>

class clsLogin;

// Writes sample vouchers straight into the tables, for tests that load and move.
class SampleWriter
{
public:
    explicit SampleWriter(TestDatabase &db)
        : m_db(db)
    {}
    // A head with the given identifier, number and maker, and `lines` body lines numbered 1..lines.
    void voucher(int id, const QString &code, const QString &maker = QStringLiteral("演示用户"), int lines = 2);

private:
    TestDatabase &m_db;
};

// A user "tester" (password "pw") holding every right, logged in on the test database.
std::shared_ptr<clsLogin> loginTester(TestDatabase &db);
