#pragma once

#include "SqlCondition.h"

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

class Connection;
class QSqlQuery;

// The column the user sorted the list by; none keeps the voucher order.
struct ListSort
{
    QString field;
    bool descending = false;

    bool isSet() const { return !field.isEmpty(); }
};

// What the list asks of its view. Column names must be names of the view (see ListViewColumns):
// they are written into the statement; values travel only in the filter's bound parameters.
struct ListQueryRequest
{
    QString view;
    QStringList fields;    // the shown columns, in order
    QStringList sumFields; // the columns of the totals row
    QString permission;    // the data-permission condition (listPermissionCondition)
    SqlCondition filter;
    ListSort sort;
};

// A row's place in the voucher order: the voucher, then its line (0 for a voucher without lines).
struct ListKey
{
    qlonglong voucher = 0;
    qlonglong line = 0;

    bool operator==(const ListKey &) const = default;
};

// The count and sums over every row that matches, not only the page.
struct ListTotals
{
    qint64 rows = 0;
    QVariantList sums; // one per sumFields entry; null when no row has a value
    // Every matching row's key in the list's order, when the totals were asked to note them
    // (16 bytes a row); a page is then read by its keys.
    QList<ListKey> keys;
};

// Rows of one page: the request's fields, then the voucher identifier "iautoid" when the fields do
// not include it.
struct ListRows
{
    QStringList fields;
    QList<QVariantList> rows;

    int keyColumn() const { return int(fields.indexOf(QStringLiteral("iautoid"))); }
};

// Builds and runs the list's statements. Rows come in a fixed order on both databases: the sort
// column when one is set (empty values first when ascending), then the voucher and its line, so
// that pages never overlap or skip a row.
//
// The totals count and sum every matching row (SQLite: one walk over the rows' keys and summed
// columns, added up here; PostgreSQL: on the server) and can note the rows' keys in the list's
// order; a page is then read by its rows' keys, whatever its number. Such pages show
// the rows as the totals found them: a row deleted since is left out, a row written since waits
// for the next totals; no row is shown twice or passed over. Without the keys a page is read with
// LIMIT and OFFSET; a page in the back half of the result is read from the end in the opposite
// order, so the last pages cost what the first ones do.
class ListQuery
{
public:
    explicit ListQuery(ListQueryRequest request);

    const ListQueryRequest &request() const { return m_request; }
    // " where (1=1)  and <permission>[ and <filter>]"; the filter's "?" are bound by the callers.
    QString whereClause() const;
    QString selectList() const;
    QString orderClause(bool reversed = false) const;

    // The count and sums; with noteKeys, also every row's key in the list's order.
    Result<ListTotals> totals(Connection &cnn, bool noteKeys = false) const;
    // Page `page` (1-based) of `pageSize` rows: by its keys when `totals` noted them, else by
    // offset into totals.rows matching rows.
    Result<ListRows> page(Connection &cnn, int page, int pageSize, const ListTotals &totals) const;
    // Page `page` (1-based) of `pageSize` rows out of `totalRows` matching rows, by offset.
    Result<ListRows> page(Connection &cnn, int page, int pageSize, qint64 totalRows) const;
    // Every matching row in order, read one at a time through a forward-only cursor, for output.
    // Runs on a connection of its own: PostgreSQL keeps the connection busy while rows stream.
    Result<std::unique_ptr<QSqlQuery>> openStream(Connection &cnn) const;

    static int pageCount(qint64 rows, int pageSize);

private:
    QStringList selectedFields() const;
    Result<ListTotals> totalsOnServer(Connection &cnn, bool noteKeys) const;
    // The shown columns of the rows whose keys are `keys`, in that order; reversed when asked.
    Result<ListRows> rowsOf(Connection &cnn, const QList<ListKey> &keys, bool reversed) const;

    ListQueryRequest m_request;
};
