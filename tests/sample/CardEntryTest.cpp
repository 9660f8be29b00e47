#include "support/FakeMessageService.h"
#include "support/FakeWindows.h"
#include "support/SampleFixture.h"
#include "support/ScriptedLogin.h"

#include "common/modPublic.h"
#include "entry/clsAccessory.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "sample/clsManageSample.h"

namespace {

const QString kNoRight = QStringLiteral("您没有这个权限！");

class CardEntry : public testing::Test
{
protected:
    void TearDown() override { modPublic::clearProgramState(); }

    FakeMessageService messages;
    FakeWindowFactories windows;
    std::shared_ptr<Connection> cnn;
    std::shared_ptr<ScriptedLogin> scripted = std::make_shared<ScriptedLogin>();
    std::shared_ptr<clsLogin> login = scripted;
    clsManageSample entry;
};

TEST_F(CardEntry, asking_whether_the_card_is_visible_makes_the_default_window_without_showing_it)
{
    EXPECT_EQ(entry.FrmVisible(), QStringLiteral("False"));
    ASSERT_EQ(windows.cards.size(), 1);
    EXPECT_EQ(windows.cards[0]->showCalls, 0);
    // The host's texts live with that window.
    entry.setVoucherName(QStringLiteral("样品"));
    entry.setQVTaskID(QStringLiteral("T1"));
    EXPECT_EQ(entry.VoucherName(), QStringLiteral("样品"));
    EXPECT_EQ(entry.QVTaskID(), QStringLiteral("T1"));
    entry.setFrmZOrder(0);
    EXPECT_EQ(windows.cards[0]->zOrders, QList<int>{0});
    EXPECT_EQ(windows.cards.size(), 1);
}

TEST_F(CardEntry, ShowVoucher_forwards_to_the_default_window_without_a_check)
{
    scripted->holdsRight = false;
    QString error;
    EXPECT_TRUE(entry.ShowVoucher(cnn, login, QStringLiteral("12"), QString(), &error));
    ASSERT_EQ(windows.cards.size(), 1);
    EXPECT_EQ(windows.cards[0]->voucherId, QVariant(QStringLiteral("12")));
    EXPECT_EQ(windows.cards[0]->move, 0);
    EXPECT_TRUE(scripted->calls.isEmpty());
    EXPECT_EQ(entry.FrmVisible(), QStringLiteral("True"));

    windows.cards[0]->answer = false;
    EXPECT_FALSE(entry.ShowVoucher(cnn, login, QStringLiteral("13"), QString(), &error));
    EXPECT_EQ(error, windows.cards[0]->failureText);
    EXPECT_EQ(windows.cards.size(), 1) << "the default window is reused";
}

TEST_F(CardEntry, UnloadFrm_unloads_the_default_window_and_the_next_question_makes_a_new_one)
{
    entry.ShowVoucher(cnn, login, QStringLiteral("12"));
    EXPECT_FALSE(entry.UnloadFrm().isValid());
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    EXPECT_EQ(entry.FrmVisible(), QStringLiteral("False"));
    EXPECT_EQ(windows.cards.size(), 2);
    // Without a loaded default window there is nothing to unload, and nothing is made.
    windows.cards[1]->Unload();
    entry.UnloadFrm();
    EXPECT_EQ(windows.cards.size(), 2);
}

TEST_F(CardEntry, ShowVoucher2_opens_one_window_per_menu)
{
    QString error;
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    EXPECT_FALSE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    ASSERT_EQ(windows.cards.size(), 1);
    EXPECT_EQ(windows.cards[0]->m_MenuId, QStringLiteral("M1"));
    EXPECT_EQ(windows.cards[0]->move, 4);
    EXPECT_EQ(windows.cards[0]->zOrders, QList<int>{0});
    // The second call still checked the right before it looked for the window.
    EXPECT_EQ(scripted->calls.count(QStringLiteral("RequestTask(SA03250101,1)")), 2);

    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M2")));
    EXPECT_EQ(windows.cards.size(), 2);
}

TEST_F(CardEntry, ShowVoucher2_without_a_menu_opens_a_new_window_each_time)
{
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, QStringLiteral("7")));
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, QStringLiteral("7")));
    EXPECT_EQ(windows.cards.size(), 2);
    EXPECT_TRUE(windows.cards[1]->zOrders.isEmpty());
}

