#pragma once

#include "Result.h"

#include <QList>
#include <QString>
#include <QVariantList>

class Connection;

// Runs a query whose WHERE clause holds one IN list, for many values at once: one round trip per
// chunk of values instead of one per value. Every value is bound.
//
// `sql` holds "%1" where the list of "?" marks goes (the first "%1"; the rest of the text is left
// as it is) ("... WHERE cPSCode IN (%1) ORDER BY ...").
// Values are sent in chunks of at most chunkSize, well below what either backend allows to be
// bound in one statement; the rows of all chunks are returned, chunk after chunk, each chunk in
// the order its statement gives. On PostgreSQL an "IN (%1)" list of texts or numbers goes as one
// array value instead ("= ANY(?)"): one statement for every value, rows in its order. A database
// error ends the query and is returned.
namespace InListQuery {

constexpr int DefaultChunkSize = 500;

Result<QList<QVariantList>> rows(Connection &cnn, const QString &sql, const QVariantList &values,
                                 int chunkSize = DefaultChunkSize);

} // namespace InListQuery
