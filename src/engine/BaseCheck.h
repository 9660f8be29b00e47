#pragma once

#include <QString>

class Connection;
class DataPermission;
class VoucherDocument;

// Checks a typed value against the master data of its field's family (see FieldFamilies) and
// fetches the columns that come with it: the value must equal the record's code or name, the
// record must pass the family's fixed condition, the caller's condition and the data permission.
//
// Answers "" with the record in domReturn, or the family's not-found message with a row of empty
// attributes in domReturn; a field of no family answers "录入错误,请检查" and leaves domReturn
// as it was; a database error answers its text and leaves domReturn as it was.
//
// The typed value is bound, never pasted, and compared without its trailing blanks (the suite's
// codes carry none, and a blank typed after a code must not make it unknown); letter case counts.
// strWhere is the program's own condition text and is joined as it is, in parentheses.
class BaseCheck
{
public:
    BaseCheck(Connection &cnn, DataPermission &permission)
        : m_cnn(cnn)
        , m_permission(permission)
    {}

    QString check(const QString &field, const QString &value, VoucherDocument &domReturn, const QString &strWhere = {});

    // The typed value as it is compared: without trailing blanks.
    static QString typedValue(const QString &value);

private:
    Connection &m_cnn;
    DataPermission &m_permission;
};
