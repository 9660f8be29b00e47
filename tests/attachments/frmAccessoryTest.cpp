#include "AccessoryTestFixture.h"

#include <QScopeGuard>

using AccessoryAnnexes = AccessoryTest;

namespace {

const QString Title = QStringLiteral("系统提示");

} // namespace

TEST_P(AccessoryAnnexes, opens_with_the_stored_files_and_only_open_enabled)
{
    ORVANE_REQUIRE(db);
    storedAnnex(QStringLiteral("图纸.dwg"), 1536);
    storedAnnex(QStringLiteral("报价.xlsx"), 500);
    storedAnnex(QStringLiteral("别人的.txt"), 10, 99);
    auto window = open(sFileType::Aannex);

    EXPECT_EQ(view->caption, QStringLiteral("查看附件"));
    EXPECT_EQ(view->buttons,
              (QStringList{"AnnexOpenFile=打开", "AnnexUp=上传", "AnnexDownLoad=下载", "Delete=删除", "Exit=退出"}));
    EXPECT_FALSE(view->picturePane);
    ASSERT_EQ(view->stored.Rows(), 3);
    EXPECT_EQ(view->stored.TextMatrix(1, 1), QStringLiteral("图纸.dwg"));
    EXPECT_EQ(view->stored.TextMatrix(1, 2), QStringLiteral("1.50 KB"));
    EXPECT_EQ(view->stored.TextMatrix(1, 3), QStringLiteral("DWG"));
    EXPECT_EQ(view->waiting.Rows(), 1);
    EXPECT_TRUE(view->enabled("AnnexOpenFile"));
    EXPECT_FALSE(view->enabled("AnnexUp") || view->enabled("AnnexDownLoad") || view->enabled("Delete"));
    EXPECT_TRUE(view->enabled("Exit"));
    EXPECT_EQ(view->labels, (QStringList{"文件名：", "大  小：", "类  型："}));

    // A stored row chosen: its labels, download and delete.
    window->ServerGridClick(2);
    EXPECT_EQ(view->labels, (QStringList{"文件名： 报价.xlsx", "大  小： 500.00 BYTE", "类  型： XLSX 文件"}));
    EXPECT_TRUE(view->enabled("AnnexDownLoad") && view->enabled("Delete"));
    EXPECT_FALSE(view->enabled("AnnexUp"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(AccessoryAnnexes, uploads_the_waiting_files_only_after_ok)
{
    ORVANE_REQUIRE(db);
    auto window = open(sFileType::Aannex);
    view->opens = {localFile(QStringLiteral("a.pdf"), 2000, 1), localFile(QStringLiteral("b.step"), 3000, 2)};
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    EXPECT_EQ(view->openFilters, (QStringList{"所有文件|*.*", "所有文件|*.*"}));
    ASSERT_EQ(view->waiting.Rows(), 3);
    EXPECT_EQ(view->waiting.TextMatrix(2, 0), QStringLiteral("2"));
    EXPECT_EQ(view->waiting.TextMatrix(2, 4), dir.filePath(QStringLiteral("b.step")));
    EXPECT_TRUE(view->enabled("AnnexUp"));

    messages.answers = {MessageService::AnswerCancel};
    window->CommandClick(QStringLiteral("AnnexUp"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("是否上传所有附件?     "));
    EXPECT_EQ(messages.shown[0].title, Title);
    EXPECT_EQ(messages.shown[0].buttons, MessageService::OkCancel);
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(view->waiting.Rows(), 3);

    window->CommandClick(QStringLiteral("AnnexUp"));
    EXPECT_EQ(stored(QStringLiteral("iAutoID = 42 AND fileType = 2")), 2);
    EXPECT_EQ(view->waiting.Rows(), 1);
    ASSERT_EQ(view->stored.Rows(), 3);
    EXPECT_EQ(view->stored.TextMatrix(2, 1), QStringLiteral("b.step"));
    EXPECT_EQ(view->status, QStringLiteral("已上传 2 个附件"));
    EXPECT_FALSE(view->enabled("AnnexUp") || view->enabled("AnnexDownLoad") || view->enabled("Delete"));
}

// A file that cannot be read stops the run: those before it are stored, it and those after it
// wait, and upload stays available for them.
TEST_P(AccessoryAnnexes, a_failed_upload_leaves_the_rest_waiting_with_upload_enabled)
{
    ORVANE_REQUIRE(db);
    auto window = open(sFileType::Aannex);
    const QString gone = localFile(QStringLiteral("gone.bin"), 10, 3);
    view->opens = {localFile(QStringLiteral("ok.bin"), 10, 4), gone, localFile(QStringLiteral("later.bin"), 10, 5)};
    for (int i = 0; i < 3; ++i)
        window->CommandClick(QStringLiteral("AnnexOpenFile"));
    QFile::remove(gone);
    window->CommandClick(QStringLiteral("AnnexUp"));
    EXPECT_EQ(stored(), 1);
    ASSERT_EQ(view->waiting.Rows(), 3);
    EXPECT_EQ(view->waiting.TextMatrix(1, 1), QStringLiteral("gone.bin"));
    EXPECT_TRUE(messages.texts().last().contains(QStringLiteral("gone.bin")));
    EXPECT_TRUE(view->enabled("AnnexUp"));
}

TEST_P(AccessoryAnnexes, needs_a_chosen_stored_row_to_download_or_delete)
{
    ORVANE_REQUIRE(db);
    storedAnnex(QStringLiteral("a.txt"), 5);
    auto window = open(sFileType::Aannex);
    // The buttons are off until a row is chosen; a row of the waiting grid is no stored row.
    window->ServerGridClick(1);
    view->opens = {localFile(QStringLiteral("w.txt"), 5)};
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    window->TempGridClick(1);
    view->bar.enabled[QStringLiteral("annexdownload")] = true;
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_EQ(messages.texts(), QStringList{"请在数据库原来有附件中选择需要下载的附件!"});
    EXPECT_TRUE(view->saveDialogs.isEmpty());

    // Delete on a waiting row removes it from the grid only.
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(view->waiting.Rows(), 1);
    EXPECT_EQ(stored(), 1);

    // With nothing chosen, delete names what is missing and deletes nothing.
    view->bar.enabled[QStringLiteral("delete")] = true;
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("请在数据库原来有附件中选择需要删除的附件!"));
    EXPECT_EQ(stored(), 1);
}

TEST_P(AccessoryAnnexes, deletes_by_the_stored_identifier_after_a_warning_that_defaults_to_cancel)
{
    ORVANE_REQUIRE(db);
    storedAnnex(QStringLiteral("one.txt"), 5);
    storedAnnex(QStringLiteral("two.txt"), 1536);
    auto window = open(sFileType::Aannex);
    const QString id = view->stored.TextMatrix(2, 0);
    window->ServerGridClick(2);

    messages.answers = {MessageService::AnswerCancel};
    window->CommandClick(QStringLiteral("Delete"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("是否删除选中的附件?\r\n\r\n   记录序号：  ") + id
                                          + QStringLiteral("\r\n   文  件  名：  two.txt\r\n   文件大小：  1.50 KB"
                                                           "\r\n   文件类型：  TXT  文件\t\t"));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageService::OkCancel);
    EXPECT_EQ(stored(), 2);

    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(stored(QStringLiteral("fAutoID = ") + id), 0);
    EXPECT_EQ(stored(), 1);
    ASSERT_EQ(view->stored.Rows(), 2);
    EXPECT_EQ(view->stored.TextMatrix(1, 1), QStringLiteral("one.txt"));
    EXPECT_FALSE(view->enabled("Delete"));
    EXPECT_EQ(view->labels, (QStringList{"文件名：", "大  小：", "类  型："}));
}

TEST_P(AccessoryAnnexes, downloads_to_a_new_path_and_refuses_an_existing_one)
{
    ORVANE_REQUIRE(db);
    const QString original = storedAnnex(QStringLiteral("零件.dat"), 4000);
    auto window = open(sFileType::Aannex);
    window->ServerGridClick(1);

    const QString existing = localFile(QStringLiteral("existing.dat"), 10, 9);
    const QByteArray before = sha256(existing);
    view->saves = {existing};
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_EQ(view->saveDialogs, QStringList{"DAT 文件|*.DAT|零件.dat|DAT"});
    EXPECT_EQ(messages.texts(), QStringList{"同名文件已经存在!请另选文件名!  "});
    EXPECT_EQ(sha256(existing), before);

    const QString target = dir.filePath(QStringLiteral("取回/零件.dat"));
    QDir().mkpath(QFileInfo(target).absolutePath());
    view->saves = {target};
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_EQ(sha256(target), sha256(original));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("附件保存成功：\r\n\r\n保存位置 [ ") + target + QStringLiteral(" ]"));

    // A cancelled dialog does nothing.
    messages.shown.clear();
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(AccessoryAnnexes, a_confirmed_voucher_can_only_be_looked_at_and_downloaded)
{
    ORVANE_REQUIRE(db);
    const QString original = storedAnnex(QStringLiteral("定稿.pdf"), 700, Confirmed);
    auto window = open(sFileType::Aannex, Confirmed);
    EXPECT_TRUE(window->isReadOnly());
    EXPECT_FALSE(view->enabled("AnnexOpenFile") || view->enabled("AnnexUp") || view->enabled("Delete"));
    window->ServerGridClick(1);
    EXPECT_TRUE(view->enabled("AnnexDownLoad"));
    EXPECT_FALSE(view->enabled("Delete"));

    // Pressing the disabled buttons anyway (a stale shortcut) changes nothing.
    window->CommandClick(QStringLiteral("Delete"));
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(view->openFilters.isEmpty());
    EXPECT_EQ(stored(), 1);

    const QString target = dir.filePath(QStringLiteral("copy.pdf"));
    view->saves = {target};
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_EQ(sha256(target), sha256(original));
}

// Every command that changes data checks the right first: one refusal, nothing opened, nothing
// stored, and the right is not entered.
TEST_P(AccessoryAnnexes, without_the_right_nothing_changes)
{
    ORVANE_REQUIRE(db);
    storedAnnex(QStringLiteral("keep.txt"), 5);
    auto window = open(sFileType::Aannex);
    login->holdsRight = false;
    view->opens = {localFile(QStringLiteral("new.txt"), 5)};
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    EXPECT_EQ(messages.texts(), QStringList{"您没有这个权限！"});
    EXPECT_TRUE(view->openFilters.isEmpty());
    EXPECT_FALSE(login->calls.contains(QStringLiteral("RequestTask(SA03250102,-1)")));

    window->ServerGridClick(1);
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(messages.texts().size(), 2);
    EXPECT_EQ(stored(), 1);

    // With the right, the task is entered and given back at once.
    login->holdsRight = true;
    login->calls.clear();
    messages.answers = {MessageService::AnswerCancel};
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_TRUE(login->calls.contains(QStringLiteral("RequestTask(SA03250102,-1)")));
    EXPECT_TRUE(login->calls.contains(QStringLiteral("RequestTask(SA03250102,0)")));
}

TEST_P(AccessoryAnnexes, exit_closes_and_show_modal_unloads)
{
    ORVANE_REQUIRE(db);
    WindowManager::setAccessoryFactory([this] { return std::make_shared<frmAccessory>(view); });
    const auto cleanUp = qScopeGuard([] { WindowManager::reset(); });
    auto window = WindowManager::newAccessory();
    window->ShowModal(sFileType::Aannex, Voucher, cnn, nullptr);
    EXPECT_EQ(view->modal, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(WindowManager::windows().isEmpty());
    EXPECT_EQ(view->accessory, nullptr);

    auto other = std::make_shared<frmAccessory>(view);
    const int closes = view->closes;
    other->CommandClick(QStringLiteral("Exit"));
    EXPECT_EQ(view->closes, closes + 1);
}

INSTANTIATE_TEST_SUITE_P(Db, AccessoryAnnexes, ORVANE_BOTH_BACKENDS);
