#include "support/EngineFixture.h"

#include "host/ReferenceListService.h"
#include "ui/ReferenceDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

// The reference dialog over the product list of a database with 300 items: A001..A200 and
// B201..B300, named 零件001..零件300. The engine opens it through ReferBase, as the card does.
class ReferenceDialogTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (setUpFailed())
            return;
        const QString item = QStringLiteral(
            "INSERT INTO Inventory (cInvCode, cInvName, iId, bService, bInvType) VALUES (?, ?, ?, 0, 0)");
        for (int i = 1; i <= 300; ++i) {
            const QString number = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            db.exec(item, {QString(i <= 200 ? QLatin1Char('A') : QLatin1Char('B')) + number,
                           QStringLiteral("零件") + number, i});
        }
        initialEngine();
        ReferencePicker::install(&dialog);
    }

    // Runs script once pick() has shown the dialog. A dialog the script leaves open is cancelled,
    // so that a failing test cannot hang.
    void whenShown(std::function<void()> script)
    {
        QTimer::singleShot(0, &dialog, [this, script] {
            script();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                dialog.reject();
            }
        });
    }

    bool referComponent(const QString &typed, bool multiSelect = false)
    {
        value = typed;
        return engine.ReferBase(QStringLiteral("cpscode"), value, {}, &picked, multiSelect, true, 20);
    }

    QString code(int row) const
    {
        const QTableWidgetItem *item = dialog.table()->item(row, 0);
        return item ? item->text() : QString();
    }

    // Types into the search box and waits for the list to show firstCode on top.
    void search(const QString &text, const QString &firstCode)
    {
        dialog.searchEdit()->clear();
        QTest::keyClicks(dialog.searchEdit(), text);
        EXPECT_TRUE(QTest::qWaitFor([&] { return code(0) == firstCode; }, 3000)) << code(0).toStdString();
    }

    ReferenceDialog dialog;
    QVariant value;
    Recordset picked;
};

TEST_P(ReferenceDialogTest, searches_pages_and_picks_a_component_with_the_keyboard)
{
    whenShown([this] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("存货参照"));
        EXPECT_EQ(dialog.searchEdit()->text(), QStringLiteral("A"));
        EXPECT_EQ(dialog.focusWidget(), dialog.searchEdit());
        EXPECT_EQ(dialog.table()->rowCount(), 20);
        EXPECT_EQ(code(0), QStringLiteral("A001"));
        EXPECT_FALSE(dialog.previousButton()->isEnabled());
        EXPECT_TRUE(dialog.nextButton()->isEnabled());

        search(QStringLiteral("B2"), QStringLiteral("B201"));
        QTest::keyClick(dialog.searchEdit(), Qt::Key_PageDown);
        EXPECT_EQ(code(0), QStringLiteral("B221"));
        QTest::keyClick(dialog.searchEdit(), Qt::Key_PageDown);
        EXPECT_EQ(code(0), QStringLiteral("B241"));
        QTest::keyClick(dialog.searchEdit(), Qt::Key_PageUp);
        EXPECT_EQ(code(0), QStringLiteral("B221"));
        EXPECT_EQ(dialog.pageIndex(), 1);
        EXPECT_TRUE(dialog.previousButton()->isEnabled());

        // Down leaves the search box for the list and already moves the selection; Up on its first
        // row comes back.
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Down);
        ASSERT_EQ(dialog.focusWidget(), dialog.table());
        EXPECT_EQ(dialog.table()->currentRow(), 1);
        QTest::keyClick(dialog.table(), Qt::Key_Up);
        QTest::keyClick(dialog.table(), Qt::Key_Up);
        ASSERT_EQ(dialog.focusWidget(), dialog.searchEdit());
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.table(), Qt::Key_Down);
        QTest::keyClick(dialog.table(), Qt::Key_Return);
    });
    ASSERT_TRUE(referComponent(QStringLiteral("A")));
    EXPECT_EQ(value.toString(), QStringLiteral("B223"));
    ASSERT_EQ(picked.RecordCount(), 1);
    EXPECT_EQ(picked.text(QStringLiteral("cinvname")), QStringLiteral("零件223"));
}

TEST_P(ReferenceDialogTest, paging_stops_at_both_ends_of_a_search)
{
    whenShown([this] {
        // B2 finds B201..B299: four full pages and 19 rows.
        search(QStringLiteral("B2"), QStringLiteral("B201"));
        QTest::keyClick(dialog.searchEdit(), Qt::Key_PageUp);
        EXPECT_EQ(dialog.pageIndex(), 0);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(dialog.searchEdit(), Qt::Key_PageDown);
        EXPECT_EQ(dialog.pageIndex(), 4);
        EXPECT_EQ(code(0), QStringLiteral("B281"));
        EXPECT_EQ(dialog.table()->rowCount(), 19);
        EXPECT_FALSE(dialog.nextButton()->isEnabled());
        // Enter straight from the search box picks the current (first) row.
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Enter);
    });
    ASSERT_TRUE(referComponent({}));
    EXPECT_EQ(value.toString(), QStringLiteral("B281"));
}

