#include "StatementCache.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <iterator>

StatementCache::StatementCache(int capacity)
    : m_capacity(std::max(1, capacity))
{}

StatementCache::~StatementCache()
{
    clear();
    freeDeferred();
}

QSqlQuery *StatementCache::acquire(const QSqlDatabase &db, const QString &sql, int paramCount, QSqlError *error)
{
    if (const auto found = m_byText.constFind(sql); found != m_byText.cend()) {
        const Entries::iterator it = found.value();
        if (it->paramCount == paramCount) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return it->query.get();
        }
        // The same text with another number of values: let the driver judge it afresh rather than
        // run it with values left bound from the last time.
        drop(it);
    }

    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        if (error)
            *error = query->lastError();
        return nullptr; // nothing was prepared on the server, so nothing to free
    }
    m_entries.push_front(Entry{sql, paramCount, std::move(query)});
    m_byText.insert(sql, m_entries.begin());
    while (int(m_entries.size()) > m_capacity)
        drop(std::prev(m_entries.end()));
    return m_entries.front().query.get();
}

void StatementCache::remove(const QString &sql)
{
    if (const auto found = m_byText.constFind(sql); found != m_byText.cend())
        drop(found.value());
}

void StatementCache::clear()
{
    while (!m_entries.empty())
        drop(m_entries.begin());
}

void StatementCache::freeDeferred()
{
    m_deferred.clear();
}

void StatementCache::drop(Entries::iterator it)
{
    m_byText.remove(it->sql);
    if (m_deferFrees)
        m_deferred.push_back(std::move(it->query));
    m_entries.erase(it); // destroys the query unless kept aside: QPSQL deallocates its statement
}
