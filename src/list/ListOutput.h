#pragma once

#include "ListPage.h"
#include "ListQuery.h"

#include "output/OutputDocument.h"
#include "platform/Result.h"

#include <QString>

// What the list's print, preview and output write: the shown columns with their captions, widths
// and formats, every matching row (all pages, in the list's order) and the totals row.
//
// The rows are read as the document asks for them, through a forward-only cursor on a connection
// of the document's own opened with `connectionString`, so neither the list's connection nor the
// memory is tied up by a long output. Numbers stay numbers (with the column's decimals), dates
// become yyyy-MM-dd text. A read that fails midway ends the rows; error() then tells why.
class ListOutput
{
public:
    // The document of the query and the last shown page (columns, formats, totals). The cursor
    // opens at the first nextRow().
    static OutputDocument document(const QString &title, const ListQuery &query, const ListPage &page,
                                   const QString &connectionString, std::shared_ptr<QString> error = nullptr);
};
