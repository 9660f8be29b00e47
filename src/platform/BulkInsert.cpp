#include "BulkInsert.h"


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

Result<void> BulkInsert::write(int rows)
{
    const qsizetype n = qsizetype(rows) * m_columns.size();
    const QString sql = rows == m_rowsPerStatement ? m_fullStatement : statement(rows);
    auto done = m_cnn.ExecuteNative(sql, n == m_pending.size() ? m_pending : m_pending.mid(0, n));
    if (!done)
        return fail(QStringLiteral("写入 %1 失败：%2").arg(m_table, done.error()));
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
    if (m_fullStatement.isEmpty())
        m_fullStatement = statement(m_rowsPerStatement);
    return write(m_rowsPerStatement);
}

Result<void> BulkInsert::finish()
{
    const int rows = int(m_pending.size() / qMax<qsizetype>(1, m_columns.size()));
    if (rows == 0)
        return {};
    return write(rows);
}
