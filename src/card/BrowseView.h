#pragma once

#include <QString>

class VoucherDocument;

// What the browsing card shows: a voucher's head and body documents, which moves are possible,
// and messages. The Qt window implements it; tests fake it.
class BrowseView
{
public:
    virtual ~BrowseView() = default;
    // Shows the voucher; an empty head document means no voucher (an empty card).
    virtual void showVoucher(const VoucherDocument &head, const VoucherDocument &body) = 0;
    // Enables the first/previous buttons when canGoBack, next/last when canGoForward.
    virtual void setNavigation(bool canGoBack, bool canGoForward) = 0;
    virtual void showError(const QString &text) = 0;
};
