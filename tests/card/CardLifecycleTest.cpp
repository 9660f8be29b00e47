#include "CardFixture.h"

#include "card/CardCommandState.h"
#include "host/clsLogin.h"
#include "support/MasterDataRows.h"

namespace {

const QString kEditRefused = QStringLiteral("必须先维护上一级样品结构才能维护该级样品结构，请检查！");

// The card over two numbered samples, shown on the first by a move (so that it may be edited).
class CardLifecycle : public CardTest
{
protected:
    void seed() override { seedTwoSamples(); }

    qint64 locks() { return db.count(QStringLiteral("ua_task_lock")); }
};

TEST_P(CardLifecycle, add_prepares_an_empty_voucher_of_the_user)
{
    dispatch(QStringLiteral("tlbAdd"));
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_EQ(state().intSaveState, CardState::NewVoucher);
    EXPECT_EQ(state().strOldVoucherID, QStringLiteral("1"));
    EXPECT_EQ(state().strEditRootID, QString());
    EXPECT_TRUE(control().body.isEmpty());
    EXPECT_EQ(control().head.value(QStringLiteral("cmaker")), QStringLiteral("测试员"));
    EXPECT_EQ(control().head.value(QStringLiteral("ddate")), login->LoginDate());
    EXPECT_EQ(control().head.value(QStringLiteral("bexpand")), QStringLiteral("是"));
    EXPECT_FALSE(control().headEditable.value(QStringLiteral("csocode"), true));
    EXPECT_TRUE(control().headEditable.value(QStringLiteral("cnewinvcode")));
    EXPECT_TRUE(control().headEditable.value(QStringLiteral("imanhrs")));
    EXPECT_TRUE(control().bodyEditable.value(QStringLiteral("csocode")));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("applyEditable(vt_id)"))) << "every head field follows";
    EXPECT_EQ(view->tree.rebuilt.last(), QString());
    EXPECT_TRUE(view->enabled("tlbSave") && view->enabled("tlbAddLine"));
    EXPECT_FALSE(view->enabled("tlbAdd") || view->enabled("tlbNext") || view->enabled("tlbPrint"));
    EXPECT_EQ(locks(), 0) << "entering an edit holds no task";
}

TEST_P(CardLifecycle, cancel_asks_first_and_returns_to_the_voucher_that_was_shown)
{
    dispatch(QStringLiteral("tlbNext"));
    dispatch(QStringLiteral("tlbAdd"));
    messages.answers = {MessageService::AnswerNo};
    dispatch(QStringLiteral("tlbCancel"));
    EXPECT_EQ(messages.shown.last().text, QStringLiteral("确定要放弃吗？"));
    EXPECT_EQ(messages.shown.last().buttons, MessageService::YesNo);
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_TRUE(view->enabled("tlbSave")) << "No leaves the edit and its buttons";

    dispatch(QStringLiteral("tlbCancel"));
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_EQ(view->shownCode(), QStringLiteral("YP002"));
    EXPECT_EQ(state().strEditRootID, QStringLiteral("2"));
    EXPECT_EQ(view->tree.rebuilt.last(), QStringLiteral("2"));
    EXPECT_FALSE(view->enabled("tlbSave"));
    EXPECT_TRUE(view->enabled("tlbEdit") && view->enabled("tlbFrist"));
}

TEST_P(CardLifecycle, cancel_of_an_add_with_nothing_shown_before_shows_the_last_voucher)
{
    ASSERT_TRUE(show({}, 5));
    dispatch(QStringLiteral("tlbAdd"));
    EXPECT_EQ(state().strOldVoucherID, QStringLiteral("-1"));
    dispatch(QStringLiteral("tlbCancel"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_EQ(view->shownCode(), QStringLiteral("YP002"));
}

TEST_P(CardLifecycle, a_saved_new_voucher_is_shown_and_its_task_given_back)
{
    dispatch(QStringLiteral("tlbAdd"));
    typeNewSample(QStringLiteral("NEW9"));
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 3);
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("NEW9"));
    EXPECT_FALSE(view->shownCode().isEmpty()) << "the save numbered it";
    EXPECT_EQ(state().strVoucherID, control().head.value(QStringLiteral("iautoid")));
    EXPECT_EQ(state().strPrevVoucherID, QStringLiteral("2"));
    EXPECT_FALSE(view->enabled("tlbSave"));
    EXPECT_TRUE(view->enabled("tlbEdit"));
    EXPECT_EQ(view->tree.rebuilt.last(), state().strVoucherID);
    EXPECT_EQ(locks(), 0);
}

