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

// A new user (password "pw") logged in on the test database; a super user holds every right.
std::shared_ptr<clsLogin> loginUser(TestDatabase &db, const QString &userId, const QString &userName, bool super);
// A user "tester" (测试员, password "pw") holding every right, logged in on the test database.
std::shared_ptr<clsLogin> loginTester(TestDatabase &db);

// A test on a fresh database of each backend with "tester" logged in. The program-wide sessions
// and windows are dropped afterwards. A subclass's SetUp calls this one first and returns when
// IsSkipped() or HasFatalFailure().
class LoggedInTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override;
    void TearDown() override;

    TestDatabase db{GetParam()};
    std::shared_ptr<clsLogin> login;
};
