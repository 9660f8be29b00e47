#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace pugi {
struct xml_node_struct;
}

// One attribute of a row: a column name and its value text.
struct VoucherAttribute
{
    QString name;
    QString value;

    friend bool operator==(const VoucherAttribute &, const VoucherAttribute &) = default;
};

// A light handle to one element of a VoucherDocument, nearly always a row (z:row): one attribute
// per non-NULL column. A missing attribute is NULL, which is not the same as empty text.
//
// The handle does not own anything. It stays valid while its document lives and the element is
// not removed; copying the document copies the elements, so handles keep pointing into the
// original. A default-constructed handle is null: every read gives "" or nothing, every write is
// ignored, as the voucher code expects of a missing row.
//
// Field names are looked up trimmed and lower-cased (the letter case of attribute names is
// ignored, for exports that keep a column's own case); new attributes are written lower-case.
class VoucherRow
{
public:
    VoucherRow() = default;

    bool isNull() const { return m_node == nullptr; }
    // The element's name as written ("z:row", or "rs:data" for a selection of that element).
    QString elementName() const;

    bool has(const QString &name) const;
    // The value text, or "" when the attribute is absent (NULL) - use attribute() to tell apart.
    QString value(const QString &name) const;
    // The value text, or nothing when the column is NULL.
    std::optional<QString> attribute(const QString &name) const;
    // Reads the spellings of a boolean that persisted recordsets use: True/False in any case,
    // 1/0 and -1. Anything else, and NULL, gives defaultValue.
    bool boolValue(const QString &name, bool defaultValue = false) const;
    // Reads a bin.hex value (two hex digits a byte; white space inside is skipped).
    QByteArray bytesValue(const QString &name) const;

    // Sets the value, adding the attribute (lower-case name) when the column was NULL. A name that
    // cannot be an XML attribute name (blanks inside, markup characters) is ignored.
    void setValue(const QString &name, const QString &value);
    // Makes the column NULL.
    void removeValue(const QString &name);

    // Every attribute in document order, names as written.
    QList<VoucherAttribute> attributes() const;
    int attributeCount() const;

    // The next sibling element of the same name (the next row of the data section), or null.
    VoucherRow next() const;

    friend bool operator==(const VoucherRow &, const VoucherRow &) = default;

private:
    friend class VoucherDocument;
    explicit VoucherRow(pugi::xml_node_struct *node)
        : m_node(node)
    {}

    pugi::xml_node_struct *m_node = nullptr;
};
