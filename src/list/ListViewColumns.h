#pragma once

#include "ListColumn.h"

#include "platform/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>

class Connection;

// The columns of the list view as the database declares them, so that names coming from settings
// (list formats, filters, a sort) are used in a statement only when the view has them, and only a
// number column is summed. Names are kept in lower case.
//
// SQLite declares no type for a computed view column; such a column is Unknown and may be summed
// (SQLite adds whatever it holds), which PostgreSQL, that knows every type, would refuse.
class ListViewColumns
{
public:
    static Result<ListViewColumns> read(Connection &cnn, const QString &view);

    bool contains(const QString &field) const { return m_kinds.contains(field.toLower()); }
    ListColumnKind kind(const QString &field) const { return m_kinds.value(field.toLower(), ListColumnKind::Unknown); }
    bool maySum(const QString &field) const;
    const QStringList &names() const { return m_names; }

    // The kind of a declared type ("REAL", "double precision", "VARCHAR(30)", "date", "").
    static ListColumnKind kindOfType(const QString &declaredType);

private:
    QStringList m_names;
    QHash<QString, ListColumnKind> m_kinds;
};
