#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads written files back the way another program would, for tests that compare what was
// output with what was meant: XLSX through unzip and the sheet's XML, PDF through pdftotext.
namespace OutputReadBack {

// The rows of sheet `sheet` (1-based): each row's cells as text, empty cells as "", numbers as
// the sheet stores them (e.g. "12.5"). An empty list when the file cannot be read.
QList<QStringList> xlsxRows(const QString &path, int sheet = 1);
// The number format code of every number cell of the sheet, in sheet order ("0.00", ...).
QStringList xlsxNumberFormats(const QString &path, int sheet = 1);
// The CSV file's lines split into fields (RFC 4180 quoting), after its UTF-8 byte-order mark.
QList<QStringList> csvRows(const QString &path);
// The text of the PDF in layout order, as pdftotext gives it ("" when it cannot be read).
QString pdfText(const QString &path);
// The number of pages pdfinfo reports (0 when it cannot be read).
int pdfPages(const QString &path);

} // namespace OutputReadBack
