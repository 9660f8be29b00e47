#include "support/FakeMessageService.h"
#include "support/FakeWindows.h"
#include "support/ScriptedLogin.h"
#include "support/TestDatabase.h"

#include "common/modPublic.h"
#include "entry/clsAccessory.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "platform/Connection.h"

namespace {

std::shared_ptr<clsVL_JDYPGLParam> paramFor(const QString &menuId)
{
    auto param = std::make_shared<clsVL_JDYPGLParam>();
    param->MenuID = menuId;
    return param;
}

class ListEntry : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }
    void TearDown() override { modPublic::clearProgramState(); }

    TestDatabase db{GetParam()};
    FakeMessageService messages;
    FakeWindowFactories windows;
    std::shared_ptr<ScriptedLogin> login = std::make_shared<ScriptedLogin>(db.connectionString());
    clsVL_JDYPGLMain entry;
};

TEST_P(ListEntry, opens_a_list_window_with_the_session_and_a_connection_of_its_own)
{
    entry.ShowVoucherList(login, QStringLiteral("1801"));
    ASSERT_EQ(windows.lists.size(), 1);
    const auto &list = windows.lists[0];
    EXPECT_EQ(list->calls, QStringList{QStringLiteral("ShowVoucherList")});
    ASSERT_TRUE(list->param) << "a parameter is made when none is given";
    EXPECT_EQ(list->param->CardNumber, QStringLiteral("1801"));
    EXPECT_EQ(modPublic::listLogin(), login);
    ASSERT_TRUE(modPublic::listConnection());
    EXPECT_TRUE(modPublic::listConnection()->isOpen());
    EXPECT_EQ(modPublic::listConnection()->ConnectionString(), db.connectionString());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(ListEntry, brings_the_open_list_to_the_front_instead_of_opening_another)
{
    entry.ShowVoucherList(login, QStringLiteral("1801"), paramFor(QStringLiteral("SA0302")));
    entry.ShowVoucherListEx(login, QStringLiteral("1801"), paramFor(QStringLiteral("SA0302")), true);
    ASSERT_EQ(windows.lists.size(), 1);
    EXPECT_EQ(windows.lists[0]->calls,
              (QStringList{QStringLiteral("ShowVoucherList"), QStringLiteral("Show"), QStringLiteral("ZOrder(0)")}));
}

TEST_P(ListEntry, the_cards_locate_menu_opens_a_new_list_each_time)
{
    const auto locate = ListWindow::multiWindowMenuId();
    entry.ShowVoucherListEx(login, QStringLiteral("1801"), paramFor(locate), true);
    entry.ShowVoucherListEx(login, QStringLiteral("1801"), paramFor(locate), false);
    ASSERT_EQ(windows.lists.size(), 2);
    EXPECT_EQ(windows.lists[0]->calls, QStringList{QStringLiteral("ShowVoucherListEx(1)")});
    EXPECT_EQ(windows.lists[1]->calls, QStringList{QStringLiteral("ShowVoucherListEx(0)")});
}

TEST_P(ListEntry, a_connection_that_cannot_open_is_reported_and_opens_no_window)
{
    entry.ShowVoucherList(std::make_shared<ScriptedLogin>(QStringLiteral("sqlite:///no/such/folder/x.db")),
                          QStringLiteral("1801"));
    EXPECT_TRUE(windows.lists.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
    EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("clsZLGL"))) << "the location goes to the log";
}

INSTANTIATE_TEST_SUITE_P(Db, ListEntry, ORVANE_BOTH_BACKENDS);

TEST(AccessoryEntry, hands_the_window_kind_voucher_connection_and_owner)
{
    FakeWindowFactories windows;
    auto owner = WindowManager::newCard();
    auto cnn = std::make_shared<Connection>();
    const QVariant answer = clsAccessory().ShowFrmAccessory(sFileType::Aannex, 17, cnn, owner.get());
    EXPECT_FALSE(answer.isValid());
    ASSERT_EQ(windows.accessories.size(), 1);
    const auto &window = windows.accessories[0];
    EXPECT_EQ(window->shown, 1);
    EXPECT_EQ(window->kind, sFileType::Aannex);
    EXPECT_EQ(window->voucherId, 17);
    EXPECT_EQ(window->connection, cnn);
    EXPECT_EQ(window->ownerWindow, owner.get());
}

TEST(Windows, the_default_card_is_made_once_and_again_after_it_unloaded)
{
    FakeWindowFactories windows;
    const auto first = WindowManager::defaultCard();
    EXPECT_EQ(WindowManager::defaultCard(), first);
    EXPECT_EQ(windows.cards.size(), 1);
    first->Unload();
    EXPECT_FALSE(first->isLoaded());
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    EXPECT_FALSE(WindowManager::loadedDefaultCard());
    EXPECT_NE(WindowManager::defaultCard(), first);
}

} // namespace
