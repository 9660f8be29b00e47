#include "VoucherDocument.h"

#include "RecordsetXmlWriter.h"

#include <QStringEncoder>
#include <QtDebug>

#include <pugixml.hpp>

#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

// Text written the way persisted recordsets are: single-quoted attributes, tab indentation.
constexpr unsigned kSaveFlags = pugi::format_indent | pugi::format_attribute_single_quote | pugi::format_no_declaration;

class ByteArrayWriter final : public pugi::xml_writer
{
public:
    explicit ByteArrayWriter(QByteArray &out)
        : m_out(out)
    {}
    void write(const void *data, size_t size) override
    {
        m_out.append(static_cast<const char *>(data), qsizetype(size));
    }

private:
    QByteArray &m_out;
};

bool hasName(const pugi::xml_node &node, const char *name)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

bool isRow(const pugi::xml_node &node)
{
    return hasName(node, "z:row");
}

bool isPendingSection(const pugi::xml_node &node)
{
    return hasName(node, "rs:update") || hasName(node, "rs:insert") || hasName(node, "rs:delete");
}

// Visits every z:row in document order, without descending into rows (they do not nest) and,
// when asked, without entering the change sections. The visitor returns false to stop.
template<typename Visit> void forEachRow(const pugi::xml_node &top, bool skipPending, Visit &&visit)
{
    pugi::xml_node node = top.first_child();
    while (node) {
        bool descend = false;
        if (isRow(node)) {
            if (!visit(node))
                return;
        } else if (node.type() == pugi::node_element) {
            descend = !(skipPending && isPendingSection(node)) && node.first_child();
        }
        if (descend) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling() && node != top)
            node = node.parent();
        if (!node || node == top)
            return;
        node = node.next_sibling();
    }
}

pugi::xml_node findElement(const pugi::xml_node &top, const char *name)
{
    return top.find_node([name](const pugi::xml_node &n) { return hasName(n, name); });
}

// Compiled queries by text: the same few patterns run again and again on every save and check.
const pugi::xpath_query *compiledQuery(const QString &xpath)
{
    thread_local std::unordered_map<std::string, std::unique_ptr<pugi::xpath_query>> cache;
    std::string key = xpath.toStdString();
    if (const auto it = cache.find(key); it != cache.end())
        return it->second.get();
    if (cache.size() > 256)
        cache.clear(); // patterns are nearly all literals; a runaway caller must not grow this
    std::unique_ptr<pugi::xpath_query> query;
    try {
        query = std::make_unique<pugi::xpath_query>(key.c_str());
        if (!*query) { // pugixml built without exceptions reports this way
            qWarning().noquote() << "VoucherDocument: bad XPath" << xpath << '-' << query->result().description();
            query.reset();
        }
    } catch (const pugi::xpath_exception &e) {
        qWarning().noquote() << "VoucherDocument: bad XPath" << xpath << '-' << e.what() << "at" << e.result().offset;
    }
    return cache.emplace(std::move(key), std::move(query)).first->second.get();
}

QString parseError(const pugi::xml_parse_result &result, const char *text, size_t size)
{
    const size_t offset = std::min(size_t(result.offset), size);
    int line = 1;
    int column = 1;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column; // count characters, not UTF-8 continuation bytes
        }
    }
    return QStringLiteral("XML parse error: %1 at offset %2 (line %3, column %4)")
        .arg(QString::fromUtf8(result.description()))
        .arg(qint64(result.offset))
        .arg(line)
        .arg(column);
}

// Row marks are upper case ("A", "M", "D") everywhere in the program; a document written elsewhere
// may carry them in lower case, which the selection patterns (@editprop!='D') would read as other
// marks than the save does. They are made upper case once, when a document is read.
void normaliseMarks(pugi::xml_node root)
{
    for (pugi::xml_node node = root.first_child(); node;) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), "z:row") == 0) {
            pugi::xml_attribute mark = node.attribute("editprop");
            const char *value = mark.value();
            if (mark && (std::strcmp(value, "a") == 0 || std::strcmp(value, "m") == 0 || std::strcmp(value, "d") == 0)) {
                const char upper[2] = {char(value[0] - 'a' + 'A'), 0};
                mark.set_value(upper);
            }
        }
        // Depth first without recursion: down, else along, else up and along.
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling())
            node = node.parent();
        if (!node || node == root)
            break;
        node = node.next_sibling();
    }
}

} // namespace

