#pragma once

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Master data that saved vouchers refer to, added where a test's vouchers name it: the save checks
// every reference against master data. Each row is added once; a code that exists is left alone.
namespace MasterDataRows {

// Adds each code not there yet: `insert` takes the code, its name (namePrefix + code) and the code
// again for its NOT EXISTS guard. A row another client adds meanwhile is no failure.
inline void addMissing(Connection &cnn, const QString &insert, const QString &namePrefix, const QStringList &codes)
{
    for (const QString &code : codes) {
        if (code.isEmpty())
            continue;
        auto done = cnn.Execute(insert + QStringLiteral(" ON CONFLICT DO NOTHING"), {code, namePrefix + code, code});
        if (!done)
            ADD_FAILURE() << insert.toStdString() << ": " << done.error().toStdString();
    }
}

// Goods items (not a service) of those codes.
inline void items(Connection &cnn, const QStringList &codes)
{
    addMissing(cnn,
               QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId, cComUnitCode) "
                              "SELECT ?, ?, (SELECT COALESCE(MAX(iId), 0) + 1 FROM Inventory), 'PCS' "
                              "WHERE NOT EXISTS (SELECT 1 FROM Inventory WHERE cInvCode = ?)"),
               QStringLiteral("存货"), codes);
}

inline void warehouses(Connection &cnn, const QStringList &codes)
{
    addMissing(cnn,
               QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) SELECT ?, ? "
                              "WHERE NOT EXISTS (SELECT 1 FROM Warehouse WHERE cWhCode = ?)"),
               QStringLiteral("仓库"), codes);
}

inline void units(Connection &cnn, const QStringList &codes)
{
    addMissing(cnn,
               QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName) SELECT ?, ? "
                              "WHERE NOT EXISTS (SELECT 1 FROM ComputationUnit WHERE cComUnitCode = ?)"),
               QStringLiteral("单位"), codes);
}

// Leaf departments.
inline void departments(Connection &cnn, const QStringList &codes)
{
    addMissing(cnn,
               QStringLiteral("INSERT INTO Department (cDepCode, cDepName, bDepEnd) SELECT ?, ?, 1 "
                              "WHERE NOT EXISTS (SELECT 1 FROM Department WHERE cDepCode = ?)"),
               QStringLiteral("部门"), codes);
}

inline void customers(Connection &cnn, const QStringList &codes)
{
    addMissing(cnn,
               QStringLiteral("INSERT INTO Customer (cCusCode, cCusName, iId) "
                              "SELECT ?, ?, (SELECT COALESCE(MAX(iId), 0) + 1 FROM Customer) "
                              "WHERE NOT EXISTS (SELECT 1 FROM Customer WHERE cCusCode = ?)"),
               QStringLiteral("客户"), codes);
}

// The items, units and warehouses that the vouchers stored in the tables name and master data
// lacks, for tests that write vouchers straight into the tables and then save them.
inline void forStoredVouchers(Connection &cnn)
{
    const auto missing = [&](const QString &sql) {
        QStringList codes;
        auto rs = cnn.Query(sql);
        if (!rs) {
            ADD_FAILURE() << sql.toStdString() << ": " << rs.error().toStdString();
            return codes;
        }
        for (int r = 0; r < rs->RecordCount(); ++r)
            codes << rs->value(r, 0).toString();
        return codes;
    };
    items(cnn, missing(QStringLiteral("SELECT cNewInvCode FROM ManageSample WHERE COALESCE(cNewInvCode, '') <> '' "
                                      "UNION SELECT cPSCode FROM ManageSamples WHERE COALESCE(cPSCode, '') <> '' "
                                      "EXCEPT SELECT cInvCode FROM Inventory")));
    units(cnn, missing(QStringLiteral("SELECT cnewinvcomunitcode FROM ManageSample "
                                      "WHERE COALESCE(cnewinvcomunitcode, '') <> '' "
                                      "EXCEPT SELECT cComUnitCode FROM ComputationUnit")));
    warehouses(cnn, missing(QStringLiteral("SELECT cWhCode FROM ManageSamples WHERE COALESCE(cWhCode, '') <> '' "
                                           "EXCEPT SELECT cWhCode FROM Warehouse")));
}

} // namespace MasterDataRows
