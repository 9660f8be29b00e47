#include "BodyLinesModel.h"

#include "common/NumberText.h"

#include <QBrush>
#include <QColor>

namespace {

const QString kEditProp = QStringLiteral("editprop");
const QColor kMarkedCell(0xC0, 0xC0, 0xC0);
const QColor kRequired(0xB0, 0x00, 0x00);

bool isDeleted(const VoucherRow &line)
{
    return line.value(kEditProp).compare(QLatin1String("D"), Qt::CaseInsensitive) == 0;
}

} // namespace

BodyLinesModel::BodyLinesModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void BodyLinesModel::setColumns(const QList<CardItem> &items)
{
    beginResetModel();
    m_columns.clear();
    for (const CardItem &item : items) {
        if (item.shown)
            m_columns << item;
    }
    endResetModel();
}

void BodyLinesModel::setDecimals(const QString &field, int decimals)
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].field != field || !m_columns[c].number || m_columns[c].decimals == decimals)
            continue;
        m_columns[c].decimals = decimals;
        if (!m_lines.isEmpty())
            emit dataChanged(index(0, c), index(int(m_lines.size()) - 1, c));
    }
}

void BodyLinesModel::setLines(const VoucherDocument &body)
{
    beginResetModel();
    m_lines.clear();
    m_marked.clear();
    for (const VoucherRow &line : body.rows()) {
        if (!isDeleted(line))
            m_lines << line;
    }
    endResetModel();
}

void BodyLinesModel::appendLine(const VoucherRow &line)
{
    const int row = int(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines << line;
    endInsertRows();
}

void BodyLinesModel::removeLine(int row)
{
    if (row < 0 || row >= m_lines.size())
        return;
    beginRemoveRows({}, row, row);
    m_lines.removeAt(row);
    // Marks follow their lines up.
    QSet<QPair<QString, int>> marked;
    for (const auto &m : std::as_const(m_marked)) {
        if (m.second != row)
            marked.insert({m.first, m.second > row ? m.second - 1 : m.second});
    }
    m_marked = marked;
    endRemoveRows();
}

QString BodyLinesModel::field(int column) const
{
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
}

int BodyLinesModel::columnOf(const QString &f) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].field == f)
            return c;
    }
    return -1;
}

void BodyLinesModel::setText(int row, const QString &f, const QString &text)
{
    if (row < 0 || row >= m_lines.size())
        return;
    m_lines[row].setValue(f, text);
    if (const int column = columnOf(f); column >= 0)
        emit dataChanged(index(row, column), index(row, column));
}

void BodyLinesModel::mark(const QString &f, int row, bool marked)
{
    if (row < 0 || row >= m_lines.size() || marked == isMarked(f, row))
        return;
    if (marked)
        m_marked.insert({f, row});
    else
        m_marked.remove({f, row});
    if (const int column = columnOf(f); column >= 0)
        emit dataChanged(index(row, column), index(row, column), {Qt::BackgroundRole});
}

void BodyLinesModel::clearMarks()
{
    if (m_marked.isEmpty())
        return;
    m_marked.clear();
    editabilityChanged();
}

void BodyLinesModel::editabilityChanged()
{
    if (!m_lines.isEmpty() && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

bool BodyLinesModel::isEditable(int row, int column) const
{
    if (row < 0 || row >= m_lines.size() || column < 0 || column >= m_columns.size())
        return false;
    const QString &f = m_columns[column].field;
    return m_editable && m_editable(f) && !isMarked(f, row);
}

int BodyLinesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int BodyLinesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant BodyLinesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size() || index.column() >= m_columns.size())
        return {};
    const CardItem &column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole: {
        const QString text = m_lines[index.row()].value(column.field);
        return column.number ? NumberText::shown(text, column.decimals) : text;
    }
    case Qt::EditRole: return m_lines[index.row()].value(column.field);
    case Qt::TextAlignmentRole:
        return column.number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::BackgroundRole: return isMarked(column.field, index.row()) ? QBrush(kMarkedCell) : QVariant();
    default: return {};
    }
}

QVariant BodyLinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_columns.size())
        return {};
    const CardItem &item = m_columns[section];
    if (role == Qt::DisplayRole)
        return item.required ? item.caption + QStringLiteral(" *") : item.caption;
    if (role == Qt::ForegroundRole && item.required)
        return QBrush(kRequired);
    return {};
}

Qt::ItemFlags BodyLinesModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isEditable(index.row(), index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool BodyLinesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_lines.size())
        return false;
    const QString f = m_columns[index.column()].field;
    QString text = value.toString();
    if (text == m_lines[index.row()].value(f))
        return false;
    // The check may write other cells of the line (and refuse, which writes nothing of the entry).
    if (m_check && !m_check(index.row(), f, text)) {
        emit dataChanged(index, index);
        return false;
    }
    return true;
}