VoucherDocument::VoucherDocument() = default;
VoucherDocument::~VoucherDocument() = default;

// The tree moves with its owner, so the append point stays right for this object; the source is
// left empty and must not keep it.
VoucherDocument::VoucherDocument(VoucherDocument &&other) noexcept
    : m_doc(std::move(other.m_doc))
    , m_text(std::move(other.m_text))
    , m_appendData(std::exchange(other.m_appendData, nullptr))
    , m_appendBefore(std::exchange(other.m_appendBefore, nullptr))
{
    other.m_text.clear();
}

VoucherDocument &VoucherDocument::operator=(VoucherDocument &&other) noexcept
{
    if (this != &other) {
        m_doc = std::move(other.m_doc);
        m_text = std::move(other.m_text);
        other.m_text.clear();
        m_appendData = std::exchange(other.m_appendData, nullptr);
        m_appendBefore = std::exchange(other.m_appendBefore, nullptr);
    }
    return *this;
}

VoucherDocument::VoucherDocument(const VoucherDocument &other)
    : m_text(other.m_text)
{
    if (other.m_doc) {
        m_doc = std::make_unique<pugi::xml_document>();
        m_doc->reset(*other.m_doc);
    }
}

VoucherDocument &VoucherDocument::operator=(const VoucherDocument &other)
{
    if (this != &other)
        *this = VoucherDocument(other);
    return *this;
}

VoucherDocument VoucherDocument::fromRecordset(const Recordset &rs)
{
    VoucherDocument result;
    result.m_text = RecordsetXmlWriter::write(rs);
    return result;
}

VoucherDocument VoucherDocument::fromPersistedText(QByteArray utf8)
{
    VoucherDocument result;
    result.m_text = std::move(utf8);
    return result;
}

QString VoucherDocument::firstRowValue(const QByteArray &persistedText, const QString &attribute)
{
    // The writer puts each row on a line of its own and escapes every quote inside a value, so
    // " name='" within the first row's line is that attribute.
    const qsizetype row = persistedText.indexOf("<z:row");
    if (row < 0)
        return {};
    const qsizetype end = persistedText.indexOf('\n', row);
    const QByteArray key = ' ' + attribute.toUtf8() + "='";
    const qsizetype at = persistedText.indexOf(key, row);
    if (at < 0 || (end >= 0 && at > end))
        return {};
    const qsizetype from = at + key.size();
    const qsizetype to = persistedText.indexOf('\'', from);
    const QByteArray value = persistedText.mid(from, to - from);
    if (value.contains('&')) // markup: let the parser resolve it
        return fromPersistedText(persistedText).headRow().value(attribute);
    return QString::fromUtf8(value);
}

QString VoucherDocument::valueText(const QVariant &value)
{
    return RecordsetXmlWriter::valueText(value);
}

Result<void> VoucherDocument::loadXML(const QString &text)
{
    // Encoded straight into a buffer that the document then owns and parses in place: no copy
    // of the text beyond the one conversion. (Handing pugixml the UTF-16 text is several times
    // slower.) The text is UTF-8 from here on, whatever an XML declaration inside it claims.
    QStringEncoder encoder(QStringEncoder::Utf8);
    void *buffer = pugi::get_memory_allocation_function()(size_t(encoder.requiredSpace(text.size())) + 1);
    if (!buffer)
        return fail(QStringLiteral("XML parse error: out of memory"));
    char *end = encoder.appendToBuffer(static_cast<char *>(buffer), text);
    const size_t size = size_t(end - static_cast<char *>(buffer));
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result
        = doc->load_buffer_inplace_own(buffer, size, pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        // Parsing in place has changed the buffer; place the error in the text as given.
        const QByteArray utf8 = text.toUtf8();
        return fail(parseError(result, utf8.constData(), size_t(utf8.size())));
    }
    normaliseMarks(*doc);
    m_doc = std::move(doc);
    m_text.clear();
    forgetAppendPoint();
    return {};
}

Result<void> VoucherDocument::loadXML(const QByteArray &utf8)
{
    auto doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result
        = doc->load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_auto);
    if (!result)
        return fail(parseError(result, utf8.constData(), size_t(utf8.size())));
    normaliseMarks(*doc);
    m_doc = std::move(doc);
    m_text.clear();
    forgetAppendPoint();
    return {};
}

