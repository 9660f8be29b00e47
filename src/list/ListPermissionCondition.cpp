#include "ListPermissionCondition.h"

#include "host/DataPermission.h"

QString listPermissionCondition(DataPermission &permission)
{
    QString maker = permission.GetKindCondition(QStringLiteral("r"));
    if (!maker.contains(QLatin1String("1=2")) && !maker.contains(QLatin1String("1=1")))
        maker = QStringLiteral(" (cmaker in(") + maker + QStringLiteral(") or COALESCE(cmaker,'')='')");
    return maker + QStringLiteral(" and (") + permission.GetFieldCondition(QStringLiteral("CustomerIID"))
           + QStringLiteral(" or COALESCE(ccuscode,'') = '')") + QStringLiteral(" and (")
           + permission.GetFieldCondition(QStringLiteral("NewInvIID")) + QStringLiteral(" or NewInvIID = -1 )")
           + QStringLiteral(" and (") + permission.GetFieldCondition(QStringLiteral("cdepcode"))
           + QStringLiteral(" or COALESCE(cdepcode,'') = '')");
}
