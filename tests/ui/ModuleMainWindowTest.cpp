#include "QtCardFixture.h"

#include "sample/SampleObjects.h"
#include "ui/ListFilterDialog.h"
#include "ui/ModuleMainWindow.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherListWindow.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {

template<typename T> int visibleCount()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<T *>(w) && w->isVisible() ? 1 : 0;
    return n;
}

// Accepts the filter dialog that the list opens with.
void acceptFilterSoon()
{
    QTimer::singleShot(10, [] {
        if (auto *dialog = qobject_cast<ListFilterDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
        else
            acceptFilterSoon();
    });
}

using ModuleMainWindowTest = QtCardTest;

TEST_P(ModuleMainWindowTest, opens_card_and_list_by_menu_side_by_side_and_closes_them_with_it)
{
    registerSampleObjects();
    auto cnn = std::make_shared<Connection>();
    ASSERT_TRUE(cnn->Open(login->ConnectionString()));
    auto *shell = new ModuleMainWindow(login, cnn);
    shell->show();
    shell->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell));
    QTest::keyClick(shell->functions(), Qt::Key_Return); // the first function: the card
    EXPECT_EQ(visibleCount<SampleCardWindow>(), 1);
    acceptFilterSoon();
    EXPECT_TRUE(shell->openFunction(ModuleMainWindow::listMenuId()));
    EXPECT_EQ(visibleCount<VoucherListWindow>(), 1);
    EXPECT_TRUE(shell->openFunction(ModuleMainWindow::listMenuId()));
    EXPECT_EQ(visibleCount<VoucherListWindow>(), 1) << "the list of a menu is brought forward, not opened twice";
    EXPECT_EQ(visibleCount<SampleCardWindow>(), 1);
    EXPECT_FALSE(shell->openFunction(QStringLiteral("SA999999")));
    shell->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(visibleCount<SampleCardWindow>() + visibleCount<VoucherListWindow>(), 0);
    delete shell;
}

INSTANTIATE_TEST_SUITE_P(Db, ModuleMainWindowTest, ORVANE_BOTH_BACKENDS);

} // namespace
