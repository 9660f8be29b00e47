#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QList>
#include <QVariant>

#include <vector>

class NativeStatement;
class Recordset;
class XmlTextBuffer;
struct RecordsetField;

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
    // The whole document from a statement run through the native client, read to its end; a null
    // array when reading failed midway (the statement's failed() says why).
    static QByteArray write(NativeStatement &statement);

    // The root element and the schema section for these columns; names gets the attribute name
    // of each column.
    static void appendHead(XmlTextBuffer &out, const QList<RecordsetField> &fields, std::vector<QByteArray> &names);

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
