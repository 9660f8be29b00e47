// A user's session with the voucher list on real widgets, on each backend: opened from the card,
// filtered, paged, resized, sorted, a voucher opened on the card and back, output to CSV and XLSX
// and printed to PDF, each file read back.
#include "support/FakeMessageService.h"
#include "support/ListData.h"
#include "support/OutputReadBack.h"
#include "support/SampleFixture.h"
#include "support/ScopedConfigFolder.h"

#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "list/ListProfile.h"
#include "sample/SampleObjects.h"
#include "sample/clsManageSample.h"
#include "card/CardControl.h"
#include "ui/ListFilterDialog.h"
#include "ui/VoucherCardWidget.h"
#include "ui/ListTableModel.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherListWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

template<typename T> QList<T *> visibleWindows()
{
    QList<T *> out;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            out << t;
    }
    return out;
}

// Answers the next filter dialog: `fill` sets its lines, then 确定. Waits for the dialog to open
// (events run in between, which must not take the answer) and cancels nothing if none comes.
void answerFilter(std::function<void(ListFilterDialog &)> fill, int triesLeft = 200)
{
    QTimer::singleShot(10, [fill, triesLeft] {
        auto *dialog = qobject_cast<ListFilterDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (triesLeft > 0)
                answerFilter(fill, triesLeft - 1);
            else
                ADD_FAILURE() << "no filter dialog";
            return;
        }
        fill(*dialog);
        dialog->accept();
    });
}

class VoucherListSession : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerSampleObjects();
        registerQtWindows();
        addListMasterData(db);
        // The columns a user chose in 栏目, few enough to print without eliding.
        db.exec(QStringLiteral("UPDATE ListFormat SET bShow = 0 WHERE FieldName NOT IN "
                               "('ccode', 'ddate', 'cnewinvname', 'ccusabbname', 'ipsquantity', 'itolcost')"));
        for (int id = 1; id <= 70; ++id)
            addListVoucher(db, {.id = id, .cost = 100.0 + id, .memo = id % 2 ? QStringLiteral("单") : QString()});
    }
    void TearDown() override
    {
        unloadQtWindows();
        LoggedInTest::TearDown();
    }

    QString file(const QString &name) const { return m_config.filePath(name); }
    void trigger(VoucherListWindow &list, const char *key)
    {
        QAction *action = list.command(QString::fromLatin1(key));
        ASSERT_TRUE(action) << key;
        action->trigger();
    }
    QList<int> ids(VoucherListWindow &list) const
    {
        QList<int> out;
        const ListPage &page = list.model()->page();
        for (const QVariantList &row : page.rows.rows)
            out << row[page.rows.keyColumn()].toInt();
        return out;
    }

    FakeMessageService messages;

private:
    ScopedConfigFolder m_config;
};

