#include "attachments/FileClass.h"
#include "host/MemoryDataGrid.h"
#include "platform/Recordset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString fileOfSize(const QTemporaryDir &dir, qint64 size)
{
    const QString path = dir.filePath(QStringLiteral("f%1.bin").arg(size));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_TRUE(f.resize(size));
    return path;
}

Recordset storedRow(const QString &name, const QVariant &kind)
{
    Recordset rs;
    rs.setFields({{"fAutoID", QMetaType::Int},
                  {"fileNames", QMetaType::QString},
                  {"fileType", QMetaType::Int},
                  {"fileSize", QMetaType::QString},
                  {"fileExtension", QMetaType::QString}});
    rs.appendRow({7, name, kind, QStringLiteral("1.50 KB"), QStringLiteral("BMP")});
    return rs;
}

} // namespace

// The KB branch needs more than one KB, so exactly 1024 bytes stays in bytes and exactly one MB
// in KB; an off-by-one in the comparison shows here.
TEST(FileClassSizeText, uses_the_unit_only_above_one_of_it)
{
    QTemporaryDir dir;
    const struct
    {
        qint64 bytes;
        const char *text;
    } cases[] = {{0, "0.00 BYTE"},  {500, "500.00 BYTE"},        {1024, "1024.00 BYTE"},          {1025, "1.00 KB"},
                 {1536, "1.50 KB"}, {1024 * 1024, "1024.00 KB"}, {1024 * 1024 * 5 / 2, "2.50 MB"}};
    for (const auto &c : cases)
        EXPECT_EQ(FileClass::DecFileSize(fileOfSize(dir, c.bytes)), QString::fromUtf8(c.text)) << c.bytes;
    EXPECT_EQ(FileClass::DecFileSize(dir.filePath("missing")), QStringLiteral("0.00 BYTE"));
}

TEST(FileClassExtension, is_the_upper_case_text_after_the_last_delimiter)
{
    EXPECT_EQ(FileClass::DecFileExtension(QStringLiteral("photo.final.jpg")), QStringLiteral("JPG"));
    EXPECT_EQ(FileClass::DecFileExtension(QStringLiteral("README")), QStringLiteral("README"));
    EXPECT_EQ(FileClass::DecFileExtension(QStringLiteral("说明.txt")), QStringLiteral("TXT"));
    EXPECT_EQ(FileClass::DecFileExtension(QStringLiteral("trailing.")), QString());
}

TEST(FileClassInit, every_initialiser_starts_from_the_reset_values)
{
    QTemporaryDir dir;
    FileClass f;
    EXPECT_EQ(f.GetFileType(), -1);
    f.InitOpenFileParameters(12, fileType::Picture, {fileOfSize(dir, 1536), QStringLiteral("样品 图.final.jpg")});
    EXPECT_EQ(f.GetIAutoID(), 12);
    EXPECT_EQ(f.GetFileType(), 1);
    EXPECT_EQ(f.GetFileSize(), QStringLiteral("1.50 KB"));
    EXPECT_EQ(f.GetFileExtension(), QStringLiteral("JPG"));
    EXPECT_EQ(f.GetFileSavePath(), f.GetFilePath());

    // A stored row without a kind: the previous kind and voucher must not survive.
    f.InitDownLoadFileParameters(storedRow(QStringLiteral("a.bmp"), QVariant()), dir.path(), 0);
    EXPECT_EQ(f.GetFileType(), 0);
    EXPECT_EQ(f.GetIAutoID(), 0);
    EXPECT_TRUE(f.GetFilePath().isEmpty());
    EXPECT_EQ(f.GetFileSize(), QStringLiteral("1.50 KB")); // stored text, not measured

    MemoryDataGrid grid(QStringLiteral("TempGrid"), {"序号", "文件名", "大小", "类型", "文件路径"});
    grid.setRows(2);
    grid.setTextMatrix(1, 1, QStringLiteral("README"));
    grid.setTextMatrix(1, 4, fileOfSize(dir, 500));
    f.InitSaveFileParameters4Annex(3, fileType::annex, grid, 1);
    EXPECT_EQ(f.GetFileType(), 2);
    EXPECT_EQ(f.GetFileExtension(), QStringLiteral("README"));
    EXPECT_EQ(f.GetFileSize(), QStringLiteral("500.00 BYTE"));
    EXPECT_TRUE(f.GetFileSavePath().endsWith(QStringLiteral("f500.bin")));
}

TEST(FileClassInit, a_download_goes_into_the_working_folder_or_to_the_chosen_path)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("cache/orvane/TempPic"));
    FileClass f;
    f.InitDownLoadFileParameters(storedRow(QStringLiteral("a.bmp"), 1), folder, 0);
    EXPECT_EQ(f.GetFileSavePath(), folder + QStringLiteral("/a.bmp"));
    EXPECT_TRUE(QDir(folder).exists());

    f.InitDownLoadFileParameters(storedRow(QStringLiteral("a.bmp"), 1), dir.filePath(QStringLiteral("chosen.bmp")), 1);
    EXPECT_EQ(f.GetFileSavePath(), dir.filePath(QStringLiteral("chosen.bmp")));
}

TEST(FileClassCreateDir, creates_a_long_missing_folder_and_accepts_it_again)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a rather long/nested 文件夹/TempPic"));
    EXPECT_EQ(FileClass::CreateDir(path), path);
    EXPECT_TRUE(QDir(path).exists());
    EXPECT_EQ(FileClass::CreateDir(path), path);
    // A short folder is a folder too, not a file name in its parent.
    const QString cwd = QDir::currentPath();
    EXPECT_EQ(FileClass::CreateDir(dir.filePath(QStringLiteral("x"))), dir.filePath(QStringLiteral("x")));
    EXPECT_EQ(QDir::currentPath(), cwd);
}

// Names come from other clients' rows and from grids; none may carry a folder out of the target.
TEST(FileClassNames, keep_only_the_last_part_of_a_name)
{
    const struct
    {
        const char *given;
        const char *kept;
    } cases[] = {{"../../etc/passwd", "passwd"},
                 {"..\\..\\boot.ini", "boot.ini"},
                 {"..", "附件"},
                 {".", "附件"},
                 {"folder/", "附件"},
                 {"  ", "附件"},
                 {"a\nb\tc.txt", "abc.txt"},
                 {"报价 单 'v2' \"终\".xlsx", "报价 单 'v2' \"终\".xlsx"},
                 {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(FileClass::safeFileName(QString::fromUtf8(c.given)), QString::fromUtf8(c.kept)) << c.given;
}
