#pragma once

#include "engine/clsVoucherCo.h"

#include <memory>

class BrowseView;
class clsLogin;

// Read-only browsing of sample vouchers on the card: loads a voucher by identifier or by move and
// then moves to the first, previous, next and last one, keeping the view's buttons in step with
// BOF/EOF.
class VoucherBrowser
{
public:
    // How load() finds the voucher when no identifier is given (the card's show argument).
    enum Move { ByIdentifier = 0, First = 1, Previous = 2, Next = 3, Last = 4, NewVoucher = 5 };

    VoucherBrowser(std::shared_ptr<clsLogin> login, BrowseView &view);

    // Sets up the engine on first use, then shows voucherId (its identifier as text) or, without
    // one, the voucher `move` names; with nothing shown yet Previous means First and Next Last.
    // Fails with the message the card shows: the card cannot be used, nothing was named, or the
    // voucher named is not there (the view then shows an empty card). A move that finds no voucher
    // shows an empty card and succeeds.
    Result<void> load(const QString &voucherId, int move);
    void moveFirst() { move(evmsMoveFirst); }
    void movePrevious() { move(evmsMovePrevious); }
    void moveNext() { move(evmsMoveNext); }
    void moveLast() { move(evmsMoveLast); }
    void refresh();

    // Identifier of the voucher shown, "" when none.
    QString voucherId();
    clsVoucherCo &engine() { return m_engine; }

private:
    Result<void> start();
    Result<void> loadById(const QString &voucherId);
    Result<void> loadByMove(int move);
    void move(enumVoucherMoveStyle style);
    void present();

    std::shared_ptr<clsLogin> m_login;
    BrowseView &m_view;
    clsVoucherCo m_engine;
    bool m_started = false;
};
