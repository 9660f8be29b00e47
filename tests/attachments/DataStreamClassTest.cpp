#include "AttachmentFixture.h"

#include <QDir>

using AttachmentStore = AttachmentTest;

// Upload through the store, list, download into a chosen path: the same bytes come back, and the
// row carries the descriptor's texts.
TEST_P(AttachmentStore, round_trips_annexes_byte_for_byte)
{
    ORVANE_REQUIRE(db);
    DataStreamClass annexes = store(fileType::annex);
    const qint64 sizes[] = {0, 1, 1024 * 1024};
    for (qint64 size : sizes) {
        const QString path = localFile(QStringLiteral("报价 单 'v%1'.dat").arg(size), size, quint32(size));
        QString msg;
        ASSERT_TRUE(annexes.SaveFile2Server(chosen(path, fileType::annex), msg)) << msg.toStdString();
    }
    MemoryDataGrid grid = serverGrid();
    annexes.LoadServerAnnex(grid);
    ASSERT_EQ(grid.Rows(), 4);
    for (int row = 1; row <= 3; ++row) {
        const qint64 size = sizes[row - 1];
        EXPECT_EQ(grid.TextMatrix(row, 1), QStringLiteral("报价 单 'v%1'.dat").arg(size));
        EXPECT_EQ(grid.TextMatrix(row, 2), FileClass::DecFileSize(dir.filePath(grid.TextMatrix(row, 1))));
        EXPECT_EQ(grid.TextMatrix(row, 3), QStringLiteral("DAT"));
        const QString target = dir.filePath(QStringLiteral("下载 %1.dat").arg(row));
        messages.shown.clear();
        annexes.DownLoad(target, row, &grid);
        EXPECT_EQ(sha256(target), sha256(dir.filePath(grid.TextMatrix(row, 1)))) << size;
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("附件保存成功：\r\n\r\n保存位置 [ ") + target + QStringLiteral(" ]")});
    }
}

TEST_P(AttachmentStore, round_trips_a_50_mb_file)
{
    ORVANE_REQUIRE(db);
    DataStreamClass annexes = store(fileType::annex);
    const QString path = localFile(QStringLiteral("big.bin"), 50 * 1024 * 1024, 7);
    QString msg;
    ASSERT_TRUE(annexes.SaveFile2Server(chosen(path, fileType::annex), msg)) << msg.toStdString();
    MemoryDataGrid grid = serverGrid();
    annexes.LoadServerAnnex(grid);
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("50.00 MB"));
    const QString target = dir.filePath(QStringLiteral("back.bin"));
    annexes.DownLoad(target, 1, &grid);
    EXPECT_EQ(sha256(target), sha256(path));
}

TEST_P(AttachmentStore, a_second_picture_asks_and_cancel_keeps_the_first)
{
    ORVANE_REQUIRE(db);
    DataStreamClass pictures = store(fileType::Picture);
    const QString first = localFile(QStringLiteral("first.bmp"), 300, 1);
    const QString second = localFile(QStringLiteral("second.jpg"), 400, 2);
    QString msg;
    ASSERT_TRUE(pictures.SaveFile2Server(chosen(first, fileType::Picture), msg));
    EXPECT_TRUE(messages.shown.isEmpty());

    messages.answers = {MessageService::AnswerCancel};
    EXPECT_TRUE(pictures.SaveFile2Server(chosen(second, fileType::Picture), msg));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("    数据库中已经存在图片!是否覆盖?"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("系统提示"));
    EXPECT_EQ(messages.shown[0].buttons, MessageService::OkCancel);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(stored("fileNames = 'first.bmp' AND fileExtension = 'BMP'"), 1);

    messages.answers = {MessageService::AnswerOk};
    EXPECT_TRUE(pictures.SaveFile2Server(chosen(second, fileType::Picture), msg));
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(stored("fileNames = 'second.jpg' AND fileExtension = 'JPG' AND fileSize = '400.00 BYTE'"), 1);

    // The picture control gets the new bytes; the working file is gone afterwards.
    FakePicture picture;
    auto shown = pictures.LoadServerPic(picture);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->GetFileName(), QStringLiteral("second.jpg"));
    EXPECT_EQ(QCryptographicHash::hash(picture.shown, QCryptographicHash::Sha256), sha256(second));
    EXPECT_FALSE(QFile::exists(shown->GetFileSavePath()));
    EXPECT_TRUE(QDir(DataStreamClass::workingFolder()).isEmpty());
}

