#include "basVoucher.h"

#include "host/VoucherCardControl.h"
#include "platform/VoucherDocument.h"

namespace {

// Messages are joined the way every message of the system is: carriage return and line feed.
// Each missing item starts with one, so a non-empty message begins with a line break; the
// message box shows that as a blank first line, and callers only test for emptiness.
const QString kLineBreak = QStringLiteral("\r\n");

// An item is checked when the control marks it required and its field is not excluded. Field
// names are compared without regard to case, as everywhere in the documents.
bool isChecked(const VoucherItemState &item, const QString &excludedWrapped)
{
    return item.bIsNull
           && !excludedWrapped.contains(QLatin1Char(',') + item.sFieldName + QLatin1Char(','), Qt::CaseInsensitive);
}

} // namespace

namespace basVoucher {

QString GetHeadValue(const VoucherDocument &doc, const QString &field)
{
    return doc.headRow().value(field);
}

QString GetBodyValue(const VoucherDocument &doc, const QString &field, int row)
{
    return doc.nthRow(row).value(field);
}

void SetHeadValue(VoucherDocument &doc, const QString &field, const QVariant &value)
{
    VoucherRow head = doc.headRow();
    if (value.isNull())
        head.removeValue(field);
    else
        head.setValue(field, VoucherDocument::valueText(value));
}

bool CheckRequiredItems(VoucherCardControl &card, const QString &excluded, QString &msg)
{
    msg.clear();
    const QString excludedWrapped = QLatin1Char(',') + excluded + QLatin1Char(',');

    for (int i = 1; i <= card.HeadInfoCount(); ++i) {
        const VoucherItemState item = card.ItemState(i, VoucherCardControl::Head);
        if (isChecked(item, excludedWrapped) && card.headerText(i).isEmpty())
            msg += kLineBreak + QStringLiteral("表头：[") + item.sCardItemName + QStringLiteral("]为必输项！");
    }

    VoucherDocument head;
    VoucherDocument body;
    card.getVoucherDataXML(head, body);
    if (body.selectSingleNode(QStringLiteral("//z:row [@editprop!='D' and @cpscode!='']")).isNull()) {
        msg += QStringLiteral("表体没有有效数据，请检查！");
        return false;
    }

    for (int r = 1; r <= card.BodyRows(); ++r) {
        if (card.bodyText(r, QStringLiteral("cpscode")).trimmed().isEmpty())
            continue;
        for (int i = 1; i <= card.BodyInfoCount(); ++i) {
            const VoucherItemState item = card.ItemState(i, VoucherCardControl::Body);
            if (isChecked(item, excludedWrapped) && card.bodyText(r, i).isEmpty()) {
                msg += kLineBreak + QStringLiteral("表体：第") + QString::number(r) + QStringLiteral("行[")
                       + item.sCardItemName + QStringLiteral("]为必输项！");
            }
        }
    }
    return true;
}

void SetHeadBadStr(VoucherCardControl &card, bool useGiven, const QString &text)
{
    const QString refused = useGiven ? text : card.BodyBadStr();
    // Starts at 0: item 0 is outside the 1-based head items, and the control ignores it.
    for (int i = 0; i <= card.HeadInfoCount(); ++i)
        card.setHeadBadStr(i, refused);
}

} // namespace basVoucher
