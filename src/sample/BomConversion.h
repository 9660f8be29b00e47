#pragma once

#include "SampleStructure.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QtGlobal>

class Connection;

// Turns a sample, with the child samples below its lines, into bills of materials: one
// ProductStructure head per sample and one ProductStructures line per sample line, children first
// so that each parent line points (ChildGUID) at its component's new structure.
//
// ConvertSampleToBom answers with a status and appends a line (CR LF + text) to the message for
// every success and refusal: 0 converted, 1 no voucher given, 2 voucher not found, 8 no voucher
// number and no version, 3 item missing or a service, 5 reorder-point item or neither self-made nor
// outsourced, 6 the structure exists already, 4 no lines, -1 a component failed, 7 a write failed.
// A child of status 0 or 6 counts as converted (its structure exists).
//
// The samples and the item master data are read before anything is written: the samples a level at
// a time (SampleStructure, child samples only), the items and the existing structures of all of
// them with one query per hundred codes. A sample reached again while it is being converted (a
// loop in stored data) is refused as a failed component. Writes run on the connection given,
// inside the caller's transaction: the call never commits or rolls back, so a refusal anywhere
// leaves the caller free to roll everything back. A database error is a failed write (status 7).
class BomConversion
{
public:
    explicit BomConversion(Connection &cnn)
        : m_cnn(cnn)
    {}

    qint16 ConvertSampleToBom(qint32 sampleId, QString &message);

private:
    struct ItemFlags
    {
        bool self = false;
        bool outsourced = false;
        int planPolicy = 0;
    };

    Result<void> prepare(qint32 sampleId);
    qint16 convert(qint32 sampleId, QString &message);
    qint16 writeStructure(qint32 sampleId, const SampleStructure::Node &sample, QString &message);
    static QString structureKey(const QString &code, const QString &version, const QStringList &freeItems);

    Connection &m_cnn;
    SampleStructure m_samples{m_cnn};
    QHash<QString, ItemFlags> m_items; // goods items (no service items) by code
    QHash<QString, int> m_structures;  // existing structures by key
    QSet<int> m_path;                  // samples being converted
};
