#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

class Connection;

// One unit of measure of an item's unit group, as the unit lookups read it.
struct ItemUnit
{
    QString code;
    QString name;
    int groupType = 0; // the group's igrouptype: 0 no conversion, 1 fixed rates, 2 floating rates
    double rate = 0;   // ichangrate, against the group's main unit
};

// The units of measure an item may be counted in: the units of its unit group. A typed value is
// checked against their codes and names; the list offers them for picking.
class UnitReference
{
public:
    explicit UnitReference(Connection &cnn)
        : m_cnn(cnn)
    {}

    // The first unit (by code) of the item's group whose code or name equals `value`; any unit of
    // the group when `value` is empty. Nothing when the item has no such unit.
    Result<std::optional<ItemUnit>> find(const QString &item, const QString &value) const;
    // Opens the list of the item's units (searched from `value`) with the installed picker;
    // nothing when the user picks none or no picker is installed.
    std::optional<ItemUnit> pick(const QString &item, const QString &value) const;
    // The group type of the unit `unitCode`; nothing when the unit is unknown.
    Result<std::optional<int>> groupTypeOf(const QString &unitCode) const;

private:
    Connection &m_cnn;
};
