// One working session on the card, driven through the real widgets by keyboard as a user works, on
// the database the app creates (the demo company and its users): log in, add a voucher of three
// lines, move away and back, change it, confirm it, take the confirmation back and delete it. After
// every step both the database and what the window shows are checked.
#include "CardTyping.h"

#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"
#include "ui/LoginDialog.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherCardWidget.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

// The commands whose state tells what the user may do next, in toolbar order.
const QStringList kWatched
    = {QStringLiteral("tlbAdd"),       QStringLiteral("tlbEdit"),    QStringLiteral("tlbCopy"),
       QStringLiteral("tlbDel"),       QStringLiteral("tlbSave"),    QStringLiteral("tlbCancel"),
       QStringLiteral("tlbAddLine"),   QStringLiteral("tlbDelLine"), QStringLiteral("tlbVerify"),
       QStringLiteral("tlbDisVerify"), QStringLiteral("tlbFrist"),   QStringLiteral("tlbPrevious"),
       QStringLiteral("tlbNext"),      QStringLiteral("tlbLast")};

// The watched commands the user can reach: enabled and shown.
QStringList available(const SampleCardWindow &window)
{
    QStringList out;
    for (const QString &key : kWatched) {
        const QAction *a = window.command(key);
        if (a && a->isEnabled() && a->isVisible())
            out << key;
    }
    return out;
}

// The commands within reach while editing, and while viewing the newest voucher unconfirmed or
// confirmed.
const QStringList kEditing = {QStringLiteral("tlbSave"), QStringLiteral("tlbCancel"), QStringLiteral("tlbAddLine"),
                              QStringLiteral("tlbDelLine")};
const QStringList kNewestOpen
    = {QStringLiteral("tlbAdd"),    QStringLiteral("tlbEdit"),  QStringLiteral("tlbCopy"),    QStringLiteral("tlbDel"),
       QStringLiteral("tlbVerify"), QStringLiteral("tlbFrist"), QStringLiteral("tlbPrevious")};
const QStringList kNewestConfirmed
    = {QStringLiteral("tlbAdd"), QStringLiteral("tlbCopy"), QStringLiteral("tlbDisVerify"), QStringLiteral("tlbFrist"),
       QStringLiteral("tlbPrevious")};

// What the window tells the user: its title, the state badge and the commands within reach.
void expectWindow(const SampleCardWindow &window, const QString &status, const QStringList &commands)
{
    EXPECT_EQ(window.titleText(), QStringLiteral("样品接单管理"));
    EXPECT_EQ(window.statusText(), status);
    EXPECT_EQ(available(window).join(QLatin1Char(' ')).toStdString(), commands.join(QLatin1Char(' ')).toStdString());
}

// A key pressed where the focus is, as on a real keyboard.
void press(QWidget &window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &window, key, modifiers);
    QCoreApplication::processEvents();
}

} // namespace

class CardSessionTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        // The database the app creates: the demo company and its users.
        auto installed = DemoDatabase::install(db.cnn());
        ASSERT_TRUE(installed) << installed.error().toStdString();
        registerQtWindows();
    }
    void TearDown() override
    {
        unloadQtWindows();
        WindowManager::reset();
        modPublic::clearProgramState();
    }

    // The card window the entry object opened.
    static SampleCardWindow *shownWindow()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<SampleCardWindow *>(w); window && window->isVisible())
                return window;
        }
        return nullptr;
    }

    qint64 lines(const QString &id, const QString &where = QStringLiteral("1=1"))
    {
        return db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = %1 AND %2").arg(id, where));
    }

    // Stock items without free items that head no product structure: the first is developed as
    // the new item, the others are its components.
    QStringList plainItems(int count)
    {
        QString noFreeItems;
        for (int k = 1; k <= 10; ++k)
            noFreeItems += QStringLiteral(" AND COALESCE(i.bFree%1, 0) = 0").arg(k);
        auto rows = db.cnn().Query(
            QStringLiteral("SELECT i.cInvCode FROM Inventory i WHERE COALESCE(i.bService, 0) = 0 AND "
                           "COALESCE(i.bInvType, 0) = 0 AND i.cComUnitCode IS NOT NULL")
                + noFreeItems
                + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ProductStructure p WHERE p.cPSPCode = i.cInvCode) "
                                 "ORDER BY i.cInvCode LIMIT ?"),
            {count});
        QStringList out;
        if (rows) {
            for (int r = 0; r < rows->RecordCount(); ++r)
                out << rows->value(r, 0).toString();
        }
        return out;
    }

    QString shownTexts() const { return messages.texts().join(QLatin1Char('\n')); }

    TestDatabase db{GetParam(), TestDatabase::Empty};
    FakeMessageService messages;
};

