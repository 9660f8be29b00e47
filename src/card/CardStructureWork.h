#pragma once

#include "CardStructureCommands.h"
#include "FieldEditHooks.h"

#include <QString>

class CardControl;
class Connection;
class Recordset;
class frmManageSample;

// The card's structure and cost work: the cost fetch ("tlbGet") and the conversion to a bill of
// materials ("tlbSaveBom") as commands, and, as the field edits' hooks, the cost recalculation
// after an accepted entry, the fetch of a parent item's structure and the version lists.
//
// Both commands refuse while the tree shows a loop, run in one transaction on the engine's
// connection under the save's writer lock, and go on only when the voucher still has the row
// version the card loaded. No message is shown while the transaction is open: the outcome is
// committed or rolled back first. After a success the voucher is reloaded and the tree rebuilt.
class CardStructureWork final : public CardStructureCommands, public FieldEditHooks
{
public:
    explicit CardStructureWork(frmManageSample &card)
        : m_card(card)
    {}

    void fetchCosts(frmManageSample &card) override;
    void convertToBom(frmManageSample &card) override;

    void rollUpCosts(VoucherCardControl::Section section, const QString &field, int row) override;
    QString fetchParentItem(const QString &value, bool fromList) override;
    bool pickVersion(const QString &item, QString &version) override;

    // Shows on the card a new, unsaved sample made from bill of materials `bomId` (the tree's
    // bill-of-materials nodes): the structure's head and lines, costs recalculated. Editing it with
    // the node chosen adds it as the child sample of the node's line. "" when done, else why not.
    QString fillNewSample(int bomId);

private:
    // Refuses on a loop the tree shows (its description + loopRefusal) or a voucher changed meanwhile;
    // true with the write transaction open.
    bool start(frmManageSample &card, const QString &loopRefusal);
    // Begins the write transaction and checks the row version; "" when the work may go on (the
    // transaction is then open), else the message to show (nothing is open).
    QString beginGuarded(frmManageSample &card);
    // Reloads the voucher shown; when it cannot be read, says so and moves to the next one.
    bool reload(frmManageSample &card);
    // The head and lines of structure bomId into the card's parent-item fields; "" or the message.
    QString fillFromStructure(int bomId);
    // Replaces the card's lines by `lines`; "母子与子件重复，请检查！" when one uses the new item.
    QString replaceLines(const Recordset &lines);
    void writeHead(const Recordset &head);
    void show(const QString &text) const;

    CardControl &control() const;

    frmManageSample &m_card;
};
