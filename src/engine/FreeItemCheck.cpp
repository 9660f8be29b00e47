#include "FreeItemCheck.h"

#include "BaseCheck.h"
#include "CheckResultRow.h"

#include "common/basFunction.h"
#include "platform/Connection.h"

#include <QRegularExpression>
#include <QtDebug>

namespace {

Recordset fieldOnly(const QString &field)
{
    Recordset rs;
    rs.setFields({{field, QMetaType::QString}});
    return rs;
}

void clearRow(VoucherDocument *domReturn, const QString &field)
{
    if (domReturn)
        *domReturn = CheckResultRow::empty(fieldOnly(field));
}

// A failing query lets the value pass; the user is not held up by it.
bool failed(const QString &what, const QString &error)
{
    qWarning().noquote() << "自由项检查：" << what << error;
    return true;
}

} // namespace

int FreeItemCheck::itemNumber(const QString &field)
{
    static const QRegularExpression pattern(QStringLiteral("^cfree([1-9]|10)$"));
    const auto m = pattern.match(field);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

FreeItemCheck::Outcome FreeItemCheck::run(const QString &field, int number, const QString &value,
                                          const QString &invCode, VoucherDocument *domReturn)
{
    Outcome outcome;
    auto name = m_cnn.Scalar(QStringLiteral("SELECT COALESCE(cItemName, '') FROM UserDef "
                                            "WHERE cClass = ? AND cItem = ? LIMIT 1"),
                             {QStringLiteral("存货"), QStringLiteral("自由项%1").arg(number)});
    if (!name && failed(QStringLiteral("名称"), name.error()))
        return outcome;
    outcome.itemName = name->toString();

    // The item's flag for this free item: bfree1 for cfree1 and so on.
    auto used = m_cnn.Scalar(QStringLiteral("SELECT bFree%1 FROM Inventory WHERE cInvCode = ?").arg(number),
                             {BaseCheck::typedValue(invCode)});
    if (!used && failed(QStringLiteral("存货"), used.error()))
        return outcome;
    if (used->toInt() == 0) {
        clearRow(domReturn, field);
        outcome.verdict = Verdict::NotUsed;
        return outcome;
    }

    auto rs
        = m_cnn.Query(QStringLiteral("SELECT cValue AS %1 FROM UserDefine WHERE cID = ? AND (cAlias = ? OR cValue = ?) "
                                     "LIMIT 1")
                          .arg(field),
                      {basFunction::GetUserDefineID(field), value, value});
    if (!rs && failed(QStringLiteral("取值"), rs.error()))
        return outcome;
    if (rs->isEmpty()) {
        clearRow(domReturn, field);
        outcome.verdict = Verdict::NotListed;
        return outcome;
    }
    if (domReturn)
        *domReturn = CheckResultRow::found(*rs);
    return outcome;
}

QString FreeItemCheck::message(const Outcome &outcome) const
{
    switch (outcome.verdict) {
    case Verdict::NotUsed:
        return QStringLiteral("该存货没有启用") + QLatin1Char('[') + outcome.itemName
               + QStringLiteral("]设置，不能输入！");
    case Verdict::NotListed:
        return QLatin1Char('[') + outcome.itemName + QStringLiteral("]录入错误，请检查！");
    case Verdict::Accepted:
        break;
    }
    return {};
}

FreeItemCheck::Typed FreeItemCheck::typedFreeItem(const QString &field, const QString &value,
                                                  VoucherDocument *domReturn)
{
    Typed typed{field.trimmed().toLower(), BaseCheck::typedValue(value), 0};
    const int number = itemNumber(typed.field);
    if (number == 0)
        return typed;
    if (typed.value.isEmpty()) {
        clearRow(domReturn, typed.field);
        return typed; // nothing entered: nothing to check
    }
    typed.number = number;
    return typed;
}

QString FreeItemCheck::check(const QString &field, const QString &value, const QString &invCode,
                             VoucherDocument *domReturn)
{
    const Typed typed = typedFreeItem(field, value, domReturn);
    if (!typed.number)
        return {};
    return message(run(typed.field, typed.number, typed.value, invCode, domReturn));
}

QString FreeItemCheck::check2(const QString &field, const QString &value, const QString &invCode,
                              VoucherDocument *domReturn, const QString &sVTID, QString &cardSection,
                              bool &buildArchives, Connection *templateCnn)
{
    buildArchives = false;
    const Typed typed = typedFreeItem(field, value, domReturn);
    if (!typed.number)
        return {};
    const Outcome outcome = run(typed.field, typed.number, typed.value, invCode, domReturn);
    if (outcome.verdict != Verdict::NotListed)
        return message(outcome);
    const QString answer = templateAnswer(typed.field, sVTID, cardSection, buildArchives,
                                          templateCnn ? *templateCnn : m_cnn, outcome.itemName);
    // A new archive entry comes back as typed.
    if (buildArchives && domReturn)
        domReturn->headRow().setValue(typed.field, typed.value);
    return answer;
}

QString FreeItemCheck::templateAnswer(const QString &field, const QString &sVTID, QString &cardSection,
                                      bool &buildArchives, Connection &cnn, const QString &itemName)
{
    const QString given = cardSection.trimmed().toLower();
    const QStringList sections
        = given.isEmpty() ? QStringList{QStringLiteral("t"), QStringLiteral("b")} : QStringList{given};
    bool numeric = false;
    const qlonglong templateId = sVTID.trimmed().toLongLong(&numeric);
    for (const QString &section : sections) {
        if (!numeric)
            break; // no template has such an identifier
        auto rs = cnn.Query(QStringLiteral("SELECT COALESCE(BuildArchives, 0) FROM voucheritems "
                                           "WHERE VT_ID = ? AND LOWER(FieldName) = ? AND LOWER(CardSection) = ?"),
                            {templateId, field, section});
        if (!rs) {
            failed(QStringLiteral("模版"), rs.error());
            return {};
        }
        if (rs->isEmpty())
            continue;
        cardSection = section;
        if (rs->value(0).toInt() != 0) {
            // The field may create archive entries: the value is accepted as a new one.
            buildArchives = true;
            return {};
        }
        return QLatin1Char('[') + itemName + QStringLiteral("]录入错误，请检查！");
    }
    return QStringLiteral("查找单据号[") + sVTID + QStringLiteral("]中的")
           + (given == QLatin1String("t") ? QStringLiteral("表头") : QStringLiteral("表体")) + QStringLiteral("字段[")
           + field + QStringLiteral("]不成功");
}
