#include "SampleStateRules.h"

#include "engine/basVoucher.h"
#include "entry/clsVoucherGetInfo.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "platform/VoucherDocument.h"

#include <QDate>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Identifier columns are integers; a number is bound as one so that PostgreSQL compares it with
// an integer, anything else as the text it is (and finds nothing).
QVariant keyValue(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok ? QVariant(n) : QVariant(text);
}

} // namespace

SampleStateRules::SampleStateRules(Connection &cnn, std::shared_ptr<clsVoucherGetInfo> info,
                                   std::shared_ptr<clsLogin> login)
    : m_cnn(cnn)
    , m_info(std::move(info))
    , m_login(std::move(login))
{}

QString SampleStateRules::VoucherAllowEdit(const VoucherDocument &domHead) const
{
    return confirmedRefusal(domHead, QStringLiteral("] 已经审核,不能修改!"));
}

QString SampleStateRules::VoucherAllowDelete(const VoucherDocument &domHead) const
{
    return confirmedRefusal(domHead, QStringLiteral("] 已经审核,不能删除!"));
}

QString SampleStateRules::VoucherAllowConfirm(const VoucherDocument &domHead) const
{
    const QString code = head(domHead, QStringLiteral("cnewinvcode"));
    if (code.isEmpty())
        return QStringLiteral("[cnewinvcode]不能为空，请检查！");
    auto item = m_cnn.Query(QStringLiteral("SELECT cInvCode AS cnewinvcode, cInvName AS cnewinvname, "
                                           "cInvStd AS cnewinvstd, COALESCE(cComUnitCode,'') AS cnewinvcomunitcode "
                                           "FROM Inventory WHERE bService = 0 AND bInvType = 0 AND cInvCode = ?"),
                            {code});
    if (!item)
        return item.error();
    if (item->isEmpty())
        return QLatin1Char('[') + code + QStringLiteral("]不存在存货档案，请先维护该存货！");

    QString text;
    const auto &fields = item->fields();
    for (int column = 0; column < int(fields.size()); ++column) {
        const QVariant stored = item->value(0, column);
        // A value the item master leaves open cannot disagree with the sample.
        if (stored.isNull())
            continue;
        const QString name = fields[column].name.toLower();
        if (head(domHead, name) != stored.toString())
            text += kLineBreak + QLatin1Char('[') + name + QStringLiteral("]与存货档案中的信息不一致！");
    }
    if (!text.isEmpty() || !m_freeItemCheck)
        return text;
    for (int k = 1; k <= 10; ++k) {
        const QString field = QStringLiteral("cfree%1").arg(k);
        const QString answer = m_freeItemCheck(field, head(domHead, field), code);
        if (!answer.isEmpty())
            text += kLineBreak + answer;
    }
    return text;
}

QString SampleStateRules::VoucherAllowCancelConfirm(const VoucherDocument &domHead) const
{
    const QString bom = head(domHead, QStringLiteral("iBOMAutoId")).trimmed();
    if (bom.isEmpty())
        return {};
    auto found
        = m_cnn.Scalar(QStringLiteral("SELECT 1 FROM ProductStructure WHERE iAutoId = ? LIMIT 1"), {keyValue(bom)});
    if (!found)
        return found.error();
    if (found->isNull())
        return {};
    return QStringLiteral("该样品单据生成了BOM，必须先删除该BOM才能弃审，请检查！");
}

QString SampleStateRules::VoucherConfirm(const VoucherDocument &domHead)
{
    const QString user = m_login ? m_login->UserName() : QString();
    const QDate date = m_login ? QDate::fromString(m_login->LoginDate(), Qt::ISODate) : QDate();
    return updateHead(
        domHead, m_info->cVerifierName() + QStringLiteral(" = ?, ") + m_info->dVerifierDate() + QStringLiteral(" = ?"),
        {user, date}, QStringLiteral("] 已经被改变或删除,不能审核,请刷新后重试!"));
}

QString SampleStateRules::VoucherCancelConfirm(const VoucherDocument &domHead)
{
    return updateHead(domHead,
                      m_info->cVerifierName() + QStringLiteral(" = NULL, ") + m_info->dVerifierDate()
                          + QStringLiteral(" = NULL"),
                      {}, QStringLiteral("] 已经被改变或删除,不能弃审,请刷新后重试!"));
}

QString SampleStateRules::VoucherClose(const VoucherDocument &domHead)
{
    if (m_info->cCloserName().isEmpty())
        return numbered(domHead, QStringLiteral("] 没有关闭状态,不能关闭!"));
    return updateHead(domHead, m_info->cCloserName() + QStringLiteral(" = ?"),
                      {m_login ? m_login->UserName() : QString()},
                      QStringLiteral("] 已经被改变或删除,不能关闭,请刷新后重试!"));
}

QString SampleStateRules::VoucherOpen(const VoucherDocument &domHead)
{
    if (m_info->cCloserName().isEmpty())
        return numbered(domHead, QStringLiteral("] 没有关闭状态,不能打开!"));
    return updateHead(domHead, m_info->cCloserName() + QStringLiteral(" = NULL"), {},
                      QStringLiteral("] 已经被改变或删除,不能打开,请刷新后重试!"));
}

QString SampleStateRules::updateHead(const VoucherDocument &domHead, const QString &setClause, QVariantList values,
                                     const QString &changedSuffix)
{
    values << keyValue(head(domHead, m_info->IDName())) << head(domHead, m_info->qvtsName()).trimmed();
    auto affected = m_cnn.Execute(QStringLiteral("UPDATE ") + m_info->BTTblName() + QStringLiteral(" SET ") + setClause
                                      + QStringLiteral(" WHERE ")
                                      + basVoucher::RowVersionCondition(m_info->IDName(), m_info->qvtsName()),
                                  values);
    if (!affected)
        return affected.error();
    if (*affected != 1)
        return numbered(domHead, changedSuffix);
    return {};
}

QString SampleStateRules::confirmedRefusal(const VoucherDocument &domHead, const QString &suffix) const
{
    if (head(domHead, m_info->cVerifierName()).isEmpty())
        return {};
    return numbered(domHead, suffix);
}

QString SampleStateRules::numbered(const VoucherDocument &domHead, const QString &suffix) const
{
    return QStringLiteral("单据 [") + head(domHead, m_info->cCodeName()) + suffix + kLineBreak;
}

QString SampleStateRules::head(const VoucherDocument &domHead, const QString &field) const
{
    return basVoucher::GetHeadValue(domHead, field);
}
