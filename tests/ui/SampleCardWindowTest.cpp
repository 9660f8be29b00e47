#include "CardTyping.h"

#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "card/TemplateComboControl.h"
#include "card/frmManageSample.h"
#include "sample/clsManageSample.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"
#include "ui/CardGrid.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherCardWidget.h"
#include "ui/LoginDialog.h"
#include "ui/QtWindows.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

class CardWindowTest : public LoggedInTest
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
    SampleCardWindow *open(const QString &voucherId = QString())
    {
        card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
        qint16 move = voucherId.isEmpty() ? 4 : 0;
        QString error;
        std::shared_ptr<Connection> cnn;
        if (!card->ShowVoucher(cnn, login, voucherId, QString(), error, move)) {
            ADD_FAILURE() << error.toStdString();
            return nullptr;
        }
        return dynamic_cast<SampleCardWindow *>(&card->view());
    }

    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<frmManageSample> card;
};

TEST_P(CardWindowTest, opens_on_the_newest_voucher_and_walks_with_the_keyboard)
{
    samples.voucher(1, QStringLiteral("YP001"), QStringLiteral("张三"), 2);
    samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("张三"), 4);
    SampleCardWindow *shown = open();
    ASSERT_TRUE(shown);
    SampleCardWindow &window = *shown;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("样品接单管理"));
    EXPECT_EQ(window.titleText(), QStringLiteral("样品接单管理"));

    EXPECT_EQ(window.card()->headerText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_EQ(window.card()->headerText(QStringLiteral("cnewinvname")), QStringLiteral("新品2"));
    EXPECT_EQ(window.card()->BodyRows(), 4);
    EXPECT_TRUE(window.command(QStringLiteral("tlbPrevious"))->isEnabled());
    EXPECT_FALSE(window.command(QStringLiteral("tlbNext"))->isEnabled());
    EXPECT_FALSE(window.command(QStringLiteral("tlbLast"))->isEnabled());

    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(window.card()->headerText(QStringLiteral("ccode")), QStringLiteral("YP001"));
    EXPECT_EQ(window.card()->BodyRows(), 2);
    EXPECT_EQ(window.card()->bodyText(2, QStringLiteral("cpscode")), QStringLiteral("P1-2"));
    EXPECT_FALSE(window.command(QStringLiteral("tlbFrist"))->isEnabled());
    EXPECT_TRUE(window.command(QStringLiteral("tlbNext"))->isEnabled());

    QTest::keyClick(&window, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window.card()->headerText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(CardWindowTest, stays_on_the_voucher_when_its_neighbour_was_deleted_meanwhile)
{
    samples.voucher(1, QStringLiteral("YP001"));
    samples.voucher(2, QStringLiteral("YP002"));
    SampleCardWindow *shown = open();
    ASSERT_TRUE(shown);
    SampleCardWindow &window = *shown;
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    window.command(QStringLiteral("tlbPrevious"))->trigger();
    EXPECT_EQ(window.card()->headerText(QStringLiteral("ccode")), QStringLiteral("YP002"));
    EXPECT_FALSE(window.command(QStringLiteral("tlbPrevious"))->isEnabled());
    EXPECT_EQ(window.card()->BodyRows(), 2);
}

TEST_P(CardWindowTest, an_empty_database_shows_an_empty_card_with_every_move_disabled)
{
    SampleCardWindow *shown = open();
    ASSERT_TRUE(shown);
    SampleCardWindow &window = *shown;
    EXPECT_EQ(window.card()->headerText(QStringLiteral("ccode")), QString());
    EXPECT_EQ(window.card()->BodyRows(), 0);
    EXPECT_FALSE(window.command(QStringLiteral("tlbFrist"))->isEnabled());
    EXPECT_FALSE(window.command(QStringLiteral("tlbNext"))->isEnabled());
}

TEST_P(CardWindowTest, login_dialog_refuses_a_wrong_password_and_accepts_the_right_one)
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

TEST_P(CardWindowTest, a_new_voucher_typed_by_keyboard_is_saved_with_its_lines)
{
    samples.voucher(1, QStringLiteral("YP001"));
    // The cell checks look the typed items and unit up in the master data.
    db.exec(QStringLiteral("INSERT INTO ComputationGroup (cGroupCode, cGroupName, iGroupType) VALUES ('G1', '件', 0)"));
    db.exec(QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName, cGroupCode, bMainUnit, "
                           "iChangRate) VALUES ('PCS', '个', 'G1', 1, 1)"));
    const QStringList items{QStringLiteral("NEW9"), QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")};
    for (int i = 0; i < items.size(); ++i) {
        db.exec(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId, cComUnitCode, cGroupCode, bService, "
                               "bInvType) VALUES (?, ?, ?, 'PCS', 'G1', 0, 0)"),
                {items[i], i == 0 ? QStringLiteral("新品九") : items[i], 900 + i});
    }
    db.exec(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('01', '原料库')"));
    SampleCardWindow *shown = open();
    ASSERT_TRUE(shown);
    SampleCardWindow &window = *shown;
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    VoucherCardWidget &control = *window.card();
    EXPECT_EQ(window.statusText(), QStringLiteral("未审核"));

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QCoreApplication::processEvents(); // the numbering event and the first item's focus
    ASSERT_EQ(control.EditState(), CardControl::AddingVoucher);
    EXPECT_EQ(window.statusText(), QStringLiteral("新增"));
    EXPECT_FALSE(control.headerText(QStringLiteral("ccode")).isEmpty()) << "numbered when it was shown";
    EXPECT_EQ(control.headerText(QStringLiteral("cmaker")), QStringLiteral("测试员"));
    ASSERT_TRUE(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
    EXPECT_FALSE(static_cast<QLineEdit *>(QApplication::focusWidget())->isReadOnly())
        << "the focus is on an item the user may type into";

    typeHead(control, QStringLiteral("cnewinvcode"), QStringLiteral("NEW9"));
    typeHead(control, QStringLiteral("cnewinvname"), QStringLiteral("新品九"));
    typeHead(control, QStringLiteral("cnewinvcomunitcode"), QStringLiteral("PCS"));
    typeHead(control, QStringLiteral("ifinishexch"), QStringLiteral("1"));
    for (int line = 1; line <= 3; ++line) {
        QTest::keyClick(&window, Qt::Key_Insert, Qt::AltModifier);
        ASSERT_EQ(control.BodyRows(), line);
        typeCell(control, line, QStringLiteral("cpscode"), QStringLiteral("C%1").arg(line));
        typeCell(control, line, QStringLiteral("ipsquantity"), QString::number(line * 2));
        typeCell(control, line, QStringLiteral("tdqtyd"), QStringLiteral("1"));
        typeCell(control, line, QStringLiteral("cwhcode"), QStringLiteral("01"));
    }
    // The last line was a mistake.
    QTest::keyClick(&window, Qt::Key_Delete, Qt::AltModifier);
    EXPECT_EQ(control.BodyRows(), 2);

    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(control.EditState(), CardControl::Viewing);
    EXPECT_EQ(window.statusText(), QStringLiteral("未审核"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 2);
    const QString id = control.headerText(QStringLiteral("iautoid"));
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSample"), QStringLiteral("cNewInvCode = 'NEW9' AND cNewInvName = '新品九'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = %1").arg(id)), 2);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"),
                       QStringLiteral("iAutoID = %1 AND cPSCode = 'C2' AND iPSQuantity = 4").arg(id)),
              1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("cPSCode = 'C3'")), 0);
    EXPECT_TRUE(control.headEditor(QStringLiteral("cnewinvcode"))->isReadOnly());
}

