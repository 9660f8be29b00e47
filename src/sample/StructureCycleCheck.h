#pragma once

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

class Connection;

// Looks for loops that saving a sample would close: walks the used-in relation upwards from the
// sample's new item, through sample vouchers (an item is used in a sample head when one of its lines
// names it) and through the bill of materials (used in a ProductStructure head through its lines),
// and refuses when one of the saved components turns up among the ancestors.
//
// Components match ancestors by code, without blanks around it and with its letter case, exactly
// as the used-in relation matches codes (by index): "ab" and "AB" are two items.
//
// Stored data may already hold a loop (written before these checks, or by another program). An
// ancestor already on the current path is such a loop: it is reported with the message of the
// relation it was reached through, instead of walking round it for ever. Every item is walked once
// per relation: a shared sub-structure is answered from memory, so the cost grows with the number
// of distinct ancestors, not with the number of paths to them.
//
// The used-in relation is read a level at a time: the first item asked about has its whole ancestry
// fetched, both relations, with one query per relation and level (IN lists of the level's items),
// and the walk then runs on what was fetched. A saved component is not looked up further, as the
// walk stops there. The fetch keeps the items it has asked for, so a loop in the stored data ends
// it as well.
//
// Queries run on the connection given, inside the caller's transaction; a database error ends the
// walk and is returned as the error.
class StructureCycleCheck
{
public:
    StructureCycleCheck(Connection &cnn, const QStringList &components);

    // True when no loop was found; false with message() naming the last loop found.
    Result<bool> checkSample(const QString &itemCode);
    Result<bool> checkBom(const QString &itemCode);

    QString message() const { return m_message; }

private:
    enum class Relation { Sample, Bom };
    struct Outcome
    {
        bool passed = true;
        QString message; // the last loop found below the item, when not passed
    };

    Result<bool> walk(Relation relation, const QString &itemCode);
    Result<bool> walkParents(Relation relation, const QString &itemCode);
    Result<QStringList> parents(Relation relation, const QString &itemCode);
    Result<void> fetchAncestry(const QString &itemCode);
    Result<QList<QPair<QString, QString>>> usedIn(Relation relation, const QStringList &items);
    QString loopMessage(Relation relation, const QString &parent) const;
    // Items are told apart as the used-in lookups tell them apart: by their codes as stored,
    // without surrounding blanks, letter case counting.
    static QString key(const QString &code) { return code.trimmed(); }

    Connection &m_cnn;
    QSet<QString> m_components; // trimmed
    QSet<QString> m_path;       // items being walked, trimmed
    QHash<QString, Outcome> m_done[2];
    QHash<QString, QStringList> m_parents[2]; // by trimmed item code as stored: its parents in head order
    QString m_message;
};
