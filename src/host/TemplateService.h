#pragma once

#include "CardTemplate.h"
#include "PrintTemplate.h"

#include "platform/Result.h"

#include <QPair>

class Connection;
class Recordset;

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

    // Which of `list` (a card's templates in mode 0 or 1) to use: `chosen` when listed, else the
    // card's default (vouchers DEF_ID or DEF_ID_PRN) when listed, else the first; 0 for an empty
    // list.
    Result<int> defaultTemplate(const QString &cardNumber, const QList<TemplateChoice> &list, int chosen,
                                int mode) const;

    // Display template `templateId`. An item that is a text column of the voucher's head or body
    // table takes the column's length as its maxLength; a number item the decimals of its kind
    // (quantities, prices, rates: the accounting options, 2 when unset). When the tables or the
    // options cannot be read the items stay without them.
    Result<CardTemplate> displayTemplate(int templateId) const;

    // Print template `templateId`: title, paper and its fields (voucheritems_prn) in print order.
    // Fails with "打印模板[id]不存在，请检查！" when there is no print template of that identifier.
    Result<PrintTemplate> printTemplate(int templateId) const;
    // The head and body view names of a card (vouchers BTQName, BWQName); an empty pair when the
    // card has no row.
    Result<QPair<QString, QString>> voucherViews(const QString &cardNumber) const;
    // A print template from its fixed items and layout rows as format() and fixedItems() give
    // them; a column the rows lack reads as empty.
    static PrintTemplate printTemplateOf(const Recordset &fixed, const Recordset &layout);
    // Stores a print layout edited by the user: order, captions, widths and shown flags of its
    // fields and its paper, in one transaction; on a failure nothing is written.
    Result<void> savePrintTemplate(const PrintTemplate &t) const;

    // The three calls the voucher engine passes through. The identifier is text as the card holds
    // it; one that is not a number fails with a message and reads nothing.
    //
    // A template's layout rows: a display template's voucheritems or a print template's
    // voucheritems_prn (columns CardSection, FieldName, CardItemNum, CardFormula1, NumPoint,
    // ColumnWidth, bShow), in order.
    Result<Recordset> format(const QString &cardNumber, const QString &templateId) const;
    // A template's fixed items: VT_ID, VT_Name, VT_Title, VT_TemplateMode, VT_PrintSetting; read on
    // a connection of its own, opened from `connectionString` and closed before the answer.
    static Result<Recordset> fixedItems(const QString &connectionString, const QString &templateId);
    // Keeps the printer settings of a template (PrintSetting's text). Answers the number of
    // templates changed: 1, or 0 when there is no such template.
    Result<int> savePrintSetting(const QString &templateId, const QVariant &device) const;

private:
    void applyColumnLengths(CardTemplate &t) const;
    void applyDecimals(CardTemplate &t) const;

    Connection &m_cnn;
};
