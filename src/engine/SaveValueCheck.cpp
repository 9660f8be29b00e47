#include "SaveValueCheck.h"

#include "common/basFunction.h"
#include "platform/StorableText.h"
#include "platform/TableStructure.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kCheck = QStringLiteral(",请检查!");

// The value as a message quotes it: long texts are cut, so a message stays readable.
QString quoted(const QString &value)
{
    constexpr int shown = 40;
    const QString text = value.size() > shown ? value.left(shown) + QStringLiteral("…") : value;
    return QStringLiteral("“") + text + QStringLiteral("”");
}

// What is wrong with a value for its column; "" when it fits.
QString fault(const TableColumn &column, const QString &value)
{
    switch (column.kind) {
    case ColumnKind::Integer:
    case ColumnKind::Real: {
        if (value.trimmed().isEmpty())
            return {};
        const auto number = basFunction::ReadNumber(value);
        if (!number)
            return QStringLiteral("的值") + quoted(value) + QStringLiteral("不是有效的数字");
        if (column.kind == ColumnKind::Integer && !column.fitsInteger(*number))
            return QStringLiteral("的值") + quoted(value) + QStringLiteral("不是有效的整数");
        return {};
    }
    case ColumnKind::Date:
    case ColumnKind::DateTime:
        if (value.trimmed().isEmpty() || basFunction::toDateTime(value.left(10)))
            return {};
        return QStringLiteral("的值") + quoted(value) + QStringLiteral("不是有效的日期");
    case ColumnKind::Text:
        if (const auto c = StorableText::firstUnstorable(value))
            return QStringLiteral("含有不能保存的字符 ") + StorableText::characterName(*c);
        if (column.length > 0 && StorableText::characterCount(value) > column.length)
            return QStringLiteral("超过了最大长度 %1 个字符").arg(column.length);
        return {};
    case ColumnKind::Flag:
    case ColumnKind::Binary:
    case ColumnKind::RowVersion:
        break;
    }
    return {};
}

} // namespace

QString SaveValueCheck::check(const SavedRows &rows, const TableStructure &head, const TableStructure &body) const
{
    QString msg;
    for (const SavedRows::Line &row : rows.heads)
        msg += checkRow(row, head, SaveFieldCaptions::Head);
    for (const SavedRows::Line &line : rows.lines)
        msg += checkRow(line, body, SaveFieldCaptions::Body);
    return msg;
}

QString SaveValueCheck::checkRow(const SavedRows::Line &row, const TableStructure &table,
                                 SaveFieldCaptions::Section section) const
{
    QString msg;
    const int line = row.number;
    for (const VoucherAttribute &attribute : row.attributes) {
        const QString &name = attribute.name;
        if (m_engineKeys.contains(name))
            continue;
        const TableColumn *column = table.column(name);
        if (!column || column->generated)
            continue;
        const QString wrong = fault(*column, attribute.value);
        if (!wrong.isEmpty())
            msg += m_captions.place(section, name, line) + wrong + kCheck + kLineBreak;
    }
    return msg;
}
