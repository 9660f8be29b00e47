#pragma once

#include "OutputDocument.h"

#include <optional>

// How one value of a document reads in print and in text files: numbers with their column's
// decimals and never in scientific notation, texts without the control characters that neither a
// page nor a spreadsheet can hold.
namespace OutputCell {

// The value as shown; "" for null.
QString text(const OutputColumn &column, const QVariant &value);
// The value as a number when the column is a number column and the value reads as one.
std::optional<double> number(const OutputColumn &column, const QVariant &value);
// `text` with line breaks made blanks and other control characters dropped.
QString printable(const QString &text);
// The column's width in characters: its own, or its caption's when it has none (at least 4).
int widthInChars(const OutputColumn &column);
// The totals line as written under the table: the document's totals, with the totals caption in
// the first column when that is a text column left empty.
QVariantList totalsLine(const OutputDocument &doc);

// Reads every row of `doc` into `write`, reporting to `progress` every few hundred rows and once
// at the end. Stops when `write` answers false or the progress cancels.
enum class RowsRead { All, Cancelled, WriteFailed };
RowsRead forEachRow(OutputDocument &doc, const OutputProgress &progress,
                    const std::function<bool(const QVariantList &row)> &write);
QString cancelledMessage();

} // namespace OutputCell
