// frmManageSample: the templates the card is shown and printed with, the decimals of its numbers,
// and the print, preview, output and design commands.
#include "frmManageSample.h"

#include "CardControl.h"
#include "CardTemplates.h"
#include "CardView.h"
#include "TemplateComboControl.h"

#include "common/MessageService.h"
#include "entry/clsVoucherGetInfo.h"
#include "platform/Recordset.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcCardPrint, "orvane.card.print")

} // namespace

bool frmManageSample::loadTemplates(QString &message)
{
    CardTemplates templates(m_engine.connection(), *m_permission);
    auto shown = templates.GetTemplateList(m_state.strCardNumber, CardTemplates::Display);
    if (!shown) {
        message = shown.error();
        return false;
    }
    auto showId
        = templates.GetDefaultTemplate(m_state.strCardNumber, *shown, m_state.lngShowTemplate, CardTemplates::Display);
    if (!showId) {
        message = showId.error();
        return false;
    }
    CardTemplates::FillTemplateCombo(m_view->showTemplate(), *shown, *showId);
    // A card without a print template still shows vouchers; its print commands say why they
    // cannot print.
    auto printable = templates.GetTemplateList(m_state.strCardNumber, CardTemplates::Print);
    const QList<TemplateChoice> printList = printable.value_or({});
    const int printId
        = templates.GetDefaultTemplate(m_state.strCardNumber, printList, m_state.lngPrintTemplate, CardTemplates::Print)
              .value_or(0);
    CardTemplates::FillTemplateCombo(m_view->printTemplate(), printList, printId);
    m_state.lngPrintTemplate = printId;
    return true;
}

void frmManageSample::applyDecimals()
{
    auto applied = CardTemplates(m_engine.connection(), *m_permission).ApplyDecimals(control());
    if (!applied)
        qCWarning(lcCardPrint) << applied.error();
}

bool frmManageSample::voucherStillThere()
{
    const QString message = CardTemplates(m_engine.connection(), *m_permission)
                                .CheckVoucherExists(m_engine.oGI()->BTQName(), m_state.strIDField, m_state.strVoucherID,
                                                    m_engine.oGI()->cCodeName());
    if (message.isEmpty())
        return true;
    show(message, MessageService::Information);
    return false;
}

void frmManageSample::PrintCard(const QString &key)
{
    const bool output = key.compare(QLatin1String("tlbSend"), Qt::CaseInsensitive) == 0;
    int templateId = m_state.lngShowTemplate;
    if (!output) {
        auto chosen = CardTemplates::GetPrintTemplateID(m_view->printTemplate());
        if (!chosen) {
            show(chosen.error(), MessageService::Information);
            return;
        }
        templateId = *chosen;
    }
    if (!voucherStillThere())
        return;
    const QString id = QString::number(templateId);
    auto layout = m_engine.GetVoucherFormat(id);
    if (!layout) {
        show(layout.error(), MessageService::Information);
        return;
    }
    auto fixed = m_engine.GetVoucherFixed(id);
    if (!fixed) {
        show(fixed.error(), MessageService::Information);
        return;
    }
    if (output)
        control().exportVoucher(*layout, *fixed);
    else
        control().printVoucher(*layout, *fixed, key.compare(QLatin1String("tlbPreview"), Qt::CaseInsensitive) == 0);
}

void frmManageSample::PrintMenuClick(const QString &itemKey)
{
    const QString item = itemKey.toLower();
    if (item == QLatin1String("print")) {
        PrintCard(QStringLiteral("tlbPrint"));
        return;
    }
    const QString mode = item == QLatin1String("newprint")     ? QStringLiteral("print")
                         : item == QLatin1String("newpreview") ? QStringLiteral("preview")
                         : item == QLatin1String("newdesign")  ? QStringLiteral("design")
                                                               : QString();
    if (mode.isEmpty())
        return;
    if (auto chosen = CardTemplates::GetPrintTemplateID(m_view->printTemplate()); !chosen) {
        show(chosen.error(), MessageService::Information);
        return;
    }
    const QString voucherId = control().headerText(m_state.strIDField).trimmed();
    if (voucherId.isEmpty() || !voucherStillThere())
        return;
    modPublic::PrintVoucher(voucherId, mode, m_engine.connection().ConnectionString());
}
