#include "SubStructureDeletion.h"

#include "InListQuery.h"

#include "platform/Connection.h"

namespace {

const QString kAttachments = QStringLiteral("OR_VN_fileTable");
const QString kLines = QStringLiteral("ManageSamples");
const QString kHeads = QStringLiteral("ManageSample");

} // namespace

void SubStructureDeletion::addAttachmentsOf(qint64 headId)
{
    m_steps.append({kAttachments, headId});
}

Result<void> SubStructureDeletion::addSubTrees(const QList<qint64> &childIds)
{
    QList<qint64> roots;
    for (qint64 id : childIds) {
        if (id > 0)
            roots.append(id);
    }
    auto read = readLinksBelow(roots);
    if (!read)
        return read;
    for (qint64 id : std::as_const(roots))
        planHead(id);
    return {};
}

// Breadth first: the child links of a whole level of heads in one query (per chunk of heads). A
// head whose links were read is not read again, so a loop of links ends the reading too.
Result<void> SubStructureDeletion::readLinksBelow(const QList<qint64> &heads)
{
    QList<qint64> level = heads;
    while (!level.isEmpty()) {
        QVariantList ask;
        for (qint64 id : std::as_const(level)) {
            if (!m_children.contains(id)) {
                m_children.insert(id, QList<qint64>());
                ask.append(id);
            }
        }
        auto rows = InListQuery::rows(
            m_cnn,
            QStringLiteral("SELECT iAutoID, ChildGUID FROM ManageSamples WHERE COALESCE(ChildGUID, 0) > 0 "
                           "AND iAutoID IN (%1) ORDER BY iAutoID, iSubID"),
            ask);
        if (!rows)
            return fail(rows.error());
        level.clear();
        for (const QVariantList &row : std::as_const(*rows)) {
            const qint64 child = row.at(1).toLongLong();
            m_children[row.at(0).toLongLong()].append(child);
            if (!m_children.contains(child))
                level.append(child);
        }
    }
    return {};
}

// Depth first, children before their parent. m_entered is filled on the way down, so a head on
// the current path and a head planned before are both passed over.
void SubStructureDeletion::planHead(qint64 headId)
{
    if (m_entered.contains(headId))
        return;
    m_entered.insert(headId);
    for (qint64 child : m_children.value(headId))
        planHead(child);
    m_steps.append({kAttachments, headId});
    m_steps.append({kLines, headId});
    m_steps.append({kHeads, headId});
}

Result<void> SubStructureDeletion::run()
{
    for (const Step &step : std::as_const(m_steps)) {
        auto done = m_cnn.Execute(QStringLiteral("DELETE FROM ") + step.table + QStringLiteral(" WHERE iAutoID = ?"),
                                  {step.headId});
        if (!done)
            return fail(done.error());
    }
    return {};
}
