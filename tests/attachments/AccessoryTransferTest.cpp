#include "AccessoryTestFixture.h"

// Files from the threshold on move on a worker thread with its own connection while the window
// waits; a cancel leaves nothing stored and nothing written.
using AccessoryTransfers = AccessoryTest;

TEST_P(AccessoryTransfers, large_files_move_on_a_worker_and_arrive_whole)
{
    ORVANE_REQUIRE(db);
    auto window = open(sFileType::Aannex);
    window->transfers().setThreshold(64 * 1024);
    const QString small = localFile(QStringLiteral("small.bin"), 1000, 1);
    const QString large = localFile(QStringLiteral("large.bin"), 3 * 1024 * 1024 + 5, 2);
    view->opens = {small, large};
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    window->CommandClick(QStringLiteral("AnnexUp"));
    EXPECT_EQ(view->waits, QStringList{"正在上传 large.bin（3.00 MB）…"});
    ASSERT_EQ(stored(), 2);
    ASSERT_EQ(view->stored.Rows(), 3);

    window->ServerGridClick(2);
    const QString target = dir.filePath(QStringLiteral("back.bin"));
    view->saves = {target};
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_EQ(view->waits.size(), 2);
    EXPECT_EQ(sha256(target), sha256(large));
    EXPECT_FALSE(cnn->inTransaction());
}

TEST_P(AccessoryTransfers, a_cancelled_upload_stores_nothing_and_keeps_the_file_waiting)
{
    ORVANE_REQUIRE(db);
    auto window = open(sFileType::Aannex);
    window->transfers().setThreshold(1);
    view->opens = {localFile(QStringLiteral("large.bin"), 2 * 1024 * 1024, 3)};
    window->CommandClick(QStringLiteral("AnnexOpenFile"));
    view->cancelTransfers = true;
    window->CommandClick(QStringLiteral("AnnexUp"));
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(messages.texts().last(), DataStreamClass::uploadCancelled());
    EXPECT_EQ(view->waiting.Rows(), 2);
    EXPECT_TRUE(view->enabled("AnnexUp"));
}

TEST_P(AccessoryTransfers, a_cancelled_download_leaves_no_file)
{
    ORVANE_REQUIRE(db);
    storedAnnex(QStringLiteral("large.bin"), 3 * 1024 * 1024);
    auto window = open(sFileType::Aannex);
    window->transfers().setThreshold(1);
    window->ServerGridClick(1);
    const QString target = dir.filePath(QStringLiteral("half.bin"));
    view->saves = {target};
    view->cancelTransfers = true;
    window->CommandClick(QStringLiteral("AnnexDownLoad"));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(messages.texts().last(), DataStreamClass::downloadCancelled());
    EXPECT_EQ(messages.texts().filter(QStringLiteral("附件保存成功")).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, AccessoryTransfers, ORVANE_BOTH_BACKENDS);
