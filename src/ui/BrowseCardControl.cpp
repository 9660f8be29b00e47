#include "BrowseCardControl.h"

#include "VoucherFieldCaptions.h"

BrowseCardControl::BrowseCardControl(Display display)
    : m_display(std::move(display))
{}

int BrowseCardControl::HeadInfoCount() const
{
    return int(sampleHeadCaptions().size());
}

int BrowseCardControl::BodyInfoCount() const
{
    return int(sampleBodyCaptions().size());
}

VoucherItemState BrowseCardControl::ItemState(int index, Section section) const
{
    const auto &captions = section == Head ? sampleHeadCaptions() : sampleBodyCaptions();
    if (index < 1 || index > captions.size())
        return {};
    const FieldCaption &c = captions[index - 1];
    return {false, QString::fromLatin1(c.field), QString::fromUtf8(c.caption)};
}

QString BrowseCardControl::headerText(int index) const
{
    return headerText(ItemState(index, Head).sFieldName);
}

QString BrowseCardControl::headerText(const QString &field) const
{
    return field.isEmpty() ? QString() : m_head.headRow().value(field);
}

QString BrowseCardControl::bodyText(int row, int column) const
{
    return bodyText(row, ItemState(column, Body).sFieldName);
}

QString BrowseCardControl::bodyText(int row, const QString &fieldName) const
{
    return fieldName.isEmpty() ? QString() : m_body.row(row - 1).value(fieldName);
}

bool BrowseCardControl::getVoucherDataXML(VoucherDocument &head, VoucherDocument &body)
{
    head = m_head;
    body = m_body;
    return true;
}

void BrowseCardControl::setHeaderText(const QString &field, const QString &text)
{
    m_head.headRow().setValue(field, text);
}

void BrowseCardControl::setBodyText(int row, const QString &field, const QString &text)
{
    m_body.row(row - 1).setValue(field, text);
}

void BrowseCardControl::loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int)
{
    m_head = head;
    m_body = body;
    m_display(m_head, m_body);
}
