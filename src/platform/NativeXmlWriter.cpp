// RecordsetXmlWriter::write for a statement read through the native client: the same document as
// a recordset read through Qt SQL gives, written from the client's buffers without a QVariant per
// value.
#include "RecordsetXmlWriter.h"

#include "NativeStatement.h"
#include "Recordset.h"
#include "XmlTextBuffer.h"
#include "XmlValueWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isUtf8(const unsigned char *s, const unsigned char *end)
{
    while (s < end) {
        const unsigned char c = *s;
        if (c < 0x80) {
            ++s;
            continue;
        }
        int extra;
        char32_t min, cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (end - s <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((s[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            return false;
        s += extra + 1;
    }
    return true;
}

// UTF-8 text escaped for a single-quoted attribute, as XmlValueWriter::appendText escapes; text
// that is not well-formed UTF-8 goes through QString first, as the Qt drivers read it.
void appendUtf8(XmlTextBuffer &out, const char *data, int size)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data);
    const auto *end = s + size;
    if (!isUtf8(s, end)) {
        XmlValueWriter::appendText(out, QString::fromUtf8(data, size), true);
        return;
    }
    char *p = out.reserve(qsizetype(size) * 6);
    for (; s < end; ++s)
        p = *s >= 0x80 ? (*p++ = char(*s), p) : XmlValueWriter::writeEscapedAscii(p, char(*s));
    out.commit(p);
}

char *copied(char *p, const char *data, int size)
{
    std::memcpy(p, data, size_t(size));
    return p + size;
}

// One value's text after "name='", the closing quote not included.
void appendCell(XmlTextBuffer &out, XmlValueWriter &writer, const NativeCell &cell)
{
    static const char hex[] = "0123456789abcdef";
    switch (cell.kind) {
    case NativeCell::Text:
        appendUtf8(out, cell.data, cell.size);
        return;
    case NativeCell::Bytes: {
        char *p = out.reserve(qsizetype(cell.size) * 2);
        for (int i = 0; i < cell.size; ++i) {
            const auto b = static_cast<unsigned char>(cell.data[i]);
            *p++ = hex[b >> 4];
            *p++ = hex[b & 15];
        }
        out.commit(p);
        return;
    }
    case NativeCell::HexBytes:
        out.append(cell.data, cell.size);
        return;
    default:
        break;
    }
    char *p = out.reserve(XmlValueWriter::kScalarRoom);
    switch (cell.kind) {
    case NativeCell::Integer:
        p = std::to_chars(p, p + 24, cell.integer).ptr;
        break;
    case NativeCell::Real:
        p = writer.writeScalar(p, QVariant(cell.real));
        break;
    case NativeCell::Bool:
        p = cell.integer ? copied(p, "True", 4) : copied(p, "False", 5);
        break;
    case NativeCell::Date: // "yyyy-MM-dd"
        p = copied(p, cell.data, std::min(cell.size, 10));
        break;
    case NativeCell::Time: // "hh:mm:ss", without fractions or zone
        p = copied(p, cell.data, std::min(cell.size, 8));
        break;
    case NativeCell::DateTime: // "yyyy-MM-dd hh:mm:ss..." as "yyyy-MM-ddThh:mm:ss"
        if (cell.size >= 19) {
            p = copied(p, cell.data, 10);
            *p++ = 'T';
            p = copied(p, cell.data + 11, 8);
        } else {
            p = copied(p, cell.data, std::min(cell.size, 10));
        }
        break;
    default:
        break;
    }
    out.commit(p);
}

// The type a column without one takes from its first non-null value, as Recordset does.
QMetaType::Type typeOfValue(NativeCell::Kind kind)
{
    switch (kind) {
    case NativeCell::Integer: return QMetaType::LongLong;
    case NativeCell::Real: return QMetaType::Double;
    case NativeCell::Bytes:
    case NativeCell::HexBytes: return QMetaType::QByteArray;
    default: return QMetaType::QString;
    }
}

// Whether the statement gives the columns it gave when the memo was made.
bool sameColumns(NativeStatement &statement, const NativeStatement::ColumnsMemo &memo)
{
    const int columns = statement.columnCount();
    if (memo.head.isEmpty() || int(memo.types.size()) != columns)
        return false;
    for (int c = 0; c < columns; ++c) {
        if (statement.columnType(c) != memo.types[size_t(c)] || memo.names[size_t(c)] != statement.columnNameUtf8(c))
            return false;
    }
    return true;
}

} // namespace

QByteArray RecordsetXmlWriter::write(NativeStatement &statement)
{
    bool more = statement.next();
    if (statement.failed(nullptr, nullptr))
        return {};
    const int columns = statement.columnCount();
    NativeStatement::ColumnsMemo &memo = statement.columnsMemo();
    const bool remembered = sameColumns(statement, memo);
    // The types as the statement gives them now; a column typed by its values (an expression,
    // null in the first row) is unknown until a row gives it a value.
    std::vector<QMetaType::Type> types = remembered ? memo.types : std::vector<QMetaType::Type>();
    if (!remembered) {
        types.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            types.push_back(statement.columnType(c));
    }
    const bool untyped = std::find(types.cbegin(), types.cend(), QMetaType::UnknownType) != types.cend();
    std::vector<QByteArray> attributes;
    if (!remembered) {
        // The attribute names depend on the column names only.
        QList<RecordsetField> fields;
        fields.reserve(columns);
        for (int c = 0; c < columns; ++c)
            fields.append({statement.columnName(c), types[size_t(c)]});
        XmlTextBuffer unused(4096);
        appendHead(unused, fields, attributes);
    }
    const std::vector<QByteArray> &names = remembered ? memo.attributes : attributes;

    // The head comes first, but with an untyped column it is known only at the end: the rows are
    // then written apart and the head put before them.
    XmlTextBuffer out(64 * 1024);
    if (remembered && !untyped)
        out.append(memo.head);
    XmlTextBuffer rowsApart(remembered && !untyped ? 0 : 64 * 1024);
    XmlTextBuffer &rows = remembered && !untyped ? out : rowsApart;
    std::vector<QMetaType::Type> found = types;
    XmlValueWriter writer(rows);
    bool any = false;
    for (; more; more = statement.next()) {
        if (!any)
            rows.append("\t<rs:data>\n");
        any = true;
        rows.append("\t\t<z:row", 8);
        for (int c = 0; c < columns; ++c) {
            const NativeCell cell = statement.cell(c);
            if (cell.kind == NativeCell::Null)
                continue;
            if (untyped && found[size_t(c)] == QMetaType::UnknownType)
                found[size_t(c)] = typeOfValue(cell.kind);
            const QByteArray &name = names[size_t(c)];
            char *p = rows.reserve(name.size() + 3);
            *p++ = ' ';
            p = copied(p, name.constData(), int(name.size()));
            *p++ = '=';
            *p++ = '\'';
            rows.commit(p);
            appendCell(rows, writer, cell);
            rows.append("'", 1);
        }
        rows.append(" />\n", 4);
    }
    if (statement.failed(nullptr, nullptr))
        return {};
    rows.append(any ? "\t</rs:data>\n</xml>\n" : "\t<rs:data />\n</xml>\n");
    if (remembered && !untyped)
        return out.take();

    // A column that no row gave a value is text. The head kept with the statement serves when every
    // untyped column came out as text; it is made again (and kept) otherwise.
    bool allText = true;
    for (QMetaType::Type &type : found) {
        if (type == QMetaType::UnknownType)
            type = QMetaType::QString;
    }
    for (size_t c = 0; c < found.size(); ++c)
        allText = allText && (types[c] != QMetaType::UnknownType || found[c] == QMetaType::QString);
    if (remembered && allText) {
        out.append(memo.head);
    } else {
        QList<RecordsetField> fields;
        fields.reserve(columns);
        for (int c = 0; c < columns; ++c)
            fields.append({statement.columnName(c), found[size_t(c)]});
        XmlTextBuffer head(4096);
        std::vector<QByteArray> headNames;
        appendHead(head, fields, headNames);
        QByteArray headText = head.take();
        if (allText) {
            memo.head = headText;
            memo.types = std::move(types);
            memo.attributes = std::move(headNames);
            memo.names.clear();
            for (int c = 0; c < columns; ++c)
                memo.names.emplace_back(statement.columnNameUtf8(c));
        }
        out.append(headText);
    }
    out.append(rowsApart.take());
    return out.take();
}
