// VoucherCardWidget: the head items - their editors, what they show, entries and keys.
#include "VoucherCardWidget.h"

#include "BodyLinesModel.h"
#include "CardCellDelegate.h"
#include "CardGrid.h"
#include "ForbiddenCharValidator.h"

#include "common/NumberText.h"

#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStringListModel>
#include <QStyle>

namespace {

constexpr int kHeadPairsPerRow = 3;
const QColor kRequired(0xB0, 0x00, 0x00);

QString requiredCaption(const CardItem &item)
{
    return item.required ? item.caption + QStringLiteral(" *") : item.caption;
}

// The yes/no items keep 1 and 0 (or 是 and 否 as typed); the card shows them as words.
bool isChoiceField(const QString &field)
{
    return field == QLatin1String("bexpand") || field == QLatin1String("bexpandend");
}

} // namespace

void VoucherCardWidget::buildHead()
{
    for (const HeadEditor &e : std::as_const(m_headEditors)) {
        // Deleted later: the rebuild may run inside a signal of one of these editors.
        e.label->hide();
        e.edit->hide();
        e.label->deleteLater();
        e.edit->deleteLater();
    }
    m_headEditors.clear();
    m_headOrder.clear();
    int slot = 0;
    QWidget *previous = nullptr;
    for (const CardItem &item : std::as_const(m_template.head)) {
        if (!item.shown)
            continue;
        HeadEditor e;
        e.label = new QLabel(requiredCaption(item), m_headPanel);
        e.edit = new QLineEdit(m_headPanel);
        e.edit->setObjectName(item.field);
        e.label->setBuddy(e.edit);
        if (item.required) {
            QPalette p = e.label->palette();
            p.setColor(QPalette::WindowText, kRequired);
            e.label->setPalette(p);
        }
        if (item.number)
            e.edit->setAlignment(Qt::AlignRight);
        auto *validator = new ForbiddenCharValidator(headForbidden(item.field), e.edit);
        validator->setNumbersOnly(item.number, item.caption);
        e.edit->setValidator(validator);
        if (item.maxLength > 0)
            e.edit->setMaxLength(item.maxLength);
        const QString field = item.field;
        if (isChoiceField(field) && m_choiceSource) {
            auto *completer = new QCompleter(m_choiceSource(field), e.edit);
            completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
            e.edit->setCompleter(completer);
            QAction *open = e.edit->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
            connect(open, &QAction::triggered, completer, [completer] { completer->complete(); });
        } else if (!item.refKind.isEmpty()) {
            QAction *refer = e.edit->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                               QLineEdit::TrailingPosition);
            refer->setToolTip(tr("参照 (F2)"));
            connect(refer, &QAction::triggered, this, [this, field] { requestHeadReference(field); });
        }
        connect(e.edit, &QLineEdit::editingFinished, this, [this, field] { finishHeadEntry(field); });
        e.edit->installEventFilter(this);
        m_headGrid->addWidget(e.label, slot / kHeadPairsPerRow, (slot % kHeadPairsPerRow) * 2);
        m_headGrid->addWidget(e.edit, slot / kHeadPairsPerRow, (slot % kHeadPairsPerRow) * 2 + 1);
        if (previous)
            setTabOrder(previous, e.edit);
        previous = e.edit;
        ++slot;
        m_headEditors.insert(item.field, e);
        m_headOrder << item.field;
    }
    if (previous)
        setTabOrder(previous, m_grid);
}

QString VoucherCardWidget::headShown(const QString &field, const QString &value) const
{
    if (isChoiceField(field)) {
        const QString v = value.trimmed().toLower();
        if (v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("-1"))
            return QStringLiteral("是");
        if (v == QLatin1String("0") || v == QLatin1String("false"))
            return QStringLiteral("否");
        return value;
    }
    if (const CardItem *item = headItem(field); item && item->number)
        return NumberText::shown(value, item->decimals);
    return value;
}

void VoucherCardWidget::fillHead()
{
    const QScopedValueRollback filling(m_filling, true);
    for (auto it = m_headEditors.cbegin(); it != m_headEditors.cend(); ++it) {
        it->edit->setText(headShown(it.key(), headValue(it.key())));
        it->edit->setCursorPosition(0);
        updateHeadEditor(it.key());
    }
}

