#include "VoucherStateFixture.h"

#include "host/DataPermission.h"

using Check = VoucherStateActions::Check;

namespace {

// Runs one check, as action where there is one, on the engine.
QString run(clsVoucherCo &engine, Check check, bool checkAuth = true)
{
    switch (check) {
    case Check::Edit:
        return engine.VoucherAllowEdit(checkAuth);
    case Check::Delete:
        return engine.VoucherDelete(checkAuth);
    case Check::Confirm:
        return engine.VoucherConfirm(checkAuth);
    case Check::CancelConfirm:
        return engine.VoucherCancelConfirm(checkAuth);
    case Check::Close:
        return engine.VoucherClose(checkAuth);
    case Check::Open:
        return engine.VoucherOpen(checkAuth);
    }
    return {};
}

// A service that gives one answer to every question.
class FixedPermission final : public DataPermission
{
public:
    explicit FixedPermission(QString answer)
        : m_answer(std::move(answer))
    {}
    void BindLogin(std::shared_ptr<clsLogin> &) override {}
    QString GetFieldCondition(const QString &) override { return m_answer; }
    QString GetKindCondition(const QString &) override { return m_answer; }

private:
    QString m_answer;
};

} // namespace

using VoucherStateActionsTest = VoucherStateTest;

TEST_P(VoucherStateActionsTest, confirm_and_cancel_confirmation_go_through_the_chain_to_the_business_object)
{
    open();
    EXPECT_EQ(engine.VoucherConfirm(), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("测试员"));
    EXPECT_EQ(stored(QStringLiteral("dVeriDate")), login->LoginDate());

    // The card reloads after an action; so does the engine here, to hold the new row version.
    engine.GetVoucherData();
    EXPECT_EQ(engine.VoucherCancelConfirm(), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QString());
    EXPECT_EQ(stored(QStringLiteral("dVeriDate")), QString());
    EXPECT_EQ(business->calls, QStringList({"AllowConfirm", "Confirm", "AllowCancelConfirm", "CancelConfirm"}));
}

TEST_P(VoucherStateActionsTest, an_action_on_a_voucher_changed_elsewhere_is_refused_and_changes_nothing)
{
    const struct
    {
        Check check;
        bool confirmed;
        QString message;
    } cases[] = {
        {Check::Edit, false, QStringLiteral("单据 [YP001] 已经被改变或删除,请刷新后重试!")},
        {Check::Delete, false, QStringLiteral("单据 [YP001] 已经被改变或删除,不能删除,请刷新后重试!")},
        {Check::Confirm, false, QStringLiteral("单据 [YP001] 已经被改变或删除,不能审核,请刷新后重试!")},
        {Check::CancelConfirm, true, QStringLiteral("单据 [YP001] 已经被改变或删除,不能弃审,请刷新后重试!")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = NULL, dVeriDate = NULL"));
        if (c.confirmed)
            confirmElsewhere();
        open();
        changeElsewhere();
        const QString before = stored(QStringLiteral("qvts"));
        EXPECT_EQ(run(engine, c.check), crlf(c.message));
        EXPECT_EQ(stored(QStringLiteral("qvts")), before);
        EXPECT_EQ(stored(QStringLiteral("cHandler")), c.confirmed ? QStringLiteral("别人") : QString());
        EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 2);
        EXPECT_TRUE(business->calls.isEmpty()) << business->calls.join(',').toStdString();
    }
}

TEST_P(VoucherStateActionsTest, a_voucher_deleted_elsewhere_is_refused_as_changed)
{
    open();
    db.exec(QStringLiteral("DELETE FROM ManageSamples"));
    db.exec(QStringLiteral("DELETE FROM ManageSample"));
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能审核,请刷新后重试!")));
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能删除,请刷新后重试!")));
}

TEST_P(VoucherStateActionsTest, delete_removes_the_head_and_its_lines)
{
    samples.voucher(2, QStringLiteral("YP002"));
    open();
    EXPECT_EQ(engine.VoucherDelete(), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = 1")), 0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 2")), 2);
    EXPECT_FALSE(engine.connection().inTransaction());
}

