#include "VoucherPrintDialogs.h"

#include "common/MessageService.h"
#include "output/PagedPrinter.h"
#include "output/TableFileWriter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

const QString kTitle = QStringLiteral("销售管理");

void tell(const QString &text)
{
    MessageService::current().show(text, kTitle, MessageService::Exclamation);
}

void setUp(QPrinter &printer, const PrintSetting &setting)
{
    PageSetup page;
    page.paper = PagedPrinter::paperNamed(setting.paper);
    page.landscape = setting.landscape;
    printer.setPageLayout(PagedPrinter::pageLayout(page));
}

// Renders onto a printer set up by a dialog; the failure is shown.
bool render(const VoucherPrintDialogs::DocumentSource &source, QPrinter &printer)
{
    auto doc = source();
    if (!doc) {
        tell(doc.error());
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    auto pages = PagedPrinter::print(*doc, printer);
    if (!pages) {
        tell(QStringLiteral("打印失败：%1").arg(pages.error()));
        return false;
    }
    return true;
}

} // namespace

namespace VoucherPrintDialogs {

QString print(QWidget *parent, const DocumentSource &source, const PrintSetting &setting)
{
    // A template that cannot be laid out is said before the dialog, not after it.
    if (auto doc = source(); !doc) {
        tell(doc.error());
        return {};
    }
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, setting);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (!render(source, printer))
        return {};
    return printer.outputFormat() == QPrinter::PdfFormat
               ? QStringLiteral("已打印到 %1").arg(QDir::toNativeSeparators(printer.outputFileName()))
               : QStringLiteral("已发送到打印机 %1").arg(printer.printerName());
}

QString preview(QWidget *parent, const DocumentSource &source, const PrintSetting &setting)
{
    if (auto doc = source(); !doc) {
        tell(doc.error());
        return {};
    }
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, setting);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&source](QPrinter *onto) { render(source, *onto); });
    dialog.exec();
    return QStringLiteral("预览已关闭");
}

Result<void> writeTable(const DocumentSource &source, const QString &path)
{
    auto doc = source();
    if (!doc)
        return fail(doc.error());
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return TableFileWriter::writeCsv(*doc, path);
    return TableFileWriter::writeXlsx(*doc, path);
}

QString output(QWidget *parent, const DocumentSource &source, const QString &suggestedName)
{
    if (auto doc = source(); !doc) {
        tell(doc.error());
        return {};
    }
    const QString xlsx = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const QString csv = QStringLiteral("CSV 文件 (*.csv)");
    QString filter = xlsx;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("输出"),
                                                QDir(folder).filePath(suggestedName + QStringLiteral(".xlsx")),
                                                xlsx + QStringLiteral(";;") + csv, &filter);
    if (path.isEmpty())
        return {};
    // The filter chosen decides the kind when the name has no suffix of its own.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        path += filter == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto written = writeTable(source, path);
    QApplication::restoreOverrideCursor();
    if (!written) {
        tell(QStringLiteral("输出失败：%1").arg(written.error()));
        return {};
    }
    return QStringLiteral("已输出到 %1").arg(QDir::toNativeSeparators(path));
}

} // namespace VoucherPrintDialogs
