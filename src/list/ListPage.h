#pragma once

#include "ListColumn.h"
#include "ListNumberFormats.h"
#include "ListQuery.h"

#include <QList>
#include <QVariantList>

// Everything the list window shows after a query: the shown columns with their formats, the rows
// of the current page, the totals row over the whole result and where the page lies.
struct ListPage
{
    QList<ListColumn> columns;
    QList<ListNumberFormats::Format> formats; // one per column
    ListRows rows;                            // starts with the columns' fields, in their order
    QVariantList totals;                      // one per column; null where nothing is summed
    qint64 totalRows = 0;
    int page = 1;
    int pageCount = 0;
    ListSort sort;

    // A cell as the list shows it.
    QString text(int row, int column) const
    {
        return ListNumberFormats::text(rows.rows.at(row).at(column), formats.at(column));
    }
    QString totalText(int column) const { return ListNumberFormats::text(totals.value(column), formats.at(column)); }
};
