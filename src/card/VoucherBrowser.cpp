#include "VoucherBrowser.h"

#include "BrowseView.h"

#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"

VoucherBrowser::VoucherBrowser(std::shared_ptr<clsLogin> login, BrowseView &view)
    : m_login(std::move(login))
    , m_view(view)
{}

bool VoucherBrowser::open(qlonglong voucherId)
{
    auto sp = std::make_shared<clsVoucherShowParameter>();
    sp->ID = voucherId;
    m_engine.Initial(m_login, QStringLiteral("1801"), sp);
    if (!m_engine.connection().isOpen())
        return false; // Initial has reported why
    if (m_engine.oGI()->BTQName().isEmpty()) {
        m_view.showError(QStringLiteral("没有可用的表头、表体视图，请检查！"));
        return false;
    }
    m_engine.GetVoucherData();
    present();
    return true;
}

void VoucherBrowser::move(enumVoucherMoveStyle style)
{
    // A step that finds nothing (the neighbour was deleted by someone else meanwhile) would leave an
    // empty card; stay on the voucher shown instead and only correct the buttons.
    const VoucherDocument head = m_engine.domHead();
    const VoucherDocument body = m_engine.domBody();
    const QVariant current = m_engine.objSP()->CurID;
    auto moved = m_engine.VoucherMove(style);
    if (!moved) {
        m_view.showError(moved.error());
        return;
    }
    const bool stepping = style == evmsMovePrevious || style == evmsMoveNext;
    if (stepping && m_engine.domHead().rowCount() == 0 && head.rowCount() > 0) {
        m_engine.setDomHead(head);
        m_engine.setDomBody(body);
        m_engine.objSP()->CurID = current;
        m_view.setNavigation(style == evmsMoveNext, style == evmsMovePrevious);
        return;
    }
    present();
}

void VoucherBrowser::refresh()
{
    auto loaded = m_engine.Refresh();
    if (!loaded) {
        m_view.showError(loaded.error());
        return;
    }
    present();
}

void VoucherBrowser::present()
{
    m_view.showVoucher(m_engine.domHead(), m_engine.domBody());
    const bool empty = m_engine.domHead().rowCount() == 0;
    m_view.setNavigation(!empty && !m_engine.isBOF(), !empty && !m_engine.isEOF());
}
