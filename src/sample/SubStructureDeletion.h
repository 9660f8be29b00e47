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
// Stored links may be wrong: a head is entered once at most. One already entered - on the current
// path (a loop of links) or finished earlier (a sub-structure two lines share) - is not entered
// again, and heads passed to keep() are never entered: the voucher being saved or deleted is not
// taken away with its own children when a link points back to it.
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

    // A head that must not be deleted through a link.
    void keep(qint64 headId) { m_entered.insert(headId); }
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
    void planHead(qint64 headId);

    Connection &m_cnn;
    QList<Step> m_steps;
    QSet<qint64> m_entered;                  // kept, on the current path, or planned already
    QHash<qint64, QList<qint64>> m_children; // head -> its lines' child heads, in line order
};
