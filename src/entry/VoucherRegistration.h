#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

class Connection;

// A voucher type's registration row in `vouchers`: the tables and views its card and list read,
// free settings and default templates. NULL columns read as empty text and 0.
struct VoucherRegistration
{
    QString name;
    QString btTblName;
    QString bwTblName;
    QString btQName;
    QString bwQName;
    QString vchListQName;
    QString selfDef1;
    QString selfDef2;
    QString selfDef3;
    qint32 defId = 0;
    qint32 defIdPrn = 0;

    // The row of the card number; nullopt when the card number is not registered.
    static Result<std::optional<VoucherRegistration>> read(Connection &cnn, const QString &cardNumber);
};
