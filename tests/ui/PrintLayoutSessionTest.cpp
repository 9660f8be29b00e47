// The report runner's windows on a real database: the print-layout editor opened by "design",
// edited from the keyboard and saved into the print template; a refused edit keeps the editor open
// and writes nothing; the print preview opened by "preview" and closed; a voucher that is gone.
#include "QtCardFixture.h"

#include "host/TemplateService.h"
#include "platform/SchemaSeed.h"
#include "ui/PrintLayoutEditor.h"
#include "ui/QtReportRunner.h"

#include <QApplication>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QTableWidget>
#include <QTest>

namespace {

class PrintLayoutSession : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SampleWriter(db).voucher(1, QStringLiteral("YP001"), QStringLiteral("演示用户"), 3);
    }
    QString run(const QString &mode, const QString &voucherId = QStringLiteral("1"))
    {
        return runner.ReportExec(db.connectionString(), {}, QStringLiteral("1801"), voucherId, mode, {}, {},
                                 QStringLiteral("AllowPrint=True"));
    }
    PrintTemplate stored()
    {
        return TemplateService(db.cnn()).printTemplate(SchemaSeed::kPrintTemplateId).value_or({});
    }

    QtReportRunner runner;
    FakeMessageService messages;
};

TEST_P(PrintLayoutSession, design_edits_the_layout_from_the_keyboard_and_saves_it)
{
    const PrintTemplate before = stored();
    whenModalOpens([](QWidget *modal) {
        auto *editor = qobject_cast<PrintLayoutEditor *>(modal);
        if (!editor) {
            ADD_FAILURE() << "no layout editor";
            qobject_cast<QDialog *>(modal)->reject();
            return;
        }
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor));
        QTableWidget *table = editor->table();
        // The first head item: renamed, moved one down with Ctrl+Down, no longer printed.
        table->setCurrentCell(0, 3);
        table->item(0, 3)->setText(QStringLiteral("样品单号"));
        QTest::keyClick(table, Qt::Key_Down, Qt::ControlModifier);
        EXPECT_EQ(table->currentRow(), 1);
        table->item(1, 0)->setCheckState(Qt::Unchecked);
        editor->paper()->setCurrentText(QStringLiteral("A3"));
        editor->orientation()->setCurrentIndex(0);
        QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
        if (editor->isVisible()) {
            ADD_FAILURE() << "Ctrl+S did not save";
            editor->reject();
        }
    });
    EXPECT_EQ(run(QStringLiteral("design")), QStringLiteral("打印格式已保存"));
    EXPECT_TRUE(messages.shown.isEmpty());
    const PrintTemplate after = stored();
    EXPECT_EQ(after.setting.toText(), QStringLiteral("A3;portrait"));
    ASSERT_GE(after.head.size(), 2);
    EXPECT_EQ(after.head[1].field, before.head[0].field);
    EXPECT_EQ(after.head[1].caption, QStringLiteral("样品单号"));
    EXPECT_FALSE(after.head[1].shown);
    EXPECT_EQ(after.head[0].field, before.head[1].field);
}

TEST_P(PrintLayoutSession, a_refused_layout_keeps_the_editor_open_and_writes_nothing)
{
    const PrintTemplate before = stored();
    whenModalOpens([this](QWidget *modal) {
        auto *editor = qobject_cast<PrintLayoutEditor *>(modal);
        if (!editor) {
            ADD_FAILURE() << "no layout editor";
            qobject_cast<QDialog *>(modal)->reject();
            return;
        }
        editor->table()->item(0, 3)->setText(QStringLiteral("  "));
        editor->paper()->setCurrentText(QStringLiteral("A5"));
        EXPECT_FALSE(editor->save());
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(messages.texts().value(0).contains(QStringLiteral("标题不能为空")))
            << messages.texts().value(0).toStdString();
        editor->reject();
    });
    EXPECT_EQ(run(QStringLiteral("design")), QString());
    EXPECT_EQ(stored().setting.toText(), before.setting.toText());
    EXPECT_EQ(stored().head[0].caption, before.head[0].caption);
}

TEST_P(PrintLayoutSession, preview_opens_the_print_preview_and_a_voucher_that_is_gone_is_named)
{
    bool previewed = false;
    whenModalOpens([&previewed](QWidget *modal) {
        previewed = qobject_cast<QPrintPreviewDialog *>(modal) != nullptr;
        qobject_cast<QDialog *>(modal)->reject();
    });
    EXPECT_EQ(run(QStringLiteral("preview")), QStringLiteral("预览已关闭"));
    EXPECT_TRUE(previewed);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();

    EXPECT_EQ(run(QStringLiteral("preview"), QStringLiteral("99")), QStringLiteral("不存在该单据，请检查！"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("不存在该单据，请检查！")});
    EXPECT_EQ(run(QStringLiteral("unknown")), QString()) << "a mode it does not know does nothing";
}

INSTANTIATE_TEST_SUITE_P(Db, PrintLayoutSession, ORVANE_BOTH_BACKENDS);

} // namespace
