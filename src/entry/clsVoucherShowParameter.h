#pragma once

#include <QString>
#include <QVariant>

// The settings with which a voucher card (and its engine) is opened. A plain bag: the caller fills
// it, the engine reads it and writes CurID and PreID back.
class clsVoucherShowParameter
{
public:
    clsVoucherShowParameter() { InitialNewParameter(); }

    // Back to a new card's settings: no card number, no condition, no edit right, the last voucher.
    void InitialNewParameter();

    QString MenuID;
    QString CardNumber;
    // Voucher to open: -1 the last voucher, 0 none (an empty card), other that voucher's identifier.
    // Held as a 16-bit integer when not set otherwise; compare by value (ID == -1, ID.toInt()).
    QVariant ID;
    // Extra SQL condition restricting which vouchers may be shown and navigated.
    QString Where;
    QVariant CurID; // voucher loaded now (written by the engine)
    QVariant PreID; // last voucher really loaded (written by the engine)
    // Task identifiers of the actions.
    QString AuthEdit;
    QString AuthView;
    QString AuthConfirm;
    QString AuthCancelConfirm;
    QString AuthClose;
    QString AuthOpen;
    QVariant HelpContextID; // Empty (invalid) until set
    QVariant VarP1;
    QVariant VarP2;
    QVariant VarP3;
};
