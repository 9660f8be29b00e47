#pragma once

#include "DataGridControl.h"

#include <QList>
#include <QStringList>

// A grid held in memory: the model behind a grid widget, and the grid of tests.
class MemoryDataGrid final : public DataGridControl
{
public:
    // A set-up grid: the title row only, with `titles` as its cells.
    MemoryDataGrid(QString name, QStringList titles);

    int Rows() const override { return int(m_rows.size()); }
    void setRows(int rows) override;
    QString TextMatrix(int row, int column) const override;
    void setTextMatrix(int row, int column, const QString &text) override;
    void RemoveItem(int row) override;
    QString Name() const override { return m_name; }

    int Cols() const { return m_columns; }

private:
    QString m_name;
    int m_columns;
    QList<QStringList> m_rows;
};
