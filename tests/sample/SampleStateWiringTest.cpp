#include "support/EngineFixture.h"

#include "engine/basVoucher.h"
#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"

// The engine of card "1801" reaches the sample's state rules through the business object it
// creates by program identifier: a rule refusing here proves the whole chain is connected.
class SampleStateWiring : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (setUpFailed())
            return;
        samples.voucher(1, QStringLiteral("YP001"));
        sp->ID = 1;
        initialEngine();
        ASSERT_TRUE(std::dynamic_pointer_cast<clsManageSample>(engine.objVoucher()));
        engine.GetVoucherData();
    }
};

TEST_P(SampleStateWiring, confirming_a_sample_whose_item_is_not_in_the_master_is_refused_and_changes_nothing)
{
    const QString answer = engine.VoucherConfirm(false);
    EXPECT_TRUE(answer.contains(QStringLiteral("[NEW1]不存在存货档案，请先维护该存货！"))) << answer.toStdString();
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("chandler IS NOT NULL")), 0);
}

TEST_P(SampleStateWiring, a_confirmed_sample_may_not_be_edited)
{
    db.exec(QStringLiteral("UPDATE ManageSample SET chandler = ?, dveridate = ? WHERE iAutoID = 1"),
            {QStringLiteral("测试员"), QStringLiteral("2026-12-02")});
    engine.GetVoucherData();
    EXPECT_TRUE(engine.VoucherAllowEdit(false).contains(QStringLiteral("] 已经审核,不能修改!")));
}

TEST_P(SampleStateWiring, confirmation_checks_the_new_items_free_items_against_their_values)
{
    db.exec(QStringLiteral("INSERT INTO Inventory (iId, cInvCode, cInvName, cComUnitCode, bService, bInvType, bFree1) "
                           "VALUES (1, 'NEW1', '新品1', 'PCS', 0, 0, 1)"));
    db.exec(QStringLiteral("UPDATE UserDef SET cItemName = ? WHERE cID = '20'"), {QStringLiteral("颜色")});
    db.exec(QStringLiteral("INSERT INTO UserDefine (cID, cValue, cAlias, iOrder) VALUES ('20', ?, ?, 1)"),
            {QStringLiteral("天蓝"), QStringLiteral("TL")});
    db.exec(QStringLiteral("UPDATE ManageSample SET cFree1 = ? WHERE iAutoID = 1"), {QStringLiteral("墨绿")});
    engine.GetVoucherData();
    EXPECT_EQ(engine.VoucherConfirm(false), QStringLiteral("\r\n[颜色]录入错误，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("chandler IS NOT NULL")), 0);

    db.exec(QStringLiteral("UPDATE ManageSample SET cFree1 = ? WHERE iAutoID = 1"), {QStringLiteral("天蓝")});
    engine.GetVoucherData();
    EXPECT_EQ(engine.VoucherConfirm(false), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("chandler IS NOT NULL")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, SampleStateWiring, ORVANE_BOTH_BACKENDS);
