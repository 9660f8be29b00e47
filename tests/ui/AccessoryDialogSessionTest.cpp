// The attachment window as a user meets it, on each backend: real file dialogs (Qt's own, so a
// timer can fill them in), real message boxes answered with the keyboard or a click, the picture
// scaled into its pane, and the card opening the window modally over itself.
#include "ModalScript.h"
#include "QtCardFixture.h"

#include "attachments/frmAccessory.h"
#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "ui/AccessoryDialog.h"
#include "ui/AttachmentGrid.h"
#include "ui/QtMessageService.h"
#include "ui/SampleCardWindow.h"
#include "ui/ScaledPicture.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Chooses `path` in a file dialog.
ModalScript::Step choose(const QString &path)
{
    return [path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog) << modal->metaObject()->className();
        // The dialog reads its folder in the background and selects the proposed file once it
        // has; type the choice until it holds, as a user would after seeing the list.
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        auto *list = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
        ASSERT_TRUE(edit && list);
        for (int i = 0; i < 100; ++i) {
            list->clearSelection();
            edit->setText(path);
            QTest::qWait(10);
            if (dialog->selectedFiles() == QStringList{path})
                break;
        }
        ASSERT_EQ(dialog->selectedFiles(), QStringList{path});
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

// Reads a message box into `text`, then answers it with Enter (its default button) or a click
// on `button`.
ModalScript::Step box(QString *text, QMessageBox::StandardButton button = QMessageBox::NoButton)
{
    return [text, button](QWidget *modal) {
        auto *message = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(message) << modal->metaObject()->className();
        *text = message->text();
        if (button == QMessageBox::NoButton)
            QTest::keyClick(message, Qt::Key_Return);
        else
            message->button(button)->click();
    };
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class AccessorySession : public QtCardTest
{
protected:
    void SetUp() override
    {
        QtCardTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        AccessoryDialog::setUseQtFileDialogs(true);
        MessageService::install(&boxes);
        modPublic::setCardLogin(login);
        cnn = std::make_shared<Connection>();
        ASSERT_TRUE(cnn->Open(db.connectionString()));
        DataStreamClass::setWorkingFolder(dir.filePath(QStringLiteral("TempPic")));
    }
    void TearDown() override
    {
        window.reset();
        logic.reset();
        DataStreamClass::setWorkingFolder(QString());
        MessageService::install(&messages);
        QtCardTest::TearDown();
    }

    // The window for voucher 1, shown (not modal, so that the script's windows are the only modal
    // ones).
    void openWindow(sFileType kind)
    {
        logic.reset();
        window = std::shared_ptr<AccessoryDialog>(new AccessoryDialog, [](AccessoryDialog *d) { delete d; });
        logic = std::make_shared<frmAccessory>(window);
        logic->Load(kind, 1, cnn);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void trigger(const char *key) { window->command(QString::fromLatin1(key))->trigger(); }
    bool enabled(const char *key) { return window->command(QString::fromLatin1(key))->isEnabled(); }
    QString file(const QString &name, int size, char fill)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, fill));
        return path;
    }

    QtMessageService boxes;
    QTemporaryDir dir;
    std::shared_ptr<Connection> cnn;
    std::shared_ptr<AccessoryDialog> window;
    std::shared_ptr<frmAccessory> logic;
};

TEST_P(AccessorySession, a_picture_is_chosen_scaled_into_its_pane_and_uploaded)
{
    openWindow(sFileType::Picture);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("查看图片"));
    EXPECT_TRUE(window->placeholder()->isVisible());
    EXPECT_EQ(window->placeholder()->text(), QStringLiteral("暂无图片"));

    const QString picture = dir.filePath(QStringLiteral("样品照片.jpg"));
    QImage wide(1600, 800, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    ASSERT_TRUE(wide.save(picture, "JPG"));
    ModalScript script;
    script.then(choose(picture));
    trigger("PicOpenFile");
    ASSERT_TRUE(script.done());
    ScaledPicture *image = window->pictureWidget();
    EXPECT_TRUE(image->isVisible());
    EXPECT_FALSE(window->placeholder()->isVisible());
    // Fitted into the pane with its 2:1 shape kept, and fitted again when the window grows.
    const QRect before = image->pictureRect();
    EXPECT_TRUE(image->rect().contains(before));
    EXPECT_NEAR(double(before.width()) / before.height(), 2.0, 0.02);
    window->resize(window->width() + 300, window->height() + 200);
    QTest::qWait(50);
    const QRect after = image->pictureRect();
    EXPECT_GT(after.width(), before.width());
    EXPECT_NEAR(double(after.width()) / after.height(), 2.0, 0.02);
    EXPECT_TRUE(enabled("PicUp"));

    QString said;
    script.then(box(&said));
    trigger("PicUp");
    EXPECT_EQ(said, QStringLiteral("上传图片成功!"));
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable"), QStringLiteral("iAutoID = 1 AND fileType = 1")), 1);
    EXPECT_TRUE(enabled("PicDownLoad") && enabled("Delete"));
    EXPECT_FALSE(enabled("PicUp"));
}

