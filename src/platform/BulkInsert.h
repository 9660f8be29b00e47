#pragma once

#include "Connection.h"
#include "Result.h"

#include <QStringList>
#include <QVariantList>

// Writes many rows into one table: the lines of a large voucher, demo and benchmark data, on both
// backends. On PostgreSQL the rows go in batches of one COPY each; elsewhere, and for values COPY
// does not take, by multi-row INSERT statements ("VALUES (?, ?), (?, ?), ...") that are prepared
// once (through the native client where the values allow). Table and column names come from our
// own code; every value is bound or escaped by the copy format.
//
// Rows are collected until a batch is full; finish() writes the rest. Errors carry the
// database's text. The caller owns the transaction.
class BulkInsert
{
public:
    BulkInsert(Connection &cnn, QString table, QStringList columns, int rowsPerStatement = 100);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    // One row, its values in the order of the columns.
    Result<void> add(const QVariantList &row);
    Result<void> finish();
    qint64 rowsWritten() const { return m_written; }

private:
    QString statement(int rows) const;
    Result<void> write();

    Connection &m_cnn;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    int m_batchRows; // rows collected before they are written
    QVariantList m_pending;
    QString m_fullStatement; // the text of a full batch, made once
    qint64 m_written = 0;
};
