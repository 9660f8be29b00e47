#pragma once

#include "common/modPublic.h"
#include "entry/CardWindow.h"

#include <memory>

class CardView;
class VoucherBrowser;

// The sample voucher card window's logic. For now it shows vouchers read-only and moves between
// them (VoucherBrowser); the view is the Qt window or a test fake.
//
// Made through WindowManager's card factory. At load it chooses the visible bar by the toolbar
// style and hands the view the card data source; ShowVoucher fills and shows it; unloading gives
// the right to open the card back and closes the view.
class frmManageSample : public CardWindow
{
public:
    // A window for card `cardNumber` on `view`; only the sample voucher's card can be shown.
    explicit frmManageSample(std::shared_ptr<CardView> view, const QString &cardNumber = modPublic::CardNumber());
    ~frmManageSample() override;

    bool ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin, const QVariant &vVouchID,
                     const QString &VtidField, QString &ErrMsg, qint16 &sMoveVouchOpe) override;

    bool isVisible() const override;
    void Show() override;
    void ZOrder(int position) override;

    // Commands of the view.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    void refresh();

    std::shared_ptr<Connection> connection() const { return m_cnn; }
    CardView &view() const { return *m_view; }

    // Card state.
    QString strCardNumber;
    QString strMsgTitle;
    QString strVoucherName;
    QString strVoucherID; // identifier of the voucher shown, "" when none
    QString strIDField;   // head identifier column
    QString strVtidField; // head template column

protected:
    void unloading() override;

private:
    void run(void (VoucherBrowser::*command)());

    std::shared_ptr<CardView> m_view;
    std::unique_ptr<VoucherBrowser> m_browser;
    std::shared_ptr<Connection> m_cnn;
};
