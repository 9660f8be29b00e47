#pragma once

#include "StatementLru.h"

#include <QSqlQuery>
#include <QString>

class QSqlDatabase;
class QSqlError;

// The QSqlQuery objects prepared on one connection, by statement text, so a statement that runs
// again and again (a lookup, a line insert) is prepared once and only executed after that.
// Dropping a QSqlQuery is what frees its server-side statement (QPSQL deallocates it then); see
// StatementLru for the bound and for statements dropped inside a broken transaction.
class StatementCache
{
public:
    explicit StatementCache(int capacity = 64)
        : m_lru(capacity)
    {}

    // The query prepared for sql with paramCount placeholders, prepared on db now if it was not
    // cached. Null when preparing failed; *error then holds the query's error.
    QSqlQuery *acquire(const QSqlDatabase &db, const QString &sql, int paramCount, QSqlError *error);
    // Drops the statement (a failed execution may have left its query in a state not to reuse).
    void remove(const QString &sql) { m_lru.remove(sql); }
    // Drops every statement: the schema changed, or the connection is about to close.
    void clear() { m_lru.clear(); }

    void setDeferFrees(bool defer) { m_lru.setDeferFrees(defer); }
    void freeDeferred() { m_lru.freeDeferred(); }

    int size() const { return m_lru.size(); }
    int capacity() const { return m_lru.capacity(); }

private:
    StatementLru<QSqlQuery> m_lru;
};
