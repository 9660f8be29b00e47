// VoucherCardWidget: decimals of its number items, and printing and output of the voucher it
// shows, as typed so far.
#include "VoucherCardWidget.h"

#include "BodyLinesModel.h"
#include "VoucherPrintDialogs.h"

#include "host/TemplateService.h"
#include "report/VoucherPrintDocument.h"

void VoucherCardWidget::setDecimals(Section section, const QString &field, int decimals)
{
    QList<CardItem> &items = section == Head ? m_template.head : m_template.body;
    for (CardItem &item : items) {
        if (item.field != field || !item.number)
            continue;
        item.decimals = decimals;
        if (section == Head)
            updateHeadEditor(field);
        else
            m_lines->setDecimals(field, decimals);
    }
}

namespace {

VoucherPrintDialogs::DocumentSource sourceOf(const PrintTemplate &t, const VoucherValues &values)
{
    return [t, values] {
        return VoucherPrintDocument::build(t, values);
    };
}

} // namespace

void VoucherCardWidget::printVoucher(const Recordset &layout, const Recordset &fixed, bool preview)
{
    const PrintTemplate t = TemplateService::printTemplateOf(fixed, layout);
    VoucherDocument head;
    VoucherDocument body;
    getVoucherDataXML(head, body);
    const auto source = sourceOf(t, VoucherPrintDocument::fromDocuments(head, body));
    const QString done = preview ? VoucherPrintDialogs::preview(this, source, t.setting)
                                 : VoucherPrintDialogs::print(this, source, t.setting);
    if (!done.isEmpty())
        emit printFinished(done);
}

void VoucherCardWidget::exportVoucher(const Recordset &layout, const Recordset &fixed)
{
    const PrintTemplate t = TemplateService::printTemplateOf(fixed, layout);
    VoucherDocument head;
    VoucherDocument body;
    getVoucherDataXML(head, body);
    const QString code = head.headRow().value(QStringLiteral("ccode")).trimmed();
    const QString name = code.isEmpty() ? QStringLiteral("样品接单") : QStringLiteral("样品接单_%1").arg(code);
    const QString done
        = VoucherPrintDialogs::output(this, sourceOf(t, VoucherPrintDocument::fromDocuments(head, body)), name);
    if (!done.isEmpty())
        emit printFinished(done);
}
