#pragma once

#include "support/TestDatabase.h"

#include <QString>
#include <QVariant>

// Samples, their lines and bills of materials written straight into the tables for the structure
// tree, the cost roll-up and the conversion, with the item master rows they name.
class BomStructureData
{
public:
    explicit BomStructureData(TestDatabase &db)
        : m_db(db)
    {}

    struct Line
    {
        QString component = {};
        double quantity = 1;
        QVariant divisor = 1.0;
        double charge = 0; // iMaterialCharge
        double waste = 0;
        double outPrice = 0;
        int child = 0;
        QString version = {};
        QString warehouse = {};
        QString free1 = {};
    };

    // A self-made goods item (planPolicy 2: by reorder point).
    void item(const QString &code, bool self = true, bool outsourced = false, int planPolicy = 0, bool service = false)
    {
        m_db.exec(
            QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId, cComUnitCode, bSelf, bProxyForeign, "
                           "iPlanPolicy, bService) SELECT ?, ?, (SELECT COALESCE(MAX(iId), 0) + 1 FROM Inventory), "
                           "'PCS', ?, ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM Inventory WHERE cInvCode = ?)"),
            {code, QStringLiteral("品") + code, self ? 1 : 0, outsourced ? 1 : 0, planPolicy, service ? 1 : 0, code});
    }

    // A head: a top-level voucher when `code` is not empty, else a child sample of `version`.
    void sample(int id, const QString &code, const QString &item, const QString &version = {}, double perCharge = 0,
                double makeCharge = 0, double outCost = 0, const QString &free1 = {})
    {
        this->item(item);
        m_db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, csocode, "
                                 "iPerCharge, iMakeCharge, iTolOutCost, cfree1, ddate, cmaker) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, '2026-12-01', '测试员')"),
                  {id, code, item, QStringLiteral("样") + item, version, perCharge, makeCharge, outCost, free1});
    }

    void line(int id, int subId, const Line &l)
    {
        item(l.component);
        m_db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, tdQtyD, "
                                 "iMaterialCharge, iWasteRate, iOutUnitPrice, ChildGUID, csocode, cWhCode, cfree1) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {id, subId, l.component, l.quantity, l.divisor, l.charge, l.waste, l.outPrice,
                   l.child > 0 ? QVariant(l.child) : QVariant(QMetaType(QMetaType::Int)), l.version,
                   l.warehouse.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(l.warehouse), l.free1});
    }

    // A bill of materials; its id.
    int bom(const QString &item, const QString &version = {}, double labour = 0, double overhead = 0,
            const QString &free1 = {})
    {
        this->item(item);
        m_db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode, csocode, fbzrgcb, fbzzfy, cfree1) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {item, version, labour, overhead, free1});
        return m_db.cnn().Scalar(QStringLiteral("SELECT MAX(iAutoId) FROM ProductStructure"))->toInt();
    }

    void bomLine(int bomId, const QString &component, double quantity, double price, double waste = 0, int childBom = 0,
                 double divisor = 1)
    {
        item(component);
        m_db.exec(QStringLiteral("INSERT INTO ProductStructures (iPId, cPSPCode, cPSCode, iPSQuantity, tdQtyD, fbzdj, "
                                 "iWasteRate, ChildGUID) SELECT ?, cPSPCode, ?, ?, ?, ?, ?, ? FROM ProductStructure "
                                 "WHERE iAutoId = ?"),
                  {bomId, component, quantity, divisor, price, waste,
                   childBom > 0 ? QVariant(childBom) : QVariant(QMetaType(QMetaType::Int)), bomId});
    }

    double number(const QString &sql, const QVariantList &params = {})
    {
        auto v = m_db.cnn().Scalar(sql, params);
        EXPECT_TRUE(v) << sql.toStdString() << ": " << (v ? "" : v.error().toStdString());
        return v ? v->toDouble() : -1;
    }

private:
    TestDatabase &m_db;
};