TEST_P(CardSessionTest, a_voucher_from_entry_to_deletion)
{
    const QStringList items = plainItems(4);
    ASSERT_EQ(items.size(), 4);
    const QString newItem = items.first();

    std::shared_ptr<clsLogin> session;
    {
        SCOPED_TRACE("log in as the demo user");
        LoginDialog dialog(db.connectionString());
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.userEdit()->setFocus();
        typeText(dialog.userEdit(), QString::fromLatin1(DemoDatabase::UserId));
        press(dialog, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), dialog.passwordEdit());
        typeText(dialog.passwordEdit(), QString::fromLatin1(DemoDatabase::Password));
        press(dialog, Qt::Key_Return);
        ASSERT_EQ(dialog.result(), QDialog::Accepted) << dialog.errorText().toStdString();
        session = dialog.login();
        ASSERT_TRUE(session);
        EXPECT_EQ(session->UserName(), QStringLiteral("演示用户"));
    }

    SampleCardWindow *shown = nullptr;
    {
        SCOPED_TRACE("the card opens on the newest voucher");
        clsManageSample entry;
        auto cnn = std::make_shared<Connection>();
        ASSERT_TRUE(cnn->Open(session->ConnectionString()));
        QString error;
        ASSERT_TRUE(entry.ShowVoucher2(cnn, session, {}, {}, &error, 4, QStringLiteral("SA032501")))
            << error.toStdString();
        shown = shownWindow();
        ASSERT_TRUE(shown);
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    }
    SampleCardWindow &window = *shown;
    VoucherCardWidget &card = *window.card();
    const QString newest = card.headerText(QStringLiteral("ccode"));
    EXPECT_FALSE(newest.isEmpty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("样品接单管理"));
    EXPECT_TRUE(window.command(QStringLiteral("tlbAdd"))->isEnabled());
    EXPECT_FALSE(window.command(QStringLiteral("tlbNext"))->isEnabled());
    ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();

    QString id;
    QString code;
    {
        SCOPED_TRACE("add a voucher of three lines");
        press(window, Qt::Key_N, Qt::ControlModifier);
        ASSERT_EQ(card.EditState(), CardControl::AddingVoucher);
        expectWindow(window, QStringLiteral("新增"), kEditing);
        EXPECT_EQ(card.headerText(QStringLiteral("cmaker")), QStringLiteral("演示用户"));
        code = card.headerText(QStringLiteral("ccode"));
        ASSERT_FALSE(code.isEmpty()) << "numbered when shown";

        typeHead(card, QStringLiteral("cnewinvcode"), newItem);
        EXPECT_FALSE(card.headerText(QStringLiteral("cnewinvname")).isEmpty()) << "taken from the item master";
        typeHead(card, QStringLiteral("ifinishexch"), QStringLiteral("1"));
        for (int line = 1; line <= 3; ++line) {
            press(window, Qt::Key_Insert, Qt::AltModifier);
            ASSERT_EQ(card.BodyRows(), line);
            typeCell(card, line, QStringLiteral("cpscode"), items[line]);
            typeCell(card, line, QStringLiteral("ipsquantity"), QString::number(line * 2));
            typeCell(card, line, QStringLiteral("tdqtyd"), QStringLiteral("1"));
            typeCell(card, line, QStringLiteral("cwhcode"), QStringLiteral("01"));
        }
        ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
        press(window, Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
        ASSERT_EQ(card.EditState(), CardControl::Viewing);

        id = card.headerText(QStringLiteral("iautoid"));
        ASSERT_FALSE(id.isEmpty());
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                           QStringLiteral("iAutoID = %1 AND cCode = '%2' AND cNewInvCode = '%3' AND "
                                          "cMaker = '演示用户' AND cHandler IS NULL")
                               .arg(id, code, newItem)),
                  1);
        EXPECT_EQ(lines(id), 3);
        EXPECT_EQ(lines(id, QStringLiteral("cPSCode = '%1' AND iPSQuantity = 6 AND cWhCode = '01'").arg(items[3])), 1);
        EXPECT_EQ(card.headerText(QStringLiteral("ccode")), code);
        EXPECT_EQ(card.BodyRows(), 3);
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
        EXPECT_EQ(window.statusBarText(), QStringLiteral("保存成功：") + code);
    }

    {
        SCOPED_TRACE("edit at once after the save, and Esc in each state");
        press(window, Qt::Key_E, Qt::ControlModifier);
        ASSERT_EQ(card.EditState(), CardControl::EditingVoucher) << shownTexts().toStdString();
        messages.answers = {MessageService::AnswerNo};
        press(window, Qt::Key_Escape);
        EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("确定要放弃吗？")});
        EXPECT_EQ(card.EditState(), CardControl::EditingVoucher) << "No keeps the edit";
        press(window, Qt::Key_Escape); // Yes
        EXPECT_EQ(card.EditState(), CardControl::Viewing);
        press(window, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible()) << "Esc while viewing keeps the card";
        EXPECT_EQ(messages.shown.size(), 2);
        messages.shown.clear();
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
    }

    {
        SCOPED_TRACE("move away and back");
        card.bodyGrid()->setFocus();
        card.bodyGrid()->setCurrentCell(2, 0);
        press(window, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(card.headerText(QStringLiteral("iautoid")), id) << "the grid keeps its paging keys";
        EXPECT_EQ(card.bodyGrid()->currentRow(), 0);
        press(window, Qt::Key_PageUp, Qt::AltModifier);
        EXPECT_EQ(card.headerText(QStringLiteral("ccode")), newest);
        EXPECT_TRUE(window.command(QStringLiteral("tlbNext"))->isEnabled());
        EXPECT_TRUE(window.command(QStringLiteral("tlbLast"))->isEnabled());
        press(window, Qt::Key_PageDown, Qt::AltModifier);
        EXPECT_EQ(card.headerText(QStringLiteral("iautoid")), id);
        EXPECT_EQ(card.bodyText(3, QStringLiteral("cpscode")), items[3]);
        press(window, Qt::Key_Home, Qt::AltModifier);
        EXPECT_NE(card.headerText(QStringLiteral("iautoid")), id);
        EXPECT_FALSE(window.command(QStringLiteral("tlbFrist"))->isEnabled());
        press(window, Qt::Key_End, Qt::AltModifier);
        EXPECT_EQ(card.headerText(QStringLiteral("ccode")), code);
        EXPECT_EQ(card.headerText(QStringLiteral("cnewinvcode")), newItem);
        EXPECT_EQ(card.BodyRows(), 3);
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
        EXPECT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
    }

    {
        SCOPED_TRACE("change a head item and a line");
        press(window, Qt::Key_E, Qt::ControlModifier);
        ASSERT_EQ(card.EditState(), CardControl::EditingVoucher);
        expectWindow(window, QStringLiteral("修改"), kEditing);
        typeHead(card, QStringLiteral("ifinishexch"), QStringLiteral("2"));
        typeCell(card, 2, QStringLiteral("ipsquantity"), QStringLiteral("7.5"));
        press(window, Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
        ASSERT_EQ(card.EditState(), CardControl::Viewing);

        EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                           QStringLiteral("iAutoID = %1 AND cCode = '%2' AND iFinishExch = 2").arg(id, code)),
                  1);
        EXPECT_EQ(lines(id), 3);
        EXPECT_EQ(lines(id, QStringLiteral("cPSCode = '%1' AND iPSQuantity = 7.5").arg(items[2])), 1);
        EXPECT_EQ(lines(id, QStringLiteral("cPSCode = '%1' AND iPSQuantity = 2").arg(items[1])), 1);
        EXPECT_EQ(card.headerText(QStringLiteral("ifinishexch")).toDouble(), 2.0);
        EXPECT_EQ(card.bodyText(2, QStringLiteral("ipsquantity")).toDouble(), 7.5);
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
    }

    const QString itemName = card.headerText(QStringLiteral("cnewinvname"));
    {
        SCOPED_TRACE("confirming is refused while the item master says otherwise");
        db.exec(QStringLiteral("UPDATE Inventory SET cInvName = ? WHERE cInvCode = ?"),
                {itemName + QStringLiteral("(改)"), newItem});
        press(window, Qt::Key_F7);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_TRUE(messages.shown.first().text.contains(QStringLiteral("[cnewinvname]与存货档案中的信息不一致！")))
            << shownTexts().toStdString();
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = %1 AND cHandler IS NULL").arg(id)),
                  1);
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
        messages.shown.clear();
        db.exec(QStringLiteral("UPDATE Inventory SET cInvName = ? WHERE cInvCode = ?"), {itemName, newItem});
    }

    {
        SCOPED_TRACE("confirm");
        press(window, Qt::Key_F7);
        ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                           QStringLiteral("iAutoID = %1 AND cHandler = '演示用户' AND dVeriDate IS NOT NULL").arg(id)),
                  1);
        EXPECT_EQ(card.headerText(QStringLiteral("chandler")), QStringLiteral("演示用户"));
        expectWindow(window, QStringLiteral("已审核"), kNewestConfirmed);
    }

    {
        SCOPED_TRACE("cancel the confirmation");
        press(window, Qt::Key_F8);
        ASSERT_TRUE(messages.shown.isEmpty()) << shownTexts().toStdString();
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                           QStringLiteral("iAutoID = %1 AND cHandler IS NULL AND dVeriDate IS NULL").arg(id)),
                  1);
        EXPECT_EQ(card.headerText(QStringLiteral("chandler")), QString());
        expectWindow(window, QStringLiteral("未审核"), kNewestOpen);
    }

    {
        SCOPED_TRACE("delete, first answering no to the question");
        const qint64 vouchers = db.count(QStringLiteral("ManageSample"));
        messages.answers = {MessageService::AnswerCancel};
        press(window, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown.first().text, QStringLiteral("此操作将删除整张单据，确定删除？"));
        EXPECT_EQ(messages.shown.first().buttons, MessageService::OkCancel);
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = %1").arg(id)), 1);
        EXPECT_EQ(card.headerText(QStringLiteral("iautoid")), id);
        messages.shown.clear();

        messages.answers = {MessageService::AnswerOk};
        press(window, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(messages.texts(), QStringList{QStringLiteral("此操作将删除整张单据，确定删除？")})
            << shownTexts().toStdString();
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = %1").arg(id)), 0);
        EXPECT_EQ(lines(id), 0);
        EXPECT_EQ(db.count(QStringLiteral("ManageSample")), vouchers - 1) << "nothing else goes";
        EXPECT_EQ(card.headerText(QStringLiteral("ccode")), newest) << "the card moves on to the newest left";
        EXPECT_FALSE(window.command(QStringLiteral("tlbNext"))->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Db, CardSessionTest, ORVANE_BOTH_BACKENDS);
