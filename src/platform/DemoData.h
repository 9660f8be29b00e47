#pragma once

#include "Connection.h"
#include "Result.h"

#include <QDate>

struct DemoDataOptions
{
    quint64 seed = 1801;                  // the same seed gives the same data on every machine and backend
    int sampleCount = 30;                 // top-level sample vouchers (child samples come on top)
    QDate firstDate = QDate(2026, 10, 8); // vouchers are dated over about two months from here
};

// Demo and benchmark data for a database that Schema::create has just made.
//
// fill() writes a small manufacturing company (江苏澄川精密机械有限公司): a few hundred items with
// units, unit groups, free items and user-defined items, customers, vendors, departments, persons,
// warehouses, a few bills of materials, and sample vouchers — some nested two or three levels deep
// through child samples (the first one four), some with components priced from a bill of
// materials only, one whose stored structure runs in a loop, some confirmed, one converted into a
// bill of materials, a few with a picture and a file. Everything goes in one transaction with prepared, bound statements; on any
// error nothing is written. A database that already holds items or samples is refused unchanged.
//
// generateVouchers() appends count sample vouchers of linesPerVoucher lines each, for benchmarks:
// numbered "BM" + ten digits, new item codes of their own, components taken from the item master
// (or made-up codes when it is empty), multi-row inserts in one transaction. It answers the
// iAutoID of the first voucher written; the others follow consecutively.
class DemoData
{
public:
    static Result<void> fill(Connection &cnn, const DemoDataOptions &options = {});
    static Result<int> generateVouchers(Connection &cnn, int count, int linesPerVoucher);
};
