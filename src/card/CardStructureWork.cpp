#include "CardStructureWork.h"

#include "CardControl.h"
#include "CardStructureTree.h"
#include "CardView.h"
#include "CostFieldRecalc.h"
#include "FieldEditHandler.h"
#include "VoucherLoader.h"
#include "frmManageSample.h"

#include "common/MessageService.h"
#include "host/ReferenceListService.h"
#include "host/ReferencePicker.h"
#include "platform/Connection.h"
#include "sample/BomConversion.h"
#include "sample/BomFetch.h"
#include "sample/CostRollUp.h"

namespace {

// The head fields a parent-item fetch fills, cleared when the typed item has no structure.
const QStringList kParentFields{QStringLiteral("cpspinvcode"), QStringLiteral("cpspinvname"),
                                QStringLiteral("cpspinvstd"),  QStringLiteral("cdepcode"),
                                QStringLiteral("cdepname"),    QStringLiteral("ifinishexch"),
                                QStringLiteral("bexpand"),     QStringLiteral("ccheck"),
                                QStringLiteral("cmemo"),       QStringLiteral("csocode")};

// The one row a reference list handed back: its value in `column`.
QString picked(ReferenceListRequest request, const QString &search, Connection &cnn, const QString &column)
{
    ReferencePicker *picker = ReferencePicker::current();
    if (!picker)
        return {};
    request.search = search;
    ReferenceListService service(cnn);
    Recordset chosen;
    if (!picker->pick(service, request, false, chosen) || chosen.isEmpty())
        return {};
    chosen.MoveFirst();
    return chosen.text(column);
}

// Why a structure's head read cannot be used: the database error, or no such structure; "" when it
// can.
QString missingHead(const Result<Recordset> &head)
{
    if (!head)
        return head.error();
    return head->isEmpty() ? QStringLiteral("不存在该产品结构，请检查！") : QString();
}

} // namespace

CardControl &CardStructureWork::control() const
{
    return m_card.view().cardControl();
}

void CardStructureWork::show(const QString &text) const
{
    MessageService::current().show(text, m_card.state().strMsgTitle, MessageService::Information);
}

QString CardStructureWork::beginGuarded(frmManageSample &card)
{
    clsVoucherCo &engine = card.engine();
    if (auto begun = engine.BeginWriteTrans(); !begun)
        return begun.error();
    Connection &cnn = engine.connection();
    auto stamp = cnn.Scalar(QStringLiteral("SELECT CAST(qvts AS TEXT) FROM ManageSample WHERE iAutoID = ?"),
                            {card.state().strVoucherID.trimmed().toInt()});
    QString refusal;
    if (!stamp)
        refusal = stamp.error();
    else if (stamp->isNull())
        refusal = QStringLiteral("单据已经被删除，请检查！");
    else if (stamp->toString().trimmed() != card.state().strTimeStamp.trimmed())
        refusal = QStringLiteral("单据已经被修改，请检查！");
    if (!refusal.isEmpty())
        cnn.RollbackTrans();
    return refusal;
}

bool CardStructureWork::reload(frmManageSample &card)
{
    QString message;
    if (card.LoadVoucher(card.state().strVoucherID, VoucherLoader::ByIdentifier, message))
        return true;
    show(message);
    card.CardCommandDispatch(QStringLiteral("tlbNext"));
    return false;
}

bool CardStructureWork::start(frmManageSample &card, const QString &loopRefusal)
{
    if (card.state().bolCycle) {
        show(card.view().structureTree().cycleDescription() + loopRefusal);
        return false;
    }
    const QString refusal = beginGuarded(card);
    if (!refusal.isEmpty())
        show(refusal);
    return refusal.isEmpty();
}

void CardStructureWork::fetchCosts(frmManageSample &card)
{
    if (!card.state().hasVoucher() || !start(card, QStringLiteral("不能取数，存在循环结构，请检查！")))
        return;
    Connection &cnn = card.engine().connection();
    double material = 0;
    double outsourcing = 0;
    const bool done = CostRollUp(cnn).RollUpSampleCost(card.state().strVoucherID.trimmed().toDouble(), QString(),
                                                       material, outsourcing)
                      && cnn.CommitTrans();
    if (!done) {
        if (cnn.inTransaction())
            cnn.RollbackTrans();
        show(QStringLiteral("取数发生错误，请检查！"));
        reload(card);
        return;
    }
    if (reload(card))
        card.RebuildTree(card.state().strVoucherID);
}

