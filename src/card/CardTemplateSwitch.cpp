// frmManageSample: the display template the card is laid out by - switched while editing, and the
// item a refusal names.
#include "frmManageSample.h"

#include "CardControl.h"
#include "CardView.h"
#include "TemplateComboControl.h"

#include "common/MessageService.h"
#include "host/TemplateService.h"

#include <QRegularExpression>

namespace {

// Items nobody types into, whatever a template says: identifiers, totals the roll-up keeps,
// the version and what the items of the lines bring along.
const QStringList kFixedHeadItems{QStringLiteral("iautoid"),  QStringLiteral("itolmaterialcost"),
                                  QStringLiteral("itolcost"), QStringLiteral("isellcost"),
                                  QStringLiteral("cpspinvstd"), QStringLiteral("csocode"),
                                  QStringLiteral("ibomautoid"), QStringLiteral("vt_id"),
                                  QStringLiteral("qvts")};

QStringList fixedBodyItems()
{
    QStringList fields{QStringLiteral("cpsinvstd"), QStringLiteral("cpscomunitcode"), QStringLiteral("cpscomunitname")};
    for (int n = 1; n <= 16; ++n)
        fields << QStringLiteral("cinvdefine%1").arg(n);
    return fields;
}

} // namespace

void frmManageSample::SwitchShowTemplate()
{
    bool isNumber = false;
    const int templateId = m_view->showTemplate().text().trimmed().section(QLatin1Char(' '), 0, 0).toInt(&isNumber);
    if (!isNumber || templateId == 0)
        return;
    auto read = TemplateService(m_engine.connection()).displayTemplate(templateId);
    if (!read) {
        show(read.error(), MessageService::Information);
        return;
    }
    CardTemplate t = *read;
    // The new item of a top-level sample is the new product itself.
    const QString prefix = m_state.strVoucherID == m_state.strEditRootID ? QStringLiteral("新品") : QString();
    for (CardItem &item : t.head) {
        if (item.field == QLatin1String("cnewinvcode"))
            item.caption = prefix + QStringLiteral("存货编码");
        else if (item.field == QLatin1String("cnewinvname"))
            item.caption = prefix + QStringLiteral("存货名称");
        else if (item.field == QLatin1String("cnewinvstd"))
            item.caption = prefix + QStringLiteral("规格型号");
    }
    CardControl &card = control();
    const int editState = card.EditState();
    card.applyTemplate(t);
    applyDecimals();
    card.setEditState(editState);
    m_state.lngShowTemplate = templateId;
    for (const QString &field : kFixedHeadItems)
        card.setEditable(CardControl::Head, field, false);
    for (const QString &field : fixedBodyItems())
        card.setEditable(CardControl::Body, field, false);
    applyEditableDisplays();
}

void frmManageSample::focusNamedItem(const QString &message)
{
    static const QRegularExpression named(QStringLiteral("\\[([^\\]]+)\\]"));
    const QRegularExpressionMatch match = named.match(message);
    if (!match.hasMatch())
        return;
    const QString name = match.captured(1).trimmed();
    CardControl &card = control();
    for (const CardControl::Section section : {CardControl::Head, CardControl::Body}) {
        const int count = section == CardControl::Head ? card.HeadInfoCount() : card.BodyInfoCount();
        for (int i = 1; i <= count; ++i) {
            const VoucherItemState item = card.ItemState(i, section);
            if (item.sFieldName.compare(name, Qt::CaseInsensitive) == 0 || item.sCardItemName == name) {
                card.focusItem(section, item.sFieldName.toLower());
                return;
            }
        }
    }
}
