#include "frmManageSample.h"

#include "CardView.h"
#include "VoucherBrowser.h"

#include "common/MessageService.h"
#include "sample/clsManageSample.h"

frmManageSample::frmManageSample(std::shared_ptr<CardView> view, const QString &cardNumber)
    : strCardNumber(cardNumber)
    , m_view(std::move(view))
{
    modPublic::ApplyToolbarStyle(m_view->innerWidth(), m_view->toolbar(), m_view->commandBar());
    modPublic::SetCardDataSource(*m_view);
}

frmManageSample::~frmManageSample() = default;

bool frmManageSample::ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                                  const QVariant &vVouchID, const QString &VtidField, QString &ErrMsg,
                                  qint16 &sMoveVouchOpe)
{
    strMsgTitle = QStringLiteral("销售管理");
    m_cnn = DBConn;
    if (mLogin)
        modPublic::setCardLogin(mLogin);
    if (!vVouchID.isNull() && !vVouchID.toString().isEmpty())
        strVoucherID = vVouchID.toString();
    strVtidField = VtidField.isEmpty() ? QStringLiteral("vt_id") : VtidField;

    if (strCardNumber != modPublic::CardNumber()) {
        MessageService::current().show(QStringLiteral("单据出错，请检查!"), strMsgTitle, MessageService::Exclamation);
        Unload();
        return false;
    }

    strVoucherName = QStringLiteral("样品接单管理");
    strIDField = QStringLiteral("iautoid");
    m_view->setCaption(strVoucherName);
    m_browser = std::make_unique<VoucherBrowser>(modPublic::cardLogin(), *m_view);
    if (auto loaded = m_browser->load(strVoucherID, sMoveVouchOpe); !loaded) {
        // Shown here as well as handed back: the list opens vouchers without asking for the
        // message, and a voucher deleted meanwhile must not fail silently.
        ErrMsg = loaded.error();
        Unload();
        MessageService::current().show(ErrMsg, strMsgTitle, MessageService::Exclamation);
        return false;
    }
    strVoucherID = m_browser->voucherId();
    m_view->setCard(this);
    m_view->showWindow();
    return true;
}

bool frmManageSample::isVisible() const
{
    return m_view->isWindowVisible();
}

void frmManageSample::Show()
{
    m_view->showWindow();
}

void frmManageSample::ZOrder(int position)
{
    m_view->setZOrder(position);
}

void frmManageSample::moveFirst()
{
    run(&VoucherBrowser::moveFirst);
}

void frmManageSample::movePrevious()
{
    run(&VoucherBrowser::movePrevious);
}

void frmManageSample::moveNext()
{
    run(&VoucherBrowser::moveNext);
}

void frmManageSample::moveLast()
{
    run(&VoucherBrowser::moveLast);
}

void frmManageSample::refresh()
{
    run(&VoucherBrowser::refresh);
}

void frmManageSample::run(void (VoucherBrowser::*command)())
{
    if (!m_browser) // not shown yet, or the show failed
        return;
    (m_browser.get()->*command)();
    strVoucherID = m_browser->voucherId();
}

void frmManageSample::unloading()
{
    // The right to open the card was entered when the card was shown.
    modPublic::CheckAuth(clsManageSample::viewTaskId(), true);
    m_view->setCard(nullptr);
    m_view->closeWindow();
}
