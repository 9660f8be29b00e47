#include "support/EngineFixture.h"

#include "engine/basVoucher.h"
#include "entry/clsVoucherGetInfo.h"

// A new voucher starts from the login: its date, its user as maker and the default template.
class NewVoucher : public EngineTest
{
};

TEST_P(NewVoucher, starts_with_the_login_date_the_user_as_maker_and_the_default_template)
{
    samples.voucher(1, QStringLiteral("YP001"));
    sp->ID = 1;
    initialEngine();
    engine.GetVoucherData();
    const VoucherDocument body = engine.domBody();
    ASSERT_TRUE(engine.objVoucher());
    engine.objVoucher()->VoucherNew(engine);

    const VoucherDocument &head = engine.domHead();
    ASSERT_EQ(head.selectNodes(QStringLiteral("//z:row")).size(), 1);
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral("ddate")), login->LoginDate());
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral("cmaker")), QStringLiteral("测试员"));
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral("vt_id")), QString::number(engine.oGI()->DEF_ID()));
    EXPECT_NE(engine.oGI()->DEF_ID(), 0);
    EXPECT_FALSE(head.headRow().has(QStringLiteral("ccode"))) << "the number comes with the save";
    EXPECT_EQ(engine.domBody().rowCount(), body.rowCount()) << "no body is built here";
}

INSTANTIATE_TEST_SUITE_P(Db, NewVoucher, ORVANE_BOTH_BACKENDS);
