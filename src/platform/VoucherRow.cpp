#include "VoucherRow.h"

#include "VoucherFieldKey.h"

#include <pugixml.hpp>

#include <cstring>

namespace {

// QString::fromUtf8 drops byte-order marks at the start of the text; a value that begins with
// U+FEFF keeps it here, so that what is read is what was written (and a save can refuse it).
QString fromUtf8(const char *text)
{
    qsizetype size = qsizetype(std::strlen(text));
    qsizetype marks = 0;
    while (size >= 3 && uchar(text[0]) == 0xEF && uchar(text[1]) == 0xBB && uchar(text[2]) == 0xBF) {
        text += 3;
        size -= 3;
        ++marks;
    }
    if (marks == 0)
        return QString::fromUtf8(text, size);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(text, size);
}

pugi::xml_attribute findAttribute(pugi::xml_node_struct *row, const QString &name)
{
    return pugi::xml_attribute(VoucherFieldKey(name).find(row));
}

} // namespace

QString VoucherRow::elementName() const
{
    return isNull() ? QString() : fromUtf8(pugi::xml_node(m_node).name());
}

bool VoucherRow::has(const QString &name) const
{
    return !isNull() && findAttribute(m_node, name);
}

QString VoucherRow::value(const QString &name) const
{
    if (isNull())
        return {};
    const pugi::xml_attribute a = findAttribute(m_node, name);
    return a ? fromUtf8(a.value()) : QString();
}

std::optional<QString> VoucherRow::attribute(const QString &name) const
{
    if (isNull())
        return std::nullopt;
    const pugi::xml_attribute a = findAttribute(m_node, name);
    if (!a)
        return std::nullopt;
    return fromUtf8(a.value());
}

bool VoucherRow::boolValue(const QString &name, bool defaultValue) const
{
    const std::optional<QString> text = attribute(name);
    if (!text)
        return defaultValue;
    const QString t = text->trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1")
        || t == QLatin1String("-1"))
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        return false;
    return defaultValue;
}

QByteArray VoucherRow::bytesValue(const QString &name) const
{
    const std::optional<QString> text = attribute(name);
    if (!text)
        return {};
    QByteArray compact;
    compact.reserve(text->size());
    for (const QChar c : *text) {
        if (!c.isSpace())
            compact.append(char(c.unicode()));
    }
    return QByteArray::fromHex(compact);
}

void VoucherRow::setValue(const QString &name, const QString &value)
{
    if (isNull())
        return;
    const VoucherFieldKey key(name);
    pugi::xml_node node(m_node);
    pugi::xml_attribute a(key.find(m_node));
    if (!a) {
        if (!key.isWritableName())
            return;
        a = node.append_attribute(key.c_str());
    }
    const QByteArray utf8 = value.toUtf8();
    a.set_value(utf8.constData(), size_t(utf8.size()));
}

void VoucherRow::removeValue(const QString &name)
{
    if (isNull())
        return;
    pugi::xml_node node(m_node);
    if (const pugi::xml_attribute a = findAttribute(m_node, name))
        node.remove_attribute(a);
}

QList<VoucherAttribute> VoucherRow::attributes() const
{
    QList<VoucherAttribute> result;
    if (isNull())
        return result;
    result.reserve(attributeCount());
    for (const pugi::xml_attribute &a : pugi::xml_node(m_node).attributes())
        result.append({fromUtf8(a.name()), fromUtf8(a.value())});
    return result;
}

int VoucherRow::attributeCount() const
{
    if (isNull())
        return 0;
    int count = 0;
    for (pugi::xml_attribute a = pugi::xml_node(m_node).first_attribute(); a; a = a.next_attribute())
        ++count;
    return count;
}

VoucherRow VoucherRow::next() const
{
    if (isNull())
        return {};
    const pugi::xml_node node(m_node);
    return VoucherRow(node.next_sibling(node.name()).internal_object());
}
