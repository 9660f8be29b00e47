#include "VoucherCardWidget.h"

#include "CardCellDelegate.h"
#include "ForbiddenCharValidator.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kEditProp = QStringLiteral("editprop");
const QString kTemplateField = QStringLiteral("vt_id");
// Quotes would end the text they are typed into in the statements and documents the voucher
// travels in; the card refuses them everywhere unless the window sets other characters.
const QString kDefaultBadStr = QStringLiteral("'\"");
constexpr int kHeadPairsPerRow = 3;
const QColor kMarkedCell(0xC0, 0xC0, 0xC0);
const QColor kRequired(0xB0, 0x00, 0x00);

QColor fromHostColour(int colour)
{
    // The host gives colours as 0x00BBGGRR.
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString requiredCaption(const CardItem &item)
{
    return item.required ? item.caption + QStringLiteral(" *") : item.caption;
}

} // namespace

VoucherCardWidget::VoucherCardWidget(QWidget *parent)
    : QWidget(parent)
    , m_bodyBadStr(kDefaultBadStr)
    , m_headPanel(new QWidget(this))
    , m_headGrid(new QGridLayout(m_headPanel))
    , m_grid(new QTableWidget(this))
    , m_delegate(new CardCellDelegate(this))
{
    setObjectName(QStringLiteral("ctlVoucher1"));
    m_headPanel->setObjectName(QStringLiteral("headPanel"));
    m_grid->setObjectName(QStringLiteral("bodyGrid"));
    m_grid->setItemDelegate(m_delegate);
    m_delegate->setForbidden(m_bodyBadStr);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setTabKeyNavigation(true);
    // Typing or a double click opens a cell; F2 is the reference key (see eventFilter).
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked);
    m_grid->verticalHeader()->setDefaultSectionSize(24);
    m_grid->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_headPanel);
    layout->addWidget(m_grid, 1);

    connect(m_grid, &QTableWidget::itemChanged, this, &VoucherCardWidget::onCellChanged);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int current, int, int previous, int) {
        if (current != previous && !m_filling)
            emit currentRowChanged(current + 1);
    });
    connect(m_delegate, &CardCellDelegate::referenceRequested, this, &VoucherCardWidget::requestBodyReference);
}

VoucherCardWidget::~VoucherCardWidget()
{
    // The editors go first: closing the window moves the focus away from them, and a finished
    // entry must not reach documents that are gone.
    m_headEditors.clear();
    delete m_headPanel;
    delete m_grid;
}

const CardItem *VoucherCardWidget::headItem(const QString &field) const
{
    for (const CardItem &item : m_template.head) {
        if (item.field == field)
            return &item;
    }
    return nullptr;
}

const CardItem *VoucherCardWidget::bodyItem(const QString &field) const
{
    for (const CardItem &item : m_template.body) {
        if (item.field == field)
            return &item;
    }
    return nullptr;
}

void VoucherCardWidget::setTemplate(const CardTemplate &cardTemplate)
{
    m_template = cardTemplate;
    buildHead();
    buildGrid();
    fillHead();
    fillGrid();
}

void VoucherCardWidget::buildHead()
{
    for (const HeadEditor &e : std::as_const(m_headEditors)) {
        delete e.label;
        delete e.edit;
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
        e.edit->setValidator(new ForbiddenCharValidator(headForbidden(item.field), e.edit));
        if (item.maxLength > 0)
            e.edit->setMaxLength(item.maxLength);
        if (!item.refKind.isEmpty()) {
            QAction *refer = e.edit->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                               QLineEdit::TrailingPosition);
            refer->setToolTip(tr("参照 (F2)"));
            const QString field = item.field;
            connect(refer, &QAction::triggered, this, [this, field] { requestHeadReference(field); });
        }
        const QString field = item.field;
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

void VoucherCardWidget::buildGrid()
{
    m_columns.clear();
    for (int i = 0; i < m_template.body.size(); ++i) {
        if (m_template.body[i].shown)
            m_columns << i;
    }
    m_grid->clear();
    m_grid->setRowCount(0);
    m_grid->setColumnCount(int(m_columns.size()));
    QList<int> lengths;
    for (int c = 0; c < m_columns.size(); ++c) {
        const CardItem &item = m_template.body[m_columns[c]];
        lengths << item.maxLength;
        auto *header = new QTableWidgetItem(requiredCaption(item));
        if (item.required)
            header->setForeground(kRequired);
        m_grid->setHorizontalHeaderItem(c, header);
        if (item.width > 0)
            m_grid->setColumnWidth(c, item.width);
    }
    m_delegate->setMaxLengths(lengths);
}

int VoucherCardWidget::columnOf(const QString &field) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_template.body[m_columns[c]].field == field)
            return c;
    }
    return -1;
}

