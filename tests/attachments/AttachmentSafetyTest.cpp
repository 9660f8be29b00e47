#include "AttachmentFixture.h"

#include <QDir>
#include <QDirIterator>

using AttachmentSafety = AttachmentTest;

TEST_P(AttachmentSafety, a_file_over_the_size_limit_is_refused_and_nothing_changes)
{
    ORVANE_REQUIRE(db);
    DataStreamClass pictures = store(fileType::Picture);
    pictures.setMaxFileSize(2048);
    QString msg;
    ASSERT_TRUE(pictures.SaveFile2Server(chosen(localFile("old.bmp", 2048), fileType::Picture), msg));

    // Refused before the overwrite question: the stored picture stays and nobody is asked.
    EXPECT_FALSE(pictures.SaveFile2Server(chosen(localFile("new.bmp", 2049), fileType::Picture), msg));
    EXPECT_EQ(msg, QStringLiteral("上传文件出错：\r\n\r\n  文件 [ new.bmp ] 的大小为 2.00 KB，超过了允许上传的最大值 "
                                  "2.00 KB，不能上传!"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(stored("fileNames = 'old.bmp'"), 1);

    DataStreamClass annexes = store(fileType::annex);
    EXPECT_EQ(annexes.maxFileSize(), DataStreamClass::DefaultMaxFileSize);
    annexes.setMaxFileSize(10);
    MemoryDataGrid waiting = tempGrid();
    MemoryDataGrid server = serverGrid();
    annexes.AddAnnex2TempGrid(waiting, chosen(localFile("ok.txt", 10), fileType::annex));
    annexes.AddAnnex2TempGrid(waiting, chosen(localFile("big.txt", 11), fileType::annex));
    EXPECT_FALSE(annexes.SaveAnnex2Server4TempGrid(waiting, server, msg));
    EXPECT_TRUE(msg.contains(QStringLiteral("[ big.txt ]")));
    EXPECT_EQ(stored("fileType = 2"), 1);
    EXPECT_EQ(waiting.Rows(), 2);
}

// Rows written by other clients may carry any name. Downloads into the working folder stay in it.
TEST_P(AttachmentSafety, stored_names_cannot_lead_a_download_out_of_the_working_folder)
{
    ORVANE_REQUIRE(db);
    const QStringList hostile{QStringLiteral("../../escaped.txt"), QStringLiteral("..\\escaped2.txt"),
                              QStringLiteral(".."), QStringLiteral("/tmp/abs.txt"),
                              QStringLiteral("名 字 'a' \"b\".txt")};
    for (const QString &name : hostile)
        db.exec("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, fileSize, fileExtension, fileStream) "
                "VALUES (?, ?, 2, '1.00 BYTE', 'TXT', ?)",
                {Voucher, name, QByteArray("x")});
    DataStreamClass annexes = store(fileType::annex);
    MemoryDataGrid grid = serverGrid();
    annexes.LoadServerAnnex(grid);
    ASSERT_EQ(grid.Rows(), hostile.size() + 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), hostile[0]); // listed as stored

    const QString folder = dir.filePath(QStringLiteral("deep/er/work"));
    QStringList written;
    for (int row = 1; row < grid.Rows(); ++row) {
        auto file = annexes.GetServerData(folder, 0, row, &grid);
        ASSERT_TRUE(file);
        written << QFileInfo(file->GetFileSavePath()).fileName();
        EXPECT_EQ(QFileInfo(file->GetFileSavePath()).absolutePath(), QFileInfo(folder).absoluteFilePath());
    }
    EXPECT_EQ(written, (QStringList{"escaped.txt", "escaped2.txt", "附件", "abs.txt", "名 字 'a' \"b\".txt"}));
    QStringList everything;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        everything << QDir(dir.path()).relativeFilePath(it.next());
    everything.sort();
    EXPECT_EQ(everything, (QStringList{"deep/er/work/abs.txt", "deep/er/work/escaped.txt", "deep/er/work/escaped2.txt",
                                       "deep/er/work/名 字 'a' \"b\".txt", "deep/er/work/附件"}));
}

// An annex download never overwrites a file that is already there; a picture's target is replaced.
TEST_P(AttachmentSafety, an_existing_download_target_is_kept_except_a_pictures)
{
    ORVANE_REQUIRE(db);
    QString msg;
    DataStreamClass annexes = store(fileType::annex);
    ASSERT_TRUE(annexes.SaveFile2Server(chosen(localFile("a.txt", 100, 1), fileType::annex), msg));
    MemoryDataGrid grid = serverGrid();
    annexes.LoadServerAnnex(grid);
    const QString target = localFile("target.txt", 5, 2);
    const QByteArray before = sha256(target);
    EXPECT_TRUE(annexes.GetServerData(target, 1, 1, &grid));
    EXPECT_EQ(sha256(target), before);

    DataStreamClass pictures = store(fileType::Picture);
    ASSERT_TRUE(pictures.SaveFile2Server(chosen(localFile("p.bmp", 100, 3), fileType::Picture), msg));
    pictures.DownLoad(target);
    EXPECT_EQ(sha256(target), sha256(dir.filePath("p.bmp")));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("文件保存成功：\r\n\r\n保存位置 [ ") + target + QStringLiteral(" ]"));
}

