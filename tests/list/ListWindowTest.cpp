#include "FakeListView.h"
#include "support/ListData.h"

#include "support/FakeMessageService.h"
#include "support/FakeWindows.h"
#include "support/SampleFixture.h"
#include "support/ScopedConfigFolder.h"

#include "common/modPublic.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "host/DataPermissionStore.h"
#include "host/clsLogin.h"
#include "list/ListProfile.h"
#include "list/frmVL_JDYPGL.h"
#include "platform/MachineRegistry.h"
#include "sample/SampleObjects.h"

#include <QFile>
#include <QScopeGuard>

#include <gtest/gtest.h>

namespace {

const QString kNoRows = QStringLiteral("没有找到符合条件的记录!");

// The list window on a fake view, opened through its entry object on a fresh database of each
// backend, with the profile file in a folder of the test's own.
class ListWindowTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addListMasterData(db);
        registerSampleObjects();
        WindowManager::setListFactory([this] {
            view = std::make_shared<FakeListView>();
            return std::make_shared<frmVL_JDYPGL>(view);
        });
    }
    void vouchers(int count)
    {
        for (int id = 1; id <= count; ++id)
            addListVoucher(db, {.id = id, .cost = double(id)});
    }

    // Opens the list as `user` (the tester by default); the window, or nullptr when none is open.
    std::shared_ptr<frmVL_JDYPGL> open(std::shared_ptr<clsLogin> user = nullptr)
    {
        clsVL_JDYPGLMain entry;
        auto param = std::make_shared<clsVL_JDYPGLParam>();
        param->MenuID = QStringLiteral("1801001");
        entry.ShowVoucherList(user ? user : login, QStringLiteral("1801"), param);
        auto windows = WindowManager::windows();
        return windows.isEmpty() ? nullptr : std::dynamic_pointer_cast<frmVL_JDYPGL>(windows.last());
    }

    QList<int> shownIds(const frmVL_JDYPGL &list) const
    {
        QList<int> ids;
        const int key = list.page().rows.keyColumn();
        for (const QVariantList &row : list.page().rows.rows)
            ids << row[key].toInt();
        return ids;
    }

    ScopedConfigFolder config;
    FakeMessageService messages;
    std::shared_ptr<FakeListView> view;
};

TEST_P(ListWindowTest, opens_on_the_first_page_with_totals_over_every_page_and_gives_the_right_back)
{
    vouchers(35);
    auto list = open();
    ASSERT_TRUE(list);
    EXPECT_TRUE(view->visible);
    EXPECT_EQ(view->caption, QStringLiteral("接单样品管理列表"));
    ASSERT_EQ(view->buttons.size(), 10);
    EXPECT_EQ(view->buttons[5], qMakePair(QStringLiteral("Find"), QStringLiteral("联查")));
    EXPECT_EQ(view->sizeBox, QStringLiteral("30"));
    EXPECT_EQ(list->page().totalRows, 35);
    EXPECT_EQ(list->page().pageCount, 2);
    EXPECT_EQ(shownIds(*list).size(), 30);
    EXPECT_EQ(shownIds(*list).first(), 1);
    const int quantity = int(list->page().rows.fields.indexOf(QStringLiteral("ipsquantity")));
    ASSERT_GE(quantity, 0) << messages.texts().join(QLatin1Char(10)).toStdString();
    EXPECT_DOUBLE_EQ(list->page().totals[quantity].toDouble(), 35.0);
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 1) << "the list holds its function";
    list->ButtonClick(QStringLiteral("Exit"));
    EXPECT_FALSE(view->visible);
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
    EXPECT_TRUE(WindowManager::windows().isEmpty());
}

