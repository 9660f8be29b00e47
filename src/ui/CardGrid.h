#pragma once

#include <QTableView>

class BodyLinesModel;

// The body grid of the card: a table view over the voucher's lines, with the cell-level calls of a
// table widget (current cell, counts, a cell's text and whether it may be edited).
class CardGrid : public QTableView
{
    Q_OBJECT

public:
    explicit CardGrid(QWidget *parent = nullptr);

    void setLines(BodyLinesModel *model);
    BodyLinesModel *lines() const { return m_model; }

    int rowCount() const;
    int columnCount() const;
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    void setCurrentCell(int row, int column);
    // The text a cell shows, and whether the user may change it now.
    QString cellText(int row, int column) const;
    bool isCellEditable(int row, int column) const;

private:
    BodyLinesModel *m_model = nullptr;
};
