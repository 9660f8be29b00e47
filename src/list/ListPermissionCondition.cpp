#include "ListPermissionCondition.h"

#include "host/DataPermission.h"

namespace {

bool isConstant(const QString &answer)
{
    const QString t = answer.trimmed();
    return t == QLatin1String("1=1") || t == QLatin1String("1=2");
}

// The customers part, on the head's own customer code: customer codes are unique, so "the
// voucher's customer has a granted identifier" is "the voucher's code is one of the granted
// customers' codes", and the statement needs no join with the customer table.
QString customerCondition(DataPermission &permission)
{
    const QString granted = permission.GetFieldCondition(QStringLiteral("Customer.iId"));
    const QString named = isConstant(granted)
                              ? granted
                              : QStringLiteral("ccuscode in (select Customer.cCusCode from Customer where ")
                                    + granted + QLatin1Char(')');
    return QStringLiteral("(") + named + QStringLiteral(" or COALESCE(ccuscode,'') = '')");
}

// The new items part, on the head's own item code: a voucher is shown unless its item exists with
// an identifier that is neither granted nor -1 (a voucher naming no known item counts as -1).
QString itemCondition(DataPermission &permission)
{
    const QString granted = permission.GetFieldCondition(QStringLiteral("Inventory.iId"));
    if (granted.trimmed() == QLatin1String("1=1"))
        return QStringLiteral("(1=1)");
    QString refused = QStringLiteral("COALESCE(Inventory.iId, -1) <> -1");
    if (!isConstant(granted))
        refused += QStringLiteral(" and not (") + granted + QLatin1Char(')');
    return QStringLiteral("(cnewinvcode is null or cnewinvcode not in (select Inventory.cInvCode from Inventory "
                          "where ")
           + refused + QStringLiteral("))");
}

} // namespace

QString listPermissionCondition(DataPermission &permission)
{
    QString maker = permission.GetKindCondition(QStringLiteral("r"));
    if (!maker.contains(QLatin1String("1=2")) && !maker.contains(QLatin1String("1=1")))
        maker = QStringLiteral(" (cmaker in(") + maker + QStringLiteral(") or COALESCE(cmaker,'')='')");
    return maker + QStringLiteral(" and ") + customerCondition(permission) + QStringLiteral(" and ")
           + itemCondition(permission) + QStringLiteral(" and (")
           + permission.GetFieldCondition(QStringLiteral("cdepcode")) + QStringLiteral(" or COALESCE(cdepcode,'') = '')");
}
