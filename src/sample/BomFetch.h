#pragma once

#include "host/ReferenceListRequest.h"
#include "platform/Recordset.h"
#include "platform/Result.h"

#include <QString>

class Connection;

// What a sample takes from an existing bill of materials: the list of structures a parent item
// (cpspinvcode) is picked from, the head and lines of a picked or typed structure, a whole new
// sample made from a structure, and the versions that exist for an item. Row sets carry the card's
// field names (lower case); body rows carry editprop "A". Every value is bound; the permission
// condition on items is SQL text written by the data-permission service.
//
// Reads only; the connection is borrowed. A database error is returned as its text.
namespace BomFetch {

// The reference list of structures, searched by parent code or item name; `itemPermission` is the
// data-permission condition on "i.iId" ("" for none).
ReferenceListRequest parentItemList(const QString &itemPermission);

// The head of structure `bomId` for the parent-item fields: cpspinvcode, cpspinvname, cpspinvstd,
// department, ifinishexch, bexpand, ccheck, cmemo, ibomautoid, csocode, imanhrs, ibzgzexch,
// ibzfyexch and cfree1..cfree10. No row when there is no such structure.
Result<Recordset> parentHead(Connection &cnn, int bomId);

// The structure a typed parent item means: by parent code or item name, of version `version` when
// it is not empty; its iAutoId, or 0 when there is none. The lowest id when several match.
Result<int> findTyped(Connection &cnn, const QString &text, const QString &version, const QString &itemPermission);

// The lines of structure `bomId` as body rows (layerid, cpscode, cpsname, units, quantities, waste,
// warehouse, department, free items, imaterialcharge from fBZDJ, the item's cinvdefine1..16, ...).
Result<Recordset> parentLines(Connection &cnn, int bomId);

// A new sample's head made from structure `bomId` (its parent item as the new item, ibomautoid,
// charges, free items and the item's user-defined fields), and its body rows (with icaaquantity
// and childguid). No head row when there is no such structure.
Result<Recordset> newSampleHead(Connection &cnn, int bomId);
Result<Recordset> newSampleLines(Connection &cnn, int bomId);

// The reference list of the versions that exist for item `item` (non-empty csocode), titled
// "版本号".
ReferenceListRequest versionList(const QString &item);

} // namespace BomFetch
