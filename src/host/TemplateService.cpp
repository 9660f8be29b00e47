#include "TemplateService.h"

#include "DecimalPlaces.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "platform/TableStructure.h"

#include <QHash>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcTemplates, "orvane.host.templates")

bool flag(const Recordset &rs, const QString &name)
{
    return rs.value(name).toInt() != 0;
}

// Gives the items that are columns of `table` their column's length. PostgreSQL refuses a longer
// text and SQLite would keep it, so the editors stop the user at the same point on both.
void applyLengths(Connection &cnn, const QString &table, QList<CardItem> &items)
{
    if (table.trimmed().isEmpty())
        return;
    auto structure = TableStructure::read(cnn, table.trimmed());
    if (!structure) {
        qCWarning(lcTemplates) << "no lengths for" << table << structure.error();
        return;
    }
    for (CardItem &item : items) {
        if (const TableColumn *column = structure->column(item.field))
            item.maxLength = column->length;
    }
}

} // namespace

TemplateService::TemplateService(Connection &cnn)
    : m_cnn(cnn)
{}

Result<QList<TemplateChoice>> TemplateService::templates(const QString &cardNumber, int mode) const
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT VT_ID, VT_Name FROM vouchertemplates "
                                         "WHERE VT_CardNumber = ? AND VT_TemplateMode = ? ORDER BY VT_ID"),
                          {cardNumber, mode});
    if (!rs)
        return fail(rs.error());
    QList<TemplateChoice> choices;
    for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext())
        choices.append({rs->value(QStringLiteral("VT_ID")).toInt(), rs->text(QStringLiteral("VT_Name")).trimmed()});
    return choices;
}

Result<int> TemplateService::defaultTemplate(const QString &cardNumber, const QList<TemplateChoice> &list, int chosen,
                                             int mode) const
{
    auto listed = [&list](int id) {
        return std::any_of(list.cbegin(), list.cend(), [id](const TemplateChoice &c) { return c.id == id; });
    };
    if (list.isEmpty())
        return 0;
    if (listed(chosen))
        return chosen;
    auto defaults = m_cnn.Query(QStringLiteral("SELECT DEF_ID, DEF_ID_PRN FROM vouchers WHERE CardNumber = ?"),
                                {cardNumber});
    if (!defaults)
        return fail(defaults.error());
    const int byCard = defaults->isEmpty() ? 0 : defaults->value(0, mode == 1 ? 1 : 0).toInt();
    // A default the user may not use gives way to the first template the user may.
    return listed(byCard) ? byCard : list.first().id;
}

Result<CardTemplate> TemplateService::displayTemplate(int templateId) const
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT CardSection, FieldName, CardFormula1, DataType, "
                                         "COALESCE(bIsNull, 0) AS bIsNull, COALESCE(bCanModify, 0) AS bCanModify, "
                                         "COALESCE(bShow, 0) AS bShow, RefKind, COALESCE(ColumnWidth, 0) AS ColumnWidth "
                                         "FROM voucheritems WHERE VT_ID = ? ORDER BY CardItemNum, FieldName"),
                          {templateId});
    if (!rs)
        return fail(rs.error());
    CardTemplate t;
    t.id = templateId;
    for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
        CardItem item;
        item.field = rs->text(QStringLiteral("FieldName")).trimmed().toLower();
        item.caption = rs->text(QStringLiteral("CardFormula1")).trimmed();
        item.required = flag(*rs, QStringLiteral("bIsNull"));
        item.editable = flag(*rs, QStringLiteral("bCanModify"));
        item.shown = flag(*rs, QStringLiteral("bShow"));
        item.number
            = rs->text(QStringLiteral("DataType")).trimmed().compare(QLatin1String("number"), Qt::CaseInsensitive) == 0;
        item.width = rs->value(QStringLiteral("ColumnWidth")).toInt();
        item.refKind = rs->text(QStringLiteral("RefKind")).trimmed();
        // The section is a single letter; the head is 't', anything else is the body.
        if (rs->text(QStringLiteral("CardSection")).trimmed().compare(QLatin1String("t"), Qt::CaseInsensitive) == 0)
            t.head.append(item);
        else
            t.body.append(item);
    }
    applyColumnLengths(t);
    applyDecimals(t);
    return t;
}

void TemplateService::applyColumnLengths(CardTemplate &t) const
{
    auto tables = m_cnn.Query(QStringLiteral("SELECT v.bttblname, v.bwtblname FROM vouchertemplates t "
                                             "INNER JOIN vouchers v ON v.cardnumber = t.VT_CardNumber WHERE t.VT_ID = ?"),
                              {t.id});
    if (!tables || tables->isEmpty()) {
        qCWarning(lcTemplates) << "no tables for template" << t.id << (tables ? QString() : tables.error());
        return;
    }
    applyLengths(m_cnn, tables->value(0, 0).toString(), t.head);
    applyLengths(m_cnn, tables->value(0, 1).toString(), t.body);
}

void TemplateService::applyDecimals(CardTemplate &t) const
{
    const QHash<QString, int> options = DecimalPlaces::options(m_cnn);
    for (QList<CardItem> *items : {&t.head, &t.body}) {
        for (CardItem &item : *items) {
            const int count = DecimalPlaces::forField(item.field, options);
            if (item.number && count >= 0)
                item.decimals = count;
        }
    }
}
