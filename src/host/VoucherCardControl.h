#pragma once

#include <QString>

class VoucherDocument;

// The state of one card item (a head field or a body column) as the card control describes it.
struct VoucherItemState
{
    bool bIsNull = false;  // true: the item is required (it may not be left empty)
    QString sFieldName;    // database field name, as the template gives it
    QString sCardItemName; // caption shown on the card
};

// The host's voucher card control, as the voucher code sees it: a head of items and a body grid
// of rows and columns, filled from and read back into a head and a body document.
//
// The card widget implements it; tests implement it with a fake. Only what the voucher code
// calls is here; members are added as callers need them. Indexes follow the control: head and
// body items are numbered from 1, body rows from 1. An index outside the control's range reads
// as empty text and writes nowhere.
class VoucherCardControl
{
public:
    enum Section { Head = 0, Body = 1 };

    virtual ~VoucherCardControl() = default;

    // Number of head items and of body columns.
    virtual int HeadInfoCount() const = 0;
    virtual int BodyInfoCount() const = 0;
    // The item of a section; ItemState(i, Head) describes head item i, ItemState(i, Body) column i.
    virtual VoucherItemState ItemState(int index, Section section) const = 0;

    // Text of a head item as shown.
    virtual QString headerText(int index) const = 0;

    // Number of body rows, and the text shown in a cell, by column number or by field name.
    virtual int BodyRows() const = 0;
    virtual QString bodyText(int row, int column) const = 0;
    virtual QString bodyText(int row, const QString &fieldName) const = 0;

    // Hands out what the card holds as a head and a body document (replacing both). False when
    // the control has no documents to give.
    virtual bool getVoucherDataXML(VoucherDocument &head, VoucherDocument &body) = 0;

    // Characters the body refuses in typed text.
    virtual QString BodyBadStr() const = 0;
    // Sets the characters head item `index` refuses in typed text.
    virtual void setHeadBadStr(int index, const QString &text) = 0;
};
