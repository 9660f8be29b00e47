#include "CardCellDelegate.h"

#include "BodyLinesModel.h"
#include "ForbiddenCharValidator.h"

#include <QKeyEvent>
#include <QLineEdit>

CardCellDelegate::CardCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

void CardCellDelegate::setColumns(const QList<int> &maxLengths, const BodyLinesModel *lines)
{
    m_maxLengths = maxLengths;
    m_lines = lines;
}

QWidget *CardCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        auto *validator = new ForbiddenCharValidator(m_forbidden, line);
        if (m_lines && index.column() < m_lines->columnCount()) {
            const auto &item = m_lines->item(index.column());
            validator->setNumbersOnly(item.number, item.caption);
        }
        line->setValidator(validator);
        if (const int length = m_maxLengths.value(index.column()); length > 0)
            line->setMaxLength(length);
        line->setProperty("cellRow", index.row());
        line->setProperty("cellColumn", index.column());
    }
    return editor;
}

void CardCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // The stored text, not the one shown with the column's decimals.
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

bool CardCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            emit enterPressed();
            return true;
        }
        if (key == Qt::Key_F2) {
            const int row = editor->property("cellRow").toInt();
            const int column = editor->property("cellColumn").toInt();
            emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            emit referenceRequested(row, column);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
