#pragma once

#include "Connection.h"
#include "DemoData.h"
#include "DemoRandom.h"
#include "Result.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cmath>

// What the demo-data writers share: the catalogue the master data was made from, so that the
// samples and bills of materials pick components that exist and fit.

enum class DemoKind { Raw, Purchased, Auxiliary, Part, Assembly, Product, NewProduct, Service };

// Product families an item belongs to, as a bit mask; components are chosen within the family of
// the item they go into.
enum DemoFamily { Pump = 1, Valve = 2, Reducer = 4, AnyFamily = 7 };

struct DemoItem
{
    QString code;
    QString name;
    QString model;
    QString classCode;
    QString unit;      // main unit code
    QString group;     // unit group code
    QString warehouse; // default warehouse
    QString auxUnit;   // auxiliary unit a line may use, with its rate to the main unit
    double auxRate = 0;
    double price = 0; // standard price (purchased) or standard cost (made)
    DemoKind kind = DemoKind::Raw;
    int families = AnyFamily;
    bool colour = false;       // uses free item 1 (颜色)
    bool material = false;     // uses free item 2 (材质)
    bool reorderPoint = false; // planned by reorder point (fasteners)
    bool retired = false;      // outside its validity dates: never chosen as a component
    QString brand;
};

struct DemoPerson
{
    QString code;
    QString name;
    QString department;
};

struct DemoCatalogue
{
    QList<DemoItem> items;
    QHash<QString, int> indexOf; // item code → position in items
    QStringList customers;
    QStringList outsourcers; // vendor codes that do outsourced work
    QList<DemoPerson> persons;
    QStringList colours;   // free item 1 values
    QStringList materials; // free item 2 values
    QStringList grades;    // head user-defined item 1 values
    QStringList crafts;    // line user-defined item 22 values

    const DemoItem &item(const QString &code) const { return items.at(indexOf.value(code)); }
    // Items of a kind that belong to one of the families.
    QList<int> pool(DemoKind kind, int families = AnyFamily) const;
    QList<DemoPerson> personsOf(const QString &department) const;
};

// A bill of materials written for an item (version empty, no free items) and its full unit cost as
// the cost roll-up computes it.
struct DemoBom
{
    int id = 0;
    double unitCost = 0;
};
using DemoBoms = QHash<QString, DemoBom>;

// NULL for an empty text, the text otherwise.
inline QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

inline double round2(double v)
{
    return std::round(v * 100.0) / 100.0;
}

// The item master: fixed series of materials, parts, assemblies and products, plus newProducts items
// under development; codes are a kind prefix and a serial (YL0001, XP0012).
QList<DemoItem> demoItems(DemoRandom &random, int newProducts);

Result<DemoCatalogue> writeDemoMasterData(Connection &cnn, DemoRandom &random, const DemoDataOptions &options);
Result<DemoBoms> writeDemoBoms(Connection &cnn, const DemoCatalogue &catalogue);
Result<void> writeDemoSamples(Connection &cnn, DemoRandom &random, const DemoCatalogue &catalogue, const DemoBoms &boms,
                              const DemoDataOptions &options);
// A picture for each of the given vouchers (identifier, item name) and a technical note for every
// second one.
Result<void> writeDemoAttachments(Connection &cnn, const QList<QPair<int, QString>> &vouchers);
