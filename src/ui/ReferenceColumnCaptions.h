#pragma once

#include <QString>

// The heading a reference list shows over a column of master data or of the voucher: the caption
// the user knows (存货编码, 存货名称, 规格型号…). "" for a column the lists do not show: the user
// is never shown a column's name (cInvCode, iId).
QString referenceColumnCaption(const QString &column);
