#pragma once

#include <QHash>
#include <QString>

#include <list>
#include <memory>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// The prepared statements of one connection, by statement text, so a statement that runs again
// and again (a move, a lookup, a line insert) is prepared once and only executed after that.
//
// Bounded: beyond the capacity the statement used least recently is dropped, and dropping a
// QSqlQuery is what frees its server-side statement (QPSQL deallocates it then). PostgreSQL refuses
// that DEALLOCATE inside a transaction that a failed statement has broken, and the statement would
// stay in the session for good; while deferFrees() is on, dropped statements are therefore kept
// aside until freeDeferred() is called after the transaction has ended.
//
// The cache owns its queries; a pointer from acquire() stays valid until the next call that adds,
// removes or clears. Not thread-safe, like the connection it belongs to.
class StatementCache
{
public:
    explicit StatementCache(int capacity = 64);
    ~StatementCache();
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The query prepared for sql with paramCount placeholders, prepared on db now if it was not
    // cached. Null when preparing failed; *error then holds the query's error.
    QSqlQuery *acquire(const QSqlDatabase &db, const QString &sql, int paramCount, QSqlError *error);
    // Drops the statement (a failed execution may have left its query in a state not to reuse).
    void remove(const QString &sql);
    // Drops every statement: the schema changed, or the connection is about to close.
    void clear();

    void setDeferFrees(bool defer) { m_deferFrees = defer; }
    void freeDeferred();

    int size() const { return int(m_byText.size()); }
    int capacity() const { return m_capacity; }

private:
    struct Entry
    {
        QString sql;
        int paramCount = 0;
        std::unique_ptr<QSqlQuery> query;
    };
    using Entries = std::list<Entry>; // most recently used first

    void drop(Entries::iterator it);

    int m_capacity;
    bool m_deferFrees = false;
    Entries m_entries;
    QHash<QString, Entries::iterator> m_byText;
    std::vector<std::unique_ptr<QSqlQuery>> m_deferred;
};
