#include "clsVL_JDYPGLInfo.h"

#include "VoucherRegistration.h"

#include "host/clsLogin.h"
#include "platform/Connection.h"

#include <QDate>

void clsVL_JDYPGLInfo::loadVoucherInfo(const QString &strCardNumber, const QString &strCnn1, qint16 intSpecial,
                                       const std::shared_ptr<clsLogin> &objLogin)
{
    Connection cnn;
    // A connection that does not open fails each read below, which leaves its properties alone.
    cnn.Open(strCnn1);
    loadVoucherInfo(strCardNumber, cnn, intSpecial, objLogin);
}

void clsVL_JDYPGLInfo::loadVoucherInfo(const QString &strCardNumber, Connection &cnn, qint16 intSpecial,
                                       const std::shared_ptr<clsLogin> &objLogin)
{
    m_special = intSpecial;
    m_currentCardNumber = strCardNumber;
    if (objLogin)
        readLoginInfo(cnn, *objLogin);

    if (!readRegistration(cnn, strCardNumber))
        return;
    m_busObId = m_registration.name + QStringLiteral("_LM");
    m_filterReportName = QStringLiteral("样品接单管理_过滤条件_1801");
    m_filterSubId = QStringLiteral("SA");
    m_disableGroupCondition = true;

    m_idName = QStringLiteral("id");
    m_subIdName = QStringLiteral("iautoid");
    m_vtIdName = QStringLiteral("ivtid");
    m_qvtsName = QStringLiteral("qvts");
    m_idNameSub = QStringLiteral("id");
}

void clsVL_JDYPGLInfo::readLoginInfo(Connection &cnn, const clsLogin &login)
{
    auto account = cnn.Query(QStringLiteral("SELECT COALESCE(cunitname, '') AS cunitname FROM ua_account "
                                            "WHERE cacc_id = ? LIMIT 1"),
                             {login.AccountId()});
    if (account && !account->isEmpty())
        m_companyName = account->text(QStringLiteral("cunitname"));

    auto format = cnn.Query(QStringLiteral("SELECT formatxml FROM prn_format WHERE moduleid = ? LIMIT 1"),
                            {ListFormatXMLmID()});
    if (format && !format->isEmpty())
        m_listFormatXML = format->text(QStringLiteral("formatxml"));

    // The footer of the printed list: company, who printed it, and when.
    m_listFormatXMLotherInfo = QStringLiteral("<表尾>") + QStringLiteral("<字段>") + QStringLiteral("单位：")
                               + m_companyName + QStringLiteral("</字段> ") + QStringLiteral("<字段>")
                               + QStringLiteral("制表：") + login.UserName() + QStringLiteral("</字段> ")
                               + QStringLiteral("<字段>") + QStringLiteral("打印日期：")
                               + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                               + QStringLiteral("</字段> ") + QStringLiteral("</表尾>");
}

QString clsVL_JDYPGLInfo::CardNumber(enumVoucherType eVtype) const
{
    switch (eVtype) {
    case evtCSDJ:
        return QStringLiteral("TS01");
    case evtCGJYD:
        return QStringLiteral("QM10");
    case evtCGBHGCLD:
        return QStringLiteral("QM11");
    case evtBFD:
        return QStringLiteral("QM21");
    case evtBHGTHD:
        return QStringLiteral("QM22");
    case evtCGDHD:
        return QStringLiteral("26");
    }
    return QString();
}

QString clsVL_JDYPGLInfo::ListFormatXMLmID() const
{
    return m_currentCardNumber + QStringLiteral("_") + QString::number(m_special) + QStringLiteral("_")
           + QStringLiteral("Print_");
}
