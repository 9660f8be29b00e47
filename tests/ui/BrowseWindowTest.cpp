#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "host/clsLogin.h"
#include "ui/BrowseWindow.h"
#include "ui/LoginDialog.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

class BrowseCard : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        login = loginTester(db);
        ASSERT_TRUE(login);
    }

    TestDatabase db{GetParam()};
    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<clsLogin> login;
};

TEST_P(BrowseCard, opens_on_the_newest_voucher_and_walks_with_the_keyboard)
{
    samples.voucher(1, QStringLiteral("YP001"), QStringLiteral("张三"), 2);
    samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("张三"), 4);
    BrowseWindow window(login);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.open());

    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_EQ(window.headText(QStringLiteral("cnewinvname")), QStringLiteral("新品2"));
    EXPECT_EQ(window.bodyTable()->rowCount(), 4);
    EXPECT_TRUE(window.previousAction()->isEnabled());
    EXPECT_FALSE(window.nextAction()->isEnabled());
    EXPECT_FALSE(window.lastAction()->isEnabled());

    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QStringLiteral("YP001"));
    EXPECT_EQ(window.bodyTable()->rowCount(), 2);
    EXPECT_EQ(window.bodyTable()->item(1, 0)->text(), QStringLiteral("P1-2"));
    EXPECT_FALSE(window.firstAction()->isEnabled());
    EXPECT_TRUE(window.nextAction()->isEnabled());

    QTest::keyClick(&window, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(BrowseCard, stays_on_the_voucher_when_its_neighbour_was_deleted_meanwhile)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"));
    BrowseWindow window(login);
    ASSERT_TRUE(window.open());
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    window.previousAction()->trigger();
    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_FALSE(window.previousAction()->isEnabled());
    EXPECT_EQ(window.bodyTable()->rowCount(), 2);
}

TEST_P(BrowseCard, an_empty_database_shows_an_empty_card_with_every_move_disabled)
{
    BrowseWindow window(login);
    ASSERT_TRUE(window.open());
    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QString());
    EXPECT_EQ(window.bodyTable()->rowCount(), 0);
    EXPECT_FALSE(window.firstAction()->isEnabled());
    EXPECT_FALSE(window.nextAction()->isEnabled());
}

TEST_P(BrowseCard, login_dialog_refuses_a_wrong_password_and_accepts_the_right_one)
{
    LoginDialog dialog(db.connectionString());
    dialog.userEdit()->setText(QStringLiteral("tester"));
    dialog.passwordEdit()->setText(QStringLiteral("wrong"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.errorText().isEmpty());
    EXPECT_TRUE(dialog.passwordEdit()->text().isEmpty()) << "the typed password is not kept after a refusal";
    EXPECT_FALSE(dialog.login());

    dialog.passwordEdit()->setText(QStringLiteral("pw"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.login());
    EXPECT_EQ(dialog.login()->UserName(), QStringLiteral("测试员"));
}

INSTANTIATE_TEST_SUITE_P(Db, BrowseCard, ORVANE_BOTH_BACKENDS);
