// The card as a daily tool: what a user at the keyboard trips on in the first minutes - the
// template a new voucher is checked by, editing a voucher just saved, an edit given up when its
// voucher is gone, Esc, greyed versions, commands that cannot run yet and what the window says
// after a command.
#include "FieldEditFixture.h"

#include "card/CardCommandState.h"
#include "host/clsLogin.h"
#include "support/MasterDataRows.h"

#include <functional>

namespace {

const QString kEditRefused = QStringLiteral("必须先维护上一级样品结构才能维护该级样品结构，请检查！");

// The card over two numbered samples in the seeded display template, shown by a move.
class CardDailyUse : public CardTest
{
protected:
    void seed() override { seedTwoSamples(SchemaSeed::kDisplayTemplateId); }
};

TEST_P(CardDailyUse, a_new_voucher_is_checked_by_the_template_the_card_shows)
{
    ASSERT_EQ(state().lngShowTemplate, SchemaSeed::kDisplayTemplateId);
    db.exec(QStringLiteral("UPDATE voucheritems SET DefineLength = '1,4' WHERE FieldName = 'cdefine1'"));
    for (const char *start : {"tlbAdd", "tlbCopy"}) {
        SCOPED_TRACE(start);
        dispatch(QString::fromLatin1(start));
        messages.shown.clear();
        EXPECT_EQ(state().lngShowTemplate, SchemaSeed::kDisplayTemplateId);
        QString value = QStringLiteral("ABCDE");
        int result = 2;
        card->fieldEdits().headCellCheck(QStringLiteral("cdefine1"), value, result);
        EXPECT_EQ(result, 0) << "the fixed length holds on a new voucher too";
        EXPECT_EQ(messages.texts().value(0), QStringLiteral("[样品等级]超出了定长!"));
        dispatch(QStringLiteral("tlbCancel"));
    }
}

TEST_P(CardDailyUse, a_voucher_just_saved_may_be_edited_at_once)
{
    for (const char *start : {"tlbAdd", "tlbCopy"}) {
        SCOPED_TRACE(start);
        messages.shown.clear();
        dispatch(QString::fromLatin1(start));
        if (control().body.isEmpty()) {
            typeNewSample(QStringLiteral("NEW9"));
        } else { // a copy of the sample just saved, for another new item
            MasterDataRows::items(db.cnn(), {QStringLiteral("NEW8")});
            control().head[QStringLiteral("cnewinvcode")] = QStringLiteral("NEW8");
        }
        dispatch(QStringLiteral("tlbSave"));
        ASSERT_EQ(messages.texts(), QStringList());
        ASSERT_EQ(control().editState, CardControl::Viewing);
        EXPECT_EQ(view->statuses.value(view->statuses.size() - 1),
                  QStringLiteral("保存成功：") + control().head.value(QStringLiteral("ccode")));

        dispatch(QStringLiteral("tlbEdit"));
        EXPECT_EQ(messages.texts(), QStringList()) << "not refused with: " << kEditRefused.toStdString();
        EXPECT_EQ(control().editState, CardControl::EditingVoucher);
        EXPECT_EQ(state().strEditRootID, state().strVoucherID);
        dispatch(QStringLiteral("tlbCancel"));
    }
}

TEST_P(CardDailyUse, giving_up_an_edit_of_a_voucher_deleted_meanwhile_moves_on_to_its_neighbour)
{
    dispatch(QStringLiteral("tlbEdit"));
    ASSERT_EQ(control().editState, CardControl::EditingVoucher);
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbCancel"));
    EXPECT_EQ(messages.texts().value(1), kNotFound) << messages.texts().join('|').toStdString();
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2")) << "not an empty card";
    EXPECT_EQ(view->shownCode(), QStringLiteral("YP002"));
    EXPECT_TRUE(view->enabled("tlbEdit"));
}

TEST_P(CardDailyUse, esc_gives_up_an_edit_after_asking_and_does_nothing_while_viewing)
{
    EXPECT_TRUE(card->KeyDown(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(view->closed) << "a stray Esc does not close the card";
    EXPECT_TRUE(messages.shown.isEmpty());

    dispatch(QStringLiteral("tlbAdd"));
    messages.answers = {MessageService::AnswerNo};
    EXPECT_TRUE(card->KeyDown(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("确定要放弃吗？")});
    EXPECT_EQ(control().editState, CardControl::AddingVoucher) << "No keeps the edit";
    EXPECT_TRUE(card->KeyDown(Qt::Key_Escape, Qt::NoModifier));
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_FALSE(view->closed);
}

TEST_P(CardDailyUse, the_version_of_a_line_with_its_own_structure_is_greyed_on_every_row_and_stays)
{
    control().body[0][QStringLiteral("childguid")] = QString();
    control().body[1][QStringLiteral("childguid")] = QStringLiteral("7");
    control().currentRow = 1;
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_FALSE(control().marked.contains(QStringLiteral("csocode:1")));

    card->fieldEdits().rowChanged(2);
    EXPECT_TRUE(control().marked.contains(QStringLiteral("csocode:2")));
    dispatch(QStringLiteral("tlbAddLine"));
    EXPECT_TRUE(control().marked.contains(QStringLiteral("csocode:2"))) << "a command keeps the marks";
    EXPECT_FALSE(control().calls.contains(QStringLiteral("restoreCells")));
}

TEST_P(CardDailyUse, every_command_follows_the_rule_after_an_edit_and_a_confirmation)
{
    dispatch(QStringLiteral("tlbAdd"));
    dispatch(QStringLiteral("tlbCancel"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = '王建国' WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbRefresh"));
    EXPECT_TRUE(view->enabled("tlbPrint") && view->enabled("tlbPreview") && view->enabled("tlbSend"));
    EXPECT_TRUE(view->enabled("tlbLocal")) << "locate is on while viewing";
    EXPECT_TRUE(view->enabled("tlbDisVerify"));
    // A confirmed voucher's picture and files can still be looked at (the window is read-only).
    EXPECT_TRUE(view->enabled("tlbPic") && view->enabled("tlbAccessory"));
    EXPECT_TRUE(view->enabled("tlbSaveBom")) << "conversion has landed: the rule turns it on";

    // The settings have no dialog: no button, and no placeholder text.
    EXPECT_FALSE(view->shown("tlbSetting"));
    messages.shown.clear();
    dispatch(QStringLiteral("tlbSetting"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join('|').toStdString();
}

TEST_P(CardDailyUse, a_user_without_a_right_sees_its_commands_disabled)
{
    login = loginUser(db, QStringLiteral("clerk"), QStringLiteral("职员"), false);
    ASSERT_TRUE(login);
    ASSERT_TRUE(show({}, 1));
    for (const char *key : {"tlbAdd", "tlbEdit", "tlbCopy", "tlbDel", "tlbVerify"}) {
        EXPECT_FALSE(view->enabled(QString::fromLatin1(key))) << key;
        EXPECT_TRUE(view->bar.toolTips.value(QString::fromLatin1(key).toLower()).contains(QStringLiteral("没有这个权限")))
            << key;
    }
    EXPECT_TRUE(view->enabled("tlbNext")) << "moves need no right";
    EXPECT_TRUE(messages.shown.isEmpty()) << "nothing was asked for: " << messages.texts().join('|').toStdString();
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0) << "asking for a right enters no task";
}

TEST_P(CardDailyUse, deletion_asks_with_a_warning_and_says_it_is_done)
{
    messages.answers = {MessageService::AnswerOk};
    dispatch(QStringLiteral("tlbDel"));
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.shown[0].icon, MessageService::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageService::OkCancel);
    EXPECT_EQ(view->statuses, QStringList{QStringLiteral("已删除")});
}


TEST_P(CardDailyUse, switching_the_display_template_while_editing_keeps_the_edit_and_locks_fixed_items)
{
    dispatch(QStringLiteral("tlbAdd"));
    control().head[QStringLiteral("cmemo")] = QStringLiteral("已输入");
    view->showCombo.chosen = QStringLiteral("%1 样品接单显示模板").arg(SchemaSeed::kDisplayTemplateId);
    card->SwitchShowTemplate();
    EXPECT_EQ(control().applied.id, SchemaSeed::kDisplayTemplateId);
    EXPECT_EQ(control().editState, CardControl::AddingVoucher);
    EXPECT_EQ(state().lngShowTemplate, SchemaSeed::kDisplayTemplateId);
    for (const CardItem &item : control().applied.head) {
        if (item.field == QLatin1String("cnewinvcode")) {
            EXPECT_EQ(item.caption, QStringLiteral("存货编码")) << "a new voucher is not yet its own root";
        }
    }
    EXPECT_FALSE(control().headEditable.value(QStringLiteral("itolcost"), true));
    EXPECT_FALSE(control().bodyEditable.value(QStringLiteral("cinvdefine16"), true));
    EXPECT_EQ(control().head.value(QStringLiteral("cmemo")), QStringLiteral("已输入"));
}

TEST_P(CardDailyUse, a_refused_save_puts_the_focus_on_the_item_it_names)
{
    dispatch(QStringLiteral("tlbAdd"));
    typeNewSample(QStringLiteral("NEW9"));
    control().requiredHead = {QStringLiteral("csocode")};
    dispatch(QStringLiteral("tlbSave"));
    EXPECT_EQ(control().focused, QStringLiteral("head:csocode"));

    control().requiredHead.clear();
    control().head[QStringLiteral("cnewinvname")] = QString();
    dispatch(QStringLiteral("tlbSave"));
    EXPECT_EQ(control().focused, QStringLiteral("head:cnewinvname")) << messages.texts().join('|').toStdString();
}

// A message box that takes the focus from the item being checked: the item's entry is finished once
// more while the box is open, as leaving an item does.
class FocusTakingBox final : public MessageService
{
public:
    explicit FocusTakingBox(std::function<void()> leaveItem)
        : m_leaveItem(std::move(leaveItem))
    {
        install(this);
    }
    ~FocusTakingBox() override { install(nullptr); }
    Answer show(const QString &text, const QString &, Icon, Buttons) override
    {
        shown << text;
        if (shown.size() == 1) // the first box only: a second one would leave the item again
            m_leaveItem();
        return AnswerOk;
    }
    QStringList shown;

private:
    std::function<void()> m_leaveItem;
};

TEST_P(CardDailyUse, a_refused_entry_is_told_once_though_its_box_takes_the_focus)
{
    dispatch(QStringLiteral("tlbEdit"));
    int again = -1;
    FocusTakingBox box([&] {
        QString value = QStringLiteral("-3");
        again = 2;
        card->fieldEdits().headCellCheck(QStringLiteral("imanhrs"), value, again);
    });
    QString value = QStringLiteral("-3");
    int result = 2;
    card->fieldEdits().headCellCheck(QStringLiteral("imanhrs"), value, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(again, 0) << "the entry finished under the box goes back";
    EXPECT_EQ(box.shown.size(), 1) << box.shown.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Db, CardDailyUse, ORVANE_BOTH_BACKENDS);

} // namespace