TEST_P(CardWindowTest, the_status_shows_a_confirmed_voucher_and_the_chosen_template)
{
    samples.voucher(1, QStringLiteral("YP001"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = ? WHERE iAutoID = 1"), {QStringLiteral("李四")});
    SampleCardWindow *window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->statusText(), QStringLiteral("已审核"));
    EXPECT_TRUE(window->showTemplate().text().startsWith(QStringLiteral("180101 ")));
    EXPECT_FALSE(window->command(QStringLiteral("tlbEdit"))->isEnabled());
    EXPECT_TRUE(window->command(QStringLiteral("tlbDisVerify"))->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Db, CardWindowTest, ORVANE_BOTH_BACKENDS);

TEST_P(CardWindowTest, closing_the_window_unloads_the_card_and_gives_its_right_back)
{
    samples.voucher(1, QStringLiteral("YP001"));
    modPublic::setCardLogin(login);
    ASSERT_TRUE(modPublic::CheckAuth(QStringLiteral("SA03250101"), false));
    SampleCardWindow *window = open();
    ASSERT_TRUE(window);
    const std::weak_ptr<frmManageSample> watched = card;
    card.reset();

    window->close(); // as the user does
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_P(CardWindowTest, the_same_menu_brings_the_open_window_to_the_front)
{
    samples.voucher(1, QStringLiteral("YP001"));
    clsManageSample entry;
    std::shared_ptr<Connection> cnn;
    QString error;
    EXPECT_TRUE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    EXPECT_FALSE(entry.ShowVoucher2(cnn, login, {}, {}, &error, 4, QStringLiteral("M1")));
    int windows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows += qobject_cast<SampleCardWindow *>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(windows, 1);
}
