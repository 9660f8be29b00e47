// VoucherCardWidget: the body grid - entries of its cells, references and the keys it takes.
#include "VoucherCardWidget.h"

#include "BodyLinesModel.h"
#include "CardGrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

// Keys the grid pages with while it has the focus; elsewhere they move between vouchers.
bool isPagingKey(const QKeyEvent *key)
{
    if (key->modifiers().testFlag(Qt::AltModifier)) // Alt moves between vouchers everywhere
        return false;
    const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
    switch (key->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return !ctrl;
    case Qt::Key_Home:
    case Qt::Key_End: return ctrl;
    default: return false;
    }
}

} // namespace

bool VoucherCardWidget::checkCellEntry(int gridRow, const QString &field, QString &value)
{
    if (m_filling || m_referring)
        return false;
    const VoucherRow line = m_lines->lines()[gridRow];
    const QString previous = line.value(field);
    int result = 2;
    emit bodyCellCheck(field, value, gridRow + 1, result);
    if (result == 0) {
        // Back to what the line held before the entry, whatever the check wrote meanwhile.
        if (line.value(field) != previous)
            m_lines->setText(gridRow, field, previous);
        return false;
    }
    setBodyText(gridRow + 1, field, value);
    return true;
}

void VoucherCardWidget::requestBodyReference(int gridRow, int column)
{
    if (column < 0 || column >= m_lines->columnCount() || m_referring)
        return;
    const CardItem &item = m_lines->item(column);
    if (item.refKind.isEmpty() || !cellEditable(gridRow, column))
        return;
    const QScopedValueRollback referring(m_referring, true);
    emit bodyReferenceRequested(item.field, gridRow + 1);
}

bool VoucherCardWidget::moveToNextCell()
{
    const int rows = m_lines->rowCount();
    const int columns = m_lines->columnCount();
    int r = m_grid->currentRow();
    int c = m_grid->currentColumn();
    if (r < 0 || columns == 0)
        return false;
    // The next cell the user may change, line by line; while viewing, simply the next cell.
    while (true) {
        if (++c >= columns) {
            c = 0;
            ++r;
        }
        if (r >= rows)
            break;
        if (m_editState == Viewing || cellEditable(r, c)) {
            m_grid->setCurrentCell(r, c);
            return true;
        }
    }
    // Past the last one of the last line: a new line to go on with.
    if (m_editState == Viewing)
        return false;
    addRow();
    return true;
}

bool VoucherCardWidget::gridKeyEvent(QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    // The window's moves use these keys; the grid keeps them while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        if (isPagingKey(key)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        moveToNextCell();
        return true;
    }
    if (key->key() == Qt::Key_F2) {
        requestBodyReference(m_grid->currentRow(), m_grid->currentColumn());
        return true;
    }
    return false;
}

bool VoucherCardWidget::eventFilter(QObject *object, QEvent *event)
{
    if (object == m_grid) // an open editor gets its keys first (CardCellDelegate)
        return gridKeyEvent(event) || QWidget::eventFilter(object, event);
    if (auto *edit = qobject_cast<QLineEdit *>(object); edit && headEditor(edit->objectName()) == edit)
        return headKeyEvent(edit, event) || QWidget::eventFilter(object, event);
    return QWidget::eventFilter(object, event);
}
