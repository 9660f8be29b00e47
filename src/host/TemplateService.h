#pragma once

#include "CardTemplate.h"

#include "platform/Result.h"

class Connection;

// Reads the card's templates from the template tables (vouchertemplates, voucheritems) for the
// card logic and the windows: which templates a card has, and a display template's items with
// what the editors need of them - the length of their table column and the decimals of numbers.
// Works on the connection it is given (not owned, must outlive it); every read fails with the
// database's message and changes nothing.
class TemplateService
{
public:
    explicit TemplateService(Connection &cnn);

    // The templates of card `cardNumber` in mode 0 (display) or 1 (print), by identifier.
    Result<QList<TemplateChoice>> templates(const QString &cardNumber, int mode) const;

    // Display template `templateId`. An item that is a text column of the voucher's head or body
    // table takes the column's length as its maxLength; a number item the decimals of its kind
    // (quantities, prices, rates: the accounting options, 2 when unset). When the tables or the
    // options cannot be read the items stay without them.
    Result<CardTemplate> displayTemplate(int templateId) const;

private:
    void applyColumnLengths(CardTemplate &t) const;
    void applyDecimals(CardTemplate &t) const;

    Connection &m_cnn;
};
