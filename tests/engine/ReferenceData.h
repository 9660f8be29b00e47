#pragma once

#include "support/EngineFixture.h"
#include "support/TestDatabase.h"

#include "host/ReferenceListService.h"
#include "host/ReferencePicker.h"

#include <QDate>
#include <QStringList>

// A small master-data set for the lookups and checks, dated around the login date:
//  departments 01 (not a leaf) with leaves 0101 研发部 and 0102 销售部; persons P01 张三, P02 李四;
//  units U01 个 and U02 箱 (12 个); warehouse W01 成品库;
//  items A001 阀体 (iId 1, free item 1 颜色 in use, sales unit 箱, warehouse W01, price 12.5),
//  A002 阀盖 (iId 2, no free items), S001 安装服务 (iId 3, a service), N001 新阀门 (iId 4, heads a
//  product structure), N002 新阀门二 (iId 5), R001 停用件 (iId 6, ended yesterday);
//  vendors V01 东方铸造 and V02 老厂 (ended yesterday); customers C01 华东机械 (iId 1) and
//  C02 华南机械 (iId 2); free item 1 named 颜色 with 天蓝 (TL) and 大红 (DH).
inline void writeReferenceData(TestDatabase &db, const QDate &loginDate)
{
    const QDate yesterday = loginDate.addDays(-1);
    const QString dep = QStringLiteral("INSERT INTO Department (cDepCode, cDepName, bDepEnd) VALUES (?, ?, ?)");
    db.exec(dep, {QStringLiteral("01"), QStringLiteral("总部"), 0});
    db.exec(dep, {QStringLiteral("0101"), QStringLiteral("研发部"), 1});
    db.exec(dep, {QStringLiteral("0102"), QStringLiteral("销售部"), 1});
    const QString person = QStringLiteral("INSERT INTO Person (cPersonCode, cPersonName, cDepCode) VALUES (?, ?, ?)");
    db.exec(person, {QStringLiteral("P01"), QStringLiteral("张三"), QStringLiteral("0101")});
    db.exec(person, {QStringLiteral("P02"), QStringLiteral("李四"), QStringLiteral("0102")});
    const QString unit = QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName, cGroupCode, "
                                        "bMainUnit, iChangRate) VALUES (?, ?, 'G1', ?, ?)");
    db.exec(unit, {QStringLiteral("U01"), QStringLiteral("个"), 1, 1.0});
    db.exec(unit, {QStringLiteral("U02"), QStringLiteral("箱"), 0, 12.0});
    db.exec(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('W01', '成品库')"));

    const QString item = QStringLiteral(
        "INSERT INTO Inventory (cInvCode, cInvName, iId, cComUnitCode, cSAComUnitCode, cDefWareHouse, iInvSPrice, "
        "bService, bInvType, bFree1, dSDate, dEDate) VALUES (?, ?, ?, 'U01', ?, ?, ?, ?, 0, ?, ?, ?)");
    const QVariant none;
    const QDate start(2020, 1, 1);
    db.exec(item, {QStringLiteral("A001"), QStringLiteral("阀体"), 1, QStringLiteral("U02"), QStringLiteral("W01"),
                   12.5, 0, 1, start, none});
    db.exec(item, {QStringLiteral("A002"), QStringLiteral("阀盖"), 2, none, none, 3.0, 0, 0, start, none});
    db.exec(item, {QStringLiteral("S001"), QStringLiteral("安装服务"), 3, none, none, 0.0, 1, 0, start, none});
    db.exec(item, {QStringLiteral("N001"), QStringLiteral("新阀门"), 4, none, none, 0.0, 0, 1, start, none});
    db.exec(item, {QStringLiteral("N002"), QStringLiteral("新阀门二"), 5, none, none, 0.0, 0, 1, start, none});
    db.exec(item, {QStringLiteral("R001"), QStringLiteral("停用件"), 6, none, none, 0.0, 0, 0, start, yesterday});
    db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode) VALUES ('N001')"));

    const QString vendor = QStringLiteral("INSERT INTO Vendor (cVenCode, cVenName, cVenAbbName, iId, dEndDate) "
                                          "VALUES (?, ?, ?, ?, ?)");
    db.exec(vendor, {QStringLiteral("V01"), QStringLiteral("东方铸造"), QStringLiteral("东铸"), 1, none});
    db.exec(vendor, {QStringLiteral("V02"), QStringLiteral("老厂"), QStringLiteral("老厂"), 2, yesterday});
    const QString customer = QStringLiteral("INSERT INTO Customer (cCusCode, cCusName, cCusAbbName, iId, cCusDefine1) "
                                            "VALUES (?, ?, ?, ?, ?)");
    db.exec(customer,
            {QStringLiteral("C01"), QStringLiteral("华东机械"), QStringLiteral("华机"), 1, QStringLiteral("甲")});
    db.exec(customer, {QStringLiteral("C02"), QStringLiteral("华南机械"), QStringLiteral("南机"), 2, none});

    db.exec(QStringLiteral("UPDATE UserDef SET cItemName = ? WHERE cID = '20'"), {QStringLiteral("颜色")});
    const QString value = QStringLiteral("INSERT INTO UserDefine (cID, cValue, cAlias, iOrder) VALUES ('20', ?, ?, ?)");
    db.exec(value, {QStringLiteral("天蓝"), QStringLiteral("TL"), 1});
    db.exec(value, {QStringLiteral("大红"), QStringLiteral("DH"), 2});
}

// A picking dialog that walks every page of the list it is given, remembers what it was offered
// (the code column, without a table alias) and picks the rows whose code is in `choose`.
class ScriptedPicker final : public ReferencePicker
{
public:
    QStringList choose;
    QList<ReferenceListRequest> requests;
    QStringList offered;
    QString error;
    int pages = 0;

    ScriptedPicker() { install(this); }
    ~ScriptedPicker() override { install(nullptr); }

    bool pick(ReferenceListService &service, const ReferenceListRequest &request, bool, Recordset &chosen) override
    {
        requests << request;
        offered.clear();
        pages = 0;
        const QString codeColumn = request.codeColumn.section(QLatin1Char('.'), -1);
        ReferenceListRequest next = request;
        next.pageIndex = 0;
        for (;;) {
            auto page = service.page(next);
            if (!page) {
                error = page.error();
                return false;
            }
            ++pages;
            const Recordset &rows = page->rows;
            if (chosen.fieldCount() == 0)
                chosen.setFields(rows.fields());
            const int code = rows.fieldIndex(codeColumn);
            for (int r = 0; r < rows.RecordCount(); ++r) {
                offered << rows.value(r, code).toString();
                if (choose.contains(offered.last()))
                    chosen.appendRow(rows.row(r));
            }
            if (!page->more)
                break;
            ++next.pageIndex;
        }
        return !chosen.isEmpty();
    }
};

// An engine test on the reference data, the engine set up for card "1801" with the login.
class ReferenceDataTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (setUpFailed())
            return;
        writeReferenceData(db, QDate::fromString(login->LoginDate(), Qt::ISODate));
        initialEngine();
        ASSERT_TRUE(engine.connection().isOpen());
    }
};
