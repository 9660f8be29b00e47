#include "VoucherStateFixture.h"

#include "entry/clsVoucherGetInfo.h"

using VoucherStateRulesTest = VoucherStateTest;

TEST_P(VoucherStateRulesTest, a_confirmed_voucher_refuses_edit_and_delete_an_unconfirmed_one_allows_both)
{
    open();
    EXPECT_EQ(engine.VoucherAllowEdit(), QString());
    EXPECT_EQ(engine.VoucherAllowDelete(), QString());

    confirmElsewhere();
    open();
    EXPECT_EQ(engine.VoucherAllowEdit(), crlf(QStringLiteral("单据 [YP001] 已经审核,不能修改!")));
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("单据 [YP001] 已经审核,不能删除!")));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
}

TEST_P(VoucherStateRulesTest, confirmation_needs_the_new_item_in_the_item_master)
{
    const struct
    {
        const char *name;
        QString setup;
        QString message;
    } cases[] = {
        {"no new item", QStringLiteral("UPDATE ManageSample SET cNewInvCode = NULL"),
         QStringLiteral("[cnewinvcode]不能为空，请检查！")},
        {"unknown item", QStringLiteral("UPDATE ManageSample SET cNewInvCode = 'NEW9'"),
         QStringLiteral("[NEW9]不存在存货档案，请先维护该存货！")},
        {"service item", QStringLiteral("UPDATE Inventory SET bService = 1"),
         QStringLiteral("[NEW1]不存在存货档案，请先维护该存货！")},
        {"fee item", QStringLiteral("UPDATE Inventory SET bInvType = 1"),
         QStringLiteral("[NEW1]不存在存货档案，请先维护该存货！")},
        {"other name", QStringLiteral("UPDATE Inventory SET cInvName = '新品甲'"),
         QStringLiteral("\r\n[cnewinvname]与存货档案中的信息不一致！")},
        {"other name and unit", QStringLiteral("UPDATE Inventory SET cInvName = '新品甲', cComUnitCode = 'KG'"),
         QStringLiteral(
             "\r\n[cnewinvname]与存货档案中的信息不一致！\r\n[cnewinvcomunitcode]与存货档案中的信息不一致！")},
        // An item without a unit reads as "", which the head's unit PCS does not match.
        {"unit left open in the master", QStringLiteral("UPDATE Inventory SET cComUnitCode = NULL"),
         QStringLiteral("\r\n[cnewinvcomunitcode]与存货档案中的信息不一致！")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        db.exec(QStringLiteral("UPDATE ManageSample SET cNewInvCode = 'NEW1'"));
        db.exec(QStringLiteral(
            "UPDATE Inventory SET cInvName = '新品1', cComUnitCode = 'PCS', bService = 0, bInvType = 0"));
        db.exec(c.setup);
        open();
        EXPECT_EQ(engine.VoucherConfirm(), c.message);
        EXPECT_EQ(stored(QStringLiteral("cHandler")), QString());
    }
}

TEST_P(VoucherStateRulesTest, confirmation_checks_the_free_items_once_the_item_agrees)
{
    open();
    SampleStateRules rules(engine.connection(), engine.oGI(), login);
    QStringList asked;
    rules.setFreeItemCheck([&asked](const QString &field, const QString &, const QString &item) {
        asked << field + QLatin1Char('@') + item;
        return field == QLatin1String("cfree2") ? QStringLiteral("颜色不对") : QString();
    });
    EXPECT_EQ(rules.VoucherAllowConfirm(engine.domHead()), QStringLiteral("\r\n颜色不对"));
    EXPECT_EQ(asked.size(), 10);
    EXPECT_EQ(asked.first(), QStringLiteral("cfree1@NEW1"));
}

TEST_P(VoucherStateRulesTest, cancel_confirmation_is_refused_while_the_generated_bom_exists)
{
    db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode) VALUES ('NEW1')"));
    auto bom = db.cnn().Scalar(QStringLiteral("SELECT MAX(iAutoId) FROM ProductStructure"));
    ASSERT_TRUE(bom);
    confirmElsewhere();
    db.exec(QStringLiteral("UPDATE ManageSample SET iBOMAutoId = ?"), {bom->toLongLong()});
    open();
    EXPECT_EQ(engine.VoucherCancelConfirm(), QStringLiteral("该样品单据生成了BOM，必须先删除该BOM才能弃审，请检查！"));
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("别人"));

    db.exec(QStringLiteral("DELETE FROM ProductStructure"));
    EXPECT_EQ(engine.VoucherCancelConfirm(), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QString());
}

TEST_P(VoucherStateRulesTest, cancel_confirmation_without_a_generated_bom_is_allowed)
{
    db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode) VALUES ('NEW1')"));
    confirmElsewhere();
    open();
    EXPECT_EQ(engine.VoucherAllowCancelConfirm(), QString());
}

TEST_P(VoucherStateRulesTest, the_status_update_changes_nothing_when_the_row_version_moved_after_the_checks)
{
    confirmElsewhere();
    open();
    changeElsewhere();
    // Straight to the update, as when another client writes between the engine's checks and it.
    SampleStateRules rules(engine.connection(), engine.oGI(), login);
    EXPECT_EQ(rules.VoucherCancelConfirm(engine.domHead()),
              crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能弃审,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("别人"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = NULL"));
    EXPECT_EQ(rules.VoucherConfirm(engine.domHead()),
              crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能审核,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QString());
}

TEST_P(VoucherStateRulesTest, closing_a_sample_is_refused_for_want_of_a_closed_state)
{
    confirmElsewhere();
    open();
    const QString before = stored(QStringLiteral("qvts"));
    EXPECT_EQ(engine.VoucherClose(false), crlf(QStringLiteral("单据 [YP001] 没有关闭状态,不能关闭!")));
    EXPECT_EQ(stored(QStringLiteral("qvts")), before);
}

TEST_P(VoucherStateRulesTest, with_a_closer_column_close_and_open_stamp_it_at_the_loaded_row_version)
{
    db.exec(QStringLiteral("ALTER TABLE ManageSample ADD cCloser VARCHAR(20)"));
    confirmElsewhere();
    open();
    engine.oGI()->setCloserName(QStringLiteral("cCloser"));
    SampleStateRules rules(engine.connection(), engine.oGI(), login);

    EXPECT_EQ(rules.VoucherClose(engine.domHead()), QString());
    EXPECT_EQ(stored(QStringLiteral("cCloser")), login->UserName());
    // The document still holds the row version from before the close.
    EXPECT_EQ(rules.VoucherOpen(engine.domHead()),
              crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能打开,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cCloser")), login->UserName());

    open();
    EXPECT_EQ(rules.VoucherOpen(engine.domHead()), QString());
    EXPECT_EQ(stored(QStringLiteral("cCloser")), QString());
    changeElsewhere();
    EXPECT_EQ(rules.VoucherClose(engine.domHead()),
              crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能关闭,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cCloser")), QString());
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherStateRulesTest, ORVANE_BOTH_BACKENDS);
