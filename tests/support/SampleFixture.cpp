#include "SampleFixture.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"

void SampleWriter::voucher(int id, const QString &code, const QString &maker, int lines)
{
    m_db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, cnewinvcomunitcode, "
                             "cmaker, ddate, iFinishExch) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
              {id, code, QStringLiteral("NEW%1").arg(id), QStringLiteral("新品%1").arg(id), QStringLiteral("PCS"), maker,
               QStringLiteral("2026-12-01"), 1.0});
    for (int line = 1; line <= lines; ++line) {
        m_db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, tdQtyD, iWasteRate, "
                                 "cWhCode) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                  {id, id * 1000 + line, QStringLiteral("P%1-%2").arg(id).arg(line), 1.5 * line, 1.0, 2.5,
                   QStringLiteral("01")});
    }
}

std::shared_ptr<clsLogin> loginUser(TestDatabase &db, const QString &userId, const QString &userName, bool super)
{
    auto made = clsLogin::CreateUser(db.cnn(), userId, userName, QStringLiteral("pw"), super);
    if (!made) {
        ADD_FAILURE() << made.error().toStdString();
        return nullptr;
    }
    auto session = clsLogin::Login(db.connectionString(), userId, QStringLiteral("pw"));
    if (!session) {
        ADD_FAILURE() << session.error().toStdString();
        return nullptr;
    }
    return *session;
}

std::shared_ptr<clsLogin> loginTester(TestDatabase &db)
{
    return loginUser(db, QStringLiteral("tester"), QStringLiteral("测试员"), true);
}

void LoggedInTest::SetUp()
{
    ORVANE_REQUIRE(db);
    login = loginTester(db);
    ASSERT_TRUE(login);
}

void LoggedInTest::TearDown()
{
    WindowManager::reset();
    modPublic::clearProgramState();
}