QByteArray VoucherDocument::xmlUtf8() const
{
    if (!m_text.isEmpty())
        return m_text;
    QByteArray out;
    if (isEmpty())
        return out;
    ByteArrayWriter writer(out);
    m_doc->save(writer, "\t", kSaveFlags, pugi::encoding_utf8);
    return out;
}

QString VoucherDocument::xml() const
{
    return QString::fromUtf8(xmlUtf8());
}

bool VoucherDocument::isEmpty() const
{
    if (!m_text.isEmpty())
        return false; // written from a recordset: never without a root
    return !m_doc || !m_doc->document_element();
}

void VoucherDocument::clear()
{
    m_doc.reset();
    m_text.clear();
    forgetAppendPoint();
}

void VoucherDocument::forgetAppendPoint() const
{
    m_appendData = nullptr;
    m_appendBefore = nullptr;
}

QList<VoucherRow> VoucherDocument::rows() const
{
    QList<VoucherRow> result;
    if (const pugi::xml_document *doc = dom()) {
        forEachRow(*doc, true, [&result](const pugi::xml_node &n) {
            result.append(VoucherRow(n.internal_object()));
            return true;
        });
    }
    return result;
}

int VoucherDocument::rowCount() const
{
    int count = 0;
    if (const pugi::xml_document *doc = dom()) {
        forEachRow(*doc, true, [&count](const pugi::xml_node &) {
            ++count;
            return true;
        });
    }
    return count;
}

VoucherRow VoucherDocument::row(int index) const
{
    VoucherRow found;
    const pugi::xml_document *doc = dom();
    if (doc && index >= 0) {
        forEachRow(*doc, true, [&found, &index](const pugi::xml_node &n) {
            if (index-- > 0)
                return true;
            found = VoucherRow(n.internal_object());
            return false;
        });
    }
    return found;
}

VoucherRow VoucherDocument::headRow() const
{
    return nthRow(0);
}

VoucherRow VoucherDocument::nthRow(int index) const
{
    VoucherRow found;
    const pugi::xml_document *doc = dom();
    if (doc && index >= 0) {
        forEachRow(*doc, false, [&found, &index](const pugi::xml_node &n) {
            if (index-- > 0)
                return true;
            found = VoucherRow(n.internal_object());
            return false;
        });
    }
    return found;
}

QList<VoucherRow> VoucherDocument::selectNodes(const QString &xpath) const
{
    QList<VoucherRow> result;
    const pugi::xpath_query *query = compiledQuery(xpath);
    const pugi::xml_document *doc = dom();
    if (!query || !doc)
        return result;
    try {
        pugi::xpath_node_set nodes = query->evaluate_node_set(*doc);
        nodes.sort();
        result.reserve(qsizetype(nodes.size()));
        for (const pugi::xpath_node &n : nodes) {
            if (n.node().type() == pugi::node_element)
                result.append(VoucherRow(n.node().internal_object()));
        }
    } catch (const pugi::xpath_exception &e) {
        // A valid expression that is no node set, such as "count(//z:row)".
        qWarning().noquote() << "VoucherDocument: XPath" << xpath << "selects no nodes -" << e.what();
    }
    return result;
}

VoucherRow VoucherDocument::selectSingleNode(const QString &xpath) const
{
    const pugi::xpath_query *query = compiledQuery(xpath);
    const pugi::xml_document *doc = dom();
    if (!query || !doc)
        return {};
    try {
        // evaluate_node() yields the first node in document order, as selectSingleNode must.
        const pugi::xpath_node n = query->evaluate_node(*doc);
        if (n.node().type() == pugi::node_element)
            return VoucherRow(n.node().internal_object());
    } catch (const pugi::xpath_exception &e) {
        qWarning().noquote() << "VoucherDocument: XPath" << xpath << "selects no nodes -" << e.what();
    }
    return {};
}

