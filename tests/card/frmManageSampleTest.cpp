#include "CardFixture.h"

#include "host/CardDataSource.h"
#include "host/clsLogin.h"

namespace {

class CardWindowShow : public CardTest
{
protected:
    void seed() override
    {
        samples.voucher(1, QStringLiteral("YP001"));
        samples.voucher(2, QStringLiteral("YP002"));
        samples.voucher(3, QStringLiteral("YP003"));
    }
};

TEST_P(CardWindowShow, shows_the_voucher_named_by_its_identifier_in_the_viewing_state)
{
    ASSERT_TRUE(show(QStringLiteral("2")));
    EXPECT_EQ(view->shownCode(), QStringLiteral("YP002"));
    EXPECT_EQ(view->caption, QStringLiteral("样品接单管理"));
    EXPECT_TRUE(view->visible);
    EXPECT_EQ(view->card, card.get());
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_EQ(state().strPrevVoucherID, QStringLiteral("1"));
    EXPECT_EQ(state().strNextVoucherID, QStringLiteral("3"));
    EXPECT_FALSE(state().strTimeStamp.isEmpty());
    EXPECT_EQ(state().strVtidField, QStringLiteral("vt_id"));
    EXPECT_EQ(state().strMsgTitle, QStringLiteral("销售管理"));
    EXPECT_EQ(state().strEditRootID, QString()) << "only a move makes the voucher the edited structure's root";
    EXPECT_EQ(view->tree.rebuilt, QStringList{"2"});
    EXPECT_TRUE(view->enabled("tlbEdit") && view->enabled("tlbNext") && view->enabled("tlbPrevious"));
    EXPECT_FALSE(view->enabled("tlbSave"));
    EXPECT_EQ(control().backColour, 14737632);
    EXPECT_EQ(modPublic::cardLogin(), login);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(CardWindowShow, without_an_identifier_the_move_decides)
{
    ASSERT_TRUE(show({}, 1));
    EXPECT_EQ(view->shownCode(), QStringLiteral("YP001"));
    EXPECT_FALSE(view->enabled("tlbFrist") || view->enabled("tlbPrevious"));
    EXPECT_TRUE(view->enabled("tlbNext") && view->enabled("tlbLast"));
    EXPECT_EQ(state().strEditRootID, QStringLiteral("1"));
    // Nothing is shown yet, so "next" means the last voucher and "previous" the first.
    ASSERT_TRUE(show({}, 3));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("3"));
    ASSERT_TRUE(show({}, 2));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("1"));
    ASSERT_TRUE(show({}, 5, QStringLiteral("vtid")));
    EXPECT_EQ(view->shownCode(), QStringLiteral("<none>"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("-1"));
    EXPECT_EQ(state().strVtidField, QStringLiteral("vtid"));
}

TEST_P(CardWindowShow, a_voucher_that_is_not_there_closes_the_window_and_hands_back_the_message)
{
    EXPECT_FALSE(show(QStringLiteral("99")));
    EXPECT_EQ(error, kNotFound);
    EXPECT_TRUE(view->closed);
    EXPECT_EQ(view->card, nullptr);
    EXPECT_FALSE(card->isLoaded());
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, kNotFound);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("销售管理"));

    EXPECT_FALSE(show(QStringLiteral("abc")));
    EXPECT_EQ(error, kNotFound);
    EXPECT_FALSE(show(QStringLiteral("2 or 1=1")));
    EXPECT_EQ(error, kNotFound);
}

TEST_P(CardWindowShow, nothing_named_to_show_is_a_failure)
{
    EXPECT_FALSE(show({}, 0));
    EXPECT_EQ(error, QStringLiteral("没有指定任何操作，请检查！"));
    EXPECT_TRUE(view->closed);
}

TEST_P(CardWindowShow, a_window_for_another_card_number_refuses_to_show)
{
    cardNumber = QStringLiteral("1802");
    EXPECT_FALSE(show(QStringLiteral("2")));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("单据出错，请检查!"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("销售管理"));
    EXPECT_TRUE(view->closed);
    EXPECT_EQ(control().loads, 0) << "nothing was loaded";
    EXPECT_TRUE(WindowManager::windows().isEmpty());
}

TEST_P(CardWindowShow, loading_chooses_the_bar_and_shares_the_data_source_with_the_session)
{
    modPublic::setCardLogin(login);
    WindowManager::newCard();
    // No machine setting: the command bar.
    EXPECT_EQ(view->bars,
              (QStringList{"bar.SetToolbar", "bar.SetDisplayStyle(1)", "toolbar.shown=0", "bar.shown=1", "bar.place"}));
    ASSERT_TRUE(view->source);
    EXPECT_EQ(view->source->login(), login);
}

TEST_P(CardWindowShow, unloading_gives_the_right_to_open_the_card_back)
{
    modPublic::setCardLogin(login);
    ASSERT_TRUE(modPublic::CheckAuth(QStringLiteral("SA03250101"), false));
    ASSERT_EQ(db.count(QStringLiteral("ua_task_lock")), 1);
    ASSERT_TRUE(show(QStringLiteral("1")));
    card->Unload();
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
    EXPECT_TRUE(view->closed);
    EXPECT_TRUE(WindowManager::windows().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Db, CardWindowShow, ORVANE_BOTH_BACKENDS);

} // namespace
