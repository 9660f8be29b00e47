#include "StructureNodeClick.h"

#include "CardControl.h"
#include "CardStructureWork.h"
#include "CardView.h"
#include "VoucherLoader.h"
#include "frmManageSample.h"

#include "common/MessageService.h"

bool StructureNodeClick::click(const QString &tag)
{
    if (tag.isEmpty() || tag == QLatin1String("r"))
        return false;
    CardControl &control = m_card.view().cardControl();
    const QString title = m_card.state().strMsgTitle;
    if (control.EditState() != CardControl::Viewing) {
        const auto answer = MessageService::current().show(QStringLiteral("是否保存对当前单据的编辑？"), title,
                                                           MessageService::Question, MessageService::YesNoCancel);
        if (answer == MessageService::AnswerCancel)
            return false;
        m_card.CardCommandDispatch(answer == MessageService::AnswerYes ? QStringLiteral("tlbSave")
                                                                       : QStringLiteral("tlbCancel"));
        if (control.EditState() != CardControl::Viewing)
            return false; // the save failed and said why; the edit goes on
    }

    const QStringList fields = tag.mid(1).split(QLatin1Char('\t'));
    const QString childSample = fields.value(2).trimmed();
    const QString bomId = fields.value(3).trimmed();
    const QString rowId = fields.value(4).trimmed();
    QString message;
    if (!childSample.isEmpty()) {
        if (!m_card.LoadVoucher(childSample, VoucherLoader::ByIdentifier, message)) {
            MessageService::current().show(message, title, MessageService::Information);
            m_card.CardCommandDispatch(QStringLiteral("tlbNext"));
            return false;
        }
    } else if (!bomId.isEmpty()) {
        message = m_work.fillNewSample(bomId.toInt());
        if (!message.isEmpty()) {
            MessageService::current().show(message, title, MessageService::Information);
            m_card.CardCommandDispatch(QStringLiteral("tlbRefresh"));
            return false;
        }
    } else {
        return false;
    }
    control.setHeaderText(QStringLiteral("psguid"), rowId);
    m_card.RefreshCommandState(QString());
    return true;
}
