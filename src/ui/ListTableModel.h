#pragma once

#include "list/ListPage.h"

#include <QAbstractTableModel>

// The rows of the list's shown page with the totals row under them, as the list control shows
// them: captions as headings, values in the columns' formats, numbers right-aligned. The totals row
// ("合计" in the first column) is there when the page has rows and some column is summed.
class ListTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPage(const ListPage &page);
    const ListPage &page() const { return m_page; }
    bool hasTotalsRow() const;
    // Whether a model row is a voucher row (not the totals row).
    bool isVoucherRow(int row) const { return row >= 0 && row < int(m_page.rows.rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ListPage m_page;
};
