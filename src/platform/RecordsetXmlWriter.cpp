#include "RecordsetXmlWriter.h"

#include "Recordset.h"
#include "XmlTextBuffer.h"
#include "XmlValueWriter.h"

#include <QSet>

#include <pugixml.hpp>

#include <vector>

namespace {

// A column name usable as an attribute name as it is. Others (expressions such as "count(*)",
// names with blanks) get a made-up name "cN" and keep their own in rs:name, as persisted
// recordsets do.
bool isPlainName(QStringView name)
{
    if (name.isEmpty() || !(name.front().isLetter() || name.front() == u'_'))
        return false;
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.'))
            return false;
    }
    return true;
}

const char *const kNamespaces[][2] = {
    {"xmlns:s", "uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882"},
    {"xmlns:dt", "uuid:C2F41010-65B3-11d1-A29F-00AA00C14882"},
    {"xmlns:rs", "urn:schemas-microsoft-com:rowset"},
    {"xmlns:z", "#RowsetSchema"},
};

// " name='value'"
void appendAttribute(XmlTextBuffer &out, const char *name, const QString &value)
{
    out.append(" ");
    out.append(name);
    out.append("='");
    XmlValueWriter::appendText(out, value, true);
    out.append("'");
}

void appendSchema(XmlTextBuffer &out, const QList<RecordsetField> &fields, std::vector<QByteArray> &names)
{
    out.append("\t<s:Schema id='RowsetSchema'>\n"
               "\t\t<s:ElementType name='row' content='eltOnly' rs:updatable='true'>\n");
    QSet<QString> used;
    for (int c = 0; c < int(fields.size()); ++c) {
        const RecordsetField &field = fields.at(c);
        const QString lower = field.name.trimmed().toLower();
        QString name = lower;
        if (!isPlainName(lower) || used.contains(lower)) {
            int n = c + 1;
            do
                name = QStringLiteral("c%1").arg(n++);
            while (used.contains(name));
        }
        used.insert(name);
        names.push_back(name.toUtf8());

        out.append("\t\t\t<s:AttributeType");
        appendAttribute(out, "name", name);
        if (name != lower)
            appendAttribute(out, "rs:name", field.name);
        appendAttribute(out, "rs:number", QString::number(c + 1));
        out.append(" rs:nullable='true' rs:writeunknown='true'>\n\t\t\t\t<s:datatype dt:type='");
        out.append(RecordsetXmlWriter::dataType(field.type));
        out.append("' />\n\t\t\t</s:AttributeType>\n");
    }
    out.append("\t\t\t<s:extends type='rs:rowbase' />\n\t\t</s:ElementType>\n\t</s:Schema>\n");
}

} // namespace

QByteArray RecordsetXmlWriter::write(const Recordset &rs)
{
    const int columns = rs.fieldCount();
    XmlTextBuffer out(qsizetype(rs.RecordCount()) * (columns * 16 + 16) + 1024);
    std::vector<QByteArray> names;
    appendHead(out, rs.fields(), names);

    if (rs.RecordCount() == 0) {
        out.append("\t<rs:data />\n</xml>\n");
        return out.take();
    }
    out.append("\t<rs:data>\n");
    XmlValueWriter writer(out);
    for (int r = 0; r < rs.RecordCount(); ++r) {
        const QVariantList &values = rs.row(r);
        out.append("\t\t<z:row");
        const int count = std::min(columns, int(values.size()));
        for (int c = 0; c < count; ++c) {
            const QVariant &v = values.at(c);
            if (XmlValueWriter::isNull(v))
                continue; // NULL is an absent attribute
            // " name='value'", numbers and dates written in place without any further check.
            const QByteArray &name = names[size_t(c)];
            char *p = out.reserve(name.size() + XmlValueWriter::kScalarRoom + 4);
            *p++ = ' ';
            std::memcpy(p, name.constData(), size_t(name.size()));
            p += name.size();
            *p++ = '=';
            *p++ = '\'';
            if (char *end = writer.writeScalar(p, v)) {
                *end++ = '\'';
                out.commit(end);
            } else {
                out.commit(p);
                writer.appendTextLike(v, true);
                out.append("'", 1);
            }
        }
        out.append(" />\n", 4);
    }
    out.append("\t</rs:data>\n</xml>\n");
    return out.take();
}

void RecordsetXmlWriter::appendHead(XmlTextBuffer &out, const QList<RecordsetField> &fields,
                                    std::vector<QByteArray> &names)
{
    out.append("<xml");
    for (const auto &ns : kNamespaces)
        appendAttribute(out, ns[0], QString::fromLatin1(ns[1]));
    out.append(">\n");
    appendSchema(out, fields, names);
}

pugi::xml_node RecordsetXmlWriter::appendSkeleton(pugi::xml_document &doc)
{
    pugi::xml_node root = doc.append_child("xml");
    for (const auto &ns : kNamespaces)
        root.append_attribute(ns[0]).set_value(ns[1]);
    pugi::xml_node schema = root.append_child("s:Schema");
    schema.append_attribute("id").set_value("RowsetSchema");
    pugi::xml_node element = schema.append_child("s:ElementType");
    element.append_attribute("name").set_value("row");
    element.append_attribute("content").set_value("eltOnly");
    element.append_attribute("rs:updatable").set_value("true");
    element.append_child("s:extends").append_attribute("type").set_value("rs:rowbase");
    return root.append_child("rs:data");
}

QString RecordsetXmlWriter::valueText(const QVariant &value)
{
    if (value.isNull())
        return {};
    XmlTextBuffer out(64);
    XmlValueWriter(out).append(value, false);
    return QString::fromUtf8(out.take());
}

const char *RecordsetXmlWriter::dataType(QMetaType::Type type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
        return "int";
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return "i2";
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return "i8";
    case QMetaType::Double:
    case QMetaType::Float:
        return "float";
    case QMetaType::Bool:
        return "boolean";
    case QMetaType::QDateTime:
        return "dateTime";
    case QMetaType::QDate:
        return "date";
    case QMetaType::QTime:
        return "time";
    case QMetaType::QByteArray:
        return "bin.hex";
    default:
        return "string";
    }
}
