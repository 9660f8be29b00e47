#pragma once

#include "host/CardTemplate.h"
#include "host/VoucherCardControl.h"

class Recordset;

// The host's voucher card control as the card window drives it: everything the voucher code reads
// (VoucherCardControl) plus the edit state, the documents shown, editable flags, body rows and
// cell marks. Fields are named by their lower-case database names; body rows count from 1.
class CardControl : public VoucherCardControl
{
public:
    enum EditMode { Viewing = 0, EditingVoucher = 1, AddingVoucher = 2 };

    using VoucherCardControl::headerText;

    virtual int EditState() const = 0;
    virtual void setEditState(int state) = 0;
    // True while the body is shown in its summarised form.
    virtual bool SummaryMode() const = 0;
    // Restores every body cell greyed by an earlier cell check.
    virtual void restoreCells() = 0;

    virtual QString headerText(const QString &field) const = 0;
    virtual void setHeaderText(const QString &field, const QString &text) = 0;
    virtual void setBodyText(int row, const QString &field, const QString &text) = 0;
    // The current body row; 0 when there is none.
    virtual int row() const = 0;

    // Shows the documents (mode 0: as they are).
    virtual void loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int mode) = 0;

    // The editable flag of a head or body field's descriptor; the display of a head field follows
    // it only when applyEditable is called for that field.
    virtual bool isEditable(Section section, const QString &field) const = 0;
    virtual void setEditable(Section section, const QString &field, bool editable) = 0;
    virtual void applyEditable(const QString &headField) = 0;

    // Inserts an empty body row; deletes body row `row`.
    virtual void addRow() = 0;
    virtual void deleteRow(int row) = 0;
    // Shows a body cell as not editable (grey), or back as normal.
    virtual void markCell(const QString &field, int row) = 0;
    virtual void clearCell(const QString &field, int row) = 0;

    // The numbering rule (numbering service XML) that new vouchers are numbered by.
    virtual void setNumberingRule(const QString &ruleXml) = 0;
    // The colour behind the card's items (14737632, light grey).
    virtual void setBackColor(int colour) = 0;
    // Lays the card out by another display template, keeping the documents as typed so far.
    virtual void applyTemplate(const CardTemplate &cardTemplate) = 0;
    // The decimals a number item of the head or a number column of the body is shown with; a
    // field the card does not show is left alone.
    virtual void setDecimals(Section section, const QString &field, int decimals) = 0;
    // Prints or previews the voucher shown through a print template's layout rows and fixed items
    // (TemplateService::format and fixedItems); the control reports what goes wrong itself.
    virtual void printVoucher(const Recordset &layout, const Recordset &fixed, bool preview) = 0;
    // Writes the voucher shown out to a file the user chooses (XLSX or CSV), laid out by a
    // template's rows and fixed items.
    virtual void exportVoucher(const Recordset &layout, const Recordset &fixed) = 0;
    // Puts the keyboard focus on a head item or on a body column of the current line.
    virtual void focusItem(Section section, const QString &field) = 0;
};
