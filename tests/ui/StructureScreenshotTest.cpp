// Writes the picture of the card with its structure tree that the documentation shows, on the demo
// database, when ORVANE_SCREENSHOT names a file; otherwise it does nothing.
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "sample/clsManageSample.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/StructureTreePane.h"

#include <QApplication>
#include <QSplitter>
#include <QTest>

TEST(StructureScreenshot, card_with_its_tree_on_the_demo_data)
{
    const QString file = qEnvironmentVariable("ORVANE_SCREENSHOT");
    if (file.isEmpty())
        GTEST_SKIP() << "ORVANE_SCREENSHOT names no file";
    TestDatabase db(Backend::Sqlite, TestDatabase::Empty);
    ASSERT_TRUE(DemoDatabase::install(db.cnn()));
    FakeMessageService messages;
    registerQtWindows();
    auto login = clsLogin::Login(db.connectionString(), QString::fromLatin1(DemoDatabase::UserId),
                                 QString::fromLatin1(DemoDatabase::Password));
    ASSERT_TRUE(login) << login.error().toStdString();
    std::shared_ptr<clsLogin> session = *login;
    QString error;
    clsManageSample entry;
    auto cnn = std::make_shared<Connection>();
    ASSERT_TRUE(cnn->Open(session->ConnectionString()));
    ASSERT_TRUE(entry.ShowVoucher2(cnn, session, QStringLiteral("1"), {}, &error, 0, QStringLiteral("SA032501")))
        << error.toStdString();
    SampleCardWindow *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *card = qobject_cast<SampleCardWindow *>(w); card && card->isVisible())
            window = card;
    }
    ASSERT_TRUE(window);
    window->resize(1500, 820);
    window->structurePane()->expandAll();
    if (auto *splitter = qobject_cast<QSplitter *>(window->structurePane()->parentWidget()))
        splitter->setSizes({430, 1070});
    QTest::qWait(200);
    EXPECT_TRUE(window->grab().save(file));
    unloadQtWindows();
    WindowManager::reset();
    modPublic::clearProgramState();
}
