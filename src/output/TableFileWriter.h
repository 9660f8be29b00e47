#pragma once

#include "OutputDocument.h"
#include "platform/Result.h"

// Writes a document to a file: CSV (UTF-8 with a byte-order mark, the way spreadsheet programs
// recognise it) or XLSX (numbers as numbers with their decimals, in constant memory). The file is
// written beside its final name and renamed into place only when complete, so a failure or a
// cancel leaves no half-written file and an existing file untouched.
namespace TableFileWriter {

Result<void> writeCsv(OutputDocument &doc, const QString &path, const OutputProgress &progress = {});
Result<void> writeXlsx(OutputDocument &doc, const QString &path, const OutputProgress &progress = {});

} // namespace TableFileWriter
