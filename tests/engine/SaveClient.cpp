#include "SaveClient.h"

#include "support/MasterDataRows.h"
#include "support/SampleFixture.h"

#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"

#include <gtest/gtest.h>

SaveClient::SaveClient(const QString &connectionString, const QString &userId)
    : sp(std::make_shared<clsVoucherShowParameter>())
{
    auto session = clsLogin::Login(connectionString, userId, QStringLiteral("pw"));
    if (!session) {
        ADD_FAILURE() << session.error().toStdString();
        return;
    }
    login = *session;
    sp->ID = 0;
    engine.Initial(login, QStringLiteral("1801"), sp);
    engine.setObjVoucher(business);
    m_ready = engine.connection().isOpen();
}

SaveClient::~SaveClient() = default;

void SaveClient::open(qlonglong id)
{
    sp->ID = id;
    engine.GetVoucherData();
}

void SaveClient::newVoucher(const QString &code, int lines)
{
    open(0);
    MasterDataRows::items(engine.connection(), {QStringLiteral("N-") + code.trimmed()});
    MasterDataRows::units(engine.connection(), {QStringLiteral("PCS")});
    VoucherRow row = engine.domHead().appendRow();
    const QList<QPair<QString, QString>> values{{QStringLiteral("ccode"), code},
                                                {QStringLiteral("ddate"), QStringLiteral("2026-12-01")},
                                                {QStringLiteral("cnewinvcode"), QStringLiteral("N-") + code.trimmed()},
                                                {QStringLiteral("cnewinvname"), QStringLiteral("新品")},
                                                {QStringLiteral("cnewinvcomunitcode"), QStringLiteral("PCS")},
                                                {QStringLiteral("ifinishexch"), QStringLiteral("1")},
                                                {QStringLiteral("cmaker"), QStringLiteral("测试员")},
                                                {QStringLiteral("vt_id"), QStringLiteral("180101")}};
    for (const auto &v : values)
        row.setValue(v.first, v.second);
    for (int i = 1; i <= lines; ++i)
        addLine(QStringLiteral("C%1").arg(i));
}

VoucherRow SaveClient::addLine(const QString &component, const QString &mark)
{
    MasterDataRows::items(engine.connection(), {component});
    MasterDataRows::warehouses(engine.connection(), {QStringLiteral("01")});
    VoucherRow line = engine.domBody().appendRow();
    line.setValue(QStringLiteral("cpscode"), component);
    line.setValue(QStringLiteral("ipsquantity"), QStringLiteral("2.5"));
    line.setValue(QStringLiteral("tdqtyd"), QStringLiteral("1"));
    line.setValue(QStringLiteral("iwasterate"), QStringLiteral("0"));
    line.setValue(QStringLiteral("cwhcode"), QStringLiteral("01"));
    line.setValue(QStringLiteral("editprop"), mark);
    return line;
}

QString SaveClient::save(int state)
{
    // Vouchers a test wrote straight into the tables name master data of their own.
    MasterDataRows::forStoredVouchers(engine.connection());
    business->calls.clear();
    returnedId = QVariant();
    return engine.VoucherSave(state, returnedId, parentId, parentVersion);
}

void SaveClientTest::SetUp()
{
    ORVANE_REQUIRE(db);
    ASSERT_TRUE(loginTester(db));
    client = std::make_unique<SaveClient>(db.connectionString());
    ASSERT_TRUE(client->isReady());
}
