#include "QtReportRunner.h"

#include "PrintLayoutEditor.h"
#include "VoucherPrintDialogs.h"

#include "common/MessageService.h"
#include "host/TemplateService.h"
#include "platform/Connection.h"
#include "report/VoucherPrintDocument.h"

#include <QApplication>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcRunner, "orvane.ui.report")

QString tell(const QString &text)
{
    MessageService::current().show(text, QStringLiteral("销售管理"), MessageService::Exclamation);
    return text;
}

// The card's default print template, or its first; 0 when the card has none.
Result<int> printTemplateOf(Connection &cnn, const QString &cardNumber)
{
    TemplateService templates(cnn);
    auto listed = templates.templates(cardNumber, 1);
    if (!listed)
        return fail(listed.error());
    return templates.defaultTemplate(cardNumber, *listed, 0, 1);
}

} // namespace

QString QtReportRunner::ReportExec(const QString &connectionString, const QString &, const QString &cardNumber,
                                   const QString &voucherId, const QString &mode, const QString &, const QString &,
                                   const QString &)
{
    if (mode != QLatin1String("print") && mode != QLatin1String("preview") && mode != QLatin1String("design"))
        return {};
    Connection cnn;
    if (auto opened = cnn.Open(connectionString); !opened) {
        qCWarning(lcRunner) << opened.error();
        return tell(QStringLiteral("数据库连接失败，请检查！"));
    }
    auto templateId = printTemplateOf(cnn, cardNumber);
    if (!templateId) {
        qCWarning(lcRunner) << templateId.error();
        return tell(QStringLiteral("读取模板失败，请检查数据库连接！"));
    }
    if (*templateId == 0)
        return tell(QStringLiteral("没有可以打印的模板，请检查！"));
    TemplateService templates(cnn);
    auto t = templates.printTemplate(*templateId);
    if (!t)
        return tell(t.error());
    QWidget *parent = QApplication::activeWindow();

    if (mode == QLatin1String("design")) {
        PrintLayoutEditor editor(
            *t, [&templates](const PrintTemplate &edited) { return templates.savePrintTemplate(edited); }, parent);
        return editor.exec() == QDialog::Accepted ? QStringLiteral("打印格式已保存") : QString();
    }

    auto values = VoucherPrintDocument::read(cnn, cardNumber, voucherId);
    if (!values)
        return tell(values.error());
    const PrintTemplate layout = *t;
    const VoucherValues read = *values;
    const auto source = [layout, read] {
        return VoucherPrintDocument::build(layout, read);
    };
    return mode == QLatin1String("preview") ? VoucherPrintDialogs::preview(parent, source, layout.setting)
                                            : VoucherPrintDialogs::print(parent, source, layout.setting);
}

void QtReportRunner::installShared()
{
    static QtReportRunner runner;
    ReportRunner::install(&runner);
}
