#pragma once

#include "FieldEditHooks.h"

#include "platform/VoucherDocument.h"

#include <QString>
#include <QStringList>

#include <memory>

class CardControl;
class frmManageSample;
class Recordset;
struct ItemUnit;

// The card's answers to what the user does in a cell while a voucher is added or edited: the
// checks of a finished head or body entry, the reference lists opened from a cell, new body rows,
// the change of the current row, the choices of the expand flag and the keys the parent-item
// fields take. Owned by the card window (frmManageSample), which it reads its engine, connection,
// state and card control from; the Qt window forwards the card control's signals here.
//
// A check refuses an entry by setting its result to 0 after showing the message. It writes nothing
// of a refused value into the control (nor the related items a check would fill), so the control
// puts the cell's previous content back and the voucher keeps what it held. An accepted value is
// handed back in `value` (cleaned of the characters the control refuses) for the control to write.
// Messages go through MessageService with the card's title.
class FieldEditHandler
{
public:
    explicit FieldEditHandler(frmManageSample &card);
    ~FieldEditHandler();

    // The cost and structure work's hooks; the defaults do nothing (see FieldEditHooks).
    void setHooks(std::shared_ptr<FieldEditHooks> hooks);

    // A head entry is finished: `value` may be changed (cleaned, or taken from the check's row);
    // result 0 refuses it. `result` comes in as the control gives it (2).
    void headCellCheck(const QString &field, QString &value, int &result);
    // A body entry of row `row` (from 1) is finished; result is set to 2 first, 0 refuses.
    void bodyCellCheck(const QString &field, QString &value, int row, int &result);
    // F2 or the item's button on a head item or a body cell.
    void headReference(const QString &field);
    void bodyReference(const QString &field, int row);
    // The control added body row `row`: it is a new line with a divisor of 1.
    void rowAdded(int row);
    // Row `row` became the current body row: its unit cells, free items and version follow its item.
    void rowChanged(int row);
    // Greys the version of line `row` when the line has its own lower-level structure (the version
    // belongs to that structure), and makes it editable again otherwise.
    void markVersionCell(int row);

    // The items of a drop-down list of `field`: the expand flags offer "是" and "否" when the list
    // has none yet.
    static QStringList choiceItems(const QString &field, const QStringList &items);
    // Whether head item `field` takes key `key`: the parent-item fields are filled by their list
    // only and take Enter and Backspace alone.
    static bool acceptsHeadKey(const QString &field, int key);

private:
    // The check chosen by field; "" when accepted. returned receives the row to copy.
    QString checkHeadValue(const QString &field, QString &value, VoucherDocument &returned);
    QString checkBodyValue(const QString &field, QString &value, int row, VoucherDocument &returned);
    // A user-defined item of fixed length refuses a longer value; one kept in the archive refuses a
    // value the archive does not hold.
    QString checkDefineLength(VoucherCardControl::Section section, const QString &field, const QString &value) const;
    QString checkDefineArchive(const QString &field, const QString &value, const QString &caption) const;
    // The new item against the components: "母件与子件重复！" when a line uses it.
    QString checkNewItemAgainstLines(const QString &item) const;
    // True when the item is in the inventory archive.
    bool itemExists(const QString &item) const;
    // The free items the head's new item (or a line's component) uses are the editable ones.
    void applyHeadFreeItems(const QString &item);
    void applyLineFreeItems(const QString &item, int row);
    // The unit lookup of the head (row 0) or of a line: a typed value checked (checkMode) or the
    // list. False when no unit was found or chosen.
    bool refField(int row, bool checkMode, const QString &value);
    void fillLineUnit(int row, const ItemUnit &unit);
    void clearLineUnit(int row);
    // Shows the unit cells of a line editable or grey by its unit group.
    void markLineUnitCells(int row, int groupType);
    // Copies a returned row into the head or a line; the field under test takes its own value.
    void copyReturnedRow(const VoucherDocument &returned, const QString &field, QString &value, int row);
    // The document of body row `row` as the control holds it, with `field` set to `value`.
    VoucherDocument lineDocument(int row, const QString &field, const QString &value) const;
    VoucherDocument headDocument(const QString &field, const QString &value) const;
    // The head reference of a field with a list in the engine, or of the user-defined items.
    bool pickHeadValue(const QString &field, QString &value);
    void pickComponents(const QString &field, int row);
    void runHeadCheckAndWrite(const QString &field, QString value);
    void show(const QString &text, int icon) const;

    CardControl &control() const;

    frmManageSample &m_card;
    std::shared_ptr<FieldEditHooks> m_hooks;
    // A check is under way: its message box takes the focus, and an entry finished by that is not
    // checked (and refused) a second time.
    bool m_checking = false;
};
