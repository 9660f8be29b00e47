// The card window's print commands with real dialogs, closed by the test: 打印 opens the system's
// print dialog, the print menu's 新预览 Qt's print preview through the report runner, and 输出 a
// file dialog whose XLSX file is written and named in the status bar.
#include "QtCardFixture.h"

#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "support/OutputReadBack.h"
#include "ui/SampleCardWindow.h"

#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the first modal window that opens; `act` closes it.
void onNextModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

class CardPrintWidget : public QtCardTest
{
protected:
    void SetUp() override
    {
        QtCardTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
        QString error;
        std::shared_ptr<Connection> cnn;
        qint16 move = 4;
        ASSERT_TRUE(card->ShowVoucher(cnn, login, QString(), QString(), error, move)) << error.toStdString();
        window = dynamic_cast<SampleCardWindow *>(&card->view());
        ASSERT_TRUE(window);
    }
    void TearDown() override
    {
        card.reset();
        QtCardTest::TearDown();
    }

    std::shared_ptr<frmManageSample> card;
    SampleCardWindow *window = nullptr;
};

TEST_P(CardPrintWidget, print_and_the_menus_preview_open_their_dialogs)
{
    QString opened;
    onNextModal([&opened](QWidget *modal) {
        opened = qobject_cast<QPrintDialog *>(modal) ? QStringLiteral("print") : modal->metaObject()->className();
        qobject_cast<QDialog *>(modal)->reject();
    });
    window->command(QStringLiteral("tlbPrint"))->trigger();
    EXPECT_EQ(opened, QStringLiteral("print"));

    QMenu *menu = window->command(QStringLiteral("tlbPrint"))->menu();
    ASSERT_TRUE(menu);
    QStringList keys;
    for (QAction *a : menu->actions())
        keys << a->objectName();
    EXPECT_EQ(keys, (QStringList{"print", "newprint", "newdesign", "newpreview"}));
    onNextModal([&opened](QWidget *modal) {
        opened = qobject_cast<QPrintPreviewDialog *>(modal) ? QStringLiteral("preview") : modal->metaObject()->className();
        qobject_cast<QDialog *>(modal)->reject();
    });
    menu->actions().last()->trigger();
    EXPECT_EQ(opened, QStringLiteral("preview"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
}

TEST_P(CardPrintWidget, output_writes_the_file_chosen_and_says_where)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("样品.xlsx"));
    onNextModal([path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            ADD_FAILURE() << modal->metaObject()->className();
            qobject_cast<QDialog *>(modal)->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, through the public slot
    });
    window->command(QStringLiteral("tlbSend"))->trigger();
    const QList<QStringList> rows = OutputReadBack::xlsxRows(path);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first().value(0), QStringLiteral("样品接单管理"));
    EXPECT_EQ(rows.value(1), (QStringList{QStringLiteral("单据号"), QStringLiteral("YP001")}));
    EXPECT_TRUE(window->statusBarText().startsWith(QStringLiteral("已输出到"))) << window->statusBarText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Db, CardPrintWidget, ORVANE_BOTH_BACKENDS);

} // namespace
