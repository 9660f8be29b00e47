#pragma once

#include "platform/VoucherDocument.h"

#include <QList>
#include <QPair>
#include <QString>

#include <ostream>

// Builds head and body documents the way the card hands them to a save: one z:row per row, the
// attributes in the order given.
using Cells = QList<QPair<QString, QString>>;

inline VoucherRow addRow(VoucherDocument &doc, const Cells &cells)
{
    VoucherRow row = doc.appendRow();
    for (const auto &cell : cells)
        row.setValue(cell.first, cell.second);
    return row;
}

inline VoucherDocument documentOf(const QList<Cells> &rows)
{
    VoucherDocument doc;
    for (const Cells &cells : rows)
        addRow(doc, cells);
    return doc;
}

// Readable QString values in GoogleTest failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