// The second of three waiting files is removed from disk before the upload: the run stops there.
TEST_P(AttachmentStore, a_failing_waiting_file_stops_the_upload_and_stays_waiting_with_those_after_it)
{
    ORVANE_REQUIRE(db);
    // Another voucher's file first, so row identifiers and grid row numbers differ.
    DataStreamClass other = store(fileType::annex, 7);
    QString msg;
    ASSERT_TRUE(other.SaveFile2Server(chosen(localFile("other.txt", 3), fileType::annex, 7), msg));

    DataStreamClass annexes = store(fileType::annex);
    MemoryDataGrid waiting = tempGrid();
    MemoryDataGrid server = serverGrid();
    for (const char *name : {"one.txt", "two.txt", "three.txt"}) {
        FileClass f = chosen(localFile(name, 10), fileType::annex);
        annexes.AddAnnex2TempGrid(waiting, f);
    }
    ASSERT_EQ(waiting.Rows(), 4);
    EXPECT_EQ(waiting.TextMatrix(3, 0), QStringLiteral("3"));
    EXPECT_EQ(waiting.TextMatrix(2, 4), dir.filePath("two.txt"));
    QFile::remove(dir.filePath("two.txt"));

    EXPECT_FALSE(annexes.SaveAnnex2Server4TempGrid(waiting, server, msg));
    EXPECT_TRUE(msg.contains(dir.filePath("two.txt"))) << msg.toStdString();
    EXPECT_EQ(stored(QStringLiteral("iAutoID = %1").arg(Voucher)), 1);
    ASSERT_EQ(waiting.Rows(), 3);
    EXPECT_EQ(waiting.TextMatrix(1, 1), QStringLiteral("two.txt"));
    EXPECT_EQ(waiting.TextMatrix(2, 1), QStringLiteral("three.txt"));
    ASSERT_EQ(server.Rows(), 2);
    EXPECT_EQ(server.TextMatrix(1, 1), QStringLiteral("one.txt"));
    auto id = cnn->Scalar("SELECT fAutoID FROM OR_VN_fileTable WHERE fileNames = 'one.txt'");
    ASSERT_TRUE(id);
    EXPECT_EQ(server.TextMatrix(1, 0), id->toString());

    // Put back, the rest goes up.
    localFile("two.txt", 10);
    EXPECT_TRUE(annexes.SaveAnnex2Server4TempGrid(waiting, server, msg));
    EXPECT_EQ(waiting.Rows(), 1);
    EXPECT_EQ(server.Rows(), 4);
    EXPECT_EQ(stored(QStringLiteral("iAutoID = %1").arg(Voucher)), 3);
}

TEST_P(AttachmentStore, deleting_an_annex_uses_the_identifier_in_the_grid)
{
    ORVANE_REQUIRE(db);
    QString msg;
    DataStreamClass other = store(fileType::annex, 7);
    ASSERT_TRUE(other.SaveFile2Server(chosen(localFile("other.txt", 3), fileType::annex, 7), msg));
    ASSERT_TRUE(other.SaveFile2Server(chosen(localFile("other2.txt", 3), fileType::annex, 7), msg));
    DataStreamClass annexes = store(fileType::annex);
    for (const char *name : {"a.txt", "b.txt"})
        ASSERT_TRUE(annexes.SaveFile2Server(chosen(localFile(name, 5), fileType::annex), msg));
    MemoryDataGrid grid = serverGrid();
    annexes.LoadServerAnnex(grid);
    ASSERT_EQ(grid.Rows(), 3);

    // Row 2's number is 2, which names another voucher's file; its identifier is what goes.
    EXPECT_FALSE(annexes.DeleteFile(2));
    EXPECT_EQ(stored(), 4);
    EXPECT_TRUE(annexes.DeleteFile(grid.TextMatrix(2, 0).toInt()));
    EXPECT_EQ(stored("fileNames = 'b.txt'"), 0);
    EXPECT_EQ(stored(), 3);
    EXPECT_FALSE(annexes.DeleteFile(grid.TextMatrix(2, 0).toInt()));
}

TEST_P(AttachmentStore, deleting_the_picture_leaves_the_annexes)
{
    ORVANE_REQUIRE(db);
    QString msg;
    ASSERT_TRUE(store(fileType::annex).SaveFile2Server(chosen(localFile("a.txt", 5), fileType::annex), msg));
    DataStreamClass pictures = store(fileType::Picture);
    EXPECT_FALSE(pictures.DeleteFile());
    ASSERT_TRUE(pictures.SaveFile2Server(chosen(localFile("p.bmp", 5), fileType::Picture), msg));
    EXPECT_TRUE(pictures.DeleteFile());
    EXPECT_EQ(stored("fileType = 1"), 0);
    EXPECT_EQ(stored("fileType = 2"), 1);
    FakePicture picture;
    EXPECT_FALSE(pictures.LoadServerPic(picture));
    EXPECT_EQ(picture.loads, 0);
}

TEST_P(AttachmentStore, the_highest_identifier_is_at_least_one)
{
    ORVANE_REQUIRE(db);
    DataStreamClass annexes = store(fileType::annex);
    EXPECT_EQ(annexes.GetMaxID(), 1);
    QString msg;
    ASSERT_TRUE(annexes.SaveFile2Server(chosen(localFile("a.txt", 5), fileType::annex), msg));
    ASSERT_TRUE(annexes.SaveFile2Server(chosen(localFile("b.txt", 5), fileType::annex), msg));
    auto max = cnn->Scalar("SELECT MAX(fAutoID) FROM OR_VN_fileTable");
    ASSERT_TRUE(max);
    EXPECT_EQ(annexes.GetMaxID(), max->toInt());
}

INSTANTIATE_TEST_SUITE_P(Db, AttachmentStore, ORVANE_BOTH_BACKENDS);
