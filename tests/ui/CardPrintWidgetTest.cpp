// The card window's print commands with real dialogs, closed by the test: 打印 opens the system's
// print dialog, the print menu's 新预览 Qt's print preview through the report runner, and 输出 a
// file dialog whose XLSX file is written and named in the status bar.
#include "QtCardFixture.h"

#include "support/OutputReadBack.h"

#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>

namespace {

using CardPrintWidget = QtCardWindowTest;

TEST_P(CardPrintWidget, print_and_the_menus_preview_open_their_dialogs)
{
    QString opened;
    whenModalOpens([&opened](QWidget *modal) {
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
    whenModalOpens([&opened](QWidget *modal) {
        opened
            = qobject_cast<QPrintPreviewDialog *>(modal) ? QStringLiteral("preview") : modal->metaObject()->className();
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
    whenModalOpens([path](QWidget *modal) {
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
    EXPECT_TRUE(window->statusBarText().startsWith(QStringLiteral("已输出到")))
        << window->statusBarText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Db, CardPrintWidget, ORVANE_BOTH_BACKENDS);

} // namespace
