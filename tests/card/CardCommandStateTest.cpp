#include "FakeCardView.h"

#include "card/CardCommandState.h"
#include "card/CardCommands.h"
#include "card/CardState.h"

#include <gtest/gtest.h>

namespace {

// Buttons a voucher's state decides on, and the move buttons.
const QStringList kVoucherButtons{"tlbEdit",      "tlbDel",     "tlbGet", "tlbCopy",     "tlbVerify",
                                  "tlbDisVerify", "tlbSaveBom", "tlbPic", "tlbAccessory"};

class CommandState : public testing::Test
{
protected:
    QStringList enabledOf(const QStringList &keys) const
    {
        QStringList on;
        for (const QString &k : keys) {
            if (view.enabled(k))
                on << k;
        }
        return on;
    }

    FakeCardView view;
    CardState state;
    CardCommandState rule{state, {view.bar, view.commands, view.showCombo, view.printCombo, view.control}};
};

TEST(CardCommandTable, has_the_buttons_in_order_with_their_separators_and_tasks)
{
    QStringList keys;
    QStringList guarded;
    for (const CardCommand &c : CardCommands::toolbar()) {
        keys << c.key;
        EXPECT_EQ(c.separator, c.caption.isEmpty()) << c.key.toStdString();
        if (!c.taskId.isEmpty())
            guarded << c.key + QLatin1Char('=') + c.taskId;
    }
    EXPECT_EQ(keys.join(','), QStringLiteral("tlbSetting,tlbPrint,tlbPreview,tlbSend,p1,tlbAdd,tlbEdit,tlbCopy,tlbDel,"
                                             "tlbSave,tlbCancel,p2,tlbAddLine,tlbDelLine,p3,tlbPic,tlbAccessory,p4,"
                                             "tlbGet,p5,tlbVerify,tlbDisVerify,p6,tlbSaveBom,p7,tlbFrist,tlbPrevious,"
                                             "tlbNext,tlbLast,tlbLocal,tlbRefresh,tlbHelp,tlbExit"));
    EXPECT_EQ(guarded, (QStringList{"tlbAdd=SA03250102", "tlbEdit=SA03250102", "tlbCopy=SA03250102",
                                    "tlbDel=SA03250102", "tlbSave=SA03250102", "tlbGet=SA03250102",
                                    "tlbVerify=SA03250103", "tlbDisVerify=SA03250104", "tlbSaveBom=SA03250105"}));
    EXPECT_EQ(CardCommands::find(QStringLiteral("TLBFRIST"))->caption, QStringLiteral("首张"));
    EXPECT_EQ(CardCommands::taskOf(QStringLiteral("tlbcancel")), QString());
    EXPECT_EQ(CardCommands::printMenu().size(), 4);
}

TEST_F(CommandState, entering_an_edit_leaves_only_save_cancel_and_the_lines)
{
    state.strVoucherID = QStringLiteral("5");
    state.strPrevVoucherID = QStringLiteral("4");
    state.strNextVoucherID = QStringLiteral("6");
    rule.refresh(QStringLiteral("TLBADD"));
    QStringList all;
    for (const CardCommand &c : CardCommands::toolbar()) {
        if (!c.separator && c.key != QLatin1String("tlbSetting") && c.key != QLatin1String("tlbHelp")
            && c.key != QLatin1String("tlbExit"))
            all << c.key;
    }
    EXPECT_EQ(enabledOf(all), (QStringList{"tlbSave", "tlbCancel", "tlbAddLine", "tlbDelLine"}));
    EXPECT_TRUE(view.shown("tlbAddLine") && view.shown("tlbDelLine") && view.shown("p3"));
    EXPECT_TRUE(view.showCombo.shown);
    EXPECT_FALSE(view.printCombo.shown);
}

TEST_F(CommandState, leaving_an_edit_ends_the_edit_state_and_hides_the_line_buttons)
{
    view.control.editState = CardControl::AddingVoucher;
    state.strVoucherID = QStringLiteral("5");
    rule.refresh(QString());
    EXPECT_EQ(view.control.editState, CardControl::Viewing);
    EXPECT_EQ(enabledOf({"tlbSave", "tlbCancel", "tlbAddLine", "tlbDelLine"}), QStringList());
    EXPECT_FALSE(view.shown("tlbAddLine") || view.shown("tlbDelLine") || view.shown("p3"));
    const QStringList viewing{"tlbPrint", "tlbPreview", "tlbSend", "tlbAdd", "tlbLocal", "tlbRefresh"};
    EXPECT_EQ(enabledOf(viewing), viewing);
    EXPECT_FALSE(view.showCombo.shown);
    EXPECT_TRUE(view.printCombo.shown);
    EXPECT_EQ(enabledOf(kVoucherButtons), (QStringList{"tlbEdit", "tlbDel", "tlbGet", "tlbCopy", "tlbVerify",
                                                  "tlbDisVerify", "tlbPic", "tlbAccessory"}))
        << "an unconfirmed voucher: everything but the conversion";
    EXPECT_TRUE(view.shown("tlbVerify"));
    EXPECT_FALSE(view.shown("tlbDisVerify"));
}

TEST_F(CommandState, without_a_voucher_edit_follows_the_code_flag_once)
{
    for (const QString &none : {QString(), QStringLiteral("-1")}) {
        state.strVoucherID = none;
        state.bolHasCode = true;
        rule.refresh(QStringLiteral("tlbCancel"));
        EXPECT_EQ(enabledOf(kVoucherButtons), (QStringList{"tlbEdit"}));
        EXPECT_FALSE(view.shown("tlbDisVerify"));
        EXPECT_FALSE(state.bolHasCode);
        rule.refresh(QStringLiteral("tlbRefresh"));
        EXPECT_EQ(enabledOf(kVoucherButtons), QStringList());
    }
}

TEST_F(CommandState, a_confirmed_voucher_in_a_circle_offers_nothing_but_shows_cancel_confirmation)
{
    state.strVoucherID = QStringLiteral("5");
    state.strVerifier = QStringLiteral("王建国");
    state.bolCycle = true;
    rule.refresh(QStringLiteral("tlbRefresh"));
    EXPECT_EQ(enabledOf(kVoucherButtons), (QStringList{"tlbPic", "tlbAccessory"}));
    EXPECT_TRUE(view.shown("tlbDisVerify"));
    EXPECT_FALSE(view.shown("tlbVerify"));

    state.bolCycle = false;
    rule.refresh(QStringLiteral("tlbVerify"));
    EXPECT_EQ(enabledOf(kVoucherButtons),
              (QStringList{"tlbCopy", "tlbVerify", "tlbDisVerify", "tlbSaveBom", "tlbPic", "tlbAccessory"}));

    state.strVerifier = QStringLiteral("  ");
    rule.refresh(QStringLiteral("tlbDisVerify"));
    EXPECT_FALSE(view.enabled("tlbSaveBom")) << "a blank confirmer is no confirmer";
    EXPECT_TRUE(view.enabled("tlbEdit"));
}

TEST_F(CommandState, commands_that_cannot_run_stay_off_after_every_rule_with_their_reason)
{
    state.strVoucherID = QStringLiteral("5");
    state.strVerifier = QStringLiteral("王建国");
    rule.setRefusedTasks({CardCommands::confirmTask(), CardCommands::cancelConfirmTask()});
    for (const char *key : {"tlbCancel", "tlbRefresh", "tlbAdd", "tlbSave", "tlbPrint"}) {
        rule.refresh(QString::fromLatin1(key));
        for (const char *off : {"tlbSetting", "tlbVerify", "tlbDisVerify"})
            EXPECT_FALSE(view.enabled(QString::fromLatin1(off))) << off << " after " << key;
    }
    EXPECT_FALSE(view.shown("tlbSetting"));
    EXPECT_EQ(view.bar.toolTips.value(QStringLiteral("tlbdisverify")), QStringLiteral("弃审：您没有这个权限！"));
    EXPECT_TRUE(view.enabled(QStringLiteral("tlbLocal"))) << "the list has landed: locate follows the rule";
}

TEST_F(CommandState, the_neighbours_decide_the_move_buttons)
{
    state.strVoucherID = QStringLiteral("1");
    state.strNextVoucherID = QStringLiteral("2");
    rule.refresh(QStringLiteral("tlbFrist"));
    EXPECT_EQ(enabledOf({"tlbFrist", "tlbPrevious", "tlbNext", "tlbLast"}), (QStringList{"tlbNext", "tlbLast"}));
    state.strPrevVoucherID = QStringLiteral("1");
    state.strNextVoucherID.clear();
    rule.refresh(QStringLiteral("tlbLast"));
    EXPECT_EQ(enabledOf({"tlbFrist", "tlbPrevious", "tlbNext", "tlbLast"}), (QStringList{"tlbFrist", "tlbPrevious"}));
}

TEST_F(CommandState, other_commands_change_no_button_but_the_bar_is_synchronised)
{
    rule.refresh(QStringLiteral("tlbPrint"));
    rule.refresh(QStringLiteral("tlbAddLine"));
    for (auto it = view.bar.enabled.cbegin(); it != view.bar.enabled.cend(); ++it) {
        EXPECT_TRUE(CardCommandState::isRemoved(it.key()))
            << it.key().toStdString() << " changed";
    }
    EXPECT_EQ(view.commands.synchronized, 2);
    EXPECT_EQ(view.commands.refreshed, 2) << "the command bar's look needs a refresh after each";
    rule.setToolbarStyle(2);
    rule.refresh(QStringLiteral("tlbPrint"));
    EXPECT_EQ(view.commands.synchronized, 3);
    EXPECT_EQ(view.commands.refreshed, 2);
}

} // namespace