void VoucherCardWidget::focusFirstEditable()
{
    for (const QString &field : std::as_const(m_headOrder)) {
        if (headEditable(field)) {
            m_headEditors[field].edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    m_grid->setFocus(Qt::OtherFocusReason);
}

void VoucherCardWidget::focusItem(Section section, const QString &field)
{
    const QString f = field.trimmed().toLower();
    if (section == Head) {
        if (QLineEdit *edit = headEditor(f)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
        return;
    }
    if (const int column = columnOf(f); column >= 0 && m_lines->rowCount() > 0) {
        m_grid->setFocus(Qt::OtherFocusReason);
        m_grid->setCurrentCell(qMax(m_grid->currentRow(), 0), column);
    }
}

void VoucherCardWidget::applyEditable(const QString &headField)
{
    const QString f = headField.trimmed().toLower();
    m_headShownEditable[f] = isEditable(Head, f);
    updateHeadEditor(f);
}

bool VoucherCardWidget::headEditable(const QString &field) const
{
    if (m_editState == Viewing)
        return false;
    if (m_headShownEditable.contains(field))
        return m_headShownEditable.value(field);
    const CardItem *item = headItem(field);
    return item && item->editable;
}

void VoucherCardWidget::updateHeadEditor(const QString &field)
{
    if (QLineEdit *edit = headEditor(field)) {
        const bool editable = headEditable(field);
        edit->setReadOnly(!editable);
        // Tab passes over what the user may not change; a click still selects it for copying.
        edit->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
        for (QAction *a : edit->actions())
            a->setEnabled(editable);
    }
}

QLineEdit *VoucherCardWidget::headEditor(const QString &field) const
{
    const auto it = m_headEditors.constFind(field);
    return it == m_headEditors.cend() ? nullptr : it->edit;
}

QLabel *VoucherCardWidget::headLabel(const QString &field) const
{
    const auto it = m_headEditors.constFind(field);
    return it == m_headEditors.cend() ? nullptr : it->label;
}

bool VoucherCardWidget::numberAccepted(QLineEdit *edit, const CardItem &item)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty() || NumberText::parse(text))
        return true;
    ForbiddenCharValidator::hint(edit, QStringLiteral("[%1]不是数字，只能输入数字（也不能过大）").arg(item.caption));
    return false;
}

void VoucherCardWidget::finishHeadEntry(const QString &field)
{
    QLineEdit *edit = headEditor(field);
    // A check's message box takes the focus from the item, which finishes the entry once more; so
    // does the reference list opened from it, which fills the item itself.
    if (m_filling || m_checking || m_referring || !edit || edit->isReadOnly())
        return;
    const QString previous = headValue(field);
    QString value = headerText(field);
    if (value == previous)
        return;
    const CardItem *item = headItem(field);
    if (item && item->number && !numberAccepted(edit, *item)) {
        const QScopedValueRollback filling(m_filling, true);
        edit->setText(headShown(field, previous));
        return;
    }
    int result = 2;
    {
        const QScopedValueRollback checking(m_checking, true);
        emit headCellCheck(field, value, result);
    }
    const QScopedValueRollback filling(m_filling, true);
    if (result != 0) {
        setHeaderText(field, value);
        return;
    }
    // Back to what the head held before the entry, whatever the check wrote meanwhile.
    if (headValue(field) != previous)
        setHeaderText(field, previous);
    edit->setText(headShown(field, previous));
}

void VoucherCardWidget::commitPendingEntry()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return;
    if (auto *edit = qobject_cast<QLineEdit *>(focus); edit && headEditor(edit->objectName()) == edit)
        finishHeadEntry(edit->objectName());
    else if (m_grid->viewport()->isAncestorOf(focus))
        m_grid->setFocus(Qt::OtherFocusReason); // the cell's editor commits as it loses the focus
}

void VoucherCardWidget::setHeadBadStr(int index, const QString &text)
{
    const QString field = ItemState(index, Head).sFieldName;
    if (field.isEmpty())
        return;
    m_headBadStr[field] = text;
    setHeadForbidden(field);
}

void VoucherCardWidget::setBodyBadStr(const QString &text)
{
    m_bodyBadStr = text;
    m_delegate->setForbidden(text);
    for (auto it = m_headEditors.cbegin(); it != m_headEditors.cend(); ++it)
        setHeadForbidden(it.key());
}

QString VoucherCardWidget::headForbidden(const QString &field) const
{
    // A head item refuses the body's characters until it is given its own.
    return m_headBadStr.value(field, m_bodyBadStr);
}

void VoucherCardWidget::setHeadForbidden(const QString &field)
{
    if (QLineEdit *edit = headEditor(field)) {
        if (auto *v = qobject_cast<ForbiddenCharValidator *>(const_cast<QValidator *>(edit->validator())))
            v->setForbidden(headForbidden(field));
    }
}

void VoucherCardWidget::requestHeadReference(const QString &field)
{
    const CardItem *item = headItem(field);
    if (!item || item->refKind.isEmpty() || !headEditable(field) || m_referring)
        return;
    {
        // The list takes the focus: the typed prefix is what it searches for, not an entry to check.
        const QScopedValueRollback referring(m_referring, true);
        emit headReferenceRequested(field);
    }
    // What the list did not fill goes back to what the head holds; then on to the next item, as
    // Enter does after a choice.
    if (QLineEdit *edit = headEditor(field); edit && headerText(field) != headValue(field)) {
        const QScopedValueRollback filling(m_filling, true);
        edit->setText(headShown(field, headValue(field)));
    }
    moveToNextHeadItem(field);
}

void VoucherCardWidget::moveToNextHeadItem(const QString &field)
{
    // The next item the user may change; past the last, the grid.
    for (qsizetype i = m_headOrder.indexOf(field) + 1; i > 0 && i < m_headOrder.size(); ++i) {
        if (headEditable(m_headOrder[i]) || m_editState == Viewing) {
            m_headEditors[m_headOrder[i]].edit->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_grid->setFocus(Qt::TabFocusReason);
    if (m_grid->rowCount() > 0 && m_grid->currentRow() < 0)
        m_grid->setCurrentCell(0, 0);
}

bool VoucherCardWidget::headKeyEvent(QLineEdit *edit, QEvent *event)
{
    const QString field = edit->objectName();
    if (event->type() == QEvent::InputMethod && m_keyFilter && !m_keyFilter(field, Qt::Key_unknown))
        return true;
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) {
        finishHeadEntry(field);
        moveToNextHeadItem(field);
        return true;
    }
    if (key->key() == Qt::Key_F2) {
        requestHeadReference(field);
        return true;
    }
    // Items filled by their list take Backspace (and Enter) only.
    const bool typing = !key->text().isEmpty() || key->key() == Qt::Key_Delete || key->matches(QKeySequence::Paste);
    if (typing && m_keyFilter && !m_keyFilter(field, key->key()))
        return true;
    return false;
}
