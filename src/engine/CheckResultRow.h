#pragma once

#include "platform/VoucherDocument.h"

class Recordset;

// The one-row documents the field checks answer with: a z:row with one attribute per column of the
// check's query, named by the lower-cased column name. The card copies every attribute into the
// voucher, so a NULL column is written as empty text: it clears the field it fills.
namespace CheckResultRow {

// The current row of rs.
VoucherDocument found(const Recordset &rs);
// Every column of rs with empty text: what a refused value leaves, so that the card clears the
// fields the value would have filled.
VoucherDocument empty(const Recordset &rs);

} // namespace CheckResultRow
