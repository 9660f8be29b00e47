#pragma once

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// The stored structure below a sample or a bill of materials, read into memory a level at a time:
// each level is one query for the sample lines and one for the bill-of-materials lines of all the
// structures found on the level before (bound IN lists), plus one each for their heads. Every
// structure is read once however many lines lead to it (shared sub-structures), and a structure
// that leads back to itself (a loop in stored data) ends the reading as every structure on the loop
// is known by then. The tree, the cost roll-up and their benchmarks walk what was read.
//
// A line continues into its child sample when it has one, else into its bill of materials (see
// StructureKey for how the two are found). Queries run on the connection given, inside whatever
// transaction the caller holds; a database error ends the reading and is returned.
class SampleStructure
{
public:
    enum class Kind { Sample, Bom };

    struct Ref
    {
        Kind kind = Kind::Sample;
        int id = 0;
        bool isNull() const { return id <= 0; }
        bool operator==(const Ref &o) const { return kind == o.kind && id == o.id; }
    };

    // One line of a sample (ManageSamples) or of a bill of materials (ProductStructures).
    struct Line
    {
        QString code;
        QString name;
        QString version;
        int bomId = 0;         // the component's bill of materials (0 = none)
        int childSample = 0;   // the component's child sample (0 = none)
        int subId = 0;         // ManageSamples.iSubID; 0 for a bill-of-materials line
        QStringList freeItems; // ten, empty text for a missing value
        bool inItemMaster = false;
        double unitMaterial = 0;    // iMaterialCharge / fBZDJ
        double unitOutsourcing = 0; // iOutUnitPrice; 0 on a bill-of-materials line
        double wasteRate = 0;       // percent
        double quantity = 0;        // iPSQuantity
        double divisor = 1;         // tdQtyD, 1 when missing; may be 0 in stored data

        // Where the line continues: its child sample, else its bill of materials, else nowhere.
        Ref child() const;
        // Quantity per unit of the parent; 0 when the divisor is 0, so such a line costs nothing.
        double perUnit() const { return divisor == 0 ? 0 : quantity / divisor; }
    };

    struct Node
    {
        bool found = false;  // the head exists
        QString voucherCode; // cCode of a sample head; empty for a child sample or a bill of materials
        QString code;        // new item (sample) or parent item (bill of materials)
        QString name;
        QString version;
        QStringList freeItems;
        double otherCost = 0; // sample: iPerCharge + iMakeCharge + iTolOutCost; bill: fbzrgcb + fbzzfy
        QList<Line> lines;
    };

    explicit SampleStructure(Connection &cnn)
        : m_cnn(cnn)
    {}

    // Reads everything below `root`; with followBoms false only child samples are followed (a line
    // still names its bill of materials).
    Result<void> load(Ref root, bool followBoms = true);

    // The structure read for `ref`; an empty node when it was not read or does not exist.
    const Node &node(Ref ref) const;
    bool contains(Ref ref) const;
    // Structures read, and the queries it took (for tests and benchmarks).
    int size() const { return int(m_nodes[0].size() + m_nodes[1].size()); }
    int queryCount() const { return m_queries; }

private:
    // The heads and lines of the structures `ids` of one kind; their children go to `next`.
    Result<void> readLevel(Kind kind, const QList<int> &ids, QList<Ref> &next);
    Node &slot(Ref ref) { return m_nodes[int(ref.kind)][ref.id]; }

    Connection &m_cnn;
    QHash<int, Node> m_nodes[2];
    int m_queries = 0;
};

inline size_t qHash(const SampleStructure::Ref &ref, size_t seed = 0)
{
    return ::qHash(ref.id * 2 + int(ref.kind), seed);
}
