#pragma once

#include "platform/Recordset.h"

#include <QString>
#include <QVariantList>

#include <optional>

class Connection;

// A list of records the card opens itself, for what the engine keeps no list of (the units of one
// item): shown by the installed reference picker, searched by code, name and a third column from
// the typed text. Master data under data permission is listed through the engine's ReferBase,
// which joins the permission's condition.
struct ArchiveList
{
    QString kind;    // names the list for the dialog
    QString table;   // FROM clause
    QString columns; // select list; the code column's value is what a pick hands back
    QString where;   // the list's own condition; empty for none
    QVariantList whereParams;
    QString codeColumn;
    QString nameColumn;
    QString thirdColumn;
    QString valueColumn;

    // The picked record (one row), or nothing when none was picked or no picker is installed.
    std::optional<Recordset> pick(Connection &cnn, const QString &search) const;
};
