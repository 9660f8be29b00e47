#pragma once

#include "ManagedWindow.h"

#include <QVariant>

class Connection;
class clsLogin;

// The sample voucher card window as the entry object sees it. The card's logic (frmManageSample)
// implements it; the application hands WindowManager a factory that makes one with its Qt view.
class CardWindow : public ManagedWindow
{
public:
    static QString name() { return QStringLiteral("frmManageSample"); }
    QString formName() const override { return name(); }

    // Fills the window and shows it: the voucher vVouchID (text of its identifier) when given,
    // otherwise the one sMoveVouchOpe names (1 first, 2 previous, 3 next, 4 last, 5 a new empty
    // voucher). VtidField names the head's template column ("vt_id" when empty). False when the
    // window is not shown; it has then unloaded, and a load failure's message has been shown and is
    // in ErrMsg. DBConn and mLogin are handed back as the window keeps them.
    virtual bool ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                             const QVariant &vVouchID, const QString &VtidField, QString &ErrMsg, qint16 &sMoveVouchOpe)
        = 0;

    // The menu the window was opened from; ShowVoucher2 opens one window per non-empty menu.
    QString m_MenuId;
    // Two texts the host keeps with the window and reads back.
    QString VoucherName;
    QString QVTaskID;
};
