// VoucherCardWidget: the documents it shows and the card control's interface over them.
#include "VoucherCardWidget.h"

#include "BodyLinesModel.h"
#include "CardCellDelegate.h"
#include "CardGrid.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

const QString kEditProp = QStringLiteral("editprop");
const QString kTemplateField = QStringLiteral("vt_id");
// Quotes would end the text they are typed into in the statements and documents the voucher
// travels in; the card refuses them everywhere unless the window sets other characters.
const QString kDefaultBadStr = QStringLiteral("'\"");

QColor fromHostColour(int colour)
{
    // The host gives colours as 0x00BBGGRR.
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace

VoucherCardWidget::VoucherCardWidget(QWidget *parent)
    : QWidget(parent)
    , m_bodyBadStr(kDefaultBadStr)
    , m_headPanel(new QWidget(this))
    , m_headGrid(new QGridLayout(m_headPanel))
    , m_lines(new BodyLinesModel(this))
    , m_grid(new CardGrid(this))
    , m_delegate(new CardCellDelegate(this))
{
    setObjectName(QStringLiteral("ctlVoucher1"));
    m_headPanel->setObjectName(QStringLiteral("headPanel"));
    m_grid->setObjectName(QStringLiteral("bodyGrid"));
    m_grid->setLines(m_lines);
    m_grid->setItemDelegate(m_delegate);
    m_delegate->setForbidden(m_bodyBadStr);
    // Typing or a double click opens a cell; F2 is the reference key (see eventFilter).
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked);
    m_grid->installEventFilter(this);
    m_lines->setEditableRule([this](const QString &field) { return bodyFieldEditable(field); });
    m_lines->setEntryCheck(
        [this](int row, const QString &field, QString &value) { return checkCellEntry(row, field, value); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_headPanel);
    layout->addWidget(m_grid, 1);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                if (current.row() != previous.row() && current.isValid() && !m_filling)
                    emit currentRowChanged(current.row() + 1);
            });
    connect(m_delegate, &CardCellDelegate::referenceRequested, this, &VoucherCardWidget::requestBodyReference);
    // The editor has closed and its entry went through the check.
    connect(m_delegate, &CardCellDelegate::enterPressed, this, [this] { moveToNextCell(); });
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

void VoucherCardWidget::relayTemplate(const CardTemplate &cardTemplate)
{
    // What was typed into the head and the lines is in the documents once taken in.
    VoucherDocument head;
    VoucherDocument body;
    getVoucherDataXML(head, body);
    m_head = head;
    setTemplate(cardTemplate);
    for (const QString &field : std::as_const(m_headOrder))
        updateHeadEditor(field);
}

void VoucherCardWidget::buildGrid()
{
    m_lines->setColumns(m_template.body);
    QList<int> lengths;
    for (int c = 0; c < m_lines->columnCount(); ++c) {
        const CardItem &item = m_lines->item(c);
        lengths << item.maxLength;
        if (item.width > 0)
            m_grid->setColumnWidth(c, item.width);
    }
    m_delegate->setColumns(lengths, m_lines);
}

int VoucherCardWidget::columnOf(const QString &field) const
{
    return m_lines->columnOf(field.trimmed().toLower());
}

VoucherItemState VoucherCardWidget::ItemState(int index, Section section) const
{
    const QList<CardItem> &items = section == Head ? m_template.head : m_template.body;
    if (index < 1 || index > items.size())
        return {};
    const CardItem &item = items[index - 1];
    return {item.required, item.field, item.caption};
}

int VoucherCardWidget::BodyRows() const
{
    return m_lines->rowCount();
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
    // A shown item reads as typed, also before its entry is finished; a choice item (是/否) reads
    // as the value it stands for.
    if (QLineEdit *edit = headEditor(f)) {
        const QString shown = headShown(f, headValue(f));
        return edit->text() == shown ? headValue(f) : edit->text();
    }
    return headValue(f);
}

void VoucherCardWidget::setHeaderText(const QString &field, const QString &text)
{
    const QString f = field.trimmed().toLower();
    if (f.isEmpty())
        return;
    VoucherRow row = m_head.headRow();
    if (row.isNull())
        row = m_head.appendRow();
    row.setValue(f, text);
    if (QLineEdit *edit = headEditor(f)) {
        const QScopedValueRollback filling(m_filling, true);
        edit->setText(headShown(f, text));
    }
}

QString VoucherCardWidget::bodyText(int row, int column) const
{
    return bodyText(row, ItemState(column, Body).sFieldName);
}