TEST_P(VoucherListSession, from_the_card_through_filter_paging_sorting_card_and_back_to_files)
{
    clsManageSample entry;
    auto cnn = std::make_shared<Connection>();
    ASSERT_TRUE(cnn->Open(login->ConnectionString()));
    QString error;
    ASSERT_TRUE(entry.ShowVoucher3(cnn, login, QStringLiteral("1"), {}, &error, 0, {}, false)) << error.toStdString();
    ASSERT_EQ(visibleWindows<SampleCardWindow>().size(), 1);
    SampleCardWindow *card = visibleWindows<SampleCardWindow>().first();

    // The card's locate opens the list, filter first: vouchers of customer KH1, every one here.
    answerFilter([](ListFilterDialog &d) { d.valueEdit(3)->setText(QStringLiteral("KH1")); });
    ASSERT_TRUE(card->command(QStringLiteral("tlbLocal")));
    ASSERT_TRUE(card->command(QStringLiteral("tlbLocal"))->isEnabled());
    card->command(QStringLiteral("tlbLocal"))->trigger();
    ASSERT_EQ(visibleWindows<VoucherListWindow>().size(), 1) << messages.texts().join('\n').toStdString();
    VoucherListWindow &list = *visibleWindows<VoucherListWindow>().first();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("接单样品管理列表"));
    EXPECT_EQ(list.model()->page().totalRows, 70);
    EXPECT_EQ(ids(list).size(), 30);
    EXPECT_TRUE(list.model()->hasTotalsRow());

    // Ctrl+F: only the vouchers from YP0041 on.
    answerFilter([](ListFilterDialog &d) {
        d.operatorBox(0)->setCurrentIndex(d.operatorBox(0)->findData(QStringLiteral(">=")));
        d.valueEdit(0)->setText(QStringLiteral("YP0041"));
    });
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.table()->setFocus();
    QTest::keyClick(list.table(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(list.model()->page().totalRows, 30);
    EXPECT_EQ(ids(list).first(), 41);

    // A page size of 12: the page buttons wait for 确认, which keeps the size.
    list.sizeBox()->selectAll();
    QTest::keyClicks(list.sizeBox(), QStringLiteral("12"));
    EXPECT_FALSE(list.pageButton(QStringLiteral("cmdNext"))->isEnabled());
    QTest::mouseClick(list.pageButton(QStringLiteral("cmdPageOk")), Qt::LeftButton);
    EXPECT_TRUE(list.pageButton(QStringLiteral("cmdNext"))->isEnabled());
    EXPECT_EQ(ListProfile::pageSizeText(), QStringLiteral("12"));
    EXPECT_EQ(ids(list).size(), 12);
    QTest::mouseClick(list.pageButton(QStringLiteral("cmdLast")), Qt::LeftButton);
    EXPECT_EQ(ids(list), (QList<int>{65, 66, 67, 68, 69, 70}));
    // PgUp on the first row goes to the page before.
    list.table()->setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(list.table(), Qt::Key_PageUp);
    EXPECT_EQ(list.pageBox()->text(), QStringLiteral("2"));

    // A click on the 总成本 heading sorts by cost, a second one descending.
    const int cost = int(list.model()->page().rows.fields.indexOf(QStringLiteral("itolcost")));
    ASSERT_GE(cost, 0);
    QHeaderView *header = list.table()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(cost) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(ids(list).first(), 41);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(ids(list).first(), 70);
    EXPECT_TRUE(list.model()->headerData(cost, Qt::Horizontal).toString().endsWith(QStringLiteral("▼")));

    // Enter opens the voucher on a card of its own; closing it comes back to the list.
    list.table()->setFocus();
    list.table()->setCurrentIndex(list.model()->index(1, 0));
    QTest::keyClick(list.table(), Qt::Key_Return);
    auto cards = visibleWindows<SampleCardWindow>();
    ASSERT_EQ(cards.size(), 2) << messages.texts().join('\n').toStdString();
    SampleCardWindow *opened = cards.first() == card ? cards.last() : cards.first();
    EXPECT_EQ(static_cast<CardControl *>(opened->card())->headerText(QStringLiteral("ccode")), QStringLiteral("YP0069"))
        << "the voucher of the second row, sorted by cost descending";
    opened->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(ids(list).first(), 70) << "the list is as it was";

    // Output: every page, as shown.
    list.setExportTarget(file(QStringLiteral("list.csv")));
    trigger(list, "Output");
    const auto csv = OutputReadBack::csvRows(file(QStringLiteral("list.csv")));
    // Title, an empty line, headings, 30 rows and the totals line.
    ASSERT_EQ(csv.size(), 3 + 30 + 1) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(csv[2].value(cost), QStringLiteral("总成本"));
    EXPECT_EQ(csv[3].value(cost), list.model()->index(0, cost).data().toString());
    list.setExportTarget(file(QStringLiteral("list.xlsx")));
    trigger(list, "Output");
    const auto xlsx = OutputReadBack::xlsxRows(file(QStringLiteral("list.xlsx")));
    ASSERT_GE(xlsx.size(), 32);
    int heading = 0;
    while (heading < xlsx.size() && xlsx[heading].value(cost) != QStringLiteral("总成本"))
        ++heading;
    ASSERT_LT(heading, xlsx.size());
    EXPECT_DOUBLE_EQ(xlsx[heading + 1].value(cost).toDouble(), 170.0) << "numbers stay numbers";
    EXPECT_EQ(xlsx.size() - heading - 1, 31) << "30 rows and the totals";

    // Print to PDF: the caption, the headings and every voucher.
    list.setPrintTarget(file(QStringLiteral("list.pdf")));
    trigger(list, "Print");
    const QString text = OutputReadBack::pdfText(file(QStringLiteral("list.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("接单样品管理列表")));
    EXPECT_TRUE(text.contains(QStringLiteral("总成本")));
    for (const char *code : {"YP0041", "YP0055", "YP0070"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(code))) << code;
    EXPECT_EQ(db.count(QStringLiteral("prn_format")), 1) << "the print format is kept";

    // Exit closes the list and gives its function back; the card stays.
    trigger(list, "Exit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(visibleWindows<VoucherListWindow>().isEmpty());
    EXPECT_TRUE(card->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherListSession, ORVANE_BOTH_BACKENDS);

// Writes the picture of the list that the documentation shows, on the demo database, when
// ORVANE_LIST_SCREENSHOT names a file; otherwise it does nothing.
TEST(VoucherListScreenshot, list_on_the_demo_data)
{
    const QString shot = qEnvironmentVariable("ORVANE_LIST_SCREENSHOT");
    if (shot.isEmpty())
        GTEST_SKIP() << "ORVANE_LIST_SCREENSHOT names no file";
    TestDatabase db(Backend::Sqlite, TestDatabase::Empty);
    ASSERT_TRUE(DemoDatabase::install(db.cnn()));
    FakeMessageService messages;
    registerSampleObjects();
    registerQtWindows();
    auto login = clsLogin::Login(db.connectionString(), QString::fromLatin1(DemoDatabase::UserId),
                                 QString::fromLatin1(DemoDatabase::Password));
    ASSERT_TRUE(login) << login.error().toStdString();
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<ListFilterDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    clsVL_JDYPGLMain().ShowVoucherList(*login, QStringLiteral("1801"));
    auto windows = visibleWindows<VoucherListWindow>();
    ASSERT_EQ(windows.size(), 1);
    windows[0]->resize(1400, 700);
    QTest::qWait(200);
    EXPECT_TRUE(windows[0]->grab().save(shot));
    unloadQtWindows();
    WindowManager::reset();
    modPublic::clearProgramState();
}

} // namespace
