#pragma once

#include <QStyledItemDelegate>

class BodyLinesModel;

// The editor of a body cell: a line edit that refuses the body's forbidden characters, text
// longer than its column holds and, in number columns, anything but a number. Enter finishes the
// cell (the card then moves on to the next cell the user may change); F2 gives the typed text up
// and asks for the cell's reference list, so no check runs while the list is open.
class CardCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CardCellDelegate(QObject *parent = nullptr);

    void setForbidden(const QString &forbidden) { m_forbidden = forbidden; }
    // The most characters the cells of each column take (0 or missing: unlimited), and the lines
    // whose items tell number columns apart.
    void setColumns(const QList<int> &maxLengths, const BodyLinesModel *lines);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

signals:
    // F2 in an open editor: the cell's reference list is wanted.
    void referenceRequested(int row, int column);
    // Enter finished an entry.
    void enterPressed();

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QString m_forbidden;
    QList<int> m_maxLengths;
    const BodyLinesModel *m_lines = nullptr;
};
