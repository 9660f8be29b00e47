#include "SubStructureDeletion.h"

#include "platform/InListQuery.h"

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
        if (id > 0 && !m_entered.contains(id))
            roots.append(id);
    }
    auto read = readLinksBelow(roots);
    if (!read)
        return read;
    auto staying = headsThatStay();
    if (!staying)
        return fail(staying.error());
    for (qint64 id : std::as_const(roots))
        planHead(id, *staying);
    return {};
}

// The heads below the roots that must stay: numbered vouchers, heads that do not exist, heads a
// staying line names, and everything below a staying head. Two queries over all candidates: their
// voucher numbers, and every line that names one of them.
Result<QSet<qint64>> SubStructureDeletion::headsThatStay() const
{
    QVariantList candidates;
    for (auto it = m_children.cbegin(); it != m_children.cend(); ++it) {
        if (!m_entered.contains(it.key()))
            candidates.append(it.key());
    }
    QSet<qint64> staying;
    if (candidates.isEmpty())
        return staying;
    auto heads = InListQuery::rows(
        m_cnn, QStringLiteral("SELECT iAutoID, COALESCE(cCode, '') FROM ManageSample WHERE iAutoID IN (%1)"),
        candidates);
    if (!heads)
        return fail(heads.error());
    QSet<qint64> childSamples;
    for (const QVariantList &row : std::as_const(*heads)) {
        if (row.at(1).toString().trimmed().isEmpty())
            childSamples.insert(row.at(0).toLongLong());
    }
    for (const QVariant &id : std::as_const(candidates)) {
        if (!childSamples.contains(id.toLongLong()))
            staying.insert(id.toLongLong());
    }
    auto naming = InListQuery::rows(
        m_cnn, QStringLiteral("SELECT iSubID, iAutoID, ChildGUID FROM ManageSamples WHERE ChildGUID IN (%1)"),
        candidates);
    if (!naming)
        return fail(naming.error());
    // A line stays unless the caller deletes it or its voucher. A line of a candidate head goes with
    // its head, unless that head is found to stay (then the walk below keeps what it names).
    for (const QVariantList &row : std::as_const(*naming)) {
        const qint64 line = row.at(0).toLongLong();
        const qint64 owner = row.at(1).toLongLong();
        const bool candidateOwner = m_children.contains(owner) && !m_entered.contains(owner);
        if (!m_goingLines.contains(line) && !m_goingHeads.contains(owner) && !candidateOwner)
            staying.insert(row.at(2).toLongLong());
    }
    // Whatever a staying head names stays as well.
    QList<qint64> work(staying.cbegin(), staying.cend());
    while (!work.isEmpty()) {
        const qint64 head = work.takeLast();
        for (qint64 child : m_children.value(head)) {
            if (!staying.contains(child) && !m_entered.contains(child)) {
                staying.insert(child);
                work.append(child);
            }
        }
    }
    return staying;
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
void SubStructureDeletion::planHead(qint64 headId, const QSet<qint64> &staying)
{
    if (m_entered.contains(headId) || staying.contains(headId))
        return;
    m_entered.insert(headId);
    for (qint64 child : m_children.value(headId))
        planHead(child, staying);
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
