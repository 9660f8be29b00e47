#pragma once

#include "card/CardControl.h"
#include "platform/Recordset.h"
#include "platform/VoucherDocument.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// A card control made of plain maps: the head's values and one map of cells per body row, filled
// from the documents it is given and written back into documents of the same columns. A test
// "types" by writing into the maps. Head items are the fields of `headFields`, in that order.
class FakeCardControl final : public CardControl
{
public:
    QStringList headFields{"ccode",   "ddate",    "cnewinvcode", "cnewinvname", "cnewinvcomunitcode",
                           "csocode", "ccuscode", "cmaker",      "chandler",    "dveridate",
                           "bexpand", "imanhrs",  "isellexch",   "ifinishexch", "vt_id"};
    QStringList bodyFields{"cpscode", "ipsquantity", "tdqtyd", "cwhcode", "csocode", "childguid"};
    QSet<QString> requiredHead; // fields whose item must not be left empty
    QString badStr;             // characters typed text may not hold

    QMap<QString, QString> head;
    QList<QMap<QString, QString>> body;
    int editState = Viewing;
    bool summary = false;
    int currentRow = 1;
    QMap<QString, bool> headEditable;
    QMap<QString, bool> bodyEditable;
    QStringList calls; // restoreCells, applyEditable(f), markCell(f,r), clearCell(f,r), addRow, deleteRow(r), ...
    QString numberingRule;
    int loads = 0;

    int HeadInfoCount() const override { return int(headFields.size()); }
    int BodyInfoCount() const override { return int(bodyFields.size()); }
    VoucherItemState ItemState(int index, Section section) const override
    {
        const QStringList &fields = section == Head ? headFields : bodyFields;
        if (index < 1 || index > fields.size())
            return {};
        const QString field = fields[index - 1];
        return {section == Head && requiredHead.contains(field), field, QStringLiteral("<%1>").arg(field)};
    }
    QString headerText(int index) const override { return head.value(headFields.value(index - 1)); }
    int BodyRows() const override { return int(body.size()); }
    QString bodyText(int row, int column) const override { return bodyText(row, bodyFields.value(column - 1)); }
    QString bodyText(int row, const QString &field) const override { return body.value(row - 1).value(field); }
    bool getVoucherDataXML(VoucherDocument &h, VoucherDocument &b) override
    {
        h = m_head;
        VoucherRow row = h.headRow();
        if (row.isNull())
            row = h.appendRow();
        for (auto it = head.cbegin(); it != head.cend(); ++it)
            row.setValue(it.key(), it.value());
        b = m_body;
        for (const VoucherRow &r : b.rows())
            b.removeRow(r);
        for (const auto &cells : body) {
            VoucherRow line = b.appendRow();
            for (auto it = cells.cbegin(); it != cells.cend(); ++it)
                line.setValue(it.key(), it.value());
        }
        return true;
    }
    QString BodyBadStr() const override { return badStr; }
    void setHeadBadStr(int, const QString &) override {}

    int EditState() const override { return editState; }
    void setEditState(int state) override { editState = state; }
    bool SummaryMode() const override { return summary; }
    void restoreCells() override { calls << QStringLiteral("restoreCells"); }
    QString headerText(const QString &field) const override { return head.value(field); }
    void setHeaderText(const QString &field, const QString &text) override { head[field] = text; }
    void setBodyText(int row, const QString &field, const QString &text) override
    {
        if (row >= 1 && row <= body.size())
            body[row - 1][field] = text;
    }
    int row() const override { return currentRow; }
    void loadDocuments(const VoucherDocument &h, const VoucherDocument &b, int) override
    {
        ++loads;
        m_head = h;
        m_body = b;
        head.clear();
        body.clear();
        for (const VoucherAttribute &a : h.headRow().attributes())
            head[a.name] = a.value;
        for (const VoucherRow &r : b.rows()) {
            QMap<QString, QString> cells;
            for (const VoucherAttribute &a : r.attributes())
                cells[a.name] = a.value;
            body << cells;
        }
    }
    bool isEditable(Section section, const QString &field) const override
    {
        return (section == Head ? headEditable : bodyEditable).value(field, false);
    }
    void setEditable(Section section, const QString &field, bool editable) override
    {
        (section == Head ? headEditable : bodyEditable)[field] = editable;
    }
    void applyEditable(const QString &field) override { calls << QStringLiteral("applyEditable(%1)").arg(field); }
    void addRow() override
    {
        calls << QStringLiteral("addRow");
        body << QMap<QString, QString>{{QStringLiteral("editprop"), QStringLiteral("A")}};
    }
    void deleteRow(int row) override
    {
        calls << QStringLiteral("deleteRow(%1)").arg(row);
        if (row >= 1 && row <= body.size())
            body.removeAt(row - 1);
    }
    void markCell(const QString &field, int row) override
    {
        calls << QStringLiteral("markCell(%1,%2)").arg(field).arg(row);
        marked.insert(QStringLiteral("%1:%2").arg(field).arg(row));
    }
    void clearCell(const QString &field, int row) override
    {
        calls << QStringLiteral("clearCell(%1,%2)").arg(field).arg(row);
        marked.remove(QStringLiteral("%1:%2").arg(field).arg(row));
    }
    void setNumberingRule(const QString &ruleXml) override { numberingRule = ruleXml; }
    void setBackColor(int colour) override { backColour = colour; }
    void applyTemplate(const CardTemplate &t) override { applied = t; }
    CardTemplate applied;
    void setDecimals(Section section, const QString &field, int count) override
    {
        decimals[QStringLiteral("%1:%2").arg(section == Head ? "head" : "body", field)] = count;
    }
    QMap<QString, int> decimals; // "head:field" or "body:field" -> decimals set
    void printVoucher(const Recordset &layout, const Recordset &, bool preview) override
    {
        printed << QStringLiteral("%1:%2").arg(preview ? "preview" : "print").arg(layout.RecordCount());
    }
    void exportVoucher(const Recordset &layout, const Recordset &) override
    {
        printed << QStringLiteral("export:%1").arg(layout.RecordCount());
    }
    QStringList printed; // "print:rows", "preview:rows", "export:rows" of the layout handed over
    void focusItem(Section section, const QString &field) override
    {
        focused = QStringLiteral("%1:%2").arg(section == Head ? "head" : "body", field);
    }
    QString focused;

    int backColour = 0;
    QSet<QString> marked; // greyed cells as "field:row"

private:
    VoucherDocument m_head;
    VoucherDocument m_body;
};