TEST_P(CardLifecycle, a_failed_save_keeps_what_the_user_typed_and_the_edit)
{
    dispatch(QStringLiteral("tlbAdd"));
    typeNewSample(QStringLiteral("NEW9"));
    control().head[QStringLiteral("cnewinvname")] = QString();
    control().head[QStringLiteral("cmemo")] = QStringLiteral("我的备注");
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.shown.size(), 1);
    // The field is named by its caption in the display template.
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("[存货名称] 不能为空")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("销售管理"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 2);
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_EQ(control().head.value(QStringLiteral("cmemo")), QStringLiteral("我的备注"));
    EXPECT_EQ(control().body.size(), 1);
    EXPECT_TRUE(view->enabled("tlbSave") && view->enabled("tlbCancel"));
    EXPECT_EQ(locks(), 1) << "a failed save keeps its task";

    // The user corrects it and saves again within the same task.
    control().head[QStringLiteral("cnewinvname")] = QStringLiteral("新品");
    dispatch(QStringLiteral("tlbSave"));
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 3);
    EXPECT_EQ(locks(), 0);
}

// The task a failed save keeps belongs to the edit: ending the edit without saving gives it back,
// or the user could never save again from another window.
TEST_P(CardLifecycle, an_edit_ended_without_saving_gives_back_the_task_a_failed_save_kept)
{
    for (const QString &end : {QStringLiteral("tlbCancel"), QStringLiteral("tlbExit")}) {
        SCOPED_TRACE(end.toStdString());
        ASSERT_TRUE(show({}, 1));
        dispatch(QStringLiteral("tlbAdd"));
        typeNewSample(QStringLiteral("NEW9"));
        control().head[QStringLiteral("cnewinvname")] = QString();
        dispatch(QStringLiteral("tlbSave"));
        dispatch(QStringLiteral("tlbSave")); // twice: still one entry kept
        ASSERT_EQ(locks(), 1);
        dispatch(end);
        EXPECT_EQ(locks(), 0);
    }
}

TEST_P(CardLifecycle, a_required_item_left_empty_is_named_before_anything_is_saved)
{
    dispatch(QStringLiteral("tlbAdd"));
    typeNewSample(QStringLiteral("NEW9"));
    control().requiredHead = {QStringLiteral("csocode")};
    dispatch(QStringLiteral("tlbSave"));
    EXPECT_EQ(messages.texts(), QStringList{"保存失败！\r\n表头：[<csocode>]为必输项！\r\n请检查！"});
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
}

TEST_P(CardLifecycle, edit_needs_the_upper_level_structure_first)
{
    ASSERT_TRUE(show(QStringLiteral("2")));
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_EQ(messages.texts(), QStringList{kEditRefused});
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_FALSE(view->enabled("tlbSave"));

    // Without a display template nothing happens at all.
    messages.shown.clear();
    dispatch(QStringLiteral("tlbFrist"));
    view->showCombo.chosen = QStringLiteral("  ");
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(control().editState, CardControl::Viewing);
}

TEST_P(CardLifecycle, edit_of_a_numbered_sample_is_saved_with_its_row_version)
{
    control().currentRow = 2;
    control().body[1][QStringLiteral("childguid")] = QStringLiteral("7");
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_EQ(control().editState, CardControl::EditingVoucher);
    EXPECT_EQ(state().intSaveState, CardState::ExistingVoucher);
    EXPECT_TRUE(state().bolHasCode);
    EXPECT_TRUE(control().headEditable.value(QStringLiteral("cnewinvcode")));
    EXPECT_FALSE(control().headEditable.value(QStringLiteral("csocode"), true));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("markCell(csocode,2)"))) << "the line has its own structure";

    control().head[QStringLiteral("cnewinvname")] = QStringLiteral("改过");
    const QString seen = state().strTimeStamp;
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cNewInvName = '改过' AND iAutoID = 1")), 1);
    EXPECT_NE(state().strTimeStamp, seen);
    EXPECT_EQ(state().strVoucherID, QStringLiteral("1"));
}

