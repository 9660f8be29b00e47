#include "BomConversion.h"

#include "StructureKey.h"

#include "platform/Connection.h"
#include "platform/InListQuery.h"

namespace {

QString withFreeItems(const SampleStructure::Node &sample)
{
    QString text = sample.code + QLatin1Char(' ') + sample.name;
    for (const QString &item : sample.freeItems)
        text += QLatin1Char(';') + item;
    return text;
}

QString numbered(const QString &prefix, int from, int to, const QString &alias = {})
{
    QStringList names;
    for (int k = from; k <= to; ++k)
        names << (alias.isEmpty() ? QString() : alias + QLatin1Char('.')) + prefix + QString::number(k);
    return names.join(QStringLiteral(", "));
}

QString insertHeadSql()
{
    return QStringLiteral("INSERT INTO ProductStructure (cPSPCode, cDepCode, bExpand, iFinishExch, cMemo, csocode, "
                          "fbzgs, fbzgzl, fbzrgcb, fbzfyl, fbzzfy, fbzcb, %1, %2) "
                          "SELECT cNewInvCode, cDepCode, bExpand, iFinishExch, cMemo, csocode, iManhrs, iBZGZexch, "
                          "iPerCharge, iBZFYexch, iMakeCharge, COALESCE(iPerCharge, 0) + COALESCE(iMakeCharge, 0), "
                          "%1, %2 FROM ManageSample WHERE iAutoID = ?")
        .arg(numbered(QStringLiteral("cfree"), 1, 10), numbered(QStringLiteral("cdefine"), 1, 16));
}

QString newStructureIdSql()
{
    QString sql = QStringLiteral("SELECT MIN(iAutoId) FROM ProductStructure WHERE cPSPCode = ? "
                                 "AND COALESCE(csocode, '') = ?");
    for (int k = 1; k <= 10; ++k)
        sql += QStringLiteral(" AND COALESCE(cfree%1, '') = ?").arg(k);
    return sql;
}

QString insertLinesSql()
{
    return QStringLiteral(
               "INSERT INTO ProductStructures (cPSPCode, cPSCode, cWhCode, WIPType, iPSQuantity, tdQtyD, cDepCode, "
               "cPersonName, iWasteRate, cCAAComunitCode, iPId, ChildGUID, iProdChangRate, csocode, fbzdj, fbzwlcb, "
               "%1, %2) "
               "SELECT ?, l.cPSCode, l.cWhCode, CASE WHEN COALESCE(wh.iWhpROPERTY, 0) > 0 THEN 1 ELSE 3 END, "
               "l.iPSQuantity, l.tdQtyD, l.cDepCode, l.cPersonName, l.iWasteRate, l.cCAAComunitCode, ?, %3, "
               "l.iProdChangRate, l.csocode, l.iMaterialCharge, l.iMaterialCost, %4, %5 "
               "FROM ManageSamples l LEFT JOIN Warehouse wh ON wh.cWhCode = l.cWhCode "
               "WHERE l.iAutoID = ? ORDER BY l.iSubID")
        .arg(numbered(QStringLiteral("cfree"), 1, 10), numbered(QStringLiteral("cdefine"), 22, 37),
             StructureKey::bomOfLine(QStringLiteral("l")),
             numbered(QStringLiteral("cfree"), 1, 10, QStringLiteral("l")),
             numbered(QStringLiteral("cdefine"), 22, 37, QStringLiteral("l")));
}

} // namespace

QString BomConversion::structureKey(const QString &code, const QString &version, const QStringList &freeItems)
{
    return code + QChar(0x1f) + version + QChar(0x1f) + freeItems.join(QChar(0x1f));
}

qint16 BomConversion::ConvertSampleToBom(qint32 sampleId, QString &message)
{
    if (sampleId <= 0) {
        message += QStringLiteral("\r\n没有指定单据，请检查！");
        return 1;
    }
    if (auto prepared = prepare(sampleId); !prepared) {
        message += QStringLiteral("\r\n") + prepared.error();
        return 7;
    }
    return convert(sampleId, message);
}

// Reads the samples below sampleId, the item flags of every item they name and the structures
// that exist for their new items.
Result<void> BomConversion::prepare(qint32 sampleId)
{
    if (auto loaded = m_samples.load({SampleStructure::Kind::Sample, sampleId}, false); !loaded)
        return loaded;
    QSet<QString> codes;
    QSet<QString> parents;
    QList<int> pending{sampleId};
    QSet<int> seen;
    while (!pending.isEmpty()) {
        const int id = pending.takeLast();
        if (seen.contains(id))
            continue;
        seen.insert(id);
        const SampleStructure::Node &node = m_samples.node({SampleStructure::Kind::Sample, id});
        codes.insert(node.code);
        parents.insert(node.code);
        for (const SampleStructure::Line &line : node.lines) {
            codes.insert(line.code);
            if (line.childSample > 0)
                pending.append(line.childSample);
        }
    }
    QVariantList values;
    for (const QString &code : std::as_const(codes))
        values << code;
    auto items = InListQuery::rows(m_cnn,
                                   QStringLiteral("SELECT cInvCode, COALESCE(bSelf, 0), COALESCE(bProxyForeign, 0), "
                                                  "COALESCE(iPlanPolicy, 0) FROM Inventory "
                                                  "WHERE COALESCE(bService, 0) = 0 AND cInvCode IN (%1)"),
                                   values);
    if (!items)
        return fail(items.error());
    for (const QVariantList &row : std::as_const(*items))
        m_items.insert(row.at(0).toString(), {row.at(1).toInt() != 0, row.at(2).toInt() != 0, row.at(3).toInt()});

    values.clear();
    for (const QString &code : std::as_const(parents))
        values << code;
    auto structures = InListQuery::rows(
        m_cnn,
        QStringLiteral("SELECT iAutoId, cPSPCode, COALESCE(csocode, ''), %1 FROM ProductStructure "
                       "WHERE cPSPCode IN (%2)")
            .arg(StructureKey::freeItemColumns(QStringLiteral("ProductStructure")), QStringLiteral("%1")),
        values);
    if (!structures)
        return fail(structures.error());
    for (const QVariantList &row : std::as_const(*structures)) {
        QStringList free;
        for (int k = 0; k < 10; ++k)
            free << row.at(3 + k).toString();
        const QString key = structureKey(row.at(1).toString(), row.at(2).toString(), free);
        const int id = row.at(0).toInt();
        if (!m_structures.contains(key) || m_structures.value(key) > id)
            m_structures.insert(key, id);
    }
    return {};
}

