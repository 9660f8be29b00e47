#include "support/EngineFixture.h"

#include "common/modPublic.h"
#include "engine/basVoucher.h"
#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"

#include <QFile>

class VoucherEngine : public EngineTest
{
protected:
    // Sets the engine up with the given show parameters and loads objSP.ID.
    void start(qlonglong id = -1, const QString &where = QString())
    {
        sp->ID = id;
        sp->Where = where;
        initialEngine();
        ASSERT_TRUE(engine.connection().isOpen());
        engine.GetVoucherData();
    }

    qlonglong curId() const { return sp->CurID.toLongLong(); }
    QString headCode() { return basVoucher::GetHeadValue(engine.domHead(), QStringLiteral("ccode")); }

};

TEST_P(VoucherEngine, a_fresh_engine_holds_three_empty_documents_and_terminate_leaves_none)
{
    clsVoucherCo fresh;
    EXPECT_TRUE(fresh.hasDocuments());
    EXPECT_TRUE(fresh.domHead().isEmpty());
    EXPECT_TRUE(fresh.domBody().isEmpty());
    EXPECT_TRUE(fresh.domFormat().isEmpty());
    fresh.TerminateDOM();
    EXPECT_FALSE(fresh.hasDocuments());
}

TEST_P(VoucherEngine, initial_reads_meta_information_start_date_and_creates_the_business_object)
{
    db.exec(QStringLiteral("UPDATE accinformation SET cvalue = ? WHERE csysid = 'SA' AND cname = 'domstartdate'"),
            {QStringLiteral("2025-01-01")});
    start(0);
    EXPECT_EQ(engine.oGI()->BTQName().toLower(), QStringLiteral("v_managesample"));
    EXPECT_EQ(engine.CardNumber(), QStringLiteral("1801"));
    EXPECT_EQ(sp->CardNumber, QStringLiteral("1801"));
    EXPECT_EQ(clsVoucherCo::SalesStartDate(), QStringLiteral("2025-01-01"));
    auto business = std::dynamic_pointer_cast<clsManageSample>(engine.objVoucher());
    ASSERT_TRUE(business);
    EXPECT_EQ(business->login(), login);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join('\n').toStdString();
}

TEST_P(VoucherEngine, newest_voucher_on_an_empty_set_gives_an_empty_card)
{
    start(-1);
    EXPECT_EQ(engine.domHead().rowCount(), 0);
    EXPECT_EQ(curId(), 0);
    EXPECT_TRUE(engine.isBOF());
    EXPECT_TRUE(engine.isEOF());
}

TEST_P(VoucherEngine, loads_the_newest_voucher_with_its_lines_in_order)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("演示用户"), 3);
    start(-1);
    EXPECT_EQ(headCode(), QStringLiteral("YP002"));
    EXPECT_EQ(curId(), 2);
    EXPECT_EQ(sp->PreID.toLongLong(), 2);
    ASSERT_EQ(engine.domBody().rowCount(), 3);
    EXPECT_EQ(basVoucher::GetBodyValue(engine.domBody(), QStringLiteral("cpscode"), 2), QStringLiteral("P2-3"));
    EXPECT_EQ(basVoucher::GetBodyValue(engine.domBody(), QStringLiteral("editprop"), 0), QString());
    EXPECT_TRUE(engine.domBody().row(0).attribute(QStringLiteral("editprop")).has_value());
    EXPECT_FALSE(engine.isBOF());
    EXPECT_TRUE(engine.isEOF());
}

TEST_P(VoucherEngine, id_zero_loads_empty_documents_with_columns_and_keeps_the_flags)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"));
    start(1);
    ASSERT_TRUE(engine.isBOF());
    ASSERT_FALSE(engine.isEOF());
    sp->ID = 0;
    engine.GetVoucherData();
    EXPECT_EQ(engine.domHead().rowCount(), 0);
    EXPECT_EQ(engine.domBody().rowCount(), 0);
    EXPECT_FALSE(engine.domHead().columns().isEmpty());
    EXPECT_FALSE(engine.domBody().columns().isEmpty());
    EXPECT_TRUE(engine.isBOF());
    EXPECT_FALSE(engine.isEOF());
    EXPECT_EQ(sp->PreID.toLongLong(), 1) << "PreID keeps the last voucher really loaded";
}

TEST_P(VoucherEngine, moves_through_the_set_with_correct_flags)
{
    for (int id : {3, 7, 12})
        samples.voucher(id, QStringLiteral("YP%1").arg(id));
    start(-1);
    ASSERT_TRUE(engine.VoucherMove(evmsMoveFirst));
    EXPECT_EQ(curId(), 3);
    EXPECT_TRUE(engine.isBOF());
    EXPECT_FALSE(engine.isEOF());
    ASSERT_TRUE(engine.VoucherMove(evmsMoveNext));
    EXPECT_EQ(curId(), 7);
    EXPECT_FALSE(engine.isBOF());
    EXPECT_FALSE(engine.isEOF());
    ASSERT_TRUE(engine.VoucherMove(evmsMoveNext));
    EXPECT_EQ(curId(), 12);
    EXPECT_TRUE(engine.isEOF());
    ASSERT_TRUE(engine.VoucherMove(evmsMovePrevious));
    EXPECT_EQ(curId(), 7);
    EXPECT_EQ(basVoucher::GetBodyValue(engine.domBody(), QStringLiteral("cpscode"), 0), QStringLiteral("P7-1"));
    ASSERT_TRUE(engine.VoucherMove(evmsMoveLast));
    EXPECT_EQ(curId(), 12);
    EXPECT_FALSE(engine.isBOF());
    EXPECT_TRUE(engine.isEOF());
}

