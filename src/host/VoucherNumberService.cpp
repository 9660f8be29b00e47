#include "VoucherNumberService.h"

#include "platform/Connection.h"
#include "platform/VoucherDocument.h"

#include <QDate>

namespace {

const QString kRuleElement = QStringLiteral("//单据编号");

struct ComposedRule
{
    QString prefix;
    int serialLength = 4;
    int start = 1;
};

int positiveOr(const QString &text, int fallback)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

Result<QString> partText(const VoucherRow &part)
{
    const QString seed = part.value(QStringLiteral("种子"));
    if (part.value(QStringLiteral("对象类型")).trimmed() != QLatin1String("2"))
        return seed;
    QString day = seed.trimmed().left(10);
    day.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QDate date = QDate::fromString(day, Qt::ISODate);
    if (!date.isValid())
        return fail(QStringLiteral("单据编号的日期部分[%1]不是日期").arg(seed));
    QString format = part.value(QStringLiteral("格式"));
    if (format.isEmpty())
        format = QStringLiteral("yyyyMMdd");
    return date.toString(format);
}

Result<ComposedRule> compose(const QString &ruleXml)
{
    VoucherDocument rule;
    auto loaded = rule.loadXML(ruleXml);
    if (!loaded)
        return fail(loaded.error());
    const VoucherRow root = rule.selectSingleNode(kRuleElement);
    if (root.isNull())
        return fail(QStringLiteral("单据编号规则中没有<单据编号>"));
    ComposedRule out;
    out.serialLength = positiveOr(root.value(QStringLiteral("流水号长度")), 4);
    out.start = positiveOr(root.value(QStringLiteral("起始值")), 1);
    for (const VoucherRow &part : rule.selectNodes(kRuleElement + QStringLiteral("/前缀"))) {
        auto text = partText(part);
        if (!text)
            return fail(text.error());
        out.prefix += *text;
    }
    return out;
}

} // namespace

VoucherNumberService::VoucherNumberService() = default;
VoucherNumberService::~VoucherNumberService() = default;

bool VoucherNumberService::Init(Connection &cnn, const QString &cardNumber)
{
    m_cnn = &cnn;
    m_card = cardNumber;
    m_ruleXml.clear();
    m_error.clear();
    auto rule = cnn.Scalar(QStringLiteral("SELECT RuleXml FROM VoucherNumberRule WHERE CardNumber = ?"), {cardNumber});
    if (!rule) {
        m_error = rule.error();
        return false;
    }
    if (rule->isNull() || rule->toString().trimmed().isEmpty()) {
        m_error = QStringLiteral("单据 %1 没有编号规则").arg(cardNumber);
        return false;
    }
    m_ruleXml = rule->toString();
    return true;
}

bool VoucherNumberService::Init(const QString &connectionString, const QString &cardNumber)
{
    m_own = std::make_unique<Connection>();
    auto opened = m_own->Open(connectionString);
    if (!opened) {
        m_error = opened.error();
        return false;
    }
    return Init(*m_own, cardNumber);
}

Result<QString> VoucherNumberService::GetNumber(const QString &filledRuleXml, bool takeForGood)
{
    if (!m_cnn)
        return fail(QStringLiteral("单据编号服务没有初始化"));
    auto rule = compose(filledRuleXml);
    if (!rule)
        return fail(rule.error());
    auto serial = nextSerial(rule->prefix, rule->start, takeForGood);
    if (!serial)
        return fail(serial.error());
    return rule->prefix + QStringLiteral("%1").arg(*serial, rule->serialLength, 10, QLatin1Char('0'));
}

Result<int> VoucherNumberService::nextSerial(const QString &prefix, int start, bool take)
{
    const QVariantList key{m_card, prefix};
    if (!take) {
        auto last = m_cnn->Scalar(
            QStringLiteral("SELECT MaxNumber FROM VoucherNumberSeed WHERE CardNumber = ? AND SeedText = ?"), key);
        if (!last)
            return fail(last.error());
        return last->isNull() ? start : last->toInt() + 1;
    }
    // The counter row exists before it is raised, so the raise is one UPDATE: it locks the row until
    // the caller's transaction ends, and reads its own result, whatever other clients do meanwhile.
    auto made = m_cnn->Execute(QStringLiteral("INSERT INTO VoucherNumberSeed (CardNumber, SeedText, MaxNumber) "
                                              "VALUES (?, ?, ?) ON CONFLICT (CardNumber, SeedText) DO NOTHING"),
                               {m_card, prefix, start - 1});
    if (!made)
        return fail(made.error());
    auto taken = m_cnn->Scalar(QStringLiteral("UPDATE VoucherNumberSeed SET MaxNumber = MaxNumber + 1 "
                                              "WHERE CardNumber = ? AND SeedText = ? RETURNING MaxNumber"),
                               key);
    if (!taken)
        return fail(taken.error());
    return taken->toInt();
}

Result<void> VoucherNumberService::SetRule(Connection &cnn, const QString &cardNumber, const QString &ruleXml)
{
    auto changed = cnn.Execute(QStringLiteral("UPDATE VoucherNumberRule SET RuleXml = ? WHERE CardNumber = ?"),
                               {ruleXml, cardNumber});
    if (!changed)
        return fail(changed.error());
    if (*changed > 0)
        return {};
    auto added = cnn.Execute(QStringLiteral("INSERT INTO VoucherNumberRule (CardNumber, RuleXml) VALUES (?, ?)"),
                             {cardNumber, ruleXml});
    if (!added)
        return fail(added.error());
    return {};
}