qint16 BomConversion::convert(qint32 sampleId, QString &message)
{
    const SampleStructure::Node &sample = m_samples.node({SampleStructure::Kind::Sample, sampleId});
    if (!sample.found) {
        message += QStringLiteral("\r\n不存在该单据，请检查！");
        return 2;
    }
    const QString named = withFreeItems(sample);
    if (sample.version.isEmpty() && sample.voucherCode.isEmpty()) {
        message += QStringLiteral("\r\n母件(或下级母件)[") + named + QStringLiteral("]必须输入本版号，请检查！");
        return 8;
    }
    const auto item = m_items.constFind(sample.code);
    if (item == m_items.constEnd()) {
        message += QStringLiteral("\r\n存货[") + sample.code + QLatin1Char(' ') + sample.name
                   + QStringLiteral("]在存货档案中不存在或者属于应税劳务，请检查！");
        return 3;
    }
    if (item->planPolicy == 2) {
        message += QStringLiteral("\r\n母件[") + sample.code + QStringLiteral("]是ROP件，不能生成BOM！");
        return 5;
    }
    if (!item->self && !item->outsourced) {
        message += QStringLiteral("\r\n母件[") + sample.code + QStringLiteral("]没有自制或委外属性，请检查！");
        return 5;
    }
    if (m_structures.contains(structureKey(sample.code, sample.version, sample.freeItems))) {
        message += QStringLiteral("\r\n母件(或下级母件)[") + named + QStringLiteral("]已经存在版本号为(")
                   + sample.version + QStringLiteral(")的产品结构，请检查！");
        return 6;
    }
    if (sample.lines.isEmpty()) {
        message += QStringLiteral("\r\n意外错误：母件[") + named + QStringLiteral("]不存在对应的子件，请检查！");
        return 4;
    }

    qint16 status = 0;
    m_path.insert(sampleId);
    for (const SampleStructure::Line &line : sample.lines) {
        if (line.childSample > 0) {
            if (m_path.contains(line.childSample)) {
                message += QStringLiteral("\r\n子件[") + line.code + QStringLiteral("]循环出现，请检查！");
                status = -1;
                continue;
            }
            const qint16 child = convert(line.childSample, message);
            if (child != 0 && child != 6 && child != 2)
                status = -1;
            if (child != 2)
                continue;
        }
        if (!m_items.contains(line.code)) {
            message += QStringLiteral("\r\n子件(或下级子件)[") + line.code
                       + QStringLiteral("]在存货档案中不存在或者是属于应税劳务，请检查！");
            status = -1;
        }
    }
    m_path.remove(sampleId);
    if (status != 0)
        return status;
    return writeStructure(sampleId, sample, message);
}

// The head, its id on the sample and the lines, each line linked to its component's structure.
qint16 BomConversion::writeStructure(qint32 sampleId, const SampleStructure::Node &sample, QString &message)
{
    const QString named = withFreeItems(sample);
    const QString headFailed = QStringLiteral("\r\n保存母件[") + named + QStringLiteral("]失败，请检查！");
    auto head = m_cnn.Execute(insertHeadSql(), {sampleId});
    if (!head || *head != 1) {
        message += headFailed;
        return 7;
    }
    // Bound as text, never as NULL: a missing version or free item compares as empty text.
    const auto text = [](const QString &value) {
        return value.isNull() ? QStringLiteral("") : value;
    };
    QVariantList key{sample.code, text(sample.version)};
    for (const QString &item : sample.freeItems)
        key << text(item);
    auto newId = m_cnn.Scalar(newStructureIdSql(), key);
    if (!newId || newId->isNull()) {
        message += headFailed;
        return 7;
    }
    const int structureId = newId->toInt();
    auto linked = m_cnn.Execute(QStringLiteral("UPDATE ManageSample SET iBOMAutoId = ? WHERE iAutoID = ?"),
                                {structureId, sampleId});
    auto lines = linked ? m_cnn.Execute(insertLinesSql(), {sample.code, structureId, sampleId}) : linked;
    if (!linked || !lines || *lines == 0) {
        message += QStringLiteral("\r\n保存母件[") + named + QStringLiteral("]的子件失败，请检查！");
        return 7;
    }
    m_structures.insert(structureKey(sample.code, sample.version, sample.freeItems), structureId);
    message += QStringLiteral("\r\n转换母件[") + named + QStringLiteral("]成功！");
    return 0;
}
