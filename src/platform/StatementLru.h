#pragma once

#include <QHash>
#include <QString>

#include <iterator>
#include <list>
#include <memory>
#include <vector>

// The prepared statements of one connection by statement text, most recently used first, at most
// `capacity` of them: beyond it the one used least recently is dropped. Statement is whatever
// holds a prepared statement and frees it in its destructor.
//
// PostgreSQL refuses to free a statement inside a transaction that a failed statement has broken,
// and the statement would stay in the session for good; while deferFrees() is on, dropped
// statements are therefore kept aside until freeDeferred() is called after the transaction ended.
//
// A pointer from acquire() stays valid until the next call that adds, removes or clears.
template<typename Statement> class StatementLru
{
public:
    explicit StatementLru(int capacity)
        : m_capacity(capacity < 1 ? 1 : capacity)
    {}
    ~StatementLru()
    {
        m_deferFrees = false;
        clear();
    }
    StatementLru(const StatementLru &) = delete;
    StatementLru &operator=(const StatementLru &) = delete;

    // The statement kept for sql with paramCount values, or else the one prepare() returns (a
    // std::unique_ptr<Statement>, null when preparing failed), kept from now on.
    template<typename Prepare> Statement *acquire(const QString &sql, int paramCount, Prepare prepare)
    {
        if (const auto found = m_byText.constFind(sql); found != m_byText.cend()) {
            const typename Entries::iterator it = found.value();
            if (it->paramCount == paramCount) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return it->statement.get();
            }
            // The same text with another number of values: let the database judge it afresh.
            drop(it);
        }
        std::unique_ptr<Statement> statement = prepare();
        if (!statement)
            return nullptr;
        m_entries.push_front(Entry{sql, paramCount, std::move(statement)});
        m_byText.insert(sql, m_entries.begin());
        while (int(m_entries.size()) > m_capacity)
            drop(std::prev(m_entries.end()));
        return m_entries.front().statement.get();
    }

    void remove(const QString &sql)
    {
        if (const auto found = m_byText.constFind(sql); found != m_byText.cend())
            drop(found.value());
    }
    void clear()
    {
        while (!m_entries.empty())
            drop(m_entries.begin());
    }

    void setDeferFrees(bool defer) { m_deferFrees = defer; }
    void freeDeferred() { m_deferred.clear(); }
    int size() const { return int(m_entries.size()); }
    int capacity() const { return m_capacity; }

private:
    struct Entry
    {
        QString sql;
        int paramCount = 0;
        std::unique_ptr<Statement> statement;
    };
    using Entries = std::list<Entry>;

    void drop(typename Entries::iterator it)
    {
        m_byText.remove(it->sql);
        if (m_deferFrees)
            m_deferred.push_back(std::move(it->statement));
        m_entries.erase(it); // frees the statement unless it was kept aside
    }

    int m_capacity;
    bool m_deferFrees = false;
    Entries m_entries;
    QHash<QString, typename Entries::iterator> m_byText;
    std::vector<std::unique_ptr<Statement>> m_deferred;
};
