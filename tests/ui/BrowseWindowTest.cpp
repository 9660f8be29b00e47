#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "card/frmManageSample.h"
#include "sample/clsManageSample.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"
#include "ui/BrowseWindow.h"
#include "ui/LoginDialog.h"
#include "ui/QtWindows.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

class BrowseCard : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        registerQtWindows();
    }
    void TearDown() override
    {
        unloadQtWindows();
        LoggedInTest::TearDown();
    }

    // Opens a Qt card window on the newest voucher (or on voucherId), as the entry object does.
    BrowseWindow *open(const QString &voucherId = QString())
    {
        card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
        qint16 move = voucherId.isEmpty() ? 4 : 0;
        QString error;
        std::shared_ptr<Connection> cnn;
        if (!card->ShowVoucher(cnn, login, voucherId, QString(), error, move)) {
            ADD_FAILURE() << error.toStdString();
            return nullptr;
        }
        return dynamic_cast<BrowseWindow *>(&card->view());
    }

    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<frmManageSample> card;
};

TEST_P(BrowseCard, opens_on_the_newest_voucher_and_walks_with_the_keyboard)
{
    samples.voucher(1, QStringLiteral("YP001"), QStringLiteral("张三"), 2);
    samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("张三"), 4);
    BrowseWindow *shown = open();
    ASSERT_TRUE(shown);
    BrowseWindow &window = *shown;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("样品接单管理"));
    EXPECT_EQ(window.titleText(), QStringLiteral("样品接单管理"));

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
    BrowseWindow *shown = open();
    ASSERT_TRUE(shown);
    BrowseWindow &window = *shown;
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    window.previousAction()->trigger();
    EXPECT_EQ(window.headText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_FALSE(window.previousAction()->isEnabled());
    EXPECT_EQ(window.bodyTable()->rowCount(), 2);
}

TEST_P(BrowseCard, an_empty_database_shows_an_empty_card_with_every_move_disabled)
{
    BrowseWindow *shown = open();
    ASSERT_TRUE(shown);
    BrowseWindow &window = *shown;
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

TEST_P(BrowseCard, closing_the_window_unloads_the_card_and_gives_its_right_back)
{
    samples.voucher(1, QStringLiteral("YP001"));
    modPublic::setCardLogin(login);
    ASSERT_TRUE(modPublic::CheckAuth(QStringLiteral("SA03250101"), false));
    BrowseWindow *window = open();
    ASSERT_TRUE(window);
    const std::weak_ptr<frmManageSample> watched = card;
    card.reset();

    window->close(); // as the user does
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_P(BrowseCard, the_same_menu_brings_the_open_window_to_the_front)
{
    samples.voucher(1, QStringLiteral("YP001"));
    clsManageSample entry;
    std::shared_ptr<Connection> cnn;
    QString error;
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    EXPECT_FALSE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    int windows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows += qobject_cast<BrowseWindow *>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(windows, 1);
}