TEST_P(VoucherStateActionsTest, delete_rolls_everything_back_when_the_business_object_refuses)
{
    open();
    business->deleteRefusal = QStringLiteral("还有子样品");
    EXPECT_EQ(engine.VoucherDelete(), QStringLiteral("还有子样品"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 2);
    EXPECT_FALSE(engine.connection().inTransaction());
}

TEST_P(VoucherStateActionsTest, delete_that_finds_no_row_fails_and_rolls_back)
{
    open();
    // Rows gone after the checks passed, inside the deletion's own transaction.
    business->whileAllowingDelete = [](Connection &cnn) {
        ASSERT_TRUE(cnn.Execute(QStringLiteral("DELETE FROM ManageSamples")));
        ASSERT_TRUE(cnn.Execute(QStringLiteral("DELETE FROM ManageSample")));
    };
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("单据 [YP001] 删除失败!")));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 2);
}

TEST_P(VoucherStateActionsTest, a_user_without_the_right_is_refused_unless_the_right_is_not_asked)
{
    open(1, restrictedUser({}));
    EXPECT_EQ(engine.VoucherAllowEdit(), crlf(QStringLiteral("无修改权限或发生功能互斥,不能修改!")));
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("无删除权限或发生功能互斥,不能删除!")));
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("无审核权限或发生功能互斥,不能审核!")));
    EXPECT_EQ(engine.VoucherCancelConfirm(), crlf(QStringLiteral("无弃审权限或发生功能互斥,不能弃审!")));
    EXPECT_EQ(engine.VoucherClose(), crlf(QStringLiteral("无关闭权限或发生功能互斥,不能关闭!")));
    EXPECT_EQ(engine.VoucherOpen(), crlf(QStringLiteral("无打开权限或发生功能互斥,不能打开!")));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QString());

    EXPECT_EQ(engine.VoucherConfirm(false), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("李娜"));
}

TEST_P(VoucherStateActionsTest, the_right_check_does_not_hold_the_function)
{
    ASSERT_TRUE(clsLogin::AddExclusion(db.cnn(), QStringLiteral("SA03250103"), QStringLiteral("SA03250103")));
    open(1, restrictedUser({QStringLiteral("SA03250103")}));
    EXPECT_TRUE(engine.VoucherCheckAuth(QStringLiteral("SA03250103")));
    EXPECT_FALSE(engine.VoucherCheckAuth(QStringLiteral("SA03250104")));
    // The function excludes itself: another session enters it only if the check gave it back.
    bool entered = false;
    ASSERT_TRUE(login->RequestTask(QStringLiteral("SA03250103"), clsLogin::TaskEnter, QString(), entered));
    login->FinishRequest();
    EXPECT_TRUE(entered) << login->GetRequestError().toStdString();
}

TEST_P(VoucherStateActionsTest, a_maker_outside_the_data_permission_is_refused_with_the_action_text)
{
    auto user
        = restrictedUser({QStringLiteral("SA03250102"), QStringLiteral("SA03250103"), QStringLiteral("SA03250104")});
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Maker, true));
    for (const char *access : {"w", "v", "u", "c"})
        ASSERT_TRUE(DataPermissionStore::grantValue(db.cnn(), QStringLiteral("lina"), DataObject::Maker,
                                                    QStringLiteral("演示"), QString::fromLatin1(access)));
    open(1, user);
    // "演示" is part of the maker's name, not the maker.
    EXPECT_EQ(engine.VoucherAllowEdit(), crlf(QStringLiteral("没有对操作员[演示用户]单据的操作权限，请检查！")));
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("没有对操作员[演示用户]单据的删除权限，请检查！")));
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("没有对操作员[演示用户]单据的审核权限，请检查！")));
    EXPECT_EQ(engine.VoucherCancelConfirm(), crlf(QStringLiteral("没有对操作员[演示用户]单据的弃审权限，请检查！")));
    EXPECT_EQ(engine.VoucherClose(false), crlf(QStringLiteral("没有对操作员[演示用户]单据的审核权限，请检查！")));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);

    ASSERT_TRUE(DataPermissionStore::grantValue(db.cnn(), QStringLiteral("lina"), DataObject::Maker,
                                                QStringLiteral("演示用户"), QStringLiteral("v")));
    EXPECT_EQ(engine.VoucherConfirm(), QString());
}

