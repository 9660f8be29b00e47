#include "QtCardFixture.h"

#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"
#include "ui/CardGrid.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherCardWidget.h"

#include <QAction>
#include <QTest>

namespace {

// The Qt card window in edit, its reference lists answered by a scripted picker.
using CardFieldEdit = QtCardTest;

TEST_P(CardFieldEdit, f2_on_a_component_cell_fills_the_picked_components_name_and_unit)
{
    auto card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
    QString error;
    std::shared_ptr<Connection> cnn;
    qint16 move = 4;
    ASSERT_TRUE(card->ShowVoucher(cnn, login, QString(), QString(), error, move)) << error.toStdString();
    auto *window = dynamic_cast<SampleCardWindow *>(&card->view());
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->command(QStringLiteral("tlbEdit"))->trigger();
    VoucherCardWidget &control = *window->card();
    ASSERT_EQ(control.EditState(), CardControl::EditingVoucher) << messages.texts().join(u'|').toStdString();

    ScriptedPicker picker; // installed over the application's dialog
    picker.choose = {QStringLiteral("A001")};
    control.setBodyText(1, QStringLiteral("cpscode"), QStringLiteral("A0")); // the search text
    CardGrid *grid = control.bodyGrid();
    grid->setFocus();
    grid->setCurrentCell(0, control.columnOf(QStringLiteral("cpscode")));
    QTest::keyClick(grid, Qt::Key_F2);

    ASSERT_EQ(picker.requests.size(), 1);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(control.bodyText(1, QStringLiteral("cpscode")), QStringLiteral("A001"));
    EXPECT_EQ(control.bodyText(1, QStringLiteral("cpsname")), QStringLiteral("阀体"));
    EXPECT_EQ(control.bodyText(1, QStringLiteral("cpscomunitcode")), QStringLiteral("U01"));
    EXPECT_EQ(control.bodyText(1, QStringLiteral("cpscomunitname")), QStringLiteral("个"));
    const int name = control.columnOf(QStringLiteral("cpsname"));
    ASSERT_GE(name, 0);
    EXPECT_EQ(grid->cellText(0, name), QStringLiteral("阀体"));
    EXPECT_EQ(control.bodyText(2, QStringLiteral("cpscode")), QStringLiteral("P1-2"));
}

INSTANTIATE_TEST_SUITE_P(Db, CardFieldEdit, ORVANE_BOTH_BACKENDS);

} // namespace