VoucherRow VoucherDocument::appendRow()
{
    pugi::xml_document &doc = document();
    if (!m_appendData) {
        pugi::xml_node data = findElement(doc, "rs:data");
        if (!data) {
            pugi::xml_node root = doc.document_element();
            if (!root) {
                data = RecordsetXmlWriter::appendSkeleton(doc);
            } else if (isRow(root)) {
                // A lone row as the whole document (a head row built by hand): put it into a proper
                // data section. The row is moved, not copied, so handles to it stay valid.
                data = RecordsetXmlWriter::appendSkeleton(doc);
                data.append_move(root);
            } else {
                data = root.append_child("rs:data");
            }
        }
        // New rows go after the existing rows, before any change section. Inserting before that
        // section keeps it the first one, so both stay right for the next row.
        const pugi::xml_node pending = data.find_child([](const pugi::xml_node &n) { return isPendingSection(n); });
        m_appendData = data.internal_object();
        m_appendBefore = pending.internal_object();
    }
    pugi::xml_node data(m_appendData);
    const pugi::xml_node row = m_appendBefore ? data.insert_child_before("z:row", pugi::xml_node(m_appendBefore))
                                              : data.append_child("z:row");
    return VoucherRow(row.internal_object());
}

bool VoucherDocument::removeRow(const VoucherRow &row)
{
    const pugi::xml_document *doc = dom();
    if (row.isNull() || !doc)
        return false;
    const pugi::xml_node node(row.m_node);
    if (node.root() != doc->root())
        return false;
    forgetAppendPoint(); // the element may be the data section or a change section
    return node.parent().remove_child(node);
}

QList<VoucherColumn> VoucherDocument::columns() const
{
    QList<VoucherColumn> result;
    const pugi::xml_document *doc = dom();
    if (!doc)
        return result;
    const pugi::xml_node schema = findElement(*doc, "s:Schema");
    for (const pugi::xml_node &element : schema.children("s:ElementType")) {
        for (const pugi::xml_node &type : element.children("s:AttributeType")) {
            // Type details sit on an s:datatype child, or on the AttributeType itself.
            const pugi::xml_node datatype = type.child("s:datatype");
            auto detail = [&](const char *name) {
                const pugi::xml_attribute a = type.attribute(name);
                return a ? a : datatype.attribute(name);
            };
            VoucherColumn c;
            c.name = QString::fromUtf8(type.attribute("name").value());
            const pugi::xml_attribute realName = type.attribute("rs:name");
            c.realName = realName ? QString::fromUtf8(realName.value()) : c.name;
            c.number = type.attribute("rs:number").as_int(0);
            c.type = QString::fromUtf8(detail("dt:type").as_string("string"));
            c.dbType = QString::fromUtf8(detail("rs:dbtype").value());
            c.maxLength = detail("dt:maxLength").as_int(0);
            c.precision = detail("rs:precision").as_int(0);
            c.scale = detail("rs:scale").as_int(0);
            c.nullable = type.attribute("rs:nullable").as_bool() || detail("rs:maybenull").as_bool();
            c.keyColumn = type.attribute("rs:keycolumn").as_bool();
            c.autoIncrement = type.attribute("rs:autoincrement").as_bool();
            result.append(c);
        }
    }
    return result;
}

VoucherPendingChanges VoucherDocument::pendingChanges() const
{
    VoucherPendingChanges result;
    const pugi::xml_document *doc = dom();
    if (!doc)
        return result;
    const pugi::xml_node data = findElement(*doc, "rs:data");
    for (const pugi::xml_node &section : data.children()) {
        int *counter = hasName(section, "rs:update")   ? &result.updated
                       : hasName(section, "rs:insert") ? &result.inserted
                       : hasName(section, "rs:delete") ? &result.deleted
                                                       : nullptr;
        if (!counter)
            continue;
        // An update holds its new values as a z:row beside rs:original (the old values).
        for (pugi::xml_node row = section.child("z:row"); row; row = row.next_sibling("z:row"))
            ++*counter;
    }
    return result;
}

pugi::xml_document *VoucherDocument::dom() const
{
    if (!m_text.isEmpty()) {
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result
            = doc->load_buffer(m_text.constData(), size_t(m_text.size()), pugi::parse_default, pugi::encoding_utf8);
        if (!result) // our own writer's text: this is a bug, not a user's mistake
            qWarning().noquote() << "VoucherDocument:" << parseError(result, m_text.constData(), size_t(m_text.size()));
        m_doc = std::move(doc);
        m_text.clear();
        forgetAppendPoint();
    }
    return m_doc.get();
}

pugi::xml_document &VoucherDocument::document()
{
    if (!dom()) {
        m_doc = std::make_unique<pugi::xml_document>();
        forgetAppendPoint();
    }
    return *m_doc;
}
