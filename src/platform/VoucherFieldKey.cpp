#include "VoucherFieldKey.h"

#include <pugixml.hpp>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringAsciiCase(const char *name, const char *lowerKey, qsizetype keySize)
{
    for (qsizetype i = 0; i < keySize; ++i) {
        if (name[i] == 0 || lowerAscii(name[i]) != lowerKey[i])
            return false;
    }
    return name[keySize] == 0;
}

} // namespace

VoucherFieldKey::VoucherFieldKey(const QString &name)
{
    const QStringView trimmed = QStringView(name).trimmed();
    bool ascii = true;
    for (const QChar c : trimmed) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        m_bytes.reserve(trimmed.size() + 1);
        for (const QChar c : trimmed)
            m_bytes.append(lowerAscii(char(c.unicode())));
    } else {
        const QByteArray utf8 = trimmed.toString().toLower().toUtf8();
        m_bytes.append(utf8.constData(), utf8.size());
    }
    m_bytes.append('\0');
}

bool VoucherFieldKey::isWritableName() const
{
    if (isEmpty())
        return false;
    const unsigned char first = static_cast<unsigned char>(m_bytes[0]);
    if ((first >= '0' && first <= '9') || first == '-' || first == '.')
        return false;
    for (qsizetype i = 0; i < size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(m_bytes[i]);
        if (c >= 0x80)
            continue; // non-ASCII letters (Chinese column names) are valid name characters
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                        || c == '-' || c == '.' || c == ':';
        if (!ok)
            return false;
    }
    return true;
}

pugi::xml_attribute_struct *VoucherFieldKey::find(pugi::xml_node_struct *row) const
{
    const char *key = c_str();
    const qsizetype keySize = size();
    for (pugi::xml_attribute a = pugi::xml_node(row).first_attribute(); a; a = a.next_attribute()) {
        if (equalsIgnoringAsciiCase(a.name(), key, keySize))
            return a.internal_object();
    }
    return nullptr;
}
