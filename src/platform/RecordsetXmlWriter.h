#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>

class Recordset;

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

// Writes a recordset in the form a recordset persisted as XML has: a root "xml" with the four
// namespaces, the schema section "s:Schema" (one s:AttributeType per column) and the data section
// "rs:data" (one z:row per record, one attribute per non-NULL column). Internal to src/platform;
// callers use VoucherDocument::fromRecordset().
//
// The recordset is written straight to text, laid out exactly as pugixml writes a document
// (single-quoted attributes, tab indentation, the same escapes), so that a document keeps the
// same text whether or not it was parsed in between. Going through the DOM node by node costs
// several times what parsing the finished text costs.
class RecordsetXmlWriter
{
public:
    // The whole document as UTF-8.
    static QByteArray write(const Recordset &rs);

    // Appends an empty persisted recordset (root "xml", schema without columns, empty rs:data) to
    // the document node and returns its data section.
    static pugi::xml_node appendSkeleton(pugi::xml_document &doc);

    // The text of one value, unescaped: integers in decimal, doubles with up to 15 significant
    // digits and no trailing zeros, booleans "True"/"False", dates "yyyy-MM-dd", date and time
    // "yyyy-MM-ddThh:mm:ss", times "hh:mm:ss", bytes as lower-case hex, text as it is.
    static QString valueText(const QVariant &value);

    // The schema's dt:type for a column type ("int", "i2", "i8", "float", "boolean", "dateTime",
    // "date", "time", "bin.hex", "string").
    static const char *dataType(QMetaType::Type type);
};
