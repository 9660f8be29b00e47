#include "AccessoryTestFixture.h"

using AccessoryPicture = AccessoryTest;

TEST_P(AccessoryPicture, opens_uploads_shows_and_deletes_the_picture)
{
    ORVANE_REQUIRE(db);
    auto window = open(sFileType::Picture);
    EXPECT_EQ(view->caption, QStringLiteral("查看图片"));
    EXPECT_TRUE(view->picturePane);
    EXPECT_EQ(view->buttons.first(), QStringLiteral("PicOpenFile=打开"));
    EXPECT_TRUE(view->enabled("PicOpenFile"));
    EXPECT_FALSE(view->enabled("PicUp") || view->enabled("PicDownLoad") || view->enabled("Delete"));

    const QString picture = bitmap(QStringLiteral("样品.bmp"));
    view->opens = {picture};
    window->CommandClick(QStringLiteral("PicOpenFile"));
    EXPECT_EQ(view->openFilters.first(),
              QStringLiteral("JPEG图像 *.jpg ,GIF图像 *.gif ,BMP位图 *.bmp|*.jpg;*.bmp;*.gif;|JPEG图像 *.jpg|*.jpg;|"
                             "BMP位图  *.bmp|*.bmp;|GIF图像  *.gif|*.gif;"));
    EXPECT_EQ(view->image.inner.shown, [&] {
        QFile f(picture);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }());
    const qint64 bytes = QFileInfo(picture).size();
    EXPECT_EQ(view->labels, (QStringList{"文件名： 样品.bmp", QStringLiteral("大  小： %1.00 BYTE").arg(bytes),
                                         "类  型： BMP 文件"}));
    EXPECT_TRUE(view->enabled("PicUp"));
    EXPECT_FALSE(view->enabled("PicDownLoad") || view->enabled("Delete"));
    EXPECT_EQ(stored(), 0);

    window->CommandClick(QStringLiteral("PicUp"));
    EXPECT_EQ(messages.texts(), QStringList{"上传图片成功!"});
    EXPECT_EQ(messages.shown[0].icon, MessageService::Information);
    EXPECT_EQ(stored(QStringLiteral("iAutoID = 42 AND fileType = 1")), 1);
    EXPECT_FALSE(view->enabled("PicUp"));
    EXPECT_TRUE(view->enabled("PicDownLoad") && view->enabled("Delete"));

    // Opened again: the stored picture is shown ("Load").
    auto again = std::make_shared<FakeAccessoryView>();
    view = again;
    window = open(sFileType::Picture);
    EXPECT_EQ(again->image.inner.shown.size(), bytes);
    EXPECT_TRUE(again->enabled("PicOpenFile") && again->enabled("PicDownLoad") && again->enabled("Delete"));
    EXPECT_FALSE(again->enabled("PicUp"));

    // Download into the folder under a new name; the save dialog proposes the stored name.
    const QString target = dir.filePath(QStringLiteral("下载.bmp"));
    again->saves = {target};
    window->CommandClick(QStringLiteral("PicDownLoad"));
    EXPECT_EQ(again->saveDialogs, QStringList{"BMP 文件|*.BMP|样品.bmp|BMP"});
    EXPECT_EQ(sha256(target), sha256(picture));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("文件保存成功：\r\n\r\n保存位置 [ ") + target + QStringLiteral(" ]"));

    messages.answers = {MessageService::AnswerCancel};
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(messages.shown.last().text, QStringLiteral("是否删除在数据库中的图片?"));
    EXPECT_EQ(messages.shown.last().icon, MessageService::Exclamation);
    EXPECT_EQ(stored(), 1);
    EXPECT_EQ(again->image.inner.shown.size(), bytes);

    const int clears = again->clears;
    window->CommandClick(QStringLiteral("Delete"));
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(again->clears, clears + 1);
    EXPECT_EQ(again->labels, (QStringList{"文件名：", "大  小：", "类  型："}));
    EXPECT_TRUE(again->enabled("PicOpenFile"));
    EXPECT_FALSE(again->enabled("PicDownLoad") || again->enabled("Delete"));
}

// Something that is not a picture is refused before it could be stored, and the stored picture
// comes back.
TEST_P(AccessoryPicture, refuses_a_file_that_is_no_picture)
{
    ORVANE_REQUIRE(db);
    const QString picture = bitmap(QStringLiteral("stored.bmp"));
    QString msg;
    ASSERT_TRUE(store(fileType::Picture).SaveFile2Server(chosen(picture, fileType::Picture), msg));
    auto window = open(sFileType::Picture);
    view->opens = {localFile(QStringLiteral("notes.txt"), 20)};
    window->CommandClick(QStringLiteral("PicOpenFile"));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(view->image.inner.shown.size(), QFileInfo(picture).size());
    EXPECT_FALSE(view->enabled("PicUp"));
    EXPECT_EQ(view->labels.first(), QStringLiteral("文件名： stored.bmp"));
}

// The overwrite question of a second picture: Cancel keeps the first (and the window still
// reports the upload as done, as the store answers true).
TEST_P(AccessoryPicture, a_second_picture_asks_before_overwriting)
{
    ORVANE_REQUIRE(db);
    QString msg;
    ASSERT_TRUE(
        store(fileType::Picture).SaveFile2Server(chosen(bitmap(QStringLiteral("a.bmp")), fileType::Picture), msg));
    auto window = open(sFileType::Picture);
    view->opens = {bitmap(QStringLiteral("b.bmp"))};
    window->CommandClick(QStringLiteral("PicOpenFile"));
    messages.answers = {MessageService::AnswerCancel};
    window->CommandClick(QStringLiteral("PicUp"));
    EXPECT_EQ(messages.texts(), (QStringList{"    数据库中已经存在图片!是否覆盖?", "上传图片成功!"}));
    EXPECT_EQ(stored(QStringLiteral("fileNames = 'a.bmp'")), 1);
    window->CommandClick(QStringLiteral("PicOpenFile")); // the dialog script is empty: cancelled
    EXPECT_EQ(messages.texts().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Db, AccessoryPicture, ORVANE_BOTH_BACKENDS);