TEST_P(CardLifecycle, a_save_over_a_change_by_someone_else_is_refused_and_the_edit_stays)
{
    dispatch(QStringLiteral("tlbEdit"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cMemo = 'x' WHERE iAutoID = 1"));
    control().head[QStringLiteral("cnewinvname")] = QStringLiteral("改过");
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(control().editState, CardControl::EditingVoucher);
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvname")), QStringLiteral("改过"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cNewInvName = '改过'")), 0);
}

TEST_P(CardLifecycle, the_chosen_tree_node_decides_which_level_is_edited)
{
    // A component without a child sample: its parent's node is chosen and a new child is added.
    view->tree.tags = {QStringLiteral("rNEW1\t\t1 \t \t "), QStringLiteral("rP1-1\t\t \t \t 1001")};
    view->tree.selectedHasChildren = false;
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_EQ(state().strEditRootID, QStringLiteral("1"));
    EXPECT_EQ(control().editState, CardControl::EditingVoucher);
    dispatch(QStringLiteral("tlbCancel"));

    view->tree.tags = {QStringLiteral("rP1-1\t\t \t \t 1001")};
    view->tree.selectedHasChildren = true;
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_EQ(state().strEditRootID, QString());
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_EQ(state().intSaveState, CardState::NewVoucher);
}

TEST_P(CardLifecycle, copy_makes_an_unconfirmed_new_voucher_with_every_line_added)
{
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = '王建国', dVeriDate = '2026-12-02' WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbRefresh"));
    dispatch(QStringLiteral("tlbCopy"));
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_EQ(state().strVoucherID, QString());
    EXPECT_EQ(state().strOldVoucherID, QStringLiteral("1"));
    EXPECT_EQ(control().head.value(QStringLiteral("chandler")), QString());
    EXPECT_EQ(control().head.value(QStringLiteral("dveridate")), QString());
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("NEW1"));
    ASSERT_EQ(control().body.size(), 2);
    EXPECT_EQ(control().body[0].value(QStringLiteral("editprop")), QStringLiteral("A"));
    EXPECT_EQ(control().body[1].value(QStringLiteral("editprop")), QStringLiteral("A"));

    control().head[QStringLiteral("cnewinvcode")] = QStringLiteral("NEW1B");
    MasterDataRows::items(db.cnn(), {QStringLiteral("NEW1B")});
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 3);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 6);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 2) << "the original is kept";
}

TEST_P(CardLifecycle, a_copy_of_a_converted_sample_has_no_bom_and_shares_no_child_sample)
{
    db.exec(QStringLiteral("INSERT INTO ProductStructure (iAutoId, cPSPCode) VALUES (5, 'NEW1')"));
    db.exec(QStringLiteral("UPDATE ManageSample SET iBOMAutoId = 5, cHandler = '王建国', dVeriDate = '2026-12-02' "
                           "WHERE iAutoID = 1"));
    samples.voucher(3, QString()); // the child sample of line 1001
    db.exec(QStringLiteral("UPDATE ManageSamples SET ChildGUID = 3 WHERE iSubID = 1001"));
    MasterDataRows::items(db.cnn(), {QStringLiteral("NEW1B")});
    dispatch(QStringLiteral("tlbRefresh"));
    dispatch(QStringLiteral("tlbCopy"));
    EXPECT_EQ(control().head.value(QStringLiteral("ibomautoid")), QString());
    ASSERT_EQ(control().body.size(), 2);
    EXPECT_EQ(control().body[0].value(QStringLiteral("childguid")), QString());

    control().head[QStringLiteral("cnewinvcode")] = QStringLiteral("NEW1B");
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("ChildGUID = 3")), 1) << "only the original's";
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iBOMAutoId = 5")), 1);

    // The copy is confirmed and its confirmation cancelled: it has no bill of materials to keep.
    dispatch(QStringLiteral("tlbVerify"));
    dispatch(QStringLiteral("tlbDisVerify"));
    EXPECT_EQ(messages.texts().filter(QStringLiteral("BOM")), QStringList());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("COALESCE(cHandler, '') <> ''")), 1)
        << "the copy is unconfirmed again, the original stays confirmed";
}

