#include "StructureCycleCheck.h"

#include "platform/InListQuery.h"

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

// The parent items of itemCode in one relation, in the order of their heads. An item not fetched
// yet has its whole ancestry fetched first.
Result<QStringList> StructureCycleCheck::parents(Relation relation, const QString &itemCode)
{
    auto &known = m_parents[int(relation)];
    if (!known.contains(itemCode)) {
        auto fetched = fetchAncestry(itemCode);
        if (!fetched)
            return fail(fetched.error());
    }
    return known.value(itemCode);
}

// Breadth first from itemCode: each level asks both relations for the parents of the level's items
// that were not asked for yet; the parents found make the next level. Blank parents and saved
// components are not followed, as the walk does not go on from them.
Result<void> StructureCycleCheck::fetchAncestry(const QString &itemCode)
{
    QStringList level{itemCode};
    while (!level.isEmpty()) {
        QStringList next;
        for (const Relation relation : {Relation::Sample, Relation::Bom}) {
            auto &known = m_parents[int(relation)];
            QStringList ask;
            for (const QString &item : std::as_const(level)) {
                if (!known.contains(item)) {
                    known.insert(item, QStringList()); // also marks it asked for
                    ask.append(item);
                }
            }
            auto found = usedIn(relation, ask);
            if (!found)
                return fail(found.error());
            for (const auto &[item, parent] : std::as_const(*found)) {
                if (auto it = known.find(item); it != known.end())
                    it->append(parent);
                const QString trimmed = parent.trimmed();
                if (!trimmed.isEmpty() && !m_components.contains(key(trimmed)))
                    next.append(trimmed);
            }
        }
        next.removeDuplicates();
        level.clear();
        for (const QString &item : std::as_const(next)) {
            if (!m_parents[int(Relation::Sample)].contains(item) || !m_parents[int(Relation::Bom)].contains(item))
                level.append(item);
        }
    }
    return {};
}

// (item, parent item) for the items given, each item's parents in the order of their heads and each
// head once, however many of its lines name the item. Codes match exactly as stored (by index).
Result<QList<QPair<QString, QString>>> StructureCycleCheck::usedIn(Relation relation, const QStringList &items)
{
    const QString sql
        = relation == Relation::Sample
              ? QStringLiteral("SELECT DISTINCT l.cPSCode, h.iAutoID, h.cNewInvCode FROM ManageSamples l "
                               "JOIN ManageSample h ON h.iAutoID = l.iAutoID WHERE l.cPSCode IN (%1) "
                               "ORDER BY h.iAutoID")
              : QStringLiteral("SELECT DISTINCT l.cPSCode, h.iAutoId, h.cPSPCode FROM ProductStructures l "
                               "JOIN ProductStructure h ON h.iAutoId = l.iPId WHERE l.cPSCode IN (%1) "
                               "ORDER BY h.iAutoId");
    QVariantList values;
    values.reserve(items.size());
    for (const QString &item : items)
        values.append(item);
    auto rows = InListQuery::rows(m_cnn, sql, values);
    if (!rows)
        return fail(rows.error());
    QList<QPair<QString, QString>> result;
    result.reserve(rows->size());
    for (const QVariantList &row : std::as_const(*rows))
        result.append({row.at(0).toString(), row.at(2).toString()});
    return result;
}

QString StructureCycleCheck::loopMessage(Relation relation, const QString &parent) const
{
    return relation == Relation::Sample
               ? QStringLiteral("子件[") + parent + QStringLiteral("]在样品单据中循环出现，请检查！")
               : QStringLiteral("子件[") + parent + QStringLiteral("]在产品结构中构成循环，请检查！");
}
