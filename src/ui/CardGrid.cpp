#include "CardGrid.h"

#include "BodyLinesModel.h"

#include <QHeaderView>

CardGrid::CardGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    verticalHeader()->setDefaultSectionSize(24);
}

void CardGrid::setLines(BodyLinesModel *model)
{
    m_model = model;
    setModel(model);
}

int CardGrid::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

int CardGrid::columnCount() const
{
    return m_model ? m_model->columnCount() : 0;
}

void CardGrid::setCurrentCell(int row, int column)
{
    if (m_model)
        setCurrentIndex(m_model->index(row, column));
}

QString CardGrid::cellText(int row, int column) const
{
    return m_model ? m_model->index(row, column).data(Qt::DisplayRole).toString() : QString();
}

bool CardGrid::isCellEditable(int row, int column) const
{
    return m_model && m_model->isEditable(row, column);
}
