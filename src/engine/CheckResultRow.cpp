#include "CheckResultRow.h"

#include "platform/Recordset.h"

namespace {

VoucherDocument oneRow(const Recordset &rs, bool withValues)
{
    QList<RecordsetField> fields;
    QVariantList values;
    for (int c = 0; c < rs.fieldCount(); ++c) {
        fields.append({rs.fields().at(c).name.toLower(), QMetaType::QString});
        const QVariant v = withValues ? rs.value(c) : QVariant();
        values.append(v.isNull() ? QStringLiteral("") : VoucherDocument::valueText(v));
    }
    Recordset row;
    row.setFields(fields);
    row.appendRow(values);
    return VoucherDocument::fromRecordset(row);
}

} // namespace

namespace CheckResultRow {

VoucherDocument found(const Recordset &rs)
{
    return oneRow(rs, !rs.isEOF() && !rs.isBOF());
}

VoucherDocument empty(const Recordset &rs)
{
    return oneRow(rs, false);
}

} // namespace CheckResultRow