void CardStructureWork::convertToBom(frmManageSample &card)
{
    if (!start(card, QStringLiteral("不能转换，存在循环结构，请检查！")))
        return;
    Connection &cnn = card.engine().connection();
    QString message;
    QString id = card.state().strVoucherID;
    id.remove(QLatin1Char(','));
    const qint16 status = BomConversion(cnn).ConvertSampleToBom(qint32(id.trimmed().toDouble()), message);
    if (status == 0) {
        if (auto committed = cnn.CommitTrans(); committed) {
            show(message + QStringLiteral("转换成功"));
            if (reload(card))
                card.RebuildTree(card.state().strVoucherID);
            return;
        } else {
            message += QStringLiteral("\r\n") + committed.error();
        }
    }
    if (cnn.inTransaction())
        cnn.RollbackTrans();
    message.replace(QStringLiteral("成功"), QStringLiteral("失败"));
    show(message + QStringLiteral("转换失败"));
}

void CardStructureWork::rollUpCosts(VoucherCardControl::Section section, const QString &field, int row)
{
    CostFieldRecalc(control()).RecalcCostField(field, section == VoucherCardControl::Head ? 0 : row, false);
}

QString CardStructureWork::fetchParentItem(const QString &value, bool fromList)
{
    Connection &cnn = m_card.engine().connection();
    if (fromList) {
        const QString id = picked(BomFetch::parentItemList(QString()), value, cnn, QStringLiteral("iautoid"));
        return id.isEmpty() ? QString() : fillFromStructure(id.toInt());
    }
    auto found = BomFetch::findTyped(cnn, value.trimmed(), control().headerText(QStringLiteral("csocode")).trimmed(),
                                     QString());
    if (!found)
        return found.error();
    if (*found == 0) {
        for (const QString &field : kParentFields)
            control().setHeaderText(field, QString());
        return QStringLiteral("不存在该产品结构，请检查！");
    }
    return fillFromStructure(*found);
}

QString CardStructureWork::fillFromStructure(int bomId)
{
    Connection &cnn = m_card.engine().connection();
    auto head = BomFetch::parentHead(cnn, bomId);
    if (const QString why = missingHead(head); !why.isEmpty())
        return why;
    writeHead(*head);
    auto lines = BomFetch::parentLines(cnn, bomId);
    if (!lines)
        return lines.error();
    const QString message = replaceLines(*lines);
    CostFieldRecalc(control()).RecalcCostField(QString(), 0, true);
    return message;
}

void CardStructureWork::writeHead(const Recordset &head)
{
    for (int c = 0; c < head.fieldCount(); ++c)
        control().setHeaderText(head.fields().at(c).name.toLower(), head.value(0, c).toString());
}

QString CardStructureWork::replaceLines(const Recordset &lines)
{
    if (lines.isEmpty())
        return {};
    CardControl &card = control();
    for (int r = card.BodyRows(); r >= 1; --r)
        card.deleteRow(r);
    const QString newItem = card.headerText(QStringLiteral("cnewinvcode")).trimmed();
    QString message;
    for (int r = 0; r < lines.RecordCount(); ++r) {
        card.addRow();
        const int row = card.BodyRows();
        for (int c = 0; c < lines.fieldCount(); ++c) {
            const QString field = lines.fields().at(c).name.toLower();
            if (field != QLatin1String("editprop")) // the card marks its new rows itself
                card.setBodyText(row, field, lines.value(r, c).toString());
        }
        m_card.fieldEdits().rowChanged(row);
        if (!newItem.isEmpty() && card.bodyText(row, QStringLiteral("cpscode")).trimmed() == newItem)
            message = QStringLiteral("母子与子件重复，请检查！");
    }
    return message;
}

bool CardStructureWork::pickVersion(const QString &item, QString &version)
{
    const QString chosen
        = picked(BomFetch::versionList(item), version, m_card.engine().connection(), QStringLiteral("csocode"));
    if (chosen.isEmpty())
        return false;
    version = chosen;
    return true;
}

QString CardStructureWork::fillNewSample(int bomId)
{
    Connection &cnn = m_card.engine().connection();
    auto head = BomFetch::newSampleHead(cnn, bomId);
    if (const QString why = missingHead(head); !why.isEmpty())
        return why;
    auto lines = BomFetch::newSampleLines(cnn, bomId);
    if (!lines)
        return lines.error();
    // A new, unsaved voucher on the card: editing it from the tree's node adds the child sample.
    control().loadDocuments(VoucherDocument::fromRecordset(*head), VoucherDocument::fromRecordset(*lines), 0);
    CostFieldRecalc(control()).RecalcCostField(QString(), 0, true);
    return {};
}
