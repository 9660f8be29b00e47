#pragma once

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class Connection;

// Removes child samples with everything below them: for each child head, depth first, the heads
// below it, then its attachments (OR_VN_fileTable), its lines (ManageSamples) and its head
// (ManageSample). A child's rows therefore go before its parent's.
//
// A child sample is named by a line's ChildGUID (the child head's iAutoID; NULL or 0 = none). The
// links below the given heads are read first, a level of heads at a time, and the deletions are
// planned from them; run() then executes the plan, one bound statement per table and head, on the
// caller's connection and inside the caller's transaction, so a failure half-way is rolled back
// with the rest of the caller's work.
//
// Stored links may be wrong, and a link is no proof of ownership, so a head is deleted only when
// it is a child sample (an empty voucher number: a numbered voucher is never taken along) and no
// line that stays still names it - a line of a voucher that is kept, or of a head that is kept for
// one of these reasons. Lines go when their voucher is deleted (deletingVoucher) or when they are
// deleted themselves (deletingLine). A head is entered once at most: one already entered - on the
// current path (a loop of links) or finished earlier (a sub-structure two lines share) - is not
// entered again, and heads passed to keep() or deletingVoucher() are never entered.
class SubStructureDeletion
{
public:
    struct Step
    {
        QString table;
        qint64 headId = 0;

        friend bool operator==(const Step &, const Step &) = default;
    };

    explicit SubStructureDeletion(Connection &cnn)
        : m_cnn(cnn)
    {}

    // A head that stays; its lines stay too, but for those passed to deletingLine().
    void keep(qint64 headId) { m_entered.insert(headId); }
    // The voucher whose deletion this is part of: not entered here, its lines go with it.
    void deletingVoucher(qint64 headId)
    {
        m_entered.insert(headId);
        m_goingHeads.insert(headId);
    }
    // A line (iSubID) deleted by the caller.
    void deletingLine(qint64 subId) { m_goingLines.insert(subId); }
    // Plans the deletion of the attachments of headId (the voucher's own, before its sub-trees).
    void addAttachmentsOf(qint64 headId);
    // Plans the deletion of the child samples childIds with everything below them, in the order
    // given. Ids of 0 or less name no child. Fails with the database's text when the links cannot
    // be read; the plan is then incomplete and must not be run.
    Result<void> addSubTrees(const QList<qint64> &childIds);

    // What run() deletes, in order.
    const QList<Step> &steps() const { return m_steps; }
    // Executes the plan; stops at the first failing statement with the database's text.
    Result<void> run();

private:
    Result<void> readLinksBelow(const QList<qint64> &heads);
    Result<QSet<qint64>> headsThatStay() const;
    void planHead(qint64 headId, const QSet<qint64> &staying);

    Connection &m_cnn;
    QList<Step> m_steps;
    QSet<qint64> m_entered;                  // kept, on the current path, or planned already
    QSet<qint64> m_goingHeads;               // vouchers deleted by the caller, lines and all
    QSet<qint64> m_goingLines;               // lines deleted by the caller
    QHash<qint64, QList<qint64>> m_children; // head -> its lines' child heads, in line order
};