TEST_P(AccessorySession, files_are_uploaded_downloaded_refused_and_deleted)
{
    openWindow(sFileType::Aannex);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("查看附件"));
    const QString drawing = file(QStringLiteral("图纸 A.dwg"), 5000, 'd');
    const QString offer = file(QStringLiteral("README"), 300, 'r');

    ModalScript script;
    script.then(choose(drawing)).then(choose(offer));
    trigger("AnnexOpenFile");
    trigger("AnnexOpenFile");
    ASSERT_TRUE(script.done());
    ASSERT_EQ(window->waitingGrid()->rowCount(), 2);
    EXPECT_EQ(window->waitingGrid()->item(1, 3)->text(), QStringLiteral("README"));

    // Enter takes the safe answer: nothing goes up.
    QString said;
    script.then(box(&said));
    trigger("AnnexUp");
    EXPECT_EQ(said, QStringLiteral("是否上传所有附件?     "));
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 0);
    script.then(box(&said, QMessageBox::Ok));
    trigger("AnnexUp");
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable"), QStringLiteral("iAutoID = 1 AND fileType = 2")), 2);
    EXPECT_EQ(window->waitingGrid()->rowCount(), 0);
    ASSERT_EQ(window->storedGrid()->rowCount(), 2);
    EXPECT_EQ(window->statusText(), QStringLiteral("已上传 2 个附件"));

    // The keyboard chooses the stored row: the labels follow it.
    window->storedGrid()->setFocus();
    QTest::keyClick(window->storedGrid(), Qt::Key_Down);
    window->storedGrid()->setCurrentCell(0, 1);
    EXPECT_EQ(window->fileLabels(), (QStringList{"文件名： 图纸 A.dwg", "大  小： 4.88 KB", "类  型： DWG 文件"}));
    EXPECT_TRUE(enabled("AnnexDownLoad") && enabled("Delete"));

    const QString target = dir.filePath(QStringLiteral("取回的图纸.dwg"));
    script.then(choose(target)).then(box(&said));
    trigger("AnnexDownLoad");
    EXPECT_EQ(said, QStringLiteral("附件保存成功：\r\n\r\n保存位置 [ ") + target + QStringLiteral(" ]"));
    EXPECT_EQ(digest(target), digest(drawing));

    const QString existing = file(QStringLiteral("别的文件.dwg"), 10, 'x');
    const QByteArray kept = digest(existing);
    script.then(choose(existing)).then(box(&said));
    trigger("AnnexDownLoad");
    EXPECT_EQ(said, QStringLiteral("同名文件已经存在!请另选文件名!  "));
    EXPECT_EQ(digest(existing), kept);

    // Deleting asks with a warning; Enter keeps the file, OK deletes it.
    script.then([&said](QWidget *modal) {
        auto *message = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(message);
        EXPECT_EQ(message->icon(), QMessageBox::Warning);
        EXPECT_EQ(message->defaultButton(), message->button(QMessageBox::Cancel));
        said = message->text();
        QTest::keyClick(message, Qt::Key_Return);
    });
    trigger("Delete");
    EXPECT_TRUE(said.startsWith(QStringLiteral("是否删除选中的附件?")));
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 2);
    script.then(box(&said, QMessageBox::Ok));
    trigger("Delete");
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 1);
    ASSERT_EQ(window->storedGrid()->rowCount(), 1);
    EXPECT_EQ(window->storedGrid()->item(0, 1)->text(), QStringLiteral("README"));
    EXPECT_FALSE(enabled("Delete"));

    // Once the voucher is confirmed the window only shows and downloads.
    db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = ? WHERE iAutoID = 1"), {QStringLiteral("王建国")});
    openWindow(sFileType::Aannex);
    EXPECT_FALSE(enabled("AnnexOpenFile") || enabled("AnnexUp") || enabled("Delete"));
    window->storedGrid()->setCurrentCell(0, 1);
    EXPECT_TRUE(enabled("AnnexDownLoad"));
    EXPECT_FALSE(enabled("Delete"));
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 1);
    EXPECT_TRUE(script.done());
}

