#pragma once

#include "OutputDocument.h"
#include "platform/Result.h"

#include <QPageLayout>

class QPrinter;

// Renders a document as pages: the title and head items on the first page, the table's column
// headings repeated at the top of every page, numbers right-aligned with their decimals, a page
// number at the foot of each page. Rows are drawn as they are read, so memory does not grow with
// the number of pages.
namespace PagedPrinter {

// Prints onto a printer already set up (a system printer, a PDF file, or the printer of a preview
// dialog). Answers the number of pages printed.
Result<int> print(OutputDocument &doc, QPrinter &printer, const OutputProgress &progress = {});
// Writes a PDF file with the given paper. Answers the number of pages.
Result<int> writePdf(OutputDocument &doc, const QString &path, const PageSetup &page = {},
                     const OutputProgress &progress = {});

// The page layout of a paper setup, for a printer set up by hand.
QPageLayout pageLayout(const PageSetup &page);
// A paper by its name: "A4", "A3", "A5" or "Letter" (any other name is A4).
PageSetup::Paper paperNamed(const QString &name);

} // namespace PagedPrinter
