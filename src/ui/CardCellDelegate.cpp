#include "CardCellDelegate.h"

#include "ForbiddenCharValidator.h"

#include <QKeyEvent>
#include <QLineEdit>

CardCellDelegate::CardCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{}

QWidget *CardCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setValidator(new ForbiddenCharValidator(m_forbidden, line));
        if (const int length = m_maxLengths.value(index.column()); length > 0)
            line->setMaxLength(length);
        line->setProperty("cellRow", index.row());
        line->setProperty("cellColumn", index.column());
    }
    return editor;
}

bool CardCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter finishes the cell and opens the next one, as Tab does.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
        if (key == Qt::Key_F2) {
            emit referenceRequested(editor->property("cellRow").toInt(), editor->property("cellColumn").toInt());
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