TEST_F(CardEntry, ShowVoucher2_refused_shows_the_refusal_and_opens_nothing)
{
    scripted->holdsRight = false;
    EXPECT_FALSE(entry.ShowVoucher2(cnn, login, QStringLiteral("7")));
    EXPECT_TRUE(windows.cards.isEmpty());
    EXPECT_EQ(messages.texts(), QStringList{kNoRight});
}

TEST_F(CardEntry, a_given_session_becomes_the_card_session_and_a_missing_one_keeps_it)
{
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, QStringLiteral("7")));
    EXPECT_EQ(modPublic::cardLogin(), login);
    std::shared_ptr<clsLogin> none;
    EXPECT_TRUE(entry.ShowVoucher2(cnn, none, QStringLiteral("8")));
    EXPECT_EQ(modPublic::cardLogin(), login);
}

TEST_F(CardEntry, ShowVoucher3_hands_back_the_windows_failure)
{
    QString error = QStringLiteral("old");
    windows.cards.clear();
    WindowManager::setCardFactory([this] {
        auto card = std::make_shared<FakeCardWindow>();
        card->answer = false;
        windows.cards << card;
        return card;
    });
    EXPECT_FALSE(entry.ShowVoucher3(cnn, login, QStringLiteral("99"), QStringLiteral("vtid"), &error));
    EXPECT_EQ(error, windows.cards[0]->failureText);
    EXPECT_EQ(windows.cards[0]->vtidField, QStringLiteral("vtid"));
}

TEST(PublicClasses, are_created_by_program_identifier)
{
    EXPECT_TRUE(ObjectRegistry::createAs<clsManageSample>(QStringLiteral("orvane.CLSMANAGESAMPLE")));
    EXPECT_TRUE(ObjectRegistry::createAs<clsVL_JDYPGLMain>(QStringLiteral("Orvane.clsVL_JDYPGLMain")));
    EXPECT_TRUE(ObjectRegistry::createAs<clsAccessory>(QStringLiteral("Orvane.clsAccessory")));
    EXPECT_TRUE(ObjectRegistry::contains(QStringLiteral("IDataSource.DefaultDataSource")));
    EXPECT_FALSE(ObjectRegistry::create(QStringLiteral("Orvane.clsNothing")));
}

// With real users: the list opens a voucher it already shows without asking for the card right.
class CardEntryDb : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        plain = loginUser(db, QStringLiteral("zhao"), QStringLiteral("赵六"), false);
        ASSERT_TRUE(plain);
    }
    void TearDown() override { modPublic::clearProgramState(); }

    TestDatabase db{GetParam()};
    FakeMessageService messages;
    FakeWindowFactories windows;
    std::shared_ptr<Connection> cnn;
    std::shared_ptr<clsLogin> plain;
    clsManageSample entry;
};

TEST_P(CardEntryDb, ShowVoucher3_without_the_check_opens_for_a_user_without_the_right)
{
    EXPECT_TRUE(entry.ShowVoucher3(cnn, plain, QStringLiteral("5"), {}, nullptr, 0, {}, false));
    ASSERT_EQ(windows.cards.size(), 1);
    EXPECT_EQ(windows.cards[0]->login, plain);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0) << "a refused right enters nothing";

    EXPECT_FALSE(entry.ShowVoucher3(cnn, plain, QStringLiteral("5"), {}, nullptr, 0, {}, true));
    EXPECT_EQ(messages.texts(), QStringList{kNoRight});
    EXPECT_EQ(windows.cards.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, CardEntryDb, ORVANE_BOTH_BACKENDS);

} // namespace
