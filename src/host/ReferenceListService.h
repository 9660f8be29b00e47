#pragma once

#include "ReferenceListRequest.h"

#include "platform/Result.h"

#include <QString>
#include <QVariantList>

class Connection;
class Dialect;

// The searchable, paged reference list over master data that the card's lookups open.
//
// A page is one query: the request's table and columns, its condition, the search as a prefix of
// code or name, the further conditions, ordered by code, cut with LIMIT/OFFSET (one row more than
// the page, to tell whether another follows). The prefix is matched with a range on the column
// (text >= prefix and text < the prefix's successor), so both databases walk the code and name
// indexes instead of reading every row, and '%', '_' and quotes in the search are plain
// characters. The match is exact in letter case, and the comparison and the order are by code
// point on both databases whatever locale a PostgreSQL database was created with (see
// Dialect::byCodePoint; the schema's indexes on the searched columns are built the same way). The
// columns must include the code column.
//
// The connection is borrowed and must outlive the service. A database error is returned as its
// text.
class ReferenceListService
{
public:
    explicit ReferenceListService(Connection &cnn)
        : m_cnn(cnn)
    {}

    Result<ReferenceListPage> page(const ReferenceListRequest &request) const;

    // The statement of a page on a database of `dialect` and its values, for the page and for
    // anyone who wants to see the plan.
    static QString statement(const Dialect &dialect, const ReferenceListRequest &request, QVariantList &params);

    // The smallest text greater than every text that starts with prefix; "" when there is none
    // (the prefix is made of the highest code point only).
    static QString prefixSuccessor(const QString &prefix);

private:
    Connection &m_cnn;
};
