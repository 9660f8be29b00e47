#pragma once

#include "TestDatabase.h"

#include <QString>

// Vouchers for list tests, written straight into the tables: customers KH1..KH3 (iId 1..3) and
// departments BM1, BM2 exist; each voucher names a customer, a department and a maker, carries
// total cost `cost` and has `lines` body lines of quantity 1, 2, ...
struct ListVoucher
{
    int id;
    QString customer = QStringLiteral("KH1");
    QString department = QStringLiteral("BM1");
    QString maker = QStringLiteral("张三");
    double cost = 10;
    int lines = 1;
    QString date = QStringLiteral("2026-12-01");
    QString memo = {};
};

inline void addListMasterData(TestDatabase &db)
{
    for (int k = 1; k <= 3; ++k)
        db.exec(QStringLiteral("INSERT INTO Customer (cCusCode, cCusName, cCusAbbName, iId) VALUES (?, ?, ?, ?)"),
                {QStringLiteral("KH%1").arg(k), QStringLiteral("客户%1").arg(k), QStringLiteral("客%1").arg(k), k});
    for (int k = 1; k <= 2; ++k)
        db.exec(QStringLiteral("INSERT INTO Department (cDepCode, cDepName, bDepEnd) VALUES (?, ?, 1)"),
                {QStringLiteral("BM%1").arg(k), QStringLiteral("部门%1").arg(k)});
}

inline void addListVoucher(TestDatabase &db, const ListVoucher &v)
{
    db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, cCusCode, cDepCode, "
                           "cMaker, dDate, itolcost, cMemo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {v.id, QStringLiteral("YP%1").arg(v.id, 4, 10, QLatin1Char('0')), QStringLiteral("NEW%1").arg(v.id),
             QStringLiteral("新品%1").arg(v.id), v.customer.isEmpty() ? QVariant() : QVariant(v.customer),
             v.department.isEmpty() ? QVariant() : QVariant(v.department), v.maker, v.date, v.cost,
             v.memo.isEmpty() ? QVariant() : QVariant(v.memo)});
    for (int line = 1; line <= v.lines; ++line)
        db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity) VALUES (?, ?, ?, ?)"),
                {v.id, v.id * 100 + line, QStringLiteral("P%1").arg(line), double(line)});
}