TEST_P(ListWindowTest, the_machine_toolbar_style_chooses_the_bar_the_list_shows)
{
    vouchers(1);
    // No setting: the command bar takes the toolbar's buttons and its place across the window.
    auto list = open();
    ASSERT_TRUE(list);
    EXPECT_EQ(view->barLog,
              (QStringList{"bar.SetToolbar", "bar.SetDisplayStyle(1)", "toolbar.shown=0", "bar.shown=1", "bar.place"}));
    EXPECT_EQ(view->commands.source, &view->bar);
    EXPECT_EQ(view->commands.placed.width(), view->innerWidth());
    list->ButtonClick(QStringLiteral("Exit"));

    // "False": the classic toolbar.
    QFile settings(MachineRegistry::filePath());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[SOFTWARE\\Vestral\\WF\\V8.520\\Appearance]\nToolbar Style=False\n");
    settings.close();
    const auto removeSettings = qScopeGuard([&settings] { settings.remove(); });
    list = open();
    ASSERT_TRUE(list);
    EXPECT_EQ(view->barLog, (QStringList{"toolbar.shown=1", "toolbar.front", "bar.shown=0"}));
    list->ButtonClick(QStringLiteral("Exit"));
}

TEST_P(ListWindowTest, a_restricted_user_sees_only_permitted_customers_departments_and_makers)
{
    addListVoucher(db, {.id = 1});                                                 // seen
    addListVoucher(db, {.id = 2, .customer = QStringLiteral("KH2")});              // customer not granted
    addListVoucher(db, {.id = 3, .department = QStringLiteral("BM2")});            // department not granted
    addListVoucher(db, {.id = 4, .maker = QStringLiteral("王五")});                // maker not granted
    addListVoucher(db, {.id = 5, .customer = QString(), .department = QString()}); // names neither: seen
    auto li = loginUser(db, QStringLiteral("li"), QStringLiteral("李娜"), false);
    ASSERT_TRUE(li);
    db.exec(QStringLiteral("INSERT INTO ua_right (cuser_id, cauth_id) VALUES ('li', 'SA03250201')"));
    for (DataObject object : {DataObject::Customer, DataObject::Department, DataObject::Maker})
        ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), object, true));
    ASSERT_TRUE(
        DataPermissionStore::grantValue(db.cnn(), QStringLiteral("li"), DataObject::Customer, QStringLiteral("1")));
    ASSERT_TRUE(
        DataPermissionStore::grantValue(db.cnn(), QStringLiteral("li"), DataObject::Department, QStringLiteral("BM1")));
    ASSERT_TRUE(DataPermissionStore::grantValue(db.cnn(), QStringLiteral("li"), DataObject::Maker,
                                                QStringLiteral("张三"), QStringLiteral("r")));
    auto list = open(li);
    ASSERT_TRUE(list) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(shownIds(*list), (QList<int>{1, 5}));
    EXPECT_EQ(list->page().totalRows, 2);
}

TEST_P(ListWindowTest, a_cancelled_filter_opens_nothing_and_later_keeps_the_list_as_it_was)
{
    vouchers(3);
    view.reset();
    WindowManager::setListFactory([this] {
        view = std::make_shared<FakeListView>();
        view->filterAnswers.push_back(std::nullopt);
        return std::make_shared<frmVL_JDYPGL>(view);
    });
    EXPECT_FALSE(open());
    EXPECT_FALSE(view->visible);

    WindowManager::setListFactory([this] {
        view = std::make_shared<FakeListView>();
        return std::make_shared<frmVL_JDYPGL>(view);
    });
    auto list = open();
    ASSERT_TRUE(list);
    view->filterAnswers.push_back(
        QList<FilterValue>{{QStringLiteral("ccode"), QStringLiteral("="), QStringLiteral("YP0002")}});
    list->ButtonClick(QStringLiteral("filter"));
    EXPECT_EQ(shownIds(*list), QList<int>{2});
    view->filterAnswers.push_back(std::nullopt);
    list->ButtonClick(QStringLiteral("filter"));
    EXPECT_EQ(shownIds(*list), QList<int>{2});
    list->ButtonClick(QStringLiteral("Refresh"));
    EXPECT_EQ(shownIds(*list), QList<int>{2}) << "refresh keeps the filter";
    EXPECT_EQ(view->offeredFilter.size(), 1) << "the filter dialog offers the last filter again";
}

