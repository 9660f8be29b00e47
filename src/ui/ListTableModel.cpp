#include "ListTableModel.h"

#include <QFont>

void ListTableModel::setPage(const ListPage &page)
{
    beginResetModel();
    m_page = page;
    endResetModel();
}

bool ListTableModel::hasTotalsRow() const
{
    if (m_page.rows.rows.isEmpty())
        return false;
    for (const QVariant &t : m_page.totals) {
        if (!t.isNull())
            return true;
    }
    return false;
}

int ListTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_page.rows.rows.size()) + (hasTotalsRow() ? 1 : 0);
}

int ListTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_page.columns.size());
}

QVariant ListTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const bool totals = !isVoucherRow(row);
    switch (role) {
    case Qt::DisplayRole:
        if (totals) {
            const QString text = m_page.totalText(column);
            return column == 0 && text.isEmpty() ? QStringLiteral("合计") : text;
        }
        return m_page.text(row, column);
    case Qt::TextAlignmentRole:
        return int((m_page.formats.at(column).decimals >= 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::FontRole:
        if (totals) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < m_page.columns.size()) {
        if (role == Qt::DisplayRole) {
            QString caption = m_page.columns.at(section).caption;
            if (m_page.sort.field == m_page.columns.at(section).field)
                caption += m_page.sort.descending ? QStringLiteral(" ▼") : QStringLiteral(" ▲");
            return caption;
        }
        return {};
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return isVoucherRow(section) ? QVariant(section + 1) : QVariant(QString());
    return {};
}
