#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <functional>

// What is printed or written out: a title, the head items above the table, and a table whose rows
// are read one at a time, so that a list of a million rows or a voucher of 10,000 lines is never
// held whole. The same document goes to a printer or PDF file, to XLSX and to CSV.
struct OutputColumn
{
    QString caption;
    // Width in characters, as list formats and print templates keep it (0: the caption's length).
    int width = 0;
    // Decimal places of a number column; -1 for a text column.
    int decimals = -1;

    bool isNumber() const { return decimals >= 0; }
};

struct OutputDocument
{
    QString title;
    // Caption and shown text of each head item, in print order.
    QList<QPair<QString, QString>> headItems;
    QList<OutputColumn> columns;
    // Fills `row` with the next row's values (one per column: a number, a text, or null for an
    // empty cell) and answers true; false when there are no more rows.
    std::function<bool(QVariantList &row)> nextRow;
    // The totals line under the table (one value per column, null where nothing is summed);
    // empty: no totals line.
    QVariantList totals;
    QString totalsCaption = QStringLiteral("合计");
};

// Paper of a printed document, as a print layout keeps it.
struct PageSetup
{
    enum class Paper { A4, A3, A5, Letter };
    Paper paper = Paper::A4;
    bool landscape = false;
    double marginMm = 12.0;
};

// Called after every block of rows with the number written so far; answering false cancels the
// output, which then removes what it had begun to write.
using OutputProgress = std::function<bool(qint64 rowsDone)>;
