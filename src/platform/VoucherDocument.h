#pragma once

#include "Result.h"
#include "VoucherRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class Recordset;

namespace pugi {
class xml_document;
struct xml_node_struct;
}

// One column of a document's schema section (s:AttributeType).
struct VoucherColumn
{
    QString name;     // the row attribute's name
    QString realName; // rs:name when given (the column's own name), else the same as name
    int number = 0;   // rs:number, 1-based; 0 when missing
    QString type;     // dt:type; "string" when the schema gives none
    QString dbType;   // rs:dbtype ("currency", "timestamp", "str", ...) or ""
    int maxLength = 0;
    int precision = 0;
    int scale = 0;
    bool nullable = false; // rs:nullable or rs:maybenull
    bool keyColumn = false;
    bool autoIncrement = false;
};

// The change sections a persisted recordset may carry inside its data section: rows updated
// (rs:update, the new values beside rs:original), inserted (rs:insert) and deleted (rs:delete).
// Voucher code never writes them; a document that holds them keeps them verbatim.
struct VoucherPendingChanges
{
    int updated = 0;
    int inserted = 0;
    int deleted = 0;

    int total() const { return updated + inserted + deleted; }
    bool isEmpty() const { return total() == 0; }
};

// A voucher head or body document: a recordset persisted as XML (schema section, then the data
// section "rs:data" with one z:row element per record and one attribute per non-NULL column).
//
// A value type: copying copies the whole document, moving is cheap and leaves the source empty.
// A default-constructed document is empty (no content at all), as a new document is before it is
// loaded. Rows are handed out as VoucherRow handles into the document (see there for lifetime).
// Nothing here throws; a bad XPath pattern selects nothing and is logged. Like any DOM, one
// document must not be used from two threads at once, not even for reading.
class VoucherDocument
{
public:
    VoucherDocument();
    ~VoucherDocument();
    VoucherDocument(const VoucherDocument &other);
    VoucherDocument &operator=(const VoucherDocument &other);
    VoucherDocument(VoucherDocument &&other) noexcept;
    VoucherDocument &operator=(VoucherDocument &&other) noexcept;

    // The recordset in persisted form: one s:AttributeType per column (name lower-cased), one
    // z:row per record with an attribute per non-NULL value (see valueText()).
    static VoucherDocument fromRecordset(const Recordset &rs);
    // A persisted recordset as RecordsetXmlWriter writes it (Connection::QueryXml), taken as it is.
    static VoucherDocument fromPersistedText(QByteArray utf8);
    // The value of one attribute (lower-case name) of the first row of such a text without
    // parsing the whole document: null when there is no row or the row has no such attribute.
    static QString firstRowValue(const QByteArray &persistedText, const QString &attribute);
    // The text a value is stored as: integers in decimal, doubles with up to 15 significant
    // digits, booleans "True"/"False", QDate "yyyy-MM-dd", QDateTime "yyyy-MM-ddThh:mm:ss", bytes
    // as hex, text as it is. A NULL value gives "" (callers decide whether to drop the attribute).
    static QString valueText(const QVariant &value);

    // Replaces the content with the parsed text. On a parse error the document is left as it was
    // and the error names the problem and its offset. Row marks written in lower case (editprop
    // "a", "m", "d") are read as their upper-case forms.
    Result<void> loadXML(const QString &text);
    Result<void> loadXML(const QByteArray &utf8);
    // The document as text: single-quoted attributes, tab indentation, no XML declaration; ""
    // when empty. xmlUtf8() is the same text as UTF-8, without the conversion to QString.
    QString xml() const;
    QByteArray xmlUtf8() const;

    bool isEmpty() const;
    void clear();

    // The rows of the data section in document order. Rows inside the change sections
    // (rs:update, rs:insert, rs:delete) are not among them; see pendingChanges().
    QList<VoucherRow> rows() const;
    int rowCount() const;
    VoucherRow row(int index) const; // walks from the first row; null when out of range
    // The first z:row anywhere ("//z:row"): the head row of a head document.
    VoucherRow headRow() const;
    // The index-th (0-based) element that "//z:row" selects, without running a query.
    VoucherRow nthRow(int index) const;

    // XPath 1.0 selections. Element names match with their prefix as written ("z:row",
    // "rs:data"); blanks before a predicate are allowed ("//z:row [@editprop!='D']"). A comparison
    // with an absent attribute is false, so "@editprop!='D'" skips rows without editprop. Only
    // elements are returned; other node kinds are skipped.
    QList<VoucherRow> selectNodes(const QString &xpath) const;
    VoucherRow selectSingleNode(const QString &xpath) const;

    // Adds an empty z:row after the last row of the data section (before any change section) and
    // returns it. An empty document first becomes an empty persisted recordset; a document that is
    // a lone z:row gets a data section around that row (handles to it stay valid).
    VoucherRow appendRow();
    // Removes a row (or another element) of this document; handles to it are dangling from then
    // on. False when the handle is null or belongs to another document.
    bool removeRow(const VoucherRow &row);

    QList<VoucherColumn> columns() const;
    VoucherPendingChanges pendingChanges() const;

private:
    pugi::xml_document *dom() const; // parses m_text first if need be; null when empty
    pugi::xml_document &document();  // the same, creating an empty document
    void forgetAppendPoint() const;

    // A document made from a recordset is held as its text until something looks inside: most
    // documents go from the database to the card and back as text, and parsing finished text is
    // cheaper than building the tree node by node. At most one of the two is set.
    mutable std::unique_ptr<pugi::xml_document> m_doc;
    mutable QByteArray m_text;
    // Where appendRow() put its last row: the data section and the first change section in it
    // (null when there is none). Finding them again costs a walk over every row, which made entering
    // many lines quadratic. Only appendRow() sets them; anything else that may change the tree's
    // structure (loading, clearing, removing, copying, moving) forgets them.
    mutable pugi::xml_node_struct *m_appendData = nullptr;
    mutable pugi::xml_node_struct *m_appendBefore = nullptr;
};
