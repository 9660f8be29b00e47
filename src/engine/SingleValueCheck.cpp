#include "SingleValueCheck.h"

#include "BaseCheck.h"
#include "FreeItemCheck.h"
#include "basVoucher.h"

#include "common/basFunction.h"
#include "platform/VoucherDocument.h"

#include <QHash>

namespace {

const QString kHeadPrefix = QStringLiteral("表头：");
const QString kBodyPrefix = QStringLiteral("表体：");

// A head number and what it may not be: refused when it is <= 0 (positive) or < 0 otherwise.
struct HeadNumberRule
{
    bool positive;
    QString message;
};

const QHash<QString, HeadNumberRule> &headNumberRules()
{
    static const QHash<QString, HeadNumberRule> rules = {
        {QStringLiteral("ifinishexch"), {true, QStringLiteral("成品率不能为负数或者为0，请重新输入！")}},
        {QStringLiteral("isellexch"), {true, QStringLiteral("销售加成率%不能为负数或者为0，请重新输入！")}},
        {QStringLiteral("imanhrs"), {false, QStringLiteral("标准工时不能为负数，请重新输入！")}},
        {QStringLiteral("ibzgzexch"), {false, QStringLiteral("标准工资率不能为负数，请重新输入！")}},
        {QStringLiteral("ipercharge"), {false, QStringLiteral("标准人工成本不能为负数，请重新输入！")}},
        {QStringLiteral("ibzfyexch"), {false, QStringLiteral("标准费用率不能为负数，请重新输入！")}},
        {QStringLiteral("imakecharge"), {false, QStringLiteral("标准制造费用不能为负数，请重新输入！")}},
        {QStringLiteral("itoloutcost"), {false, QStringLiteral("委外加工费不能为负数，请重新输入！")}},
    };
    return rules;
}

QString prefixed(const QString &prefix, const QString &message)
{
    return message.isEmpty() ? QString() : prefix + message;
}

// A quantity of a line that must be given and positive.
QString requiredPositive(const QString &text, const QString &empty, const QString &notPositive)
{
    if (text.trimmed().isEmpty())
        return empty;
    return basFunction::TextToNumber(text) <= 0 ? notPositive : QString();
}

} // namespace

QString SingleValueCheck::head(const VoucherDocument &domHead, const QString &field, VoucherDocument *domReturn)
{
    return prefixed(kHeadPrefix, headMessage(domHead, field.trimmed().toLower(), domReturn));
}

QString SingleValueCheck::body(const VoucherDocument &domBody, const QString &field, VoucherDocument *domReturn)
{
    if (domBody.nthRow(0).isNull())
        return kBodyPrefix + QStringLiteral("没有数据，请检查！");
    return prefixed(kBodyPrefix, bodyMessage(domBody, field.trimmed().toLower(), domReturn));
}

QString SingleValueCheck::headMessage(const VoucherDocument &domHead, const QString &field, VoucherDocument *domReturn)
{
    const QString text = basVoucher::GetHeadValue(domHead, field);
    if (field.startsWith(QLatin1String("cdefine")))
        return {};
    if (field == QLatin1String("bexpand")) {
        const QString wrapped = QLatin1Char(',') + text.trimmed() + QLatin1Char(',');
        return QStringLiteral(",是,否,").contains(wrapped) ? QString()
                                                           : QStringLiteral("[是否展开]录入错误，请重新输入！");
    }
    if (const auto rule = headNumberRules().constFind(field); rule != headNumberRules().cend()) {
        const double v = basFunction::TextToNumber(text);
        return (rule->positive ? v <= 0 : v < 0) ? rule->message : QString();
    }
    VoucherDocument row;
    const QString answer = m_base.check(field, text, row);
    if (domReturn)
        *domReturn = std::move(row);
    return answer;
}

QString SingleValueCheck::bodyMessage(const VoucherDocument &domBody, const QString &field, VoucherDocument *domReturn)
{
    const QString text = basVoucher::GetBodyValue(domBody, field, 0);
    if (field.startsWith(QLatin1String("cfree")))
        return m_freeItems.check(field, text, basVoucher::GetBodyValue(domBody, QStringLiteral("cpscode"), 0),
                                 domReturn);
    if (field == QLatin1String("ipsquantity"))
        return requiredPositive(text, QStringLiteral("分子不能为空"), QStringLiteral("分子不能为负数或者为0"));
    if (field == QLatin1String("tdqtyd"))
        return requiredPositive(text, QStringLiteral("分母不能为空"), QStringLiteral("分母不能为负数或者为0"));
    if (field == QLatin1String("imaterialcharge"))
        return basFunction::TextToNumber(text) < 0 ? QStringLiteral("标准单价不能为负数") : QString();
    if (field == QLatin1String("imaterialcost"))
        return basFunction::TextToNumber(text) < 0 ? QStringLiteral("材料成本不能为负数") : QString();
    if (field == QLatin1String("iwasterate")) {
        const double rate = basFunction::TextToNumber(text);
        return rate >= 100 || rate < 0 ? QStringLiteral("损耗率%不能大于等于100%或者为负数，请重新输入！") : QString();
    }
    if (field == QLatin1String("cpscode")) {
        VoucherDocument row;
        const QString answer = m_base.check(field, text, row);
        if (domReturn)
            *domReturn = std::move(row);
        return answer;
    }
    return {};
}