TEST_P(AttachmentSafety, a_closed_connection_is_reported_and_changes_nothing)
{
    ORVANE_REQUIRE(db);
    DataStreamClass annexes = store(fileType::annex);
    EXPECT_EQ(annexes.GetConnection(), cnn);
    const FileClass f = chosen(localFile("a.txt", 5), fileType::annex);
    cnn->Close();
    EXPECT_EQ(annexes.GetConnection(), nullptr);

    QString msg;
    EXPECT_FALSE(annexes.SaveFile2Server(f, msg));
    MemoryDataGrid grid = serverGrid();
    grid.setRows(2);
    grid.setTextMatrix(1, 0, QStringLiteral("1"));
    EXPECT_FALSE(annexes.GetServerData(dir.filePath("x"), 1, 1, &grid));
    EXPECT_EQ(
        messages.texts(),
        (QStringList{QStringLiteral("上传文件出错：\r\n\r\n  数据库连接 con_IsOpen 对象为空或者连接没有打开!"),
                     QStringLiteral("    下载文件出错：\r\n\r\n  数据库连接 con_IsOpen 对象为空或者连接没有打开!")}));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("系统提示"));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Information);
    EXPECT_EQ(annexes.GetMaxID(), -1);
    EXPECT_FALSE(annexes.DeleteFile(1));
    EXPECT_FALSE(QFile::exists(dir.filePath("x")));
    EXPECT_EQ(stored(), 0);

    DataStreamClass never;
    EXPECT_FALSE(never.SaveFile2Server(f, msg));
    EXPECT_EQ(never.GetConnection(), nullptr);
}

TEST_P(AttachmentSafety, a_file_without_a_path_or_name_is_not_uploaded)
{
    ORVANE_REQUIRE(db);
    DataStreamClass annexes = store(fileType::annex);
    EXPECT_EQ(annexes.GetSaveFileStream(QString()), nullptr);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("上传文件的路径不能为空！")});

    QString msg;
    EXPECT_FALSE(annexes.SaveFile2Server(FileClass(), msg)); // no name: no message
    EXPECT_EQ(messages.shown.size(), 1);
    FileClass noPath;
    noPath.InitOpenFileParameters(Voucher, fileType::annex, {QString(), QStringLiteral("a.txt")});
    EXPECT_FALSE(annexes.SaveFile2Server(noPath, msg));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("上传文件的路径不能为空！"));
    EXPECT_FALSE(annexes.SaveFile2Server(chosen(dir.path(), fileType::annex), msg));
    EXPECT_EQ(stored(), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, AttachmentSafety, ORVANE_BOTH_BACKENDS);
