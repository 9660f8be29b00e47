#pragma once

#include "list/ListColumn.h"

#include <QDialog>

class QTableWidget;

// The list's column settings ("栏目"): per column whether it is shown, its caption, its width and
// whether the totals row sums it; 上移 and 下移 change the order. 确定 gives the columns in the
// new order; 恢复默认 offers the default settings back (the window then saves them for the user).
class ListColumnsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ListColumnsDialog(const QList<ListColumn> &columns, QWidget *parent = nullptr);

    QList<ListColumn> columns() const;
    QTableWidget *table() const { return m_table; }
    // Moves the current line up (-1) or down (+1).
    void moveCurrent(int step);

private:
    void fill(const QList<ListColumn> &columns);

    QTableWidget *m_table;
    QList<ListColumn> m_columns; // fields of the lines, in the table's order
};
