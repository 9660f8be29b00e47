#include "AttachmentGrid.h"

#include <QHeaderView>
#include <QSignalBlocker>

AttachmentGrid::AttachmentGrid(const QString &name, const QStringList &titles, QWidget *parent)
    : QTableWidget(0, int(titles.size()), parent)
{
    setObjectName(name);
    setHorizontalHeaderLabels(titles);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setColumnWidth(1, 260);
    // A row chosen by the mouse or walked to with the keys; changes made through the grid
    // interface are blocked from raising it.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            emit dataRowChosen(row + 1);
    });
    // A click on the row that is already current, after the other grid was used.
    connect(this, &QTableWidget::cellClicked, this, [this](int row) { emit dataRowChosen(row + 1); });
}

void AttachmentGrid::setRows(int rows)
{
    const QSignalBlocker quiet(this);
    clearSelection();
    setCurrentCell(-1, -1);
    setRowCount(qMax(0, rows - 1));
}

QString AttachmentGrid::TextMatrix(int row, int column) const
{
    if (row < 0 || row >= Rows() || column < 0 || column >= columnCount())
        return {};
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
    return cell ? cell->text() : QString();
}

void AttachmentGrid::setTextMatrix(int row, int column, const QString &text)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= columnCount())
        return;
    const QSignalBlocker quiet(this);
    if (row == 0) {
        setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem *cell = item(row - 1, column))
        cell->setText(text);
    else
        setItem(row - 1, column, new QTableWidgetItem(text));
}

void AttachmentGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        return;
    const QSignalBlocker quiet(this);
    removeRow(row - 1);
    clearSelection();
    setCurrentCell(-1, -1);
}