VoucherItemState VoucherCardWidget::ItemState(int index, Section section) const
{
    const QList<CardItem> &items = section == Head ? m_template.head : m_template.body;
    if (index < 1 || index > items.size())
        return {};
    const CardItem &item = items[index - 1];
    return {item.required, item.field, item.caption};
}

QString VoucherCardWidget::headValue(const QString &field) const
{
    return m_head.headRow().value(field);
}

QString VoucherCardWidget::headerText(int index) const
{
    return headerText(ItemState(index, Head).sFieldName);
}

QString VoucherCardWidget::headerText(const QString &field) const
{
    const QString f = field.trimmed().toLower();
    if (f.isEmpty())
        return {};
    // A shown item reads as typed, also before its entry is finished.
    if (QLineEdit *edit = headEditor(f))
        return edit->text();
    return headValue(f);
}

void VoucherCardWidget::setHeaderText(const QString &field, const QString &text)
{
    const QString f = field.trimmed().toLower();
    VoucherRow row = m_head.headRow();
    if (row.isNull())
        row = m_head.appendRow();
    row.setValue(f, text);
    if (QLineEdit *edit = headEditor(f))
        edit->setText(text);
}

QString VoucherCardWidget::bodyText(int row, int column) const
{
    return bodyText(row, ItemState(column, Body).sFieldName);
}

QString VoucherCardWidget::bodyText(int row, const QString &fieldName) const
{
    if (row < 1 || row > m_lines.size() || fieldName.isEmpty())
        return {};
    return m_lines[row - 1].value(fieldName.trimmed().toLower());
}

void VoucherCardWidget::setBodyText(int row, const QString &field, const QString &text)
{
    if (row < 1 || row > m_lines.size())
        return;
    const QString f = field.trimmed().toLower();
    VoucherRow line = m_lines[row - 1];
    line.setValue(f, text);
    if (f != kEditProp && m_editState != Viewing)
        markChanged(line);
    const int column = columnOf(f);
    if (column >= 0) {
        const QScopedValueRollback filling(m_filling, true);
        m_grid->item(row - 1, column)->setText(text);
    }
}

int VoucherCardWidget::row() const
{
    return m_lines.isEmpty() ? 0 : qMax(m_grid->currentRow(), 0) + 1;
}

bool VoucherCardWidget::getVoucherDataXML(VoucherDocument &head, VoucherDocument &body)
{
    // Head items typed into but not finished yet (a shortcut pressed inside the item) count in the
    // documents handed out, but are not taken into the card's own: the entry is still to be checked,
    // and a refused one goes back to the value the card holds.
    head = m_head;
    VoucherRow row = head.headRow();
    for (auto it = m_headEditors.cbegin(); it != m_headEditors.cend(); ++it) {
        const QString text = it->edit->text();
        if (text == headValue(it.key()))
            continue;
        if (row.isNull())
            row = head.appendRow();
        row.setValue(it.key(), text);
    }
    body = m_body;
    return !head.isEmpty();
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

void VoucherCardWidget::setEditState(int state)
{
    const bool entering = m_editState == Viewing && state != Viewing;
    m_editState = state;
    for (const QString &field : std::as_const(m_headOrder))
        updateHeadEditor(field);
    updateCellFlags();
    emit editStateChanged(state);
    if (entering) // after the card has applied the flags of the edit
        QMetaObject::invokeMethod(this, &VoucherCardWidget::focusFirstEditable, Qt::QueuedConnection);
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

bool VoucherCardWidget::isEditable(Section section, const QString &field) const
{
    const QString f = field.trimmed().toLower();
    const QMap<QString, bool> &flags = section == Head ? m_headEditable : m_bodyEditable;
    if (flags.contains(f))
        return flags.value(f);
    const CardItem *item = section == Head ? headItem(f) : bodyItem(f);
    return item && item->editable;
}

void VoucherCardWidget::setEditable(Section section, const QString &field, bool editable)
{
    const QString f = field.trimmed().toLower();
    (section == Head ? m_headEditable : m_bodyEditable)[f] = editable;
    if (section == Body)
        updateCellFlags();
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
        for (QAction *a : edit->actions())
            a->setEnabled(editable);
    }
}

bool VoucherCardWidget::cellEditable(int gridRow, int column) const
{
    if (m_editState == Viewing || column < 0 || column >= m_columns.size())
        return false;
    const QString field = m_template.body[m_columns[column]].field;
    return isEditable(Body, field) && !m_marked.contains({field, gridRow});
}

void VoucherCardWidget::updateCellFlags()
{
    for (int r = 0; r < m_grid->rowCount(); ++r)
        updateCellFlags(r);
}

void VoucherCardWidget::updateCellFlags(int gridRow)
{
    const QScopedValueRollback filling(m_filling, true);
    for (int c = 0; c < m_columns.size(); ++c) {
        QTableWidgetItem *item = m_grid->item(gridRow, c);
        if (!item)
            continue;
        const bool editable = cellEditable(gridRow, c);
        item->setFlags(editable ? item->flags() | Qt::ItemIsEditable : item->flags() & ~Qt::ItemIsEditable);
        const bool marked = m_marked.contains({m_template.body[m_columns[c]].field, gridRow});
        item->setBackground(marked ? QBrush(kMarkedCell) : QBrush());
    }
}

void VoucherCardWidget::loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int)
{
    m_head = head;
    m_body = body;
    m_marked.clear();
    const int templateId = headValue(kTemplateField).toInt();
    if (m_templateSource && (m_template.isEmpty() || (templateId != 0 && templateId != m_template.id))) {
        CardTemplate t = m_templateSource(templateId);
        if (!t.isEmpty()) {
            m_template = std::move(t);
            buildHead();
            buildGrid();
        }
    }
    fillHead();
    fillGrid();
    emit documentsLoaded();
}

