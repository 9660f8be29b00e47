#pragma once

#include "SampleStructure.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

class Connection;

// Rolls the cost of a sample (or of a bill of materials) up through its stored structure and, for
// samples, writes the results back: each sample line's unit material price (iMaterialCharge) - the
// full unit cost of its child sample or bill of materials when it has one - and its material cost
// (iMaterialCost, with waste), and each sample head's material total (iTolMaterialCost).
//
// A line contributes quantity per unit x unit price x (1 + waste / 100) of material and quantity per
// unit x unit outsourcing price of outsourcing; a structure adds its other cost (sample: labour,
// manufacturing and outsourcing charges of the head; bill of materials: fbzrgcb + fbzzfy) to the
// material total it passes up. A line whose divisor (tdQtyD) is 0 in the database counts nothing
// and keeps its stored iMaterialCost.
//
// The structure is read a level at a time (SampleStructure) and every structure is priced once,
// however many lines share it. A structure that reaches itself (a loop in stored data) cannot be
// priced: the roll-up fails with the loop named and writes nothing. Writes run on the connection
// given, in a few statements per hundred lines, inside the caller's transaction; the caller commits
// or rolls back.
class CostRollUp
{
public:
    explicit CostRollUp(Connection &cnn)
        : m_cnn(cnn)
    {}

    // Sample `sampleId` when it is > 0, else bill of materials `bomId` (trimmed; nothing when
    // empty). Adds the unit material cost (with other costs) to `material` and the outsourcing
    // cost to `outsourcing`. False on a loop or a database error, with error() saying which.
    bool RollUpSampleCost(double sampleId, const QString &bomId, double &material, double &outsourcing);

    QString error() const { return m_error; }

private:
    struct Totals
    {
        double material = 0; // with the structure's other cost
        double outsourcing = 0;
    };

    bool price(const SampleStructure &structure, SampleStructure::Ref ref, Totals &totals);
    bool write();

    Connection &m_cnn;
    QHash<SampleStructure::Ref, Totals> m_done;
    QSet<SampleStructure::Ref> m_path;
    QList<QPair<int, double>> m_lineCharges; // iSubID -> iMaterialCharge
    QList<QPair<int, double>> m_headTotals;  // iAutoID -> iTolMaterialCost
    QString m_error;
};
