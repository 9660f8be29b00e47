#include "SampleStructureChecks.h"

#include "StructureCycleCheck.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "platform/VoucherRow.h"

namespace {

// WHERE clause and values of a structure key: item column = ?, then version and free items.
QString keyCondition(const QString &itemColumn)
{
    QString sql = itemColumn + QStringLiteral(" = ? AND rtrim(COALESCE(csocode, '')) = ?");
    for (int k = 1; k <= 10; ++k)
        sql += QStringLiteral(" AND rtrim(COALESCE(cFree%1, '')) = ?").arg(k);
    return sql;
}

// Never a null QString: Qt binds that as NULL, and NULL = '' is not true.
QString rightTrimmed(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return end == 0 ? QStringLiteral("") : text.left(end);
}

QVariantList keyValues(const VoucherRow &head)
{
    const QString item = head.value(QStringLiteral("cnewinvcode"));
    QVariantList values{item.isEmpty() ? QStringLiteral("") : item,
                        rightTrimmed(head.value(QStringLiteral("csocode")))};
    for (int k = 1; k <= 10; ++k)
        values.append(rightTrimmed(head.value(QStringLiteral("cfree%1").arg(k))));
    return values;
}

// "母件[item;free1;...;free10]在<where>中已经存在版本号为(version)的结构"
QString structureExists(const VoucherRow &head, const QString &where)
{
    QString text = QStringLiteral("母件[") + head.value(QStringLiteral("cnewinvcode"));
    for (int k = 1; k <= 10; ++k)
        text += QLatin1Char(';') + head.value(QStringLiteral("cfree%1").arg(k));
    return text + QStringLiteral("]在") + where + QStringLiteral("中已经存在版本号为(")
           + head.value(QStringLiteral("csocode")) + QStringLiteral(")的结构");
}

bool isTopLevel(const VoucherRow &head)
{
    return !head.value(QStringLiteral("ccode")).trimmed().isEmpty();
}

} // namespace

Result<QString> SampleStructureChecks::checkHead(const VoucherRow &head, qint32 parentId, const QString &parentVersion)
{
    auto samples = samplesWithKey(head);
    if (!samples)
        return fail(samples.error());
    // The saved head is one of them. Top-level samples without an item code may share that key.
    const bool mayShare = head.value(QStringLiteral("cnewinvcode")).trimmed().isEmpty() && isTopLevel(head);
    if (samples->size() > 1 && !mayShare)
        return structureExists(head, QStringLiteral("样品单据"));

    auto inBom = bomWithKey(head);
    if (!inBom)
        return fail(inBom.error());
    if (*inBom)
        return structureExists(head, QStringLiteral("物料清单"));

    if (isTopLevel(head))
        return QString();
    // A child sample saved on its own card names itself as the shown voucher: its version was
    // checked by the head's own update, which has renewed it by now.
    if (parentId == head.value(QStringLiteral("iautoid")).trimmed().toLongLong())
        return QString();
    return checkParent(parentId, parentVersion);
}

// A child sample is saved for a line of its parent voucher as the card loaded it: the parent must
// still be there, with the version the card saw.
Result<QString> SampleStructureChecks::checkParent(qint32 parentId, const QString &parentVersion)
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT CAST(qvts AS TEXT) AS qvts FROM ManageSample WHERE iAutoID = ?"),
                          {parentId});
    if (!rs)
        return fail(rs.error());
    if (rs->isEmpty())
        return QStringLiteral("单据已经被删除，请检查！");
    if (rs->text(QStringLiteral("qvts")).trimmed() != parentVersion.trimmed())
        return QStringLiteral("单据已经被修改，请检查！");
    return QString();
}

Result<QString> SampleStructureChecks::checkBody(const VoucherRow &head)
{
    auto samples = samplesWithKey(head);
    if (!samples)
        return fail(samples.error());
    if (samples->isEmpty())
        return QString();
    // The saved head itself when it is among them (top-level samples without an item code share
    // their key), else the first.
    qint64 headId = samples->first();
    const qint64 ownId = head.value(QStringLiteral("iautoid")).toLongLong();
    if (samples->contains(ownId))
        headId = ownId;

    auto lines
        = m_cnn.Query(QStringLiteral("SELECT cPSCode FROM ManageSamples WHERE iAutoID = ? ORDER BY iSubID"), {headId});
    if (!lines)
        return fail(lines.error());
    QStringList components;
    components.reserve(lines->RecordCount());
    for (int row = 0; row < lines->RecordCount(); ++row)
        components.append(lines->value(row, 0).toString());

    StructureCycleCheck cycles(m_cnn, components);
    const QString item = head.value(QStringLiteral("cnewinvcode"));
    auto passed = cycles.checkSample(item);
    if (passed && *passed)
        passed = cycles.checkBom(item);
    if (!passed)
        return fail(passed.error());
    return *passed ? QString() : cycles.message();
}

Result<QList<qint64>> SampleStructureChecks::samplesWithKey(const VoucherRow &head)
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT iAutoID FROM ManageSample WHERE ")
                              + keyCondition(QStringLiteral("cNewInvCode")) + QStringLiteral(" ORDER BY iAutoID"),
                          keyValues(head));
    if (!rs)
        return fail(rs.error());
    QList<qint64> ids;
    for (int row = 0; row < rs->RecordCount(); ++row)
        ids.append(rs->value(row, 0).toLongLong());
    return ids;
}

Result<bool> SampleStructureChecks::bomWithKey(const VoucherRow &head)
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT iAutoId FROM ProductStructure WHERE ")
                              + keyCondition(QStringLiteral("cPSPCode")) + QStringLiteral(" LIMIT 1"),
                          keyValues(head));
    if (!rs)
        return fail(rs.error());
    return !rs->isEmpty();
}