TEST_P(ListWindowTest, a_filter_value_that_is_refused_is_asked_again_with_the_message)
{
    vouchers(2);
    WindowManager::setListFactory([this] {
        view = std::make_shared<FakeListView>();
        view->filterAnswers.push_back(
            QList<FilterValue>{{QStringLiteral("ddate"), QStringLiteral("="), QStringLiteral("not a date")}});
        view->filterAnswers.push_back(QList<FilterValue>{});
        return std::make_shared<frmVL_JDYPGL>(view);
    });
    auto list = open();
    ASSERT_TRUE(list);
    EXPECT_EQ(view->calls.count(QStringLiteral("askFilter")), 2);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("单据日期")));
    EXPECT_EQ(view->offeredFilter.size(), 1) << "what was typed is offered again";
}

TEST_P(ListWindowTest, an_empty_result_still_opens_and_print_or_output_only_say_there_is_nothing)
{
    auto list = open();
    ASSERT_TRUE(list);
    EXPECT_TRUE(view->visible);
    EXPECT_EQ(messages.texts(), QStringList{kNoRows});
    EXPECT_EQ(view->pagesShown, 1) << "the empty list and its columns are shown";
    list->ButtonClick(QStringLiteral("Print"));
    list->ButtonClick(QStringLiteral("Preview"));
    list->ButtonClick(QStringLiteral("Output"));
    list->ButtonClick(QStringLiteral("Find"));
    EXPECT_EQ(messages.texts(),
              (QStringList{kNoRows, QStringLiteral("没有数据无法预览!"), QStringLiteral("没有数据无法预览!"),
                           QStringLiteral("没有可以输出的数据!"), QStringLiteral("没有任何单据，请检查！")}));
    EXPECT_EQ(messages.shown.last().title, QStringLiteral("销售管理"));
    EXPECT_FALSE(view->calls.contains(QStringLiteral("print")) || view->calls.contains(QStringLiteral("export")));
    EXPECT_EQ(WindowManager::windows().size(), 1) << "no card window was made";
}

TEST_P(ListWindowTest, paging_follows_the_boxes_and_a_confirmed_size_is_kept_in_the_profile)
{
    vouchers(25);
    auto list = open();
    ASSERT_TRUE(list);
    view->sizeBox = QStringLiteral("10");
    list->pageSizeEdited();
    EXPECT_FALSE(view->pagingEnabled);
    EXPECT_EQ(view->pageBox, QStringLiteral("1"));
    EXPECT_EQ(ListProfile::pageSizeText(), QStringLiteral("30")) << "nothing written before 确认";
    list->pageButton(QStringLiteral("cmdPageOk"));
    EXPECT_TRUE(view->pagingEnabled);
    EXPECT_EQ(ListProfile::pageSizeText(), QStringLiteral("10"));
    EXPECT_EQ(list->page().pageCount, 3);
    list->pageButton(QStringLiteral("cmdLast"));
    EXPECT_EQ(shownIds(*list), (QList<int>{21, 22, 23, 24, 25}));
    const int shown = view->pagesShown;
    list->pageButton(QStringLiteral("cmdNext"));
    EXPECT_EQ(view->pageBox, QStringLiteral("3"));
    EXPECT_EQ(view->pagesShown, shown + 1) << "next on the last page still queries";
    list->pageButton(QStringLiteral("cmdPrevious"));
    EXPECT_EQ(shownIds(*list).first(), 11);
    view->pageBox = QStringLiteral("7");
    list->ButtonClick(QStringLiteral("Refresh"));
    EXPECT_EQ(view->pageBox, QStringLiteral("1")) << "refresh starts at page 1";
    view->pageBox = QStringLiteral("7");
    list->pageButton(QStringLiteral("cmdPageOk"));
    EXPECT_EQ(view->pageBox, QStringLiteral("3")) << "page 7 of 3 shows page 3";

    view->sizeBox = QStringLiteral("0");
    EXPECT_TRUE(list->validateSizeBox());
    list->pageButton(QStringLiteral("cmdFirst"));
    EXPECT_EQ(view->sizeBox, QStringLiteral("30")) << "a query replaces size 0 by 30";
    view->sizeBox = QStringLiteral("5001");
    EXPECT_FALSE(list->validateSizeBox());
    view->pageBox = QStringLiteral("abc");
    EXPECT_FALSE(list->validatePageBox());
    EXPECT_EQ(messages.texts().mid(messages.texts().size() - 2),
              (QStringList{QStringLiteral("页大小必须输入大于等于0且不大于5000的整型数字!"),
                           QStringLiteral("转到页必须输入大于0的整型数字!")}));
}