// A large file moves on a worker while a progress dialog shows it; its cancel button leaves nothing
// stored and the file waiting.
TEST_P(AccessorySession, large_files_move_behind_a_progress_dialog_that_can_cancel)
{
    openWindow(sFileType::Aannex);
    logic->transfers().setThreshold(1024 * 1024);
    const QString big = file(QStringLiteral("big.bin"), 16 * 1024 * 1024, 'b');

    QString said;
    QString label;
    ModalScript script;
    script.then(choose(big));
    trigger("AnnexOpenFile");
    script.then(box(&said, QMessageBox::Ok)).then([&label](QWidget *modal) {
        auto *progress = qobject_cast<QProgressDialog *>(modal);
        ASSERT_TRUE(progress) << modal->metaObject()->className();
        label = progress->labelText(); // it closes itself when the file is stored
    });
    trigger("AnnexUp");
    EXPECT_TRUE(script.done());
    EXPECT_EQ(label, QStringLiteral("正在上传 big.bin（16.00 MB）…"));
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 1);

    script.then(choose(big));
    trigger("AnnexOpenFile");
    script.then(box(&said, QMessageBox::Ok))
        .then([](QWidget *modal) {
            auto *progress = qobject_cast<QProgressDialog *>(modal);
            ASSERT_TRUE(progress);
            auto *cancel = progress->findChild<QPushButton *>();
            ASSERT_TRUE(cancel);
            EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
            cancel->click();
        })
        .then(box(&said));
    trigger("AnnexUp");
    EXPECT_TRUE(script.done());
    EXPECT_EQ(said, QStringLiteral("上传已取消，数据库中没有保存该文件。"));
    EXPECT_EQ(db.count(QStringLiteral("OR_VN_fileTable")), 1);
    EXPECT_EQ(window->waitingGrid()->rowCount(), 1);
    EXPECT_TRUE(enabled("AnnexUp"));
}

TEST_P(AccessorySession, the_card_opens_the_window_modally_over_itself)
{
    auto card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
    QString error;
    std::shared_ptr<Connection> none;
    qint16 move = 4;
    ASSERT_TRUE(card->ShowVoucher(none, login, QString(), QString(), error, move)) << error.toStdString();
    auto *cardWindow = dynamic_cast<SampleCardWindow *>(&card->view());
    ASSERT_TRUE(cardWindow);
    ASSERT_TRUE(cardWindow->command(QStringLiteral("tlbAccessory"))->isEnabled());

    // The card was handed no connection of its own: the window opens one on the card's database.
    FileClass stored;
    const QString path = file(QStringLiteral("card.txt"), 12, 'c');
    stored.InitOpenFileParameters(1, fileType::annex, {path, QStringLiteral("card.txt")});
    DataStreamClass annexes;
    annexes.InitParameters(cnn, 2, 1);
    QString why;
    ASSERT_TRUE(annexes.SaveFile2Server(stored, why)) << why.toStdString();

    QString caption;
    QWidget *over = nullptr;
    int listed = 0;
    ModalScript script;
    script.then([&](QWidget *modal) {
        caption = modal->windowTitle();
        over = modal->parentWidget();
        if (auto *dialog = qobject_cast<AccessoryDialog *>(modal))
            listed = dialog->storedGrid()->rowCount();
        // Esc closes it once it has the keyboard.
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    cardWindow->command(QStringLiteral("tlbAccessory"))->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(caption, QStringLiteral("查看附件"));
    EXPECT_EQ(over, cardWindow);
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(WindowManager::find(QStringLiteral("frmAccessory")), nullptr) << "closed and unloaded";

    script.then([&](QWidget *modal) {
        caption = modal->windowTitle();
        qobject_cast<QDialog *>(modal)->reject();
    });
    cardWindow->command(QStringLiteral("tlbPic"))->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(caption, QStringLiteral("查看图片"));
    card->Unload();
}

// Writes the picture of the attachment window that the documentation shows when
// ORVANE_ACCESSORY_SCREENSHOT names a file.
TEST_P(AccessorySession, screenshot)
{
    const QString shot = qEnvironmentVariable("ORVANE_ACCESSORY_SCREENSHOT");
    if (shot.isEmpty() || GetParam() != Backend::Sqlite)
        GTEST_SKIP() << "ORVANE_ACCESSORY_SCREENSHOT names no file";
    const char *names[] = {"外壳结构图 V3.dwg", "客户确认函.pdf", "包装规格.xlsx"};
    for (int i = 0; i < 3; ++i) {
        FileClass f;
        const QString path = file(QString::fromUtf8(names[i]), 20000 * (i + 1) + 345, char('a' + i));
        f.InitOpenFileParameters(1, fileType::annex, {path, QFileInfo(path).fileName()});
        QString msg;
        DataStreamClass s;
        s.InitParameters(cnn, 2, 1);
        ASSERT_TRUE(s.SaveFile2Server(f, msg)) << msg.toStdString();
    }
    openWindow(sFileType::Aannex);
    ModalScript script;
    script.then(choose(file(QStringLiteral("打样记录.docx"), 48000, 'x')));
    trigger("AnnexOpenFile");
    window->storedGrid()->setCurrentCell(1, 1);
    window->resize(760, 520);
    QTest::qWait(100);
    EXPECT_TRUE(window->grab().save(shot));
}

INSTANTIATE_TEST_SUITE_P(Db, AccessorySession, ORVANE_BOTH_BACKENDS);
