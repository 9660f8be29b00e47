#pragma once

#include <QString>

class DataPermission;

// The data-permission part of the list's WHERE clause for the user the service is bound to: the
// makers whose vouchers the user may see (access "r"), then customers, new items and departments,
// each also admitting vouchers that name none:
//
//     <maker> and (<customer> or COALESCE(ccuscode,'') = '') and (<item> or NewInvIID = -1 )
//         and (<department> or COALESCE(cdepcode,'') = '')
//
// A maker answer of "1=1" or "1=2" is used as it is; any other answer is a list of names that
// becomes " (cmaker in(<names>) or COALESCE(cmaker,'')='')".
QString listPermissionCondition(DataPermission &permission);
