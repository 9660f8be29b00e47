#pragma once

#include "engine/clsVoucherCo.h"

#include <memory>

class BrowseView;
class clsLogin;

// Read-only browsing of sample vouchers on the card: opens the newest voucher and moves to the
// first, previous, next and last one, keeping the view's buttons in step with BOF/EOF.
class VoucherBrowser
{
public:
    VoucherBrowser(std::shared_ptr<clsLogin> login, BrowseView &view);

    // Sets up the engine and shows the newest voucher (or voucherId when given). False when the
    // card cannot be used (no meta-information, no connection); the view was told why.
    bool open(qlonglong voucherId = -1);
    void moveFirst() { move(evmsMoveFirst); }
    void movePrevious() { move(evmsMovePrevious); }
    void moveNext() { move(evmsMoveNext); }
    void moveLast() { move(evmsMoveLast); }
    void refresh();

    clsVoucherCo &engine() { return m_engine; }

private:
    void move(enumVoucherMoveStyle style);
    void present();

    std::shared_ptr<clsLogin> m_login;
    BrowseView &m_view;
    clsVoucherCo m_engine;
};
