#pragma once

#include <QString>

class VoucherDocument;

// The checks of a sample voucher that need nothing but its documents. They run before anything is
// written, so a refusal costs no transaction. Each answers "" when the document passes, else every
// complaint it found (all rows and columns are looked at, not just up to the first problem), each
// ended by CR LF except the duplicate-component text.
class SampleSaveChecks
{
public:
    // The head row: item name and main unit must be filled, a finished-goods ratio must be above 0.
    static QString checkHead(const VoucherDocument &domHead);
    // The live body rows: at least one, no component twice, quantities and divisor filled and not
    // "0", a warehouse, a waste rate in [0, 100). Only columns present on a row are looked at.
    static QString checkBody(const VoucherDocument &domBody);
};
