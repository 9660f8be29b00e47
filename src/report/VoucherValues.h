#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The values of one voucher as a print reads them: the fields its head and lines have (lower-case
// names, also those without a value) and each value as the card's documents hold it (text; ""
// for none). Made from the card's documents or read from the database (VoucherPrintDocument).
struct VoucherValues
{
    QStringList headFields;
    QStringList bodyFields;
    std::function<QString(const QString &field)> head;
    int lines = 0;
    // Line `line` (0-based) of the body.
    std::function<QString(int line, const QString &field)> line;
};
