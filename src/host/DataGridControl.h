#pragma once

#include <QString>

// The host's grid control as the attachment code sees it: rows and columns of text with a title row.
//
// Row 0 holds the column titles; data rows follow from row 1, so a freshly set-up grid has Rows 1
// and a grid with n data rows has Rows n + 1. The grid keeps no spare empty row: an entry is
// appended by adding a row and writing the new last row. A cell outside the grid reads as empty
// text and writes nowhere.
class DataGridControl
{
public:
    virtual ~DataGridControl() = default;

    // Number of rows, title row included. Setting it adds empty rows at the end or drops rows from
    // the end; it never goes below 1 (the title row).
    virtual int Rows() const = 0;
    virtual void setRows(int rows) = 0;

    virtual QString TextMatrix(int row, int column) const = 0;
    virtual void setTextMatrix(int row, int column, const QString &text) = 0;

    // Removes a data row; the rows below move up. Row 0 and rows outside the grid are left alone.
    virtual void RemoveItem(int row) = 0;

    // The control's name ("TempGrid", "ServerGrid"); the attachment store tells the grids apart by it.
    virtual QString Name() const = 0;
};
