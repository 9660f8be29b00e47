#pragma once

#include "platform/Recordset.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

// What a reference list shows: the rows of one master table (or join) that pass a fixed condition,
// narrowed by a search text and the caller's conditions, ordered by code and cut into pages.
//
// Texts here are SQL written by the program (table, columns, conditions, the data-permission
// service's answer); values that come from a user or a document go into the *Params lists or into
// search, which is always bound. Conditions are joined with AND, each one in parentheses.
struct ReferenceListRequest
{
    QString kind;  // the list's kind, for the dialog ("department", "inventory", "UserdefFree", ...)
    QString table; // FROM clause, with an alias where the conditions need one ("Inventory i")
    QString columns = QStringLiteral("*");
    QString where; // the list's own condition; empty for none
    QVariantList whereParams;
    QString codeColumn;  // ordering and first search column
    QString nameColumn;  // second search column; empty for none
    QString thirdColumn; // third search column; empty for none
    QString valueColumn; // the column whose value a pick hands back
    QString treeQuery;   // the class tree the dialog may show beside the list; empty for none

    QString search;         // prefix of code or name; empty matches every row
    QStringList conditions; // further conditions (the caller's, the data permission's)
    QVariantList conditionParams;

    int pageSize = 30;
    int pageIndex = 0; // 0-based
    bool multiPage = true;
};

// One page of a reference list.
struct ReferenceListPage
{
    Recordset rows;
    bool more = false; // another page follows
};
