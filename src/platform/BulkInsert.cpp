#include "BulkInsert.h"

namespace {

// Rows a PostgreSQL COPY takes at once: one round trip and no statement to plan per batch.
constexpr int kCopyRows = 2000;

} // namespace

BulkInsert::BulkInsert(Connection &cnn, QString table, QStringList columns, int rowsPerStatement)
    : m_cnn(cnn)
    , m_table(std::move(table))
    , m_columns(std::move(columns))
    // SQLite binds at most 32766 values in one statement.
    , m_rowsPerStatement(qBound(1, rowsPerStatement, 30000 / int(qMax<qsizetype>(1, m_columns.size()))))
    , m_batchRows(cnn.backend() == Backend::Postgres ? qMax(m_rowsPerStatement, kCopyRows) : m_rowsPerStatement)
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

// Writes the pending rows: with one COPY where it serves, else by statements of at most
// m_rowsPerStatement rows.
Result<void> BulkInsert::write()
{
    const qsizetype width = m_columns.size();
    const int rows = int(m_pending.size() / width);
    auto copied = m_cnn.CopyRows(m_table, m_columns, m_pending);
    if (!copied)
        return fail(QStringLiteral("写入 %1 失败：%2").arg(m_table, copied.error()));
    for (int first = 0; !*copied && first < rows; first += m_rowsPerStatement) {
        const int n = qMin(m_rowsPerStatement, rows - first);
        if (n == m_rowsPerStatement && m_fullStatement.isEmpty())
            m_fullStatement = statement(n);
        auto done = m_cnn.ExecuteNative(n == m_rowsPerStatement ? m_fullStatement : statement(n),
                                        n == rows ? m_pending : m_pending.mid(first * width, n * width));
        if (!done)
            return fail(QStringLiteral("写入 %1 失败：%2").arg(m_table, done.error()));
        m_written += n;
    }
    if (*copied)
        m_written += rows;
    m_pending.clear();
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
    if (m_pending.size() < qsizetype(m_batchRows) * m_columns.size())
        return {};
    return write();
}

Result<void> BulkInsert::finish()
{
    if (m_pending.isEmpty())
        return {};
    return write();
}