QString VoucherCardWidget::bodyText(int row, const QString &fieldName) const
{
    if (row < 1 || row > m_lines->rowCount() || fieldName.isEmpty())
        return {};
    return m_lines->lines()[row - 1].value(fieldName.trimmed().toLower());
}

void VoucherCardWidget::setBodyText(int row, const QString &field, const QString &text)
{
    if (row < 1 || row > m_lines->rowCount())
        return;
    const QString f = field.trimmed().toLower();
    m_lines->setText(row - 1, f, text);
    if (f != kEditProp && m_editState != Viewing)
        markChanged(m_lines->lines()[row - 1]);
}

int VoucherCardWidget::row() const
{
    return m_lines->rowCount() == 0 ? 0 : qMax(m_grid->currentRow(), 0) + 1;
}

bool VoucherCardWidget::getVoucherDataXML(VoucherDocument &head, VoucherDocument &body)
{
    // Head items typed into but not finished yet (a shortcut pressed inside the item) count in the
    // documents handed out, but are not taken into the card's own: the entry is still to be checked,
    // and a refused one goes back to the value the card holds.
    head = m_head;
    VoucherRow row = head.headRow();
    for (auto it = m_headEditors.cbegin(); it != m_headEditors.cend(); ++it) {
        const QString text = headerText(it.key());
        if (text == headValue(it.key()))
            continue;
        if (row.isNull())
            row = head.appendRow();
        row.setValue(it.key(), text);
    }
    body = m_body;
    return !head.isEmpty();
}

void VoucherCardWidget::setEditState(int state)
{
    const bool entering = m_editState == Viewing && state != Viewing;
    m_editState = state;
    for (const QString &field : std::as_const(m_headOrder))
        updateHeadEditor(field);
    m_lines->editabilityChanged();
    emit editStateChanged(state);
    if (entering) // after the card has applied the flags of the edit
        QMetaObject::invokeMethod(this, &VoucherCardWidget::focusFirstEditable, Qt::QueuedConnection);
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
        m_lines->editabilityChanged();
}

bool VoucherCardWidget::bodyFieldEditable(const QString &field) const
{
    return m_editState != Viewing && isEditable(Body, field);
}

bool VoucherCardWidget::cellEditable(int gridRow, int column) const
{
    return m_lines->isEditable(gridRow, column);
}

void VoucherCardWidget::loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int)
{
    m_head = head;
    m_body = body;
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

void VoucherCardWidget::fillGrid()
{
    const QScopedValueRollback filling(m_filling, true);
    m_lines->setLines(m_body);
    if (m_lines->rowCount() > 0)
        m_grid->setCurrentCell(0, 0);
}

void VoucherCardWidget::markChanged(VoucherRow line)
{
    if (line.value(kEditProp).isEmpty())
        line.setValue(kEditProp, QStringLiteral("M"));
}

void VoucherCardWidget::addRow()
{
    VoucherRow line = m_body.appendRow();
    line.setValue(kEditProp, QStringLiteral("A"));
    {
        const QScopedValueRollback filling(m_filling, true);
        m_lines->appendLine(line);
    }
    const int r = m_lines->rowCount() - 1;
    emit rowAdded(r + 1);
    int first = 0;
    while (first < m_lines->columnCount() && !cellEditable(r, first))
        ++first;
    m_grid->setCurrentCell(r, first < m_lines->columnCount() ? first : 0);
    m_grid->setFocus(Qt::OtherFocusReason);
}

void VoucherCardWidget::deleteRow(int row)
{
    if (row < 1 || row > m_lines->rowCount())
        return;
    VoucherRow line = m_lines->lines()[row - 1];
    // A row the database has never seen simply goes; a stored one stays marked for the save.
    if (line.value(kEditProp).compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
        m_body.removeRow(line);
    else
        line.setValue(kEditProp, QStringLiteral("D"));
    const QScopedValueRollback filling(m_filling, true);
    m_lines->removeLine(row - 1);
}

void VoucherCardWidget::markCell(const QString &field, int row)
{
    m_lines->mark(field.trimmed().toLower(), row - 1, true);
}

void VoucherCardWidget::clearCell(const QString &field, int row)
{
    m_lines->mark(field.trimmed().toLower(), row - 1, false);
}

bool VoucherCardWidget::isCellMarked(const QString &field, int row) const
{
    return m_lines->isMarked(field.trimmed().toLower(), row - 1);
}

void VoucherCardWidget::restoreCells()
{
    m_lines->clearMarks();
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
