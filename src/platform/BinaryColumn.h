#pragma once

#include "Result.h"

#include <QString>

#include <functional>

class Connection;
class QFile;
class QIODevice;

// Moves the bytes of one binary column of one row between a file and the database through the
// native client of the connection, so that large files neither pass through the drivers' text
// escaping nor sit in memory several times over. Going out, the file is read once and bound as one
// binary value in place: SQLite adds one copy as it builds its record, PostgreSQL's client one in
// its send buffer (two copies at the peak). Coming back, SQLite's value is read in chunks with the
// incremental blob functions (memory stays at one chunk), PostgreSQL's arrives as one binary result
// (one copy). Writing in chunks into a zeroblob() would keep SQLite's upload at one chunk of memory
// but writes every page twice, which made it measurably slower.
//
// Both run on the connection's own native handle, so they take part in its open transaction and
// see its schema. The table, column and key column are identifiers from our own code, never user
// input; on SQLite the key column must be the table's integer primary key (the row id).
class BinaryColumn
{
public:
    BinaryColumn(Connection &cnn, QString table, QString column, QString keyColumn);

    // Replaces the column of the row whose key is `key` with the whole content of `source`, an
    // open file read from its start. Fails when there is no such row, the file cannot be read to
    // its end or the database refuses the value; the caller's transaction decides what remains.
    Result<void> write(qint64 key, QFile &source);

    // Called after each chunk written to the sink with the bytes written so far; answering false
    // stops the read, which then fails with `Stopped`.
    using ChunkDone = std::function<bool(qint64 written)>;

    // Writes the column of row `key` into `sink` (open for writing). Answers false when there is no
    // such row; a NULL column writes nothing and answers true.
    Result<bool> read(qint64 key, QIODevice &sink, const ChunkDone &chunkDone = {});

    // The failure text of a read stopped by its ChunkDone.
    static QString Stopped();

    // Bytes moved from the database to the sink in one step.
    static constexpr qint64 ChunkSize = 1 << 20;

private:
    Result<void> writeSqlite(qint64 key, QFile &source);
    Result<bool> readSqlite(qint64 key, QIODevice &sink, const ChunkDone &chunkDone);
    Result<void> writePostgres(qint64 key, QFile &source);
    Result<bool> readPostgres(qint64 key, QIODevice &sink, const ChunkDone &chunkDone);

    Connection &m_cnn;
    QString m_table;
    QString m_column;
    QString m_key;
};
