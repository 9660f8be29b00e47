#pragma once

#include <QString>
#include <QStringList>

// The master data a voucher field refers to. Fields are named in any case; they are compared
// trimmed and lower-cased.
enum class FieldFamily {
    None,
    Department,     // cdepcode, cdepname
    Person,         // cpersoncode, cpersonname
    CheckingPerson, // ccheckpersoncode, ccheckpersonname
    Product,        // a component: cinvcode, cpscode, cpsname
    NewProduct,     // the item a sample develops: cnewinvcode, cnewinvname
    Vendor,         // cvencode, cvenname, cvenabbname
    Customer,       // ccuscode, ccusname, ccusabbname
    Warehouse,      // cwhcode, cwhname
    FreeItem,       // cfree*
    UserDefined     // cdefine*
};

FieldFamily fieldFamily(const QString &field);

// The column or expression the data-permission service is asked about for a family's records,
// in the terms of the family's check query and reference list (both name the item table "i");
// empty for a family without records of its own. The check and the list ask the same question,
// so a list offers exactly the records its check accepts.
QString dataPermissionColumn(FieldFamily family);

// How CheckBase finds a typed value in a family's master data: the select up to and including its
// fixed condition (to be followed by " AND ..."), the columns the value must equal one of and the
// text when nothing is found.
struct BaseCheckQuery
{
    QString select;
    QStringList matchColumns;
    QString notFound;
};

// nullptr for a family CheckBase does not know (free and user-defined items, None).
const BaseCheckQuery *baseCheckQuery(FieldFamily family);

// A family's reference list. The list's condition may compare with the login date: loginDateUses
// says how many times it is bound, in order.
struct ReferenceListDef
{
    QString kind;
    QString table;
    QString columns;
    QString where;
    int loginDateUses = 0;
    QString codeColumn;
    QString nameColumn;
    QString thirdColumn;
    QString treeQuery;
};

// nullptr for a family without a list.
const ReferenceListDef *referenceListDef(FieldFamily family);

// The column of a family's list row that gives the value of `field` when a row is picked
// ("cpsname" takes the item's name, "ccheckpersoncode" the person's code).
QString referenceValueColumn(const QString &field);
