#include "BulkInsert.h"

#include <QSqlError>

BulkInsert::BulkInsert(Connection &cnn, QString table, QStringList columns, int rowsPerStatement)
    : m_cnn(cnn)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    // SQLite binds at most 32766 values in one statement.
    , m_rowsPerStatement(qBound(1, rowsPerStatement, 30000 / int(qMax<qsizetype>(1, m_columns.size()))))
{}

BulkInsert::~BulkInsert() = default;

QString BulkInsert::statement(int rows) const
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), m_columns.size());
    const QString one = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList values;
    values.fill(one, rows);
    return QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") + m_columns.join(QStringLiteral(", "))
           + QStringLiteral(") VALUES ") + values.join(QStringLiteral(", "));
}

Result<void> BulkInsert::write(QSqlQuery &query, int rows)
{
    const int n = rows * int(m_columns.size());
    for (int i = 0; i < n; ++i)
        query.bindValue(i, m_pending.at(i));
    if (!query.exec()) {
        const QSqlError e = query.lastError();
        m_cnn.noteFailure(e);
        return fail(
            QStringLiteral("写入 %1 失败：%2").arg(m_table, e.databaseText().isEmpty() ? e.text() : e.databaseText()));
    }
    m_pending.remove(0, n);
    m_written += rows;
    return {};
}

Result<void> BulkInsert::add(const QVariantList &row)
{
    if (row.size() != m_columns.size())
        return fail(QStringLiteral("写入 %1 失败：一行有 %2 个值，应为 %3 个")
                        .arg(m_table)
                        .arg(row.size())
                        .arg(m_columns.size()));
    m_pending << row;
    if (m_pending.size() < qsizetype(m_rowsPerStatement) * m_columns.size())
        return {};
    if (!m_full) {
        m_full = std::make_unique<QSqlQuery>(m_cnn.database());
        if (!m_full->prepare(statement(m_rowsPerStatement)))
            return fail(QStringLiteral("写入 %1 失败：%2").arg(m_table, m_full->lastError().text()));
    }
    return write(*m_full, m_rowsPerStatement);
}

Result<void> BulkInsert::finish()
{
    const int rows = int(m_pending.size() / qMax<qsizetype>(1, m_columns.size()));
    if (rows == 0)
        return {};
    QSqlQuery rest(m_cnn.database());
    if (!rest.prepare(statement(rows)))
        return fail(QStringLiteral("写入 %1 失败：%2").arg(m_table, rest.lastError().text()));
    return write(rest, rows);
}
