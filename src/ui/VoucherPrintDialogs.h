#pragma once

#include "host/PrintTemplate.h"
#include "output/OutputDocument.h"
#include "platform/Result.h"

#include <functional>

class QWidget;

// Printing a voucher document the way a desktop user expects: the system's print dialog (a
// printer or a PDF file), Qt's print preview, and output to an XLSX or CSV file chosen in a file
// dialog. The document is made afresh by `source` for every rendering, since its rows are read
// only once. Failures are shown in a message box (title "销售管理"); the answer is what to tell
// the user in the status bar afterwards, "" when nothing was done.
namespace VoucherPrintDialogs {

using DocumentSource = std::function<Result<OutputDocument>()>;

QString print(QWidget *parent, const DocumentSource &source, const PrintSetting &setting);
QString preview(QWidget *parent, const DocumentSource &source, const PrintSetting &setting);
QString output(QWidget *parent, const DocumentSource &source, const QString &suggestedName);

// Writes the document to `path` as XLSX or CSV by the file's suffix (anything but ".csv" is
// XLSX); the file dialog's half of output, kept apart so that it runs without a dialog.
Result<void> writeTable(const DocumentSource &source, const QString &path);

} // namespace VoucherPrintDialogs
