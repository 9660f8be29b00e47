#pragma once

#include <QHash>
#include <QString>

class Connection;

// How many decimals the sample voucher's numbers are shown and printed with: the accounting
// options of system "AA" (exchange rate, number, rate, price and quantity decimals) and the
// fields that follow each of them or a fixed count.
namespace DecimalPlaces {

// The options by lower-case name (iexchratedecdgt, inumdecdgt, iratedecdgt, istrspridecdgt,
// istrsquandecdgt, ibillprice): cValue, or cDefault when cValue is empty. An option without a row,
// or one that cannot be read, counts 2.
QHash<QString, int> options(Connection &cnn);
// The decimals of a head or body field (lower-case name); -1 for a field whose decimals the
// options do not decide.
int forField(const QString &field, const QHash<QString, int> &options);

// The names of the options.
inline QString price()
{
    return QStringLiteral("istrspridecdgt");
}
inline QString quantity()
{
    return QStringLiteral("istrsquandecdgt");
}
inline QString exchangeRate()
{
    return QStringLiteral("iexchratedecdgt");
}

} // namespace DecimalPlaces
