#include "VoucherBrowser.h"

#include "BrowseView.h"

#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"

VoucherBrowser::VoucherBrowser(std::shared_ptr<clsLogin> login, BrowseView &view)
    : m_login(std::move(login))
    , m_view(view)
{}

Result<void> VoucherBrowser::start()
{
    m_engine.Initial(m_login, QStringLiteral("1801"), std::make_shared<clsVoucherShowParameter>());
    if (!m_engine.connection().isOpen())
        return fail(QStringLiteral("数据库连接失败，请检查！")); // Initial has shown the cause
    if (m_engine.oGI()->BTQName().isEmpty())
        return fail(QStringLiteral("没有可用的表头、表体视图，请检查！"));
    m_started = true;
    return {};
}

Result<void> VoucherBrowser::load(const QString &voucherId, int move)
{
    if (!m_started) {
        if (auto started = start(); !started)
            return started;
    }
    auto loaded = voucherId.isEmpty() ? loadByMove(move) : loadById(voucherId);
    if (loaded)
        present();
    return loaded;
}

Result<void> VoucherBrowser::loadById(const QString &voucherId)
{
    bool isNumber = false;
    const qlonglong id = voucherId.trimmed().toLongLong(&isNumber);
    // The engine reads 0 and -1 as "no voucher" and "the newest": neither names a voucher here.
    if (isNumber && id > 0) {
        m_engine.objSP()->ID = id;
        m_engine.GetVoucherData();
    }
    if (isNumber && id > 0 && m_engine.domHead().rowCount() > 0)
        return {};
    m_engine.InitialNewDOM();
    present(); // an empty card behind the message
    return fail(QStringLiteral("找不到该单据(该单据可能已被删除)或者你没有查看该单据的权限，请检查！"));
}

Result<void> VoucherBrowser::loadByMove(int move)
{
    const bool shown = m_engine.domHead().rowCount() > 0;
    switch (move) {
    case NewVoucher:
        m_engine.objSP()->ID = 0;
        m_engine.GetVoucherData();
        return {};
    case First:
        return m_engine.VoucherMove(evmsMoveFirst);
    case Previous:
        return m_engine.VoucherMove(shown ? evmsMovePrevious : evmsMoveFirst);
    case Next:
        return m_engine.VoucherMove(shown ? evmsMoveNext : evmsMoveLast);
    case Last:
        return m_engine.VoucherMove(evmsMoveLast);
    default:
        return fail(QStringLiteral("没有指定任何操作，请检查！"));
    }
}

QString VoucherBrowser::voucherId()
{
    const VoucherRow row = m_engine.domHead().headRow();
    return row.isNull() ? QString() : row.value(m_engine.oGI()->IDName());
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
