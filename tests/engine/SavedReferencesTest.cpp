#include "SaveClient.h"

#include "support/FakeMessageService.h"
#include "support/MasterDataRows.h"
#include "support/SampleFixture.h"

#include "host/DataPermissionStore.h"

// The save trusts no window: every reference of the head and the written lines must name master
// data that exists and that the user may use, or the save is refused naming the item, and nothing
// is written.

class SavedReferences : public SaveClientTest
{
protected:
    void SetUp() override
    {
        SaveClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        MasterDataRows::customers(db.cnn(), {QStringLiteral("KH01"), QStringLiteral("KH02")});
        MasterDataRows::departments(db.cnn(), {QStringLiteral("0201"), QStringLiteral("0301")});
        MasterDataRows::warehouses(db.cnn(), {QStringLiteral("02")});
    }

    void setHead(const QString &field, const QString &value)
    {
        client->engine.domHead().headRow().setValue(field, value);
    }
    void setLine(int index, const QString &field, const QString &value)
    {
        client->engine.domBody().row(index).setValue(field, value);
    }
    QString stored(const QString &column)
    {
        auto v = db.cnn().Scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ManageSample"));
        return v ? v->toString() : QString();
    }

    FakeMessageService messages;
};

TEST_P(SavedReferences, a_reference_to_nothing_is_refused_with_the_items_caption_and_nothing_is_written)
{
    client->newVoucher(QStringLiteral("YP1"), 3);
    // A service is no component.
    db.exec(QStringLiteral("UPDATE Inventory SET bService = 1 WHERE cInvCode = 'C2'"));
    setHead(QStringLiteral("ccuscode"), QStringLiteral("KH9999"));
    setHead(QStringLiteral("cdepcode"), QStringLiteral("0201"));
    setLine(2, QStringLiteral("cwhcode"), QStringLiteral("W99"));
    const QString answer = client->save(2);
    EXPECT_EQ(answer, QStringLiteral("表头 [客户编码] 的值“KH9999”：客户档案不存在或者您没有该数据权限,请检查!\r\n"
                                     "表体第2行 [子件编码] 的值“C2”：存货档案不存在或者您没有该数据权限,请检查!\r\n"
                                     "表体第3行 [仓库编码] 的值“W99”：仓库不存在或者您没有该数据权限,请检查!\r\n"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 0);
}

TEST_P(SavedReferences, references_that_exist_pass_and_lose_their_trailing_blanks)
{
    client->newVoucher(QStringLiteral("YP1"), 2);
    setHead(QStringLiteral("ccuscode"), QStringLiteral("KH01  "));
    setHead(QStringLiteral("cdepcode"), QStringLiteral("0301"));
    setLine(1, QStringLiteral("cwhcode"), QStringLiteral("02"));
    ASSERT_EQ(client->save(2), QString());
    EXPECT_EQ(stored(QStringLiteral("cCusCode")), QStringLiteral("KH01"));
    // Letter case counts: the code is not the stored one.
    client->newVoucher(QStringLiteral("YP2"), 1);
    setHead(QStringLiteral("ccuscode"), QStringLiteral("kh01"));
    EXPECT_TRUE(client->save(2).startsWith(QStringLiteral("表头 [客户编码] 的值“kh01”")));
}

TEST_P(SavedReferences, a_value_outside_the_users_data_permission_is_refused)
{
    loginUser(db, QStringLiteral("lina"), QStringLiteral("李娜"), false);
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Department, true));
    ASSERT_TRUE(DataPermissionStore::grantValue(db.cnn(), QStringLiteral("lina"), DataObject::Department,
                                                QStringLiteral("0201")));
    SaveClient lina(db.connectionString(), QStringLiteral("lina"));
    ASSERT_TRUE(lina.isReady());
    lina.newVoucher(QStringLiteral("YP1"), 1);
    lina.engine.domHead().headRow().setValue(QStringLiteral("cdepcode"), QStringLiteral("0301"));
    lina.engine.domBody().row(0).setValue(QStringLiteral("cdepcode"), QStringLiteral("0201"));
    EXPECT_EQ(lina.save(2),
              QStringLiteral("表头 [部门编码] 的值“0301”：部门档案不存在或者您没有该数据权限,请检查!\r\n"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);

    lina.engine.domHead().headRow().setValue(QStringLiteral("cdepcode"), QStringLiteral("0201"));
    EXPECT_EQ(lina.save(2), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cDepCode = '0201'")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, SavedReferences, ORVANE_BOTH_BACKENDS);
