#pragma once

#include "host/VoucherCardControl.h"

#include <QString>

// What a field edit on the card hands on to the structure and cost work: the cost roll-up after an
// accepted entry, the fetch of a parent item's structure and the choice of an item's version.
// The defaults do nothing: until that work installs its own hooks, an accepted entry changes no
// costs, a parent item is taken as typed without fetching anything and no version list opens.
class FieldEditHooks
{
public:
    virtual ~FieldEditHooks() = default;

    // The voucher's costs after `field` (of body row `row`, 0 for the head) took a new value.
    virtual void rollUpCosts(VoucherCardControl::Section section, const QString &field, int row)
    {
        Q_UNUSED(section)
        Q_UNUSED(field)
        Q_UNUSED(row)
    }
    // Fetches the structure of the parent item `value` into the card: typed (fromList false) or
    // picked from the list of bills of materials (fromList true). "" when done, else the failure.
    virtual QString fetchParentItem(const QString &value, bool fromList)
    {
        Q_UNUSED(value)
        Q_UNUSED(fromList)
        return {};
    }
    // Lets the user pick one of the versions of `item`; true with the version chosen.
    virtual bool pickVersion(const QString &item, QString &version)
    {
        Q_UNUSED(item)
        Q_UNUSED(version)
        return false;
    }
};
