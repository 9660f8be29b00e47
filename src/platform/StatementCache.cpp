#include "StatementCache.h"

#include <QSqlDatabase>
#include <QSqlError>

QSqlQuery *StatementCache::acquire(const QSqlDatabase &db, const QString &sql, int paramCount, QSqlError *error)
{
    return m_lru.acquire(sql, paramCount, [&]() -> std::unique_ptr<QSqlQuery> {
        auto query = std::make_unique<QSqlQuery>(db);
        query->setForwardOnly(true);
        if (!query->prepare(sql)) {
            if (error)
                *error = query->lastError();
            return nullptr; // nothing was prepared on the server, so nothing to free
        }
        return query;
    });
}
