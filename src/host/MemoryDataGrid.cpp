#include "MemoryDataGrid.h"

MemoryDataGrid::MemoryDataGrid(QString name, QStringList titles)
    : m_name(std::move(name))
    , m_columns(int(titles.size()))
{
    m_rows.append(std::move(titles));
}

void MemoryDataGrid::setRows(int rows)
{
    rows = qMax(rows, 1);
    while (m_rows.size() > rows)
        m_rows.removeLast();
    while (m_rows.size() < rows) {
        QStringList empty;
        for (int c = 0; c < m_columns; ++c)
            empty.append(QString());
        m_rows.append(empty);
    }
}

QString MemoryDataGrid::TextMatrix(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns)
        return {};
    return m_rows.at(row).at(column);
}

void MemoryDataGrid::setTextMatrix(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns)
        return;
    m_rows[row][column] = text;
}

void MemoryDataGrid::RemoveItem(int row)
{
    if (row < 1 || row >= m_rows.size())
        return;
    m_rows.removeAt(row);
}
