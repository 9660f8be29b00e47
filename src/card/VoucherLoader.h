#pragma once

#include "platform/VoucherDocument.h"

#include <QString>

class Connection;
class DataPermission;

// What a load found: the voucher's documents, its neighbours among the vouchers the user may see,
// and the values the card keeps of it.
struct LoadedVoucher
{
    bool success = false;
    QString message;                          // why the load failed, or why the card is empty
    QString voucherId = QStringLiteral("-1"); // "-1" when no voucher was found
    QString previousId;                       // "" when there is none
    QString nextId;
    QString timeStamp; // row version as read
    QString verifier;  // who confirmed it
    QString templateId;
    VoucherDocument head;
    VoucherDocument body;

    bool found() const { return voucherId != QLatin1String("-1"); }
};

// Finds the voucher the card shows - by identifier, by a move from the voucher shown, or an empty
// new one - among the vouchers the user may see, and reads its head and body.
//
// What the user may see is the data-permission service's: the voucher's customer, new item and
// department (a voucher without one is visible), its maker (also when it has none), and every body
// line's item - a voucher with a line the user may not see is not shown at all, and of the body
// only the permitted lines are read. Moves reach numbered (top-level) samples only; a child sample
// is shown by identifier. Beyond either end a move stays at that end.
//
// The conditions come from the service as SQL text and are joined into the statements; the
// identifiers are bound. The connection and the service are the caller's and must outlive the
// loader.
class VoucherLoader
{
public:
    enum Move { ByIdentifier = 0, First = 1, Previous = 2, Next = 3, Last = 4, NewVoucher = 5 };

    VoucherLoader(Connection &cnn, DataPermission &permission, QString headView, QString bodyView,
                  QString idField = QStringLiteral("iautoid"), QString templateField = QStringLiteral("vt_id"));

    // Loads voucherId (when given) or else the voucher `move` names; shownId is the voucher on the
    // card, from which previous and next move ("" or "-1": previous means first, next last).
    // Fails when nothing is named, when the voucher named by identifier cannot be read, and on a
    // database error. A move that finds nothing, and a new voucher, succeed with empty documents
    // that still carry the views' columns.
    LoadedVoucher LoadVoucher(const QString &voucherId, int move, const QString &shownId);

    // The permission condition of a kind: "t" the head's, "v" the body lines', "UserR" the
    // maker's. Each can follow " and " in a WHERE clause.
    QString BuildAuthCondition(const QString &kind);

private:
    struct Conditions
    {
        QString head;
        QString body;
        QString maker;
    };
    Conditions conditions();
    // The WHERE text every visible voucher satisfies.
    QString visible(const Conditions &c) const;
    Result<QVariant> findMove(int move, const QString &shownId, const Conditions &c);
    // The first or last visible numbered voucher; the one before or after `from`. Null when none.
    Result<QVariant> end(bool first, const Conditions &c);
    Result<QVariant> step(const QVariant &from, bool back, const Conditions &c);
    QString neighbour(const QVariant &id, bool before, const Conditions &c, QString &error);
    bool readDocuments(const QVariant &id, const Conditions &c, LoadedVoucher &out);

    Connection &m_cnn;
    DataPermission &m_permission;
    QString m_headView;
    QString m_bodyView;
    QString m_id;
    QString m_templateField;
};
