#pragma once

#include "SaveFieldCaptions.h"
#include "SavedRows.h"

#include "platform/Result.h"

#include <QString>

class Connection;
class DataPermission;
class TableStructure;

// Checks every reference a save is about to write against master data and the user's data
// permissions, whatever the window let through: customer, department, persons, vendor, warehouse,
// items (the new item, the components, the parent item a structure was fetched from) and units.
// A reference must name a record that exists, passes its family's fixed condition (a leaf
// department, an item that is goods) and lies within the user's data permission, exactly as the
// card's field check finds it (see BaseCheck): codes compare without trailing blanks and with
// their letter case.
//
// One query per kind of reference for the whole voucher (an IN list of the distinct values), not
// one per line. Trailing blanks of a reference that passes are dropped from the document, so the
// code is stored as master data holds it. Only columns of the tables are checked: the card's
// display fields are not written.
class SaveReferenceCheck
{
public:
    SaveReferenceCheck(Connection &cnn, DataPermission &permission, const SaveFieldCaptions &captions)
        : m_cnn(cnn)
        , m_permission(permission)
        , m_captions(captions)
    {}

    // "" when every reference is found, else one message per value not found, in document order,
    // each ended by CR LF ("表头 [客户编码] 的值“KH9999”：客户档案不存在或者您没有该数据权限,请检查!").
    // A database error is returned as such.
    Result<QString> check(const SavedRows &rows, const TableStructure &head, const TableStructure &body);

private:
    Connection &m_cnn;
    DataPermission &m_permission;
    const SaveFieldCaptions &m_captions;
};
