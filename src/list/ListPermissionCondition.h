#pragma once

#include <QString>

class DataPermission;

// The data-permission part of the list's WHERE clause for the user the service is bound to: the
// makers whose vouchers the user may see (access "r"), then customers, new items and departments,
// each also admitting vouchers that name none. Every part names only the voucher head's own code
// columns (ccuscode, cnewinvcode, cdepcode, cmaker), so a count or a page can be filtered on the
// head table without joining the customer and item tables for every voucher:
//
//     <maker> and (ccuscode in (<codes of granted customers>) or COALESCE(ccuscode,'') = '')
//         and (cnewinvcode is null or cnewinvcode not in (<codes of known items not granted>))
//         and (<department> or COALESCE(cdepcode,'') = '')
//
// This admits exactly the rows "customeriid in (...)" and "newinviid in (...) or newinviid = -1"
// admit on the view, since customer and item codes are unique. A maker answer of "1=1" or "1=2" is
// used as it is; any other answer is a list of names that becomes
// " (cmaker in(<names>) or COALESCE(cmaker,'')='')".
QString listPermissionCondition(DataPermission &permission);