// Moving between pages reads only the page, out of the result the last query found: a voucher
// deleted since is left out, one written since waits for 刷新, which finds it.
TEST_P(ListWindowTest, page_moves_page_through_the_result_found_and_refresh_finds_what_changed)
{
    vouchers(25);
    auto list = open();
    ASSERT_TRUE(list);
    view->sizeBox = QStringLiteral("10");
    list->pageButton(QStringLiteral("cmdPageOk"));
    addListVoucher(db, {.id = 26, .cost = 26});
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 12"));
    list->pageButton(QStringLiteral("cmdNext"));
    EXPECT_EQ(shownIds(*list), (QList<int>{11, 13, 14, 15, 16, 17, 18, 19, 20}));
    list->pageButton(QStringLiteral("cmdLast"));
    EXPECT_EQ(shownIds(*list), (QList<int>{21, 22, 23, 24, 25}));
    EXPECT_EQ(list->page().totalRows, 25);
    list->ButtonClick(QStringLiteral("Refresh"));
    list->pageButton(QStringLiteral("cmdLast"));
    EXPECT_EQ(list->page().totalRows, 25);
    EXPECT_EQ(shownIds(*list), (QList<int>{22, 23, 24, 25, 26}));
}

TEST_P(ListWindowTest, a_header_click_sorts_every_page_and_a_second_click_reverses)
{
    for (int id = 1; id <= 6; ++id)
        addListVoucher(db, {.id = id, .cost = double(10 - id)});
    db.exec(QStringLiteral("UPDATE ListFormat SET bShow = 0 WHERE FieldName <> 'ccode' AND FieldName <> 'itolcost'"));
    auto list = open();
    ASSERT_TRUE(list);
    view->sizeBox = QStringLiteral("4");
    list->pageButton(QStringLiteral("cmdPageOk"));
    const int cost = int(list->page().rows.fields.indexOf(QStringLiteral("itolcost")));
    list->sortByColumn(cost);
    EXPECT_EQ(shownIds(*list), (QList<int>{6, 5, 4, 3}));
    list->pageButton(QStringLiteral("cmdNext"));
    EXPECT_EQ(shownIds(*list), (QList<int>{2, 1}));
    list->sortByColumn(cost);
    EXPECT_EQ(shownIds(*list), (QList<int>{1, 2, 3, 4})) << "descending, from page 1";
}

TEST_P(ListWindowTest, find_opens_the_selected_voucher_on_a_card_without_checking_the_right_again)
{
    vouchers(3);
    FakeWindowFactories fakes;
    WindowManager::setListFactory([this] {
        view = std::make_shared<FakeListView>();
        return std::make_shared<frmVL_JDYPGL>(view);
    });
    auto list = open();
    ASSERT_TRUE(list);
    view->row = 1;
    list->ButtonClick(QStringLiteral("Find"));
    ASSERT_EQ(fakes.cards.size(), 1);
    EXPECT_EQ(fakes.cards[0]->voucherId.toString(), QStringLiteral("2"));
    EXPECT_EQ(fakes.cards[0]->connection, modPublic::listConnection());
    EXPECT_TRUE(list->isVisible()) << "the list stays open behind the card";
}

