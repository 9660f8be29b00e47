#pragma once

#include "host/ReferenceListRequest.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

class Connection;
class DataPermission;

// Opens the reference list of a field for the user to pick from (through the installed
// ReferencePicker) and hands back what was picked.
//
// Every family's list comes with its condition and class tree (see FieldFamilies); free items list
// their values in UserDefine. The typed value is the list's search prefix; the caller's condition
// and the data permission's condition on the family's permission column narrow the list. Vendors
// past their end date and items outside their validity on the login date are not offered.
class ReferenceLookup
{
public:
    ReferenceLookup(Connection &cnn, DataPermission *permission, const QDate &loginDate)
        : m_cnn(cnn)
        , m_permission(permission)
        , m_loginDate(loginDate)
    {}

    // The list a field opens; nothing for a field without one.
    std::optional<ReferenceListRequest> baseRequest(const QString &field, const QString &search,
                                                    const QString &strWhere);
    // The list of user-defined values: item identifier from strDataRule for data sources 1 (the part
    // before the first ",") and 2 (the part after it), otherwise the field's own identifier.
    ReferenceListRequest defineRequest(const QString &field, const QString &search, int dataSource,
                                       const QString &strDataRule) const;

    // True when a row was picked: value receives the picked row's value for the field and rows
    // (when given) the picked rows. False without a list, without a picker or when nothing was
    // picked; value and rows are then left alone.
    bool referBase(const QString &field, QVariant &value, const QString &strWhere, Recordset *rows, bool multiSelect,
                   bool multiPage, int pageSize);
    bool referDefine(const QString &field, QVariant &value, int dataSource, const QString &strDataRule, bool multiPage,
                     int pageSize);

private:
    bool open(ReferenceListRequest request, bool multiSelect, bool multiPage, int pageSize, QVariant &value,
              Recordset *rows);

    Connection &m_cnn;
    DataPermission *m_permission;
    QDate m_loginDate;
};
