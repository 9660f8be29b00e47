// The structure beside the card in the real window, driven by keyboard: open a sample and see its
// tree, go into a child sample and back, fetch costs, convert the confirmed structure and see the
// new bill of materials in the tree.
#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "sample/BomStructureData.h"

#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/StructureTreePane.h"
#include "ui/VoucherCardWidget.h"

#include <QAction>
#include <QApplication>
#include <QTest>

class StructureTreeSessionTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerQtWindows();
        // YP1 (TOP) -> CHILD (child sample 2, V1) -> LEAF; PART, priced from its bill of materials.
        data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"), {}, 3, 2);
        data.sample(2, QString(), QStringLiteral("CHILD"), QStringLiteral("V1"), 1);
        data.line(1, 11,
                  {.component = QStringLiteral("CHILD"), .quantity = 2, .child = 2, .version = QStringLiteral("V1")});
        data.line(1, 12, {.component = QStringLiteral("PART"), .quantity = 1});
        data.line(2, 21, {.component = QStringLiteral("LEAF"), .quantity = 1, .charge = 4});
        data.bomLine(data.bom(QStringLiteral("PART"), {}, 1, 1), QStringLiteral("STEEL"), 2, 3);
    }
    void TearDown() override
    {
        unloadQtWindows();
        LoggedInTest::TearDown();
    }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents();
    }

    // The texts of the nodes below `item`.
    static QStringList childTexts(const QTreeWidgetItem *item)
    {
        QStringList texts;
        for (int i = 0; item && i < item->childCount(); ++i)
            texts << item->child(i)->text(0).section(QLatin1Char(';'), 0, 0);
        return texts;
    }

    BomStructureData data{db};
    FakeMessageService messages;
    std::shared_ptr<frmManageSample> card;
};

TEST_P(StructureTreeSessionTest, from_the_tree_into_a_child_and_on_to_a_bill_of_materials)
{
    card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
    QString error;
    std::shared_ptr<Connection> cnn;
    qint16 move = 0;
    ASSERT_TRUE(card->ShowVoucher(cnn, login, QStringLiteral("1"), QString(), error, move)) << error.toStdString();
    auto *window = dynamic_cast<SampleCardWindow *>(&card->view());
    ASSERT_TRUE(window);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    StructureTreePane &tree = *window->structurePane();

    QTreeWidgetItem *top = tree.topLevelItem(0)->child(0);
    ASSERT_TRUE(top);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("样品BOM信息"));
    EXPECT_EQ(childTexts(top), (QStringList{QStringLiteral("(CHILD)品CHILD"), QStringLiteral("(PART)品PART")}));
    EXPECT_EQ(childTexts(top->child(1)), QStringList{QStringLiteral("(STEEL)品STEEL")});
    EXPECT_EQ(tree.currentItem(), top);

    // Alt+T, down to CHILD, Enter: the card shows the child sample.
    press(window, Qt::Key_T, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), &tree);
    press(&tree, Qt::Key_Down);
    press(&tree, Qt::Key_Return);
    EXPECT_EQ(card->state().strVoucherID, QStringLiteral("2"));
    EXPECT_EQ(window->card()->headerText(QStringLiteral("cnewinvcode")), QStringLiteral("CHILD"));
    // Up to the new item and Enter: back on the voucher, the tree unchanged.
    press(&tree, Qt::Key_Up);
    press(&tree, Qt::Key_Return);
    EXPECT_EQ(card->state().strVoucherID, QStringLiteral("1"));

    // F6 fetches costs: CHILD 4 + 1 a unit, PART 2 x 3 + 2; TOP 2 x 5 + 8.
    press(window, Qt::Key_F6);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(window->card()->headerText(QStringLiteral("itolmaterialcost")).toDouble(), 18);

    // Confirmed elsewhere, refreshed with F5, converted with F9.
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = '测试员' WHERE iAutoID = 1"));
    press(window, Qt::Key_F5);
    ASSERT_TRUE(window->command(QStringLiteral("tlbSaveBom"))->isEnabled());
    press(window, Qt::Key_F9);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.texts().last().endsWith(QStringLiteral("转换成功")));
    const QString childBom
        = db.cnn().Scalar(QStringLiteral("SELECT iBOMAutoId FROM ManageSample WHERE iAutoID = 2"))->toString();
    ASSERT_FALSE(childBom.isEmpty());
    EXPECT_FALSE(window->card()->headerText(QStringLiteral("ibomautoid")).isEmpty());
    // The rebuilt tree knows CHILD's new bill of materials (its child sample still comes first).
    QTreeWidgetItem *child = tree.topLevelItem(0)->child(0)->child(0);
    ASSERT_TRUE(child);
    EXPECT_EQ(child->data(0, Qt::UserRole).toString().section(QLatin1Char('\t'), 3, 3).trimmed(), childBom);
}

INSTANTIATE_TEST_SUITE_P(Db, StructureTreeSessionTest, ORVANE_BOTH_BACKENDS);
