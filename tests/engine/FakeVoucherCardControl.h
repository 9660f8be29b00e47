#pragma once

#include "host/VoucherCardControl.h"
#include "platform/VoucherDocument.h"

#include <QList>
#include <QPair>
#include <QStringList>

// A card control made of plain lists: head items with their texts, body columns with a grid of
// cell texts, the documents it hands out, and a record of the refused characters it was given.
// Indexes are 1-based as on the real control; anything out of range reads as "".
class FakeVoucherCardControl final : public VoucherCardControl
{
public:
    QList<VoucherItemState> headItems;
    QStringList headTexts;
    QList<VoucherItemState> bodyItems;
    QList<QStringList> bodyCells; // one list of column texts per body row
    VoucherDocument headDocument;
    VoucherDocument bodyDocument;
    QString bodyBadStr;
    QList<QPair<int, QString>> headBadStrCalls;

    int HeadInfoCount() const override { return int(headItems.size()); }
    int BodyInfoCount() const override { return int(bodyItems.size()); }
    VoucherItemState ItemState(int index, Section section) const override
    {
        const QList<VoucherItemState> &items = section == Head ? headItems : bodyItems;
        return index >= 1 && index <= items.size() ? items[index - 1] : VoucherItemState();
    }
    QString headerText(int index) const override { return headTexts.value(index - 1); }
    int BodyRows() const override { return int(bodyCells.size()); }
    QString bodyText(int row, int column) const override { return bodyCells.value(row - 1).value(column - 1); }
    QString bodyText(int row, const QString &fieldName) const override
    {
        for (int c = 0; c < bodyItems.size(); ++c) {
            if (bodyItems[c].sFieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
                return bodyText(row, c + 1);
        }
        return {};
    }
    bool getVoucherDataXML(VoucherDocument &head, VoucherDocument &body) override
    {
        head = headDocument;
        body = bodyDocument;
        return true;
    }
    QString BodyBadStr() const override { return bodyBadStr; }
    void setHeadBadStr(int index, const QString &text) override { headBadStrCalls.append({index, text}); }
};
