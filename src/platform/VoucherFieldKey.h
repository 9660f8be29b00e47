#pragma once

#include <QString>
#include <QVarLengthArray>

namespace pugi {
struct xml_attribute_struct;
struct xml_node_struct;
} // namespace pugi

// A field name in the form the voucher documents store it: blanks around it removed, lower-cased,
// UTF-8 and NUL-terminated, ready for pugixml. Internal to src/platform.
//
// Column names are mostly short ASCII, so the key is built on the stack without touching the heap.
class VoucherFieldKey
{
public:
    explicit VoucherFieldKey(const QString &name);

    const char *c_str() const { return m_bytes.constData(); }
    qsizetype size() const { return m_bytes.size() - 1; }
    bool isEmpty() const { return size() == 0; }

    // False for names that would break the XML when written as an attribute name (blanks, markup
    // characters, a leading digit, ...). Such names are never written.
    bool isWritableName() const;

    // The row's attribute of this name. Our documents name attributes in lower case; exports made
    // elsewhere keep the column's own case ("ShipperID"), so the match ignores ASCII letter case.
    // The first match in document order wins; null when there is none.
    pugi::xml_attribute_struct *find(pugi::xml_node_struct *row) const;

private:
    QVarLengthArray<char, 64> m_bytes;
};
