#include "StructureCycleCheck.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

StructureCycleCheck::StructureCycleCheck(Connection &cnn, const QStringList &components)
    : m_cnn(cnn)
{
    for (const QString &code : components)
        m_components.insert(key(code));
}

Result<bool> StructureCycleCheck::checkSample(const QString &itemCode)
{
    return walk(Relation::Sample, itemCode);
}

Result<bool> StructureCycleCheck::checkBom(const QString &itemCode)
{
    return walk(Relation::Bom, itemCode);
}

// One item in one relation, answered from memory when it was walked before. The message of a loop
// found below it is remembered too, so a second visit leaves the same "last loop" text behind as
// walking the sub-structure again would.
Result<bool> StructureCycleCheck::walk(Relation relation, const QString &itemCode)
{
    const QString item = key(itemCode);
    auto &done = m_done[int(relation)];
    if (const auto it = done.constFind(item); it != done.constEnd()) {
        if (!it->passed)
            m_message = it->message;
        return it->passed;
    }

    m_path.insert(item);
    auto passed = walkParents(relation, itemCode.trimmed());
    m_path.remove(item);
    if (!passed)
        return passed;
    done.insert(item, {*passed, *passed ? QString() : m_message});
    return passed;
}

// Each parent in turn: a saved component among them closes a loop; otherwise the walk goes on
// upwards from the parent, through the same relation first and then the other one. A loop found
// does not end the walk, later ones overwrite the message.
Result<bool> StructureCycleCheck::walkParents(Relation relation, const QString &itemCode)
{
    auto found = parents(relation, itemCode);
    if (!found)
        return fail(found.error());

    bool passed = true;
    const Relation other = relation == Relation::Sample ? Relation::Bom : Relation::Sample;
    for (const QString &parent : *found) {
        const QString parentKey = key(parent);
        if (m_components.contains(parentKey) || m_path.contains(parentKey)) {
            m_message = loopMessage(relation, parent);
            passed = false;
            continue;
        }
        if (parentKey.isEmpty())
            continue;
        auto same = walk(relation, parent);
        if (!same)
            return same;
        if (!*same) {
            passed = false;
            continue;
        }
        auto crossed = walk(other, parent);
        if (!crossed)
            return crossed;
        passed = passed && *crossed;
    }
    return passed;
}

// The parent items of itemCode in one relation, in the order of their heads.
Result<QStringList> StructureCycleCheck::parents(Relation relation, const QString &itemCode)
{
    const QString sql = relation == Relation::Sample
                            ? QStringLiteral("SELECT cNewInvCode FROM ManageSample WHERE iAutoID IN "
                                             "(SELECT iAutoID FROM ManageSamples WHERE cPSCode = ?) ORDER BY iAutoID")
                            : QStringLiteral("SELECT cPSPCode FROM ProductStructure WHERE iAutoId IN "
                                             "(SELECT iPId FROM ProductStructures WHERE cPSCode = ?) ORDER BY iAutoId");
    auto rs = m_cnn.Query(sql, {itemCode});
    if (!rs)
        return fail(rs.error());
    QStringList result;
    result.reserve(rs->RecordCount());
    for (int row = 0; row < rs->RecordCount(); ++row)
        result.append(rs->value(row, 0).toString());
    return result;
}

QString StructureCycleCheck::loopMessage(Relation relation, const QString &parent) const
{
    return relation == Relation::Sample
               ? QStringLiteral("子件[") + parent + QStringLiteral("]在样品单据中循环出现，请检查！")
               : QStringLiteral("子件[") + parent + QStringLiteral("]在产品结构中构成循环，请检查！");
}