void VoucherCardWidget::fillHead()
{
    const QScopedValueRollback filling(m_filling, true);
    for (auto it = m_headEditors.cbegin(); it != m_headEditors.cend(); ++it) {
        it->edit->setText(headValue(it.key()));
        it->edit->setCursorPosition(0);
        updateHeadEditor(it.key());
    }
}

void VoucherCardWidget::fillGrid()
{
    const QScopedValueRollback filling(m_filling, true);
    m_lines.clear();
    for (const VoucherRow &line : m_body.rows()) {
        if (line.value(kEditProp).compare(QLatin1String("D"), Qt::CaseInsensitive) != 0)
            m_lines << line;
    }
    m_grid->setRowCount(int(m_lines.size()));
    for (int r = 0; r < m_lines.size(); ++r) {
        for (int c = 0; c < m_columns.size(); ++c) {
            const CardItem &column = m_template.body[m_columns[c]];
            auto *item = new QTableWidgetItem(m_lines[r].value(column.field));
            if (column.number)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
        updateCellFlags(r);
    }
    if (!m_lines.isEmpty())
        m_grid->setCurrentCell(0, 0);
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

void VoucherCardWidget::finishHeadEntry(const QString &field)
{
    QLineEdit *edit = headEditor(field);
    // A check's message box takes the focus from the item, which finishes the entry once more.
    if (m_filling || m_checking || !edit || edit->isReadOnly())
        return;
    const QString previous = headValue(field);
    QString value = edit->text();
    if (value == previous)
        return;
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
    edit->setText(previous);
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

void VoucherCardWidget::markChanged(VoucherRow line)
{
    if (line.value(kEditProp).isEmpty())
        line.setValue(kEditProp, QStringLiteral("M"));
}

void VoucherCardWidget::onCellChanged(QTableWidgetItem *item)
{
    if (m_filling || !item)
        return;
    const int r = item->row();
    const int c = item->column();
    if (r < 0 || r >= m_lines.size() || c < 0 || c >= m_columns.size())
        return;
    const QString field = m_template.body[m_columns[c]].field;
    VoucherRow line = m_lines[r];
    const QString previous = line.value(field);
    QString value = item->text();
    if (value == previous)
        return;
    int result = 2;
    emit bodyCellCheck(field, value, r + 1, result);
    if (result == 0) {
        // Back to what the line held before the entry, whatever the check wrote meanwhile.
        const QScopedValueRollback filling(m_filling, true);
        if (line.value(field) != previous)
            line.setValue(field, previous);
        item->setText(previous);
        return;
    }
    setBodyText(r + 1, field, value);
}

void VoucherCardWidget::addRow()
{
    VoucherRow line = m_body.appendRow();
    line.setValue(kEditProp, QStringLiteral("A"));
    m_lines << line;
    const int r = int(m_lines.size()) - 1;
    {
        const QScopedValueRollback filling(m_filling, true);
        m_grid->insertRow(r);
        for (int c = 0; c < m_columns.size(); ++c) {
            auto *item = new QTableWidgetItem;
            if (m_template.body[m_columns[c]].number)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
        updateCellFlags(r);
    }
    emit rowAdded(r + 1);
    int first = 0;
    while (first < m_columns.size() && !cellEditable(r, first))
        ++first;
    m_grid->setCurrentCell(r, first < m_columns.size() ? first : 0);
    m_grid->setFocus(Qt::OtherFocusReason);
}

void VoucherCardWidget::deleteRow(int row)
{
    if (row < 1 || row > m_lines.size())
        return;
    VoucherRow line = m_lines.takeAt(row - 1);
    // A row the database has never seen simply goes; a stored one stays marked for the save.
    if (line.value(kEditProp).compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
        m_body.removeRow(line);
    else
        line.setValue(kEditProp, QStringLiteral("D"));
    // Marks follow their rows up.
    QSet<QPair<QString, int>> marked;
    for (const auto &m : std::as_const(m_marked)) {
        if (m.second != row - 1)
            marked.insert({m.first, m.second > row - 1 ? m.second - 1 : m.second});
    }
    m_marked = marked;
    const QScopedValueRollback filling(m_filling, true);
    m_grid->removeRow(row - 1);
}

void VoucherCardWidget::markCell(const QString &field, int row)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_marked.insert({field.trimmed().toLower(), row - 1});
    updateCellFlags(row - 1);
}

void VoucherCardWidget::clearCell(const QString &field, int row)
{
    if (row < 1 || row > m_lines.size())
        return;
    m_marked.remove({field.trimmed().toLower(), row - 1});
    updateCellFlags(row - 1);
}

bool VoucherCardWidget::isCellMarked(const QString &field, int row) const
{
    return m_marked.contains({field.trimmed().toLower(), row - 1});
}

void VoucherCardWidget::restoreCells()
{
    if (m_marked.isEmpty())
        return;
    m_marked.clear();
    updateCellFlags();
}

void VoucherCardWidget::setNumberingRule(const QString &ruleXml)
{
    m_numberingRule = ruleXml;
    if (m_editState != AddingVoucher)
        return;
    // The flow that gives the rule shows the new voucher afterwards; the number goes onto that.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_editState == AddingVoucher)
                emit numberingRequested();
        },
        Qt::QueuedConnection);
}

void VoucherCardWidget::setBackColor(int colour)
{
    QPalette p = m_headPanel->palette();
    p.setColor(QPalette::Window, fromHostColour(colour));
    m_headPanel->setPalette(p);
    m_headPanel->setAutoFillBackground(true);
}

void VoucherCardWidget::requestHeadReference(const QString &field)
{
    const CardItem *item = headItem(field);
    if (item && !item->refKind.isEmpty() && headEditable(field))
        emit headReferenceRequested(field);
}

void VoucherCardWidget::requestBodyReference(int gridRow, int column)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const CardItem &item = m_template.body[m_columns[column]];
    if (!item.refKind.isEmpty() && cellEditable(gridRow, column))
        emit bodyReferenceRequested(item.field, gridRow + 1);
}

void VoucherCardWidget::moveToNextHeadItem(const QString &field)
{
    const qsizetype i = m_headOrder.indexOf(field);
    if (i >= 0 && i + 1 < m_headOrder.size()) {
        m_headEditors[m_headOrder[i + 1]].edit->setFocus(Qt::TabFocusReason);
        return;
    }
    m_grid->setFocus(Qt::TabFocusReason);
    if (m_grid->rowCount() > 0 && m_grid->currentRow() < 0)
        m_grid->setCurrentCell(0, 0);
}

void VoucherCardWidget::moveToNextCell()
{
    const int r = m_grid->currentRow();
    const int c = m_grid->currentColumn();
    if (r < 0)
        return;
    if (c + 1 < m_grid->columnCount())
        m_grid->setCurrentCell(r, c + 1);
    else if (r + 1 < m_grid->rowCount())
        m_grid->setCurrentCell(r + 1, 0);
}

bool VoucherCardWidget::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(object, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (object == m_grid) { // an open editor gets its keys first (CardCellDelegate)
        if (enter) {
            moveToNextCell();
            return true;
        }
        if (key == Qt::Key_F2) {
            requestBodyReference(m_grid->currentRow(), m_grid->currentColumn());
            return true;
        }
    }
    if (auto *edit = qobject_cast<QLineEdit *>(object); edit && m_headEditors.contains(edit->objectName())) {
        if (enter) {
            finishHeadEntry(edit->objectName());
            moveToNextHeadItem(edit->objectName());
            return true;
        }
        if (key == Qt::Key_F2) {
            requestHeadReference(edit->objectName());
            return true;
        }
    }
    return QWidget::eventFilter(object, event);
}