TEST_P(VoucherStateActionsTest, an_all_grant_passes_every_maker)
{
    auto user = restrictedUser({QStringLiteral("SA03250103")});
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Maker, true));
    ASSERT_TRUE(
        DataPermissionStore::grantAll(db.cnn(), QStringLiteral("lina"), DataObject::Maker, QStringLiteral("v")));
    open(1, user);
    EXPECT_EQ(engine.VoucherConfirm(), QString());
}

TEST_P(VoucherStateActionsTest, the_program_wide_service_answers_the_maker_step)
{
    open();
    VoucherStateActions::setProgramDataPermission(std::make_shared<FixedPermission>(QStringLiteral("1=2")));
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("没有对操作员[演示用户]单据的审核权限，请检查！")));
    VoucherStateActions::setProgramDataPermission(std::make_shared<FixedPermission>(QStringLiteral("'演示用户'")));
    EXPECT_EQ(engine.VoucherConfirm(), QString());
}

TEST_P(VoucherStateActionsTest, the_state_is_checked_before_the_row_version)
{
    confirmElsewhere();
    open();
    changeElsewhere();
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("单据 [YP001] 已经审核,不能再审核!")));
}

TEST_P(VoucherStateActionsTest, state_refusals_name_the_voucher)
{
    open();
    EXPECT_EQ(engine.VoucherCancelConfirm(), crlf(QStringLiteral("单据 [YP001] 已经弃审或根本没有审核,不能弃审!")));
    // Closing and opening have no function of their own on this card: the right is not asked.
    EXPECT_EQ(engine.VoucherClose(false), crlf(QStringLiteral("单据 [YP001] 未审核,不能关闭!")));
    // Sample vouchers have no closer, so none is closed.
    EXPECT_EQ(engine.VoucherOpen(false), crlf(QStringLiteral("单据 [YP001] 已经打开或根本没有关闭,不能再打开!")));
    EXPECT_TRUE(business->calls.isEmpty());
}

TEST_P(VoucherStateActionsTest, an_empty_card_has_nothing_to_act_on)
{
    open(0);
    EXPECT_EQ(engine.VoucherConfirm(), crlf(QStringLiteral("此张单据已经被删除或不存在任何单据,请刷新后重试!")));
    EXPECT_EQ(engine.VoucherDelete(), crlf(QStringLiteral("此张单据已经被删除或不存在任何单据,请刷新后重试!")));
}

TEST_P(VoucherStateActionsTest, by_identifier_the_callers_row_version_is_compared)
{
    samples.voucher(2, QStringLiteral("YP002"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cNewInvCode = 'NEW1', cNewInvName = '新品1'"));
    open(1);
    EXPECT_EQ(engine.VoucherConfirm2(2, QStringLiteral("1")),
              crlf(QStringLiteral("单据 [YP002] 已经被改变或删除,不能审核,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cHandler"), 2), QString());

    const QString seen = stored(QStringLiteral("qvts"), 2);
    EXPECT_EQ(engine.VoucherConfirm2(2, seen), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler"), 2), QStringLiteral("测试员"));
    EXPECT_EQ(engine.VoucherCancelConfirm2(2), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler"), 2), QString());

    EXPECT_EQ(engine.VoucherDeleteForOuter(2, seen),
              crlf(QStringLiteral("单据 [YP002] 已经被改变或删除,不能删除,请刷新后重试!")));
    EXPECT_EQ(engine.VoucherDeleteForOuter(2), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherStateActionsTest, ORVANE_BOTH_BACKENDS);
