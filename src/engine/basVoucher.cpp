#include "basVoucher.h"

#include "common/basFunction.h"
#include "host/VoucherCardControl.h"
#include "platform/Connection.h"
#include "platform/TableStructure.h"
#include "platform/VoucherDocument.h"


namespace {

// Messages are joined the way every message of the system is: carriage return and line feed.
// Each missing item starts with one, so a non-empty message begins with a line break; the
// message box shows that as a blank first line, and callers only test for emptiness.
const QString kLineBreak = QStringLiteral("\r\n");

// An item is checked when the control marks it required and its field is not excluded. Field
// names are compared without regard to case, as everywhere in the documents.
bool isChecked(const VoucherItemState &item, const QString &excludedWrapped)
{
    return item.bIsNull
           && !excludedWrapped.contains(QLatin1Char(',') + item.sFieldName + QLatin1Char(','), Qt::CaseInsensitive);
}

// A number read the one way the program reads numbers (basFunction::ReadNumber); NULL for empty
// text. The save refuses other text before it gets here (SaveValueCheck).
QVariant numberValue(const QString &text, bool integral)
{
    const auto v = basFunction::ReadNumber(text);
    if (!v)
        return QVariant();
    // An integer column gets an integer where the text is one, so PostgreSQL sees no fraction.
    if (integral && qAbs(*v) < 1e15 && *v == double(qint64(*v)))
        return QVariant(qint64(*v));
    return QVariant(*v);
}

QVariant dateValue(const QString &text)
{
    const auto when = basFunction::toDateTime(text.left(10));
    return when ? QVariant(when->date()) : QVariant();
}

bool isFalseText(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
           || t == QStringLiteral("否");
}

} // namespace

namespace basVoucher {

QString GetHeadValue(const VoucherDocument &doc, const QString &field)
{
    return doc.headRow().value(field);
}

QString GetBodyValue(const VoucherDocument &doc, const QString &field, int row)
{
    return doc.nthRow(row).value(field);
}

void SetHeadValue(VoucherDocument &doc, const QString &field, const QVariant &value)
{
    VoucherRow head = doc.headRow();
    if (value.isNull())
        head.removeValue(field);
    else
        head.setValue(field, VoucherDocument::valueText(value));
}

bool CheckRequiredItems(VoucherCardControl &card, const QString &excluded, QString &msg)
{
    msg.clear();
    const QString excludedWrapped = QLatin1Char(',') + excluded + QLatin1Char(',');

    for (int i = 1; i <= card.HeadInfoCount(); ++i) {
        const VoucherItemState item = card.ItemState(i, VoucherCardControl::Head);
        if (isChecked(item, excludedWrapped) && card.headerText(i).isEmpty())
            msg += kLineBreak + QStringLiteral("表头：[") + item.sCardItemName + QStringLiteral("]为必输项！");
    }

    VoucherDocument head;
    VoucherDocument body;
    card.getVoucherDataXML(head, body);
    if (body.selectSingleNode(QStringLiteral("//z:row [@editprop!='D' and @cpscode!='']")).isNull()) {
        msg += QStringLiteral("表体没有有效数据，请检查！");
        return false;
    }

    for (int r = 1; r <= card.BodyRows(); ++r) {
        if (card.bodyText(r, QStringLiteral("cpscode")).trimmed().isEmpty())
            continue;
        for (int i = 1; i <= card.BodyInfoCount(); ++i) {
            const VoucherItemState item = card.ItemState(i, VoucherCardControl::Body);
            if (isChecked(item, excludedWrapped) && card.bodyText(r, i).isEmpty()) {
                msg += kLineBreak + QStringLiteral("表体：第") + QString::number(r) + QStringLiteral("行[")
                       + item.sCardItemName + QStringLiteral("]为必输项！");
            }
        }
    }
    return true;
}

void SetHeadBadStr(VoucherCardControl &card, bool useGiven, const QString &text)
{
    const QString refused = useGiven ? text : card.BodyBadStr();
    // Starts at 0: item 0 is outside the 1-based head items, and the control ignores it.
    for (int i = 0; i <= card.HeadInfoCount(); ++i)
        card.setHeadBadStr(i, refused);
}

QVariant FormatSqlValue(const TableColumn &column, const QString &text)
{
    switch (column.kind) {
    case ColumnKind::Integer:
    case ColumnKind::Real:
        return numberValue(text, column.kind == ColumnKind::Integer);
    case ColumnKind::Date:
    case ColumnKind::DateTime:
        return dateValue(text);
    case ColumnKind::Flag:
        return QVariant(isFalseText(text) ? 0 : 1);
    case ColumnKind::Text:
        return QVariant(text);
    case ColumnKind::Binary:
    case ColumnKind::RowVersion:
        break;
    }
    return QVariant();
}

bool AttributeMissing(const VoucherRow &row, const QString &field)
{
    return !row.has(field.toLower());
}

Result<void> ExpandFormula(Connection &cnn, qint32 templateId, QString &formula)
{
    auto rs = cnn.Query(QStringLiteral("SELECT FieldName, CardFormula1 FROM voucheritems WHERE VT_ID = ? "
                                       "ORDER BY CardSection, FieldName"),
                        {templateId});
    if (!rs)
        return fail(rs.error());
    // Bracketed field names are found without regard to letter case; the rest of the message (codes
    // and values the user typed) stays as it was.
    for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
        const QString field = QLatin1Char('[') + rs->text(QStringLiteral("FieldName")) + QLatin1Char(']');
        const QString caption = QLatin1Char('[') + rs->text(QStringLiteral("CardFormula1")) + QLatin1Char(']');
        formula.replace(field, caption, Qt::CaseInsensitive);
    }
    return {};
}

QString RowVersionCondition(const QString &idColumn, const QString &versionColumn)
{
    return idColumn + QStringLiteral(" = ? AND CAST(") + versionColumn + QStringLiteral(" AS TEXT) = ?");
}

} // namespace basVoucher
