#pragma once

#include <QString>
#include <QVariant>

// The settings with which the voucher list is opened. A plain bag filled by the caller.
class clsVL_JDYPGLParam
{
public:
    clsVL_JDYPGLParam() { InitialNewParameter(); }

    // Back to a new list's settings: no card number, no condition, the last voucher.
    void InitialNewParameter();

    QString MenuID;
    QString CardNumber;
    QVariant ID; // as in clsVoucherShowParameter: -1 last, 0 none, other that voucher
    QString Where;
    QVariant CurID;
    QVariant PreID;
    QVariant VarP1;
    QVariant VarP2;
    QVariant VarP3;
    qint16 Special = 0; // list variant number, part of the print-format key
    QString AppHelpFilePath;
    QVariant SourceID;     // Empty until set
    QVariant SourceAutoID; // Empty until set
};
