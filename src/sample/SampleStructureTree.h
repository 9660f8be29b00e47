#pragma once

#include "SampleStructure.h"

#include "platform/Result.h"

#include <QList>
#include <QSet>
#include <QString>

class Connection;

// The structure tree of a sample voucher as the pane beside the card shows it, without widgets: a
// root ("rr", "样品BOM信息"), the voucher's new item below it, its components below that, and below
// each component its child sample's lines or, failing that, its bill of materials' lines, down to
// the leaves. Components missing from the item master are left out.
//
// A node's key is its parent's key + "r" + item code + its child sample id (else its bill of
// materials id), its text "(code)name;free1;...;free10", its tag "r" + code, version, child sample
// id + " ", bill of materials id + " " and " " + body row id, joined by tabs. The new item's node
// carries the voucher itself as its child sample, so choosing it reopens the voucher.
//
// The stored structure is read a level at a time (SampleStructure); the tree is then laid out from
// memory, every path in full. A component whose code is already on the path from the top is a loop:
// it is shown but not descended into, hasCycle() becomes true and the description gains CR LF +
// "子件[code]循环出现，请检查！". A tree that would grow past MaxNodes (structures shared so widely
// that their paths multiply) stops there and says so through truncated().
class SampleStructureTree
{
public:
    struct Node
    {
        QString key;
        QString text;
        QString tag;
        int parent = -1;
        QList<int> children;
    };

    static constexpr int MaxNodes = 200000;

    explicit SampleStructureTree(Connection &cnn)
        : m_cnn(cnn)
    {}

    // Builds the tree of voucher `voucherId`; "" or an unknown id gives the root alone.
    Result<void> build(const QString &voucherId);

    // Node 0 is the root.
    const QList<Node> &nodes() const { return m_nodes; }
    bool hasCycle() const { return m_cycle; }
    QString cycleDescription() const { return m_cycleText; }
    bool truncated() const { return m_truncated; }
    // Queries the last build took.
    int queryCount() const { return m_queries; }

    // The text and tag of a structure line, as the tree writes them.
    static QString nodeText(const QString &code, const QString &name, const QStringList &freeItems);
    static QString nodeTag(const QString &code, const QString &version, int childSample, int bomId, int subId);

private:
    int addNode(int parent, const QString &key, const QString &text, const QString &tag);
    void expand(int parent, const SampleStructure &structure, SampleStructure::Ref ref);

    Connection &m_cnn;
    QList<Node> m_nodes;
    QSet<QString> m_path; // item codes from the top to the node being expanded
    bool m_cycle = false;
    bool m_truncated = false;
    QString m_cycleText;
    int m_queries = 0;
};
