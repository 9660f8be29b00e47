#pragma once

#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "engine/VoucherBusiness.h"
#include "engine/VoucherStateActions.h"
#include "engine/basVoucher.h"
#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/DataPermissionStore.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "sample/SampleStateRules.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <ostream>

// Messages read as text when a comparison fails.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The sample voucher's state rules behind the engine, as clsManageSample forwards them, and a log
// of the callbacks the engine made.
class SampleRulesBusiness final : public VoucherBusiness
{
public:
    QStringList calls;
    QString deleteRefusal;                                 // what VoucherDelete answers
    std::function<void(Connection &)> whileAllowingDelete; // runs inside the deletion's transaction

    void Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info) override
    {
        m_login = std::move(login);
        m_info = std::move(info);
    }
    QString VoucherAllowEdit(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("AllowEdit"), rules(cnn).VoucherAllowEdit(head));
    }
    QString VoucherAllowDelete(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        if (whileAllowingDelete)
            whileAllowingDelete(cnn);
        return log(QStringLiteral("AllowDelete"), rules(cnn).VoucherAllowDelete(head));
    }
    QString VoucherAllowConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("AllowConfirm"), rules(cnn).VoucherAllowConfirm(head));
    }
    QString VoucherAllowCancelConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("AllowCancelConfirm"), rules(cnn).VoucherAllowCancelConfirm(head));
    }
    QString VoucherAllowClose(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("AllowClose"), rules(cnn).VoucherAllowClose(head));
    }
    QString VoucherAllowOpen(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("AllowOpen"), rules(cnn).VoucherAllowOpen(head));
    }
    QString VoucherConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("Confirm"), rules(cnn).VoucherConfirm(head));
    }
    QString VoucherCancelConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("CancelConfirm"), rules(cnn).VoucherCancelConfirm(head));
    }
    QString VoucherClose(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("Close"), rules(cnn).VoucherClose(head));
    }
    QString VoucherOpen(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return log(QStringLiteral("Open"), rules(cnn).VoucherOpen(head));
    }
    QString VoucherDelete(Connection &, VoucherDocument &, VoucherDocument &) override
    {
        return log(QStringLiteral("Delete"), deleteRefusal);
    }

private:
    SampleStateRules rules(Connection &cnn) { return SampleStateRules(cnn, m_info, m_login); }
    QString log(const QString &call, const QString &answer)
    {
        calls << call;
        return answer;
    }

    std::shared_ptr<clsLogin> m_login;
    std::shared_ptr<clsVoucherGetInfo> m_info;
};

// A fresh database of each backend with sample 1 ("YP001", made by 演示用户, two lines, new item
// NEW1 as the item master has it) and an engine that shows it to `login`.
class VoucherStateTest : public LoggedInTest
{
protected:
    static constexpr const char *kCrLf = "\r\n";

    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        samples.voucher(1, QStringLiteral("YP001"));
        db.exec(QStringLiteral("INSERT INTO Inventory (iId, cInvCode, cInvName, cComUnitCode, bService, bInvType) "
                               "VALUES (1, 'NEW1', '新品1', 'PCS', 0, 0)"));
        // The sample's unit: the save refuses a unit the unit master does not hold.
        db.exec(QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName) VALUES ('PCS', 'PCS')"));
    }
    void TearDown() override
    {
        VoucherStateActions::setProgramDataPermission(nullptr);
        LoggedInTest::TearDown();
    }

    // The engine on voucher `id` for `user` (the tester unless given), with the sample rules.
    void open(qlonglong id = 1, std::shared_ptr<clsLogin> user = nullptr)
    {
        sp->ID = id;
        engine.Initial(user ? user : login, QStringLiteral("1801"), sp);
        ASSERT_TRUE(engine.connection().isOpen());
        messages.watch(engine.connection());
        business = std::make_shared<SampleRulesBusiness>();
        business->Initial(user ? user : login, engine.oGI());
        engine.setObjVoucher(business);
        engine.GetVoucherData();
        ASSERT_EQ(engine.domHead().rowCount(), id > 0 ? 1 : 0);
    }

    // Another client's change of the head: renews its row version.
    void changeElsewhere(int id = 1)
    {
        db.exec(QStringLiteral("UPDATE ManageSample SET cMemo = 'elsewhere' WHERE iAutoID = ?"), {id});
    }
    void confirmElsewhere(int id = 1)
    {
        db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = '别人', dVeriDate = ? WHERE iAutoID = ?"),
                {QDate(2026, 12, 1), id});
    }
    // The head column's text as the database holds it ("" for NULL).
    QString stored(const QString &column, int id = 1)
    {
        auto rs = db.cnn().Query(QStringLiteral("SELECT CAST(") + column
                                     + QStringLiteral(" AS TEXT) AS v FROM ManageSample WHERE iAutoID = ?"),
                                 {id});
        return rs && !rs->isEmpty() ? rs->value(0, 0).toString() : QString();
    }
    // A user without super rights holding the given functions.
    std::shared_ptr<clsLogin> restrictedUser(const QStringList &tasks)
    {
        auto made = clsLogin::CreateUser(db.cnn(), QStringLiteral("lina"), QStringLiteral("李娜"), QStringLiteral("pw"),
                                         false);
        EXPECT_TRUE(made);
        for (const QString &task : tasks)
            EXPECT_TRUE(clsLogin::GrantRight(db.cnn(), QStringLiteral("lina"), task));
        auto session = clsLogin::Login(db.connectionString(), QStringLiteral("lina"), QStringLiteral("pw"));
        EXPECT_TRUE(session);
        return session ? *session : nullptr;
    }
    static QString crlf(const QString &text) { return text + QString::fromLatin1(kCrLf); }

    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<clsVoucherShowParameter> sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
    std::shared_ptr<SampleRulesBusiness> business;
};
