// Entries the card's checks refuse, typed into the real card window by the demo company's
// restricted salesperson 李娜 (lina): the message is shown once, the item or cell shows its value
// from before the entry again, and the save writes that value.
#include "CardTyping.h"

#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherCardWidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

// Records the messages as the fake does, and takes the focus away from the item typed into while
// a message is up, as a modal message box does.
class FocusTakingMessages final : public MessageService
{
public:
    explicit FocusTakingMessages(QWidget &focusTaker)
        : m_focusTaker(focusTaker)
    {
        install(this);
    }
    ~FocusTakingMessages() override { install(nullptr); }

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        QWidget *had = QApplication::focusWidget();
        m_focusTaker.setFocus(Qt::ActiveWindowFocusReason);
        QCoreApplication::processEvents();
        texts << text;
        if (had)
            had->setFocus(Qt::ActiveWindowFocusReason);
        Q_UNUSED(title)
        Q_UNUSED(icon)
        return buttons == YesNo || buttons == YesNoCancel ? AnswerYes : AnswerOk;
    }

    QStringList texts;

private:
    QWidget &m_focusTaker;
};

class CardRefusedEntry : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        auto installed = DemoDatabase::install(db.cnn());
        ASSERT_TRUE(installed) << installed.error().toStdString();
        registerQtWindows();
        auto session = clsLogin::Login(db.connectionString(), QStringLiteral("lina"), QStringLiteral("lina"));
        ASSERT_TRUE(session) << session.error().toStdString();
        m_session = *session;
        auto cnn = std::make_shared<Connection>();
        ASSERT_TRUE(cnn->Open(m_session->ConnectionString()));
        QString error;
        clsManageSample entry;
        ASSERT_TRUE(entry.ShowVoucher2(cnn, m_session, {}, {}, &error, 4, QStringLiteral("SA032501")))
            << error.toStdString();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *shown = qobject_cast<SampleCardWindow *>(w); shown && shown->isVisible())
                window = shown;
        }
        ASSERT_TRUE(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override
    {
        unloadQtWindows();
        WindowManager::reset();
        modPublic::clearProgramState();
    }

    QString stored(const QString &column, const QString &id)
    {
        auto value = db.cnn().Scalar(QStringLiteral("SELECT %1 FROM ManageSample WHERE iAutoID = ?").arg(column), {id});
        return value ? value->toString() : QStringLiteral("<%1>").arg(value.error());
    }

    TestDatabase db{GetParam(), TestDatabase::Empty};
    FakeMessageService unexpected; // replaced while the test's own service is installed
    std::shared_ptr<clsLogin> m_session;
    SampleCardWindow *window = nullptr;
};

TEST_P(CardRefusedEntry, refused_items_and_cells_show_their_former_values_again_and_the_save_keeps_them)
{
    VoucherCardWidget &card = *window->card();
    QTest::keyClick(window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(card.EditState(), CardControl::EditingVoucher) << unexpected.texts().join(u'|').toStdString();
    const QString id = card.headerText(QStringLiteral("iautoid"));
    const QString customer = card.headerText(QStringLiteral("ccuscode"));
    const QString customerName = card.headerText(QStringLiteral("ccusname"));
    const QString department = card.headerText(QStringLiteral("cdepcode"));
    const QString component = card.bodyText(1, QStringLiteral("cpscode"));
    ASSERT_FALSE(customer.isEmpty());
    ASSERT_EQ(department, QStringLiteral("0201"));
    ASSERT_FALSE(component.isEmpty());

    FocusTakingMessages messages(*card.bodyGrid());
    typeHead(card, QStringLiteral("ccuscode"), QStringLiteral("KH9999")); // no such customer
    typeHead(card, QStringLiteral("cdepcode"), QStringLiteral("0301"));   // not hers to use
    typeCell(card, 1, QStringLiteral("cpscode"), QStringLiteral("ZZ404"));
    EXPECT_EQ(messages.texts, (QStringList{QStringLiteral("表头：客户档案不存在或者您没有该数据权限,请检查!"),
                                           QStringLiteral("表头：部门档案不存在或者您没有该数据权限,请检查!"),
                                           QStringLiteral("表体：存货档案不存在或者您没有该数据权限,请检查!")}));

    EXPECT_EQ(card.headEditor(QStringLiteral("ccuscode"))->text(), customer);
    EXPECT_EQ(card.headEditor(QStringLiteral("cdepcode"))->text(), department);
    EXPECT_EQ(card.headerText(QStringLiteral("ccusname")), customerName);
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cpscode")), component);
    EXPECT_EQ(card.bodyGrid()->cellText(0, card.columnOf(QStringLiteral("cpscode"))), component);
    VoucherDocument head, body;
    card.getVoucherDataXML(head, body);
    EXPECT_EQ(head.headRow().value(QStringLiteral("ccuscode")), customer);
    EXPECT_EQ(head.headRow().value(QStringLiteral("cdepcode")), department);

    // A refused entry is no change: the save writes the values from before it.
    typeHead(card, QStringLiteral("cmemo"), QStringLiteral("已改"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(card.EditState(), CardControl::Viewing) << messages.texts.join(u'|').toStdString();
    EXPECT_EQ(stored(QStringLiteral("cMemo"), id), QStringLiteral("已改"));
    EXPECT_EQ(stored(QStringLiteral("cCusCode"), id), customer);
    EXPECT_EQ(stored(QStringLiteral("cDepCode"), id), department);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Db, CardRefusedEntry, ORVANE_BOTH_BACKENDS);