TEST_P(CardLifecycle, copy_of_a_structure_in_a_circle_is_refused_with_its_description)
{
    view->tree.cycle = true;
    view->tree.description = QStringLiteral("NEW1 -> P1-1 -> NEW1");
    dispatch(QStringLiteral("tlbRefresh"));
    EXPECT_FALSE(view->enabled("tlbCopy"));
    dispatch(QStringLiteral("tlbCopy"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].window);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("不能复制，存在循环结构，请检查！NEW1 -> P1-1 -> NEW1"));
    EXPECT_EQ(control().editState, CardControl::Viewing);
}

TEST_P(CardLifecycle, delete_asks_and_then_shows_the_next_voucher)
{
    messages.answers = {MessageService::AnswerCancel};
    dispatch(QStringLiteral("tlbDel"));
    EXPECT_EQ(messages.shown.last().text, QStringLiteral("此操作将删除整张单据，确定删除？"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 2);

    dispatch(QStringLiteral("tlbDel"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 0);
    EXPECT_EQ(state().intSaveState, CardState::DeletedVoucher);
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_FALSE(view->enabled("tlbPrevious"));
    EXPECT_EQ(locks(), 0);
}

TEST_P(CardLifecycle, confirm_and_its_cancellation_swap_the_buttons)
{
    // The item master agrees with the voucher's new item.
    db.exec(QStringLiteral("UPDATE Inventory SET cInvName = '新品1', cComUnitCode = 'PCS' WHERE cInvCode = 'NEW1'"));
    dispatch(QStringLiteral("tlbVerify"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_FALSE(state().strVerifier.isEmpty());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("COALESCE(cHandler, '') <> '' AND iAutoID = 1")),
              1);
    EXPECT_TRUE(view->shown("tlbDisVerify"));
    EXPECT_FALSE(view->shown("tlbVerify"));
    EXPECT_FALSE(view->enabled("tlbEdit") || view->enabled("tlbDel"));
    EXPECT_TRUE(view->enabled("tlbSaveBom"));

    dispatch(QStringLiteral("tlbDisVerify"));
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_TRUE(state().strVerifier.isEmpty());
    EXPECT_TRUE(view->shown("tlbVerify"));
    EXPECT_TRUE(view->enabled("tlbEdit"));
    EXPECT_EQ(locks(), 0);
}

TEST_P(CardLifecycle, confirmation_of_a_structure_in_a_circle_is_refused)
{
    view->tree.cycle = true;
    view->tree.description = QStringLiteral("环：NEW1 -> NEW1\r\n");
    dispatch(QStringLiteral("tlbRefresh"));
    dispatch(QStringLiteral("tlbVerify"));
    EXPECT_EQ(messages.texts(), QStringList{"环：NEW1 -> NEW1\r\n不能审核，存在循环结构，请检查！"});
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("COALESCE(cHandler, '') <> ''")), 0);
}

TEST_P(CardLifecycle, lines_are_added_and_deleted_only_while_editing)
{
    dispatch(QStringLiteral("tlbAddLine"));
    dispatch(QStringLiteral("tlbDelLine"));
    EXPECT_EQ(control().body.size(), 2);
    dispatch(QStringLiteral("tlbEdit"));
    control().currentRow = 1;
    dispatch(QStringLiteral("tlbDelLine"));
    dispatch(QStringLiteral("tlbAddLine"));
    ASSERT_EQ(control().body.size(), 2);
    EXPECT_EQ(control().body[0].value(QStringLiteral("cpscode")), QStringLiteral("P1-2"));
    EXPECT_EQ(control().body[1].value(QStringLiteral("editprop")), QStringLiteral("A"));
}

INSTANTIATE_TEST_SUITE_P(Db, CardLifecycle, ORVANE_BOTH_BACKENDS);

} // namespace
