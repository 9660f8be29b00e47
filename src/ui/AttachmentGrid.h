#pragma once

#include "host/DataGridControl.h"

#include <QTableWidget>

// One of the attachment window's grids ("TempGrid", "ServerGrid") on a table widget. Row 0 of the
// grid is the table's header; grid row n is table row n - 1. Changes made through the grid
// interface clear the selection and raise no row signals: only the user chooses a row.
class AttachmentGrid : public QTableWidget, public DataGridControl
{
    Q_OBJECT

public:
    AttachmentGrid(const QString &name, const QStringList &titles, QWidget *parent = nullptr);

    int Rows() const override { return rowCount() + 1; }
    void setRows(int rows) override;
    QString TextMatrix(int row, int column) const override;
    void setTextMatrix(int row, int column, const QString &text) override;
    void RemoveItem(int row) override;
    QString Name() const override { return objectName(); }

signals:
    // The user chose data row `row` (1 for the first) by mouse or keyboard.
    void dataRowChosen(int row);
};
