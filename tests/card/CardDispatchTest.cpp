#include "CardFixture.h"

#include "support/FakeWindows.h"

#include "card/CardStructureCommands.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "host/clsLogin.h"

namespace {

// Structure commands that note what ran and how many tasks were held meanwhile.
class RecordingStructure final : public CardStructureCommands
{
public:
    explicit RecordingStructure(TestDatabase &db)
        : m_db(db)
    {}
    void fetchCosts(frmManageSample &) override { note(QStringLiteral("fetchCosts")); }
    void convertToBom(frmManageSample &) override { note(QStringLiteral("convertToBom")); }

    QStringList calls;

private:
    void note(const QString &call)
    {
        calls << call + QStringLiteral(":%1").arg(m_db.count(QStringLiteral("ua_task_lock")));
    }
    TestDatabase &m_db;
};

class CardDispatch : public CardTest
{
protected:
    void seed() override
    {
        samples.voucher(1, QStringLiteral("YP001"));
        samples.voucher(2, QStringLiteral("YP002"));
    }
    // Shows the first voucher to a user without any right.
    void showToClerk()
    {
        login = loginUser(db, QStringLiteral("clerk"), QStringLiteral("职员"), false);
        ASSERT_TRUE(login);
        ASSERT_TRUE(show({}, 1));
    }
};

TEST_P(CardDispatch, a_refused_task_stops_the_command_and_leaves_the_buttons)
{
    showToClerk();
    const QMap<QString, bool> before = view->bar.enabled;
    const int synchronised = view->commands.synchronized;
    for (const char *key :
         {"tlbAdd", "tlbEdit", "tlbCopy", "tlbDel", "tlbGet", "tlbVerify", "tlbDisVerify", "tlbSaveBom"}) {
        messages.shown.clear();
        dispatch(QString::fromLatin1(key));
        EXPECT_EQ(messages.texts(), QStringList{"您没有这个权限！"}) << key;
    }
    EXPECT_EQ(control().editState, CardControl::Viewing);
    EXPECT_EQ(view->bar.enabled, before);
    EXPECT_EQ(view->commands.synchronized, synchronised);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 2);
}

TEST_P(CardDispatch, commands_without_a_task_run_for_everyone)
{
    showToClerk();
    dispatch(QStringLiteral("tlbNext"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
}

TEST_P(CardDispatch, the_summarised_body_refuses_everything_but_help_and_exit)
{
    ASSERT_TRUE(show({}, 1));
    control().summary = true;
    const int synchronised = view->commands.synchronized;
    dispatch(QStringLiteral("tlbNext"));
    EXPECT_EQ(messages.texts(), QStringList{"请先取消汇总，然后进行下面的操作!"});
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("提示"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("1"));
    EXPECT_EQ(view->commands.synchronized, synchronised);

    dispatch(QStringLiteral("TLBHELP"));
    EXPECT_EQ(view->helps, 1);
    dispatch(QStringLiteral("tlbExit"));
    EXPECT_TRUE(view->closed);
}

TEST_P(CardDispatch, keys_are_compared_without_letter_case_and_clear_a_pending_lookup)
{
    ASSERT_TRUE(show({}, 1));
    state().bolReferring = true;
    dispatch(QStringLiteral("TLBNEXT"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_FALSE(state().bolReferring);
    card->CommandBarClick(0, QStringLiteral("tlbprevious"), QString());
    EXPECT_EQ(state().strVoucherID, QStringLiteral("1"));
}

TEST_P(CardDispatch, ctrl_p_beeps_while_editing_and_ctrl_f4_asks_before_closing)
{
    ASSERT_TRUE(show({}, 1));
    dispatch(QStringLiteral("tlbAdd"));
    EXPECT_TRUE(card->KeyDown(Qt::Key_P, Qt::ControlModifier));
    EXPECT_EQ(view->beeps, 1);

    messages.answers = {MessageService::AnswerNo};
    EXPECT_TRUE(card->KeyDown(Qt::Key_F4, Qt::ControlModifier));
    EXPECT_EQ(messages.texts(), QStringList{"单据没有保存，是否要退出？"});
    EXPECT_FALSE(view->closed);
    EXPECT_TRUE(card->isLoaded());

    EXPECT_TRUE(card->KeyDown(Qt::Key_F4, Qt::ControlModifier));
    EXPECT_TRUE(view->closed);
    EXPECT_FALSE(card->isLoaded());
}

TEST_P(CardDispatch, pictures_and_attachments_open_the_attachment_window_for_the_voucher)
{
    QList<std::shared_ptr<FakeAccessoryWindow>> windows;
    WindowManager::setAccessoryFactory([&] {
        windows << std::make_shared<FakeAccessoryWindow>();
        return windows.last();
    });
    ASSERT_TRUE(show({}, 4));
    dispatch(QStringLiteral("tlbPic"));
    dispatch(QStringLiteral("tlbAccessory"));
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->kind, sFileType::Picture);
    EXPECT_EQ(windows[1]->kind, sFileType::Aannex);
    EXPECT_EQ(windows[1]->voucherId, 2);
    EXPECT_EQ(windows[1]->ownerWindow, card.get());

    view->showCombo.chosen.clear();
    dispatch(QStringLiteral("tlbPic"));
    EXPECT_EQ(windows.size(), 2) << "no display template, no pictures";
}

TEST_P(CardDispatch, locate_opens_the_list_of_the_card)
{
    QList<std::shared_ptr<FakeListWindow>> lists;
    WindowManager::setListFactory([&] {
        lists << std::make_shared<FakeListWindow>();
        return lists.last();
    });
    ASSERT_TRUE(show({}, 1));
    dispatch(QStringLiteral("tlbLocal"));
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0]->calls, QStringList{"ShowVoucherListEx(1)"});
    ASSERT_TRUE(lists[0]->param);
    EXPECT_EQ(lists[0]->param->MenuID, QStringLiteral("1801001"));
}

TEST_P(CardDispatch, cost_fetch_and_conversion_run_inside_their_tasks)
{
    auto structure = std::make_shared<RecordingStructure>(db);
    ASSERT_TRUE(show({}, 1));
    card->setStructureCommands(structure);
    dispatch(QStringLiteral("tlbGet"));
    dispatch(QStringLiteral("tlbSaveBom"));
    EXPECT_EQ(structure->calls, (QStringList{"fetchCosts:1", "convertToBom:1"}));
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, CardDispatch, ORVANE_BOTH_BACKENDS);

} // namespace
