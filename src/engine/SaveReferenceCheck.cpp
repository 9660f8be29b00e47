#include "SaveReferenceCheck.h"

#include "BaseCheck.h"
#include "FieldFamilies.h"

#include "host/DataPermission.h"
#include "platform/InListQuery.h"
#include "platform/TableStructure.h"

#include <QHash>
#include <QSet>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Where the records a kind of reference names are found: a query with "%1" for the IN list and
// the result column that holds the matched value.
struct ReferenceSource
{
    QString sql;
    int column = 0;
    QString notFound;
};

enum class Kind { Department, Person, PersonByName, CheckingPerson, Item, Vendor, Customer, Warehouse, Unit };

// The reference columns of sample vouchers (head and lines) and what they name.
const QHash<QString, Kind> &referenceFields()
{
    static const QHash<QString, Kind> fields = {
        {QStringLiteral("cdepcode"), Kind::Department},
        {QStringLiteral("cpersoncode"), Kind::Person},
        {QStringLiteral("cpersonname"), Kind::PersonByName},
        {QStringLiteral("ccheckpersoncode"), Kind::CheckingPerson},
        {QStringLiteral("cnewinvcode"), Kind::Item},
        {QStringLiteral("cpspinvcode"), Kind::Item},
        {QStringLiteral("cpscode"), Kind::Item},
        {QStringLiteral("cinvcode"), Kind::Item},
        {QStringLiteral("cvencode"), Kind::Vendor},
        {QStringLiteral("ccuscode"), Kind::Customer},
        {QStringLiteral("cwhcode"), Kind::Warehouse},
        {QStringLiteral("cnewinvcomunitcode"), Kind::Unit},
        {QStringLiteral("ccaacomunitcode"), Kind::Unit},
    };
    return fields;
}

FieldFamily familyOf(Kind kind)
{
    switch (kind) {
    case Kind::Department:
        return FieldFamily::Department;
    case Kind::Person:
    case Kind::PersonByName:
        return FieldFamily::Person;
    case Kind::CheckingPerson:
        return FieldFamily::CheckingPerson;
    case Kind::Item:
        // Any goods item; whether a new item may still be developed is the card's question.
        return FieldFamily::Product;
    case Kind::Vendor:
        return FieldFamily::Vendor;
    case Kind::Customer:
        return FieldFamily::Customer;
    case Kind::Warehouse:
        return FieldFamily::Warehouse;
    case Kind::Unit:
        break;
    }
    return FieldFamily::None;
}

ReferenceSource sourceOf(Kind kind, DataPermission &permission)
{
    if (kind == Kind::Unit)
        return {QStringLiteral("SELECT cComUnitCode FROM ComputationUnit WHERE cComUnitCode IN (%1)"), 0,
                QStringLiteral("计量单位不存在,请检查!")};
    const FieldFamily family = familyOf(kind);
    const BaseCheckQuery *query = baseCheckQuery(family);
    const int match = kind == Kind::PersonByName ? 1 : 0;
    // Only whether each value is there matters here: the match columns alone are read, so a large
    // voucher does not fetch every item's units, warehouse and free-item settings, and the
    // planners drop the joins that only fed those columns.
    const QString select = QStringLiteral("SELECT ") + query->matchColumns.mid(0, match + 1).join(QStringLiteral(", "))
                           + query->select.mid(query->select.indexOf(QLatin1String(" FROM "), 0, Qt::CaseInsensitive));
    return {select + QStringLiteral(" AND ") + query->matchColumns.at(match) + QStringLiteral(" IN (%1) AND (")
                + permission.GetFieldCondition(dataPermissionColumn(family)) + QLatin1Char(')'),
            match, query->notFound};
}

struct Occurrence
{
    VoucherRow row;
    QString field;
    QString value; // without trailing blanks
    Kind kind;
    bool trailingBlanks; // the row holds the value with blanks after it
    SaveFieldCaptions::Section section;
    int line;
};

} // namespace

Result<QString> SaveReferenceCheck::check(const SavedRows &rows, const TableStructure &head, const TableStructure &body)
{
    QList<Occurrence> found;
    QHash<Kind, QVariantList> values;
    QHash<Kind, QSet<QString>> asked;
    auto collect
        = [&](const SavedRows::Line &saved, const TableStructure &table, SaveFieldCaptions::Section section) {
              const VoucherRow &row = saved.row;
              const int line = saved.number;
              for (const VoucherAttribute &attribute : saved.attributes) {
                  const QString &name = attribute.name;
                  const auto kind = referenceFields().constFind(name);
                  if (kind == referenceFields().cend() || !table.column(name))
                      continue;
                  const QString value = BaseCheck::typedValue(attribute.value);
                  if (value.trimmed().isEmpty())
                      continue;
                  found.append({row, name, value, *kind, value.size() != attribute.value.size(), section, line});
                  if (!asked[*kind].contains(value)) {
                      asked[*kind].insert(value);
                      values[*kind].append(value);
                  }
              }
          };
    for (const SavedRows::Line &row : rows.heads)
        collect(row, head, SaveFieldCaptions::Head);
    for (const SavedRows::Line &line : rows.lines)
        collect(line, body, SaveFieldCaptions::Body);

    QHash<Kind, QSet<QString>> existing;
    QHash<Kind, QString> notFound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const ReferenceSource source = sourceOf(it.key(), m_permission);
        notFound.insert(it.key(), source.notFound);
        auto matched = InListQuery::rows(m_cnn, source.sql, it.value());
        if (!matched)
            return fail(matched.error());
        QSet<QString> &known = existing[it.key()];
        for (const QVariantList &record : std::as_const(*matched))
            known.insert(record.at(source.column).toString());
    }

    QString msg;
    for (Occurrence &o : found) {
        if (existing[o.kind].contains(o.value)) {
            // The record is named without the blanks after it, as the database compares it.
            if (o.trailingBlanks)
                o.row.setValue(o.field, o.value);
            continue;
        }
        msg += m_captions.place(o.section, o.field, o.line) + QStringLiteral("的值“") + o.value + QStringLiteral("”：")
               + notFound.value(o.kind) + kLineBreak;
    }
    return msg;
}