TEST_P(VoucherEngine, moving_before_the_first_voucher_empties_the_head_but_keeps_the_body)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"));
    start(1);
    ASSERT_TRUE(engine.VoucherMove(evmsMovePrevious));
    EXPECT_EQ(engine.domHead().rowCount(), 0);
    EXPECT_EQ(curId(), 0);
    EXPECT_TRUE(engine.isBOF());
    EXPECT_TRUE(engine.isEOF());
    EXPECT_EQ(engine.domBody().rowCount(), 2);
    EXPECT_EQ(basVoucher::GetBodyValue(engine.domBody(), QStringLiteral("cpscode"), 0), QStringLiteral("P1-1"));
    EXPECT_EQ(sp->PreID.toLongLong(), 1);
}

TEST_P(VoucherEngine, a_single_voucher_is_both_first_and_last)
{
    samples.voucher(5, QStringLiteral("YP005"));
    start(-1);
    EXPECT_EQ(curId(), 5);
    EXPECT_TRUE(engine.isBOF());
    EXPECT_TRUE(engine.isEOF());
}

TEST_P(VoucherEngine, a_where_condition_restricts_every_move_and_the_flags)
{
    samples.voucher(1, QStringLiteral("YP001"), QStringLiteral("张三"));
    samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("李四"));
    samples.voucher(3, QStringLiteral("YP003"), QStringLiteral("张三"));
    samples.voucher(4, QStringLiteral("YP004"), QStringLiteral("李四"));
    // An OR inside the condition must not widen the previous/next steps.
    start(-1, QStringLiteral("cmaker = '张三' OR cmaker = '王五'"));
    EXPECT_EQ(curId(), 3);
    EXPECT_TRUE(engine.isEOF());
    EXPECT_FALSE(engine.isBOF());
    ASSERT_TRUE(engine.VoucherMove(evmsMovePrevious));
    EXPECT_EQ(curId(), 1);
    EXPECT_TRUE(engine.isBOF());
    ASSERT_TRUE(engine.VoucherMove(evmsMoveNext));
    EXPECT_EQ(curId(), 3);
    ASSERT_TRUE(engine.VoucherMove(evmsMoveNext));
    EXPECT_EQ(curId(), 0) << "voucher 4 is outside the shown set";
    ASSERT_TRUE(engine.Refresh());
    EXPECT_EQ(curId(), 3);
}

TEST_P(VoucherEngine, a_voucher_loaded_by_id_outside_the_set_is_neither_first_nor_last)
{
    for (int id : {1, 2, 3})
        samples.voucher(id, QStringLiteral("YP%1").arg(id), id == 1 ? QStringLiteral("张三") : QStringLiteral("李四"));
    start(1, QStringLiteral("cmaker = '李四'"));
    EXPECT_EQ(curId(), 1);
    EXPECT_FALSE(engine.isBOF());
    EXPECT_FALSE(engine.isEOF());
}

TEST_P(VoucherEngine, time_stamp_change_sees_another_users_save_and_delete)
{
    samples.voucher(1, QStringLiteral("YP001"));
    start(1);
    EXPECT_FALSE(engine.TimeStampChange());

    Connection other;
    ASSERT_TRUE(other.Open(db.connectionString()));
    ASSERT_TRUE(other.Execute(QStringLiteral("UPDATE ManageSample SET iAutoID = iAutoID WHERE iAutoID = 1")));
    EXPECT_TRUE(engine.TimeStampChange()) << "a save that changes nothing still bumps the row version";

    engine.GetVoucherData();
    EXPECT_FALSE(engine.TimeStampChange());
    ASSERT_TRUE(other.Execute(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1; DELETE FROM ManageSample WHERE iAutoID = 1")));
    EXPECT_TRUE(engine.TimeStampChange());
}

TEST_P(VoucherEngine, a_lost_connection_is_reported_and_keeps_the_documents)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"));
    start(2);
    engine.connection().Close();
    auto moved = engine.VoucherMove(evmsMovePrevious);
    EXPECT_FALSE(moved);
    EXPECT_EQ(headCode(), QStringLiteral("YP002"));
    sp->ID = 1;
    engine.GetVoucherData();
    ASSERT_EQ(messages.shown.size(), 1);
    // Where it happened goes to the error log, not to the user.
    EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("clsVoucherCo:GetVoucherData")));
    QFile log(modPublic::ErrorLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("clsVoucherCo:GetVoucherData")));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
    EXPECT_EQ(headCode(), QStringLiteral("YP002"));
}

TEST_P(VoucherEngine, a_card_number_without_registration_loads_nothing)
{
    sp->ID = -1;
    engine.Initial(login, QStringLiteral("9999"), sp);
    EXPECT_TRUE(engine.oGI()->BTQName().isEmpty());
    EXPECT_FALSE(engine.objVoucher());
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherEngine, ORVANE_BOTH_BACKENDS);
