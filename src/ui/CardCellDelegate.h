#pragma once

#include <QStyledItemDelegate>

// The editor of a body cell: a line edit that refuses the body's forbidden characters and text
// longer than its column holds, moves on to the next cell with Enter as with Tab, and asks for the
// cell's reference list with F2.
class CardCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CardCellDelegate(QObject *parent = nullptr);

    void setForbidden(const QString &forbidden) { m_forbidden = forbidden; }
    // The most characters the cells of each column take (by column; 0 or missing: unlimited).
    void setMaxLengths(const QList<int> &lengths) { m_maxLengths = lengths; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    // F2 in an open editor: the cell's reference list is wanted.
    void referenceRequested(int row, int column);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QString m_forbidden;
    QList<int> m_maxLengths;
};
