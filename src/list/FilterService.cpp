#include "FilterService.h"

#include "ListTransaction.h"

#include "platform/Connection.h"

#include <QDate>

namespace {

const FilterItem *itemOf(const QList<FilterItem> &items, const QString &field)
{
    for (const FilterItem &item : items) {
        if (item.field.compare(field.trimmed(), Qt::CaseInsensitive) == 0)
            return &item;
    }
    return nullptr;
}

// A typed value as the database should compare it, or a message for the user.
Result<QVariant> typedValue(const FilterItem &item, const QString &text)
{
    const QString t = text.trimmed();
    if (item.dataType == QLatin1String("number")) {
        bool ok = false;
        const double number = QString(t).remove(QLatin1Char(',')).toDouble(&ok);
        if (!ok)
            return fail(QStringLiteral("“%1”必须输入数字！").arg(item.caption));
        return QVariant(number);
    }
    if (item.dataType == QLatin1String("date")) {
        const QDate date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            return fail(QStringLiteral("“%1”必须输入日期，格式为 年-月-日（如 2026-12-01）！").arg(item.caption));
        // Both databases compare dates kept as ISO text or DATE correctly with the ISO text.
        return QVariant(date.toString(Qt::ISODate));
    }
    return QVariant(text);
}

// "%" and "_" in a typed text match themselves.
QString likeLiteral(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    out.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return out;
}

} // namespace

FilterService::FilterService(Connection &cnn, QString userId)
    : m_cnn(cnn)
    , m_userId(std::move(userId))
{}

QList<QPair<QString, QString>> FilterService::operators()
{
    return {{QStringLiteral("="), QStringLiteral("等于")},       {QStringLiteral("<>"), QStringLiteral("不等于")},
            {QStringLiteral(">"), QStringLiteral("大于")},       {QStringLiteral(">="), QStringLiteral("大于等于")},
            {QStringLiteral("<"), QStringLiteral("小于")},       {QStringLiteral("<="), QStringLiteral("小于等于")},
            {QStringLiteral("between"), QStringLiteral("介于")}, {QStringLiteral("like%"), QStringLiteral("开头是")},
            {QStringLiteral("%like%"), QStringLiteral("包含")}};
}

QStringList FilterService::operatorsFor(const QString &dataType)
{
    QStringList out;
    for (const auto &op : operators()) {
        if (dataType == QLatin1String("text") || !op.first.contains(QLatin1String("like")))
            out << op.first;
    }
    return out;
}

Result<QList<FilterItem>> FilterService::items(const QString &reportName, const QString &subId) const
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT FieldName, Caption, DataType, bRange FROM FilterItems "
                                         "WHERE ReportName = ? AND SubID = ? ORDER BY ItemOrder, FieldName"),
                          {reportName, subId});
    if (!rs)
        return fail(rs.error());
    QList<FilterItem> out;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        out << FilterItem{rs->value(row, 0).toString().trimmed().toLower(), rs->value(row, 1).toString(),
                          rs->value(row, 2).toString().trimmed().toLower(), rs->value(row, 3).toInt() != 0};
    }
    return out;
}

Result<QList<FilterValue>> FilterService::remembered(const QString &reportName, const QString &subId) const
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT FieldName, Operator, Value1, Value2 FROM FilterValues "
                                         "WHERE ReportName = ? AND SubID = ? AND cUserId = ? ORDER BY ItemOrder"),
                          {reportName, subId, m_userId});
    if (!rs)
        return fail(rs.error());
    QList<FilterValue> out;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        out << FilterValue{rs->value(row, 0).toString(), rs->value(row, 1).toString(), rs->value(row, 2).toString(),
                           rs->value(row, 3).toString()};
    }
    return out;
}

Result<void> FilterService::remember(const QString &reportName, const QString &subId, const QList<FilterValue> &values)
{
    return inTransaction(m_cnn, [&]() -> Result<void> {
        auto removed = m_cnn.Execute(
            QStringLiteral("DELETE FROM FilterValues WHERE ReportName = ? AND SubID = ? AND cUserId = ?"),
            {reportName, subId, m_userId});
        if (!removed)
            return fail(removed.error());
        int order = 0;
        for (const FilterValue &v : values) {
            auto written = m_cnn.Execute(
                QStringLiteral("INSERT INTO FilterValues (ReportName, SubID, cUserId, ItemOrder, FieldName, Operator, "
                               "Value1, Value2) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                {reportName, subId, m_userId, ++order, v.field, v.op, v.value, v.value2});
            if (!written)
                return fail(written.error());
        }
        return {};
    });
}

Result<SqlCondition> FilterService::condition(const QList<FilterItem> &items, const QList<FilterValue> &values)
{
    SqlCondition out;
    QStringList terms;
    for (const FilterValue &v : values) {
        if (v.value.trimmed().isEmpty() && v.value2.trimmed().isEmpty())
            continue;
        const FilterItem *item = itemOf(items, v.field);
        if (!item)
            return fail(QStringLiteral("过滤条件中的项目“%1”不存在！").arg(v.field));
        if (!operatorsFor(item->dataType).contains(v.op))
            return fail(QStringLiteral("“%1”不能使用这个比较方式！").arg(item->caption));
        // The column name comes from FilterItems, never from what was typed.
        const QString column = item->field;
        // A range with one end given is open at the other.
        QString op = v.op;
        QString value = v.value;
        if (op == QLatin1String("between") && v.value2.trimmed().isEmpty())
            op = QStringLiteral(">=");
        else if (op == QLatin1String("between") && v.value.trimmed().isEmpty()) {
            op = QStringLiteral("<=");
            value = v.value2;
        }
        if (op == QLatin1String("between")) {
            auto from = typedValue(*item, v.value);
            auto to = typedValue(*item, v.value2);
            if (!from)
                return fail(from.error());
            if (!to)
                return fail(to.error());
            terms << QStringLiteral("%1 >= ? and %1 <= ?").arg(column);
            out.params << *from << *to;
        } else if (op.contains(QLatin1String("like"))) {
            const QString pattern = (op.startsWith(QLatin1Char('%')) ? QStringLiteral("%") : QString())
                                    + likeLiteral(value) + QStringLiteral("%");
            terms << QStringLiteral("%1 like ? escape '\\'").arg(column);
            out.params << pattern;
        } else {
            auto typed = typedValue(*item, value);
            if (!typed)
                return fail(typed.error());
            terms << QStringLiteral("%1 %2 ?").arg(column, op);
            out.params << *typed;
        }
    }
    if (!terms.isEmpty())
        out.text = QStringLiteral("(") + terms.join(QStringLiteral(") and (")) + QStringLiteral(")");
    return out;
}
