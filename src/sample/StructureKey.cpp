#include "StructureKey.h"

#include <QStringList>

namespace StructureKey {

QString sameVersionAndFreeItems(const QString &a, const QString &b)
{
    QStringList parts;
    parts << QStringLiteral("COALESCE(%1.csocode, '') = COALESCE(%2.csocode, '')").arg(a, b);
    for (int k = 1; k <= 10; ++k)
        parts << QStringLiteral("COALESCE(%1.cfree%3, '') = COALESCE(%2.cfree%3, '')").arg(a, b).arg(k);
    return parts.join(QStringLiteral(" AND "));
}

QString bomOfLine(const QString &line)
{
    return QStringLiteral("(SELECT MIN(kps.iAutoId) FROM ProductStructure kps WHERE kps.cPSPCode = %1.cPSCode AND %2)")
        .arg(line, sameVersionAndFreeItems(QStringLiteral("kps"), line));
}

QString childSampleOfBomLine(const QString &line)
{
    // The child structure may be missing: its version and free items then read as empty text.
    return QStringLiteral("(SELECT MIN(kms.iAutoID) FROM ManageSample kms LEFT JOIN ProductStructure kcs "
                          "ON kcs.iAutoId = %1.ChildGUID WHERE kms.cNewInvCode = %1.cPSCode AND "
                          "COALESCE(kms.cCode, '') = '' AND %2)")
        .arg(line, sameVersionAndFreeItems(QStringLiteral("kms"), QStringLiteral("kcs")));
}

QString freeItemColumns(const QString &alias)
{
    QStringList parts;
    for (int k = 1; k <= 10; ++k)
        parts << QStringLiteral("COALESCE(%1.cfree%2, '')").arg(alias).arg(k);
    return parts.join(QStringLiteral(", "));
}

} // namespace StructureKey
