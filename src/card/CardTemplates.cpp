#include "CardTemplates.h"

#include "CardControl.h"
#include "TemplateComboControl.h"

#include "host/DataPermission.h"
#include "host/DecimalPlaces.h"
#include "host/TemplateService.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QSet>

namespace {

// The templates the permission answer lets through: every one for an empty answer, none for
// "1=2" or any other condition, else those of its comma list of identifiers.
QList<TemplateChoice> permitted(const QList<TemplateChoice> &all, const QString &answer)
{
    const QString trimmed = answer.trimmed();
    if (trimmed.isEmpty())
        return all;
    if (trimmed.contains(QLatin1Char('=')))
        return {};
    QSet<int> ids;
    for (const QString &part : trimmed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = part.trimmed().remove(QLatin1Char('\'')).toInt(&ok);
        if (ok)
            ids.insert(id);
    }
    QList<TemplateChoice> allowed;
    for (const TemplateChoice &c : all) {
        if (ids.contains(c.id))
            allowed.append(c);
    }
    return allowed;
}

// The message of a failed read: what the card could not read; the cause goes to the error log
// through the connection.
QString readFailed(const QString &what)
{
    return QStringLiteral("读取%1失败，请检查数据库连接！").arg(what);
}

} // namespace

CardTemplates::CardTemplates(Connection &cnn, DataPermission &permission)
    : m_cnn(cnn)
    , m_permission(permission)
{}

Result<QList<TemplateChoice>> CardTemplates::GetTemplateList(const QString &cardNumber, qint16 mode) const
{
    auto all = TemplateService(m_cnn).templates(cardNumber, mode);
    if (!all)
        return fail(readFailed(QStringLiteral("模板")));
    const QList<TemplateChoice> allowed = permitted(*all, m_permission.GetKindCondition(QStringLiteral("DJMB")));
    if (allowed.isEmpty())
        return fail(QStringLiteral("没有任何显示模板权限，请检查！"));
    return allowed;
}

Result<int> CardTemplates::GetDefaultTemplate(const QString &cardNumber, const QList<TemplateChoice> &list, int chosen,
                                              qint16 mode) const
{
    if (list.isEmpty())
        return fail(QStringLiteral("没有可以%1的模板，请检查！")
                        .arg(mode == Print ? QStringLiteral("打印") : QStringLiteral("显示")));
    auto id = TemplateService(m_cnn).defaultTemplate(cardNumber, list, chosen, mode);
    if (!id)
        return fail(readFailed(QStringLiteral("默认模板")));
    return id;
}

Result<QPair<QString, QString>> CardTemplates::GetVoucherViews(const QString &cardNumber) const
{
    auto views = TemplateService(m_cnn).voucherViews(cardNumber);
    if (!views)
        return fail(readFailed(QStringLiteral("单据视图")));
    if (views->first.isEmpty() && views->second.isEmpty())
        return fail(QStringLiteral("没有可用的表头、表体视图，请检查！"));
    return views;
}

QString CardTemplates::CheckVoucherExists(const QString &table, const QString &keyColumn, const QString &id,
                                          const QString &column) const
{
    if (id.trimmed().isEmpty())
        return QStringLiteral("没有单据，请检查！");
    // Voucher identifiers are numbers; text that is none names no voucher.
    bool isNumber = false;
    const qlonglong key = id.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return QStringLiteral("不存在该单据，请检查！");
    auto rs = m_cnn.Query(
        QStringLiteral("SELECT COALESCE(%1, '') AS %1 FROM %2 WHERE %3 = ?").arg(column, table, keyColumn), {key});
    if (!rs)
        return readFailed(QStringLiteral("单据"));
    return rs->isEmpty() ? QStringLiteral("不存在该单据，请检查！") : QString();
}

void CardTemplates::FillTemplateCombo(TemplateComboControl &combo, const QList<TemplateChoice> &list, int defaultId)
{
    QStringList entries;
    int current = -1;
    for (const TemplateChoice &c : list) {
        if (c.id == defaultId)
            current = int(entries.size());
        entries << QStringLiteral("%1 %2").arg(c.id).arg(c.name);
    }
    combo.setEntries(entries, current);
}

Result<int> CardTemplates::GetPrintTemplateID(const TemplateComboControl &combo)
{
    const QString text = combo.text().trimmed();
    if (text.isEmpty())
        return fail(QStringLiteral("当前没有可用的打印模板"));
    return text.section(QLatin1Char(' '), 0, 0).toInt();
}

Result<void> CardTemplates::ApplyDecimals(CardControl &card) const
{
    const QHash<QString, int> options = DecimalPlaces::options(m_cnn);
    for (const CardControl::Section section : {CardControl::Head, CardControl::Body}) {
        const int count = section == CardControl::Head ? card.HeadInfoCount() : card.BodyInfoCount();
        for (int i = 1; i <= count; ++i) {
            const QString field = card.ItemState(i, section).sFieldName.toLower();
            if (const int decimals = DecimalPlaces::forField(field, options); decimals >= 0)
                card.setDecimals(section, field, decimals);
        }
    }
    // The print template prints prices, quantities and rates with the same decimals.
    const QString update = QStringLiteral("UPDATE voucheritems_prn SET maxlength = 17, NumPoint = ? "
                                          "WHERE cardnum = '1801' AND LOWER(fieldname) IN (%1)");
    const QList<QPair<QString, QString>> groups{
        {DecimalPlaces::price(), QStringLiteral("'isellcost','imaterialcharge'")},
        {DecimalPlaces::quantity(),
         QStringLiteral("'ipsquantity','icaaquantity','tdqtyd','cdefine7','cdefine16','ccusdefine13','ccusdefine14',"
                        "'cinvdefine13','cinvdefine14','cdefine26','cdefine27'")},
        {DecimalPlaces::exchangeRate(), QStringLiteral("'iprodchangrate'")},
    };
    for (const auto &[option, fields] : groups) {
        auto done = m_cnn.Execute(update.arg(fields), {options.value(option, 2)});
        if (!done)
            return fail(QStringLiteral("更新打印模板的小数位数失败，请检查数据库连接！"));
    }
    return {};
}