TEST_P(ReferenceDialogTest, reading_on_at_the_end_of_the_list_brings_the_next_page_in_below)
{
    whenShown([this] {
        QScrollBar *scroll = dialog.table()->verticalScrollBar();
        ASSERT_GT(scroll->maximum(), 0);
        scroll->setValue(scroll->maximum());
        EXPECT_EQ(dialog.table()->rowCount(), 40);
        EXPECT_EQ(code(20), QStringLiteral("A021"));
        EXPECT_EQ(dialog.pageIndex(), 1);
        EXPECT_LT(scroll->value(), scroll->maximum());

        // Going to the last row and on down reads on too, onto the first new row.
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.table(), Qt::Key_End, Qt::ControlModifier);
        ASSERT_EQ(dialog.table()->currentRow(), 39);
        QTest::keyClick(dialog.table(), Qt::Key_Down);
        EXPECT_EQ(dialog.table()->rowCount(), 60);
        EXPECT_EQ(dialog.table()->currentRow(), 40);

        // The page keys go on from the last page on show and back from the first.
        QTest::keyClick(dialog.table(), Qt::Key_PageDown);
        EXPECT_EQ(code(0), QStringLiteral("A061"));
        EXPECT_EQ(dialog.table()->rowCount(), 20);
        QTest::keyClick(dialog.table(), Qt::Key_Return);
    });
    ASSERT_TRUE(referComponent(QStringLiteral("A")));
    EXPECT_EQ(value.toString(), QStringLiteral("A061"));
}

TEST_P(ReferenceDialogTest, escape_cancels_and_an_empty_list_cannot_be_picked)
{
    picked.setFields({RecordsetField{QStringLiteral("untouched")}});
    whenShown([this] {
        search(QStringLiteral("Z"), QString());
        EXPECT_EQ(dialog.table()->rowCount(), 0);
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Escape);
    });
    value = QStringLiteral("A1");
    EXPECT_FALSE(engine.ReferBase(QStringLiteral("cpscode"), value, {}, &picked, false, true, 20));
    EXPECT_EQ(value.toString(), QStringLiteral("A1"));
    EXPECT_EQ(picked.fieldIndex(QStringLiteral("untouched")), 0);
}

TEST_P(ReferenceDialogTest, headings_are_the_captions_the_user_knows_never_column_names)
{
    whenShown([this] {
        QStringList shown;
        for (int c = 0; c < dialog.table()->columnCount(); ++c) {
            if (!dialog.table()->isColumnHidden(c))
                shown << dialog.table()->horizontalHeaderItem(c)->text();
        }
        EXPECT_EQ(shown.mid(0, 2), (QStringList{QStringLiteral("存货编码"), QStringLiteral("存货名称")}));
        for (const QString &heading : shown)
            EXPECT_FALSE(heading.isEmpty() || (heading.front().isLetter() && heading.front().unicode() < 0x80))
                << heading.toStdString();
        QTest::keyClick(dialog.table(), Qt::Key_Escape);
    });
    referComponent(QStringLiteral("A"));
}

TEST_P(ReferenceDialogTest, marks_kept_across_pages_make_a_multiple_pick)
{
    whenShown([this] {
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Down);
        QTest::keyClick(dialog.table(), Qt::Key_Up);
        QTest::keyClick(dialog.table(), Qt::Key_Space); // A001
        QTest::keyClick(dialog.table(), Qt::Key_Down);
        QTest::keyClick(dialog.table(), Qt::Key_Space); // A002
        QTest::keyClick(dialog.table(), Qt::Key_PageDown);
        QTest::keyClick(dialog.table(), Qt::Key_Space); // A021
        QTest::keyClick(dialog.table(), Qt::Key_PageUp);
        EXPECT_TRUE(dialog.table()->selectionModel()->isRowSelected(1));
        QTest::keyClick(dialog.table(), Qt::Key_Space); // A001 unmarked again
        QTest::keyClick(dialog.table(), Qt::Key_Return);
    });
    ASSERT_TRUE(referComponent(QStringLiteral("A0"), true));
    ASSERT_EQ(picked.RecordCount(), 2);
    picked.MoveFirst();
    EXPECT_EQ(picked.text(QStringLiteral("cinvcode")), QStringLiteral("A002"));
    picked.MoveNext();
    EXPECT_EQ(picked.text(QStringLiteral("cinvcode")), QStringLiteral("A021"));
    EXPECT_EQ(value.toString(), QStringLiteral("A002"));
}

TEST_P(ReferenceDialogTest, a_failed_read_is_shown_and_the_dialog_stays_open)
{
    ReferenceListService service(db.cnn());
    ReferenceListRequest request;
    request.kind = QStringLiteral("inventory");
    request.table = QStringLiteral("NoSuchTable");
    request.codeColumn = QStringLiteral("cCode");
    Recordset chosen;
    whenShown([this] {
        EXPECT_TRUE(dialog.messageLabel()->isVisible());
        EXPECT_TRUE(dialog.messageLabel()->text().startsWith(QStringLiteral("参照数据读取失败，请检查！")));
        EXPECT_EQ(dialog.table()->rowCount(), 0);
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.pick(service, request, false, chosen));
    EXPECT_TRUE(chosen.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Db, ReferenceDialogTest, ORVANE_BOTH_BACKENDS);
