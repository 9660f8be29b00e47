#include "ChildStructureLinks.h"

#include "SubStructureDeletion.h"

#include "common/MessageService.h"
#include "common/basFunction.h"
#include "platform/Connection.h"
#include "platform/VoucherDocument.h"
#include "platform/VoucherRow.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The leading number of an identifier attribute ("12", " 12 ", "12.0"); 0 when there is none.
qint64 idValue(const VoucherRow &row, const QString &name)
{
    return qint64(basFunction::TextToNumber(row.value(name).trimmed()));
}

// Never a null QString: Qt binds that as NULL, and an absent version is written as empty text.
QString textValue(const VoucherRow &row, const QString &name)
{
    const QString value = row.value(name);
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

QString ChildStructureLinks::linkToParentLine(const VoucherRow &head, qint32 parentId)
{
    if (!head.value(QStringLiteral("ccode")).trimmed().isEmpty())
        return {};
    if (head.value(QStringLiteral("psguid")).trimmed().isEmpty())
        return {};
    // iSubID is unique over all lines: the line psguid names, or none.
    auto linked = m_cnn.Execute(QStringLiteral("UPDATE ManageSamples SET ChildGUID = ?, csocode = ? WHERE iSubID = ?"),
                                {idValue(head, QStringLiteral("iautoid")), textValue(head, QStringLiteral("csocode")),
                                 idValue(head, QStringLiteral("psguid"))});
    if (!linked)
        return refuse(QStringLiteral("SaveOther:"), linked.error());
    if (*linked == 0)
        return {};
    // Changes no value; the row-version trigger still renews the parent's qvts, so a card that
    // shows the parent sees that it changed.
    auto renewed
        = m_cnn.Execute(QStringLiteral("UPDATE ManageSample SET iAutoID = iAutoID WHERE iAutoID = ?"), {parentId});
    if (!renewed)
        return refuse(QStringLiteral("SaveOther:"), renewed.error());
    return {};
}

QString ChildStructureLinks::deleteBelowLine(const VoucherRow &line)
{
    if (line.value(QStringLiteral("childguid")).trimmed().isEmpty())
        return {};
    SubStructureDeletion deletion(m_cnn);
    // The line's own voucher stays, whatever the stored links say; the line goes.
    deletion.keep(idValue(line, QStringLiteral("iautoid")));
    deletion.deletingLine(idValue(line, QStringLiteral("isubid")));
    auto planned = deletion.addSubTrees({qint32(idValue(line, QStringLiteral("childguid")))});
    if (!planned)
        return refuse(QStringLiteral("DelSubBom:"), planned.error());
    auto done = deletion.run();
    if (!done)
        return refuse(QStringLiteral("DelOther:"), done.error());
    return {};
}

QString ChildStructureLinks::deleteBelowVoucher(const VoucherDocument &domHead, const VoucherDocument &domBody)
{
    const qint64 voucherId = idValue(domHead.headRow(), QStringLiteral("iautoid"));
    SubStructureDeletion deletion(m_cnn);
    deletion.deletingVoucher(voucherId);
    deletion.addAttachmentsOf(voucherId);
    QList<qint64> children;
    // Every line the voucher had, whatever its editprop.
    for (const VoucherRow &row : domBody.selectNodes(QStringLiteral("//z:row"))) {
        if (!row.value(QStringLiteral("childguid")).trimmed().isEmpty())
            children.append(qint32(idValue(row, QStringLiteral("childguid"))));
    }
    auto planned = deletion.addSubTrees(children);
    if (!planned) {
        refuse(QStringLiteral("DelSubBom:"), planned.error());
        return QStringLiteral("VoucherDelete:") + planned.error() + kLineBreak;
    }
    auto done = deletion.run();
    if (!done)
        return QStringLiteral("VoucherDelete:") + done.error() + kLineBreak;
    return {};
}

// Shows the failing routine and the database's text in the card's box, and gives it back as the
// reason the caller refuses. The engine shows the box once it has rolled back: no box may be open
// while the transaction and its writer lock are held.
QString ChildStructureLinks::refuse(const QString &routine, const QString &error) const
{
    const QString text = routine + error;
    MessageService::current().show(text, QStringLiteral("销售管理"), MessageService::Exclamation);
    return text;
}
