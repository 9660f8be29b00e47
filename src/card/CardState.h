#pragma once

#include <QString>

// What the card window knows about the voucher it shows and the edit under way. The command
// state rule reads it; loading, moving and the edit flows write it.
struct CardState
{
    enum SaveState : qint16 { ExistingVoucher = 1, NewVoucher = 2, DeletedVoucher = 3 };

    QString strCardNumber = QStringLiteral("1801");
    QString strMsgTitle = QStringLiteral("销售管理");
    QString strVoucherName = QStringLiteral("样品接单管理");
    // Identifier (iAutoID) of the voucher shown; "" or "-1" when none is.
    QString strVoucherID;
    // The voucher that was shown when add, edit or copy began; cancel goes back to it.
    QString strOldVoucherID;
    // Visible neighbours of the voucher shown in identifier order; "" when there is none.
    QString strPrevVoucherID;
    QString strNextVoucherID;
    // Who confirmed the voucher shown (chandler); not blank means confirmed.
    QString strVerifier;
    // The structure of the voucher shown runs in a circle (found while the tree is built).
    bool bolCycle = false;
    // The voucher being edited is numbered (a top-level sample).
    bool bolHasCode = false;
    // A reference lookup started from a cell is open; any command ends it.
    bool bolReferring = false;
    qint16 intSaveState = ExistingVoucher;
    // The upper-level sample whose structure is being kept; "" while a new voucher is added.
    QString strEditRootID;
    // Row version of the voucher shown as it was read; a save or a change of state compares it.
    QString strTimeStamp;
    qint32 lngShowTemplate = 0;
    qint32 lngPrintTemplate = 0;

    // Head identifier and template columns of the head view.
    QString strIDField = QStringLiteral("iautoid");
    QString strVtidField = QStringLiteral("vt_id");

    // Whether a voucher is on the card: "" and "-1" both mean none.
    bool hasVoucher() const { return !strVoucherID.isEmpty() && strVoucherID != QLatin1String("-1"); }
};