TEST_P(ListWindowTest, print_format_is_inserted_once_then_updated_with_quotes_kept)
{
    vouchers(2);
    auto list = open();
    ASSERT_TRUE(list);
    view->formatAfterPrint = QStringLiteral("<打印格式 纸张=\"A4\" 备注='x'/>");
    list->ButtonClick(QStringLiteral("Preview"));
    EXPECT_EQ(view->written.size(), 2);
    view->formatAfterPrint = QStringLiteral("<打印格式 纸张=\"A3\"/>");
    list->ButtonClick(QStringLiteral("Print"));
    EXPECT_EQ(view->printedFormat, QStringLiteral("<打印格式 纸张=\"A4\" 备注='x'/>"));
    EXPECT_EQ(db.count(QStringLiteral("prn_format")), 1);
    auto stored = db.cnn().Scalar(QStringLiteral("select formatxml from prn_format where moduleid = '1801_0_Print_'"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toString(), QStringLiteral("<打印格式 纸张=\"A3\"/>"));
}

TEST_P(ListWindowTest, output_writes_every_page_with_the_formats_shown)
{
    for (int id = 1; id <= 45; ++id)
        addListVoucher(db, {.id = id, .cost = 1234.5});
    auto list = open();
    ASSERT_TRUE(list);
    list->ButtonClick(QStringLiteral("Output"));
    ASSERT_EQ(view->written.size(), 45) << "all pages, not the 30 shown";
    const int cost = int(list->page().rows.fields.indexOf(QStringLiteral("itolcost")));
    ASSERT_GE(cost, 0);
    EXPECT_EQ(view->writtenColumns[cost].decimals, 2);
    EXPECT_EQ(view->writtenColumns[cost].caption, QStringLiteral("总成本"));
    EXPECT_DOUBLE_EQ(view->written[44][cost].toDouble(), 1234.5);
    EXPECT_EQ(list->page().text(0, cost), QStringLiteral("1,234.50"));
    const int date = int(list->page().rows.fields.indexOf(QStringLiteral("ddate")));
    EXPECT_EQ(view->written[0][date].toString(), QStringLiteral("2026-12-01"));
}

TEST_P(ListWindowTest, column_settings_that_the_view_cannot_serve_are_reported_and_the_list_goes_on)
{
    vouchers(3);
    auto list = open();
    ASSERT_TRUE(list);
    QList<ListColumn> columns = list->page().columns;
    columns[0].sum = true; // ccode: text
    columns << ListColumn{QStringLiteral("no_such_column"), QStringLiteral("无"), true, 0, 80, false};
    columns[1].shown = false;
    view->columnAnswer = columns;
    list->ButtonClick(QStringLiteral("Column"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("no_such_column")));
    EXPECT_TRUE(messages.shown[1].text.contains(
        QStringLiteral("不能选择非数值型项目作为合计列，请到栏目设置中重新设置列属性。")));
    EXPECT_EQ(list->page().totalRows, 3) << "the list still shows its rows";
    EXPECT_FALSE(list->page().rows.fields.contains(columns[1].field));
    // Kept for this user only.
    EXPECT_EQ(db.count(QStringLiteral("ListFormat"), QStringLiteral("cUserId = 'tester'")), columns.size());
}

TEST_P(ListWindowTest, without_template_permission_the_print_template_combo_stays_empty)
{
    vouchers(1);
    auto list = open();
    ASSERT_TRUE(list);
    EXPECT_FALSE(view->templates.isEmpty()) << "the tester may use every template";
    auto li = loginUser(db, QStringLiteral("li"), QStringLiteral("李娜"), false);
    ASSERT_TRUE(li);
    db.exec(QStringLiteral("INSERT INTO ua_right (cuser_id, cauth_id) VALUES ('li', 'SA03250201')"));
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Template, true));
    auto second = open(li);
    ASSERT_TRUE(second);
    EXPECT_TRUE(view->templates.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Db, ListWindowTest, ORVANE_BOTH_BACKENDS);

} // namespace
