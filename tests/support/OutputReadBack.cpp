#include "OutputReadBack.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

QByteArray zipEntry(const QString &path, const QString &entry)
{
    return run(QStringLiteral("unzip"), {QStringLiteral("-p"), path, entry});
}

int columnIndex(const QString &ref)
{
    int col = 0;
    for (const QChar c : ref) {
        if (!c.isLetter())
            break;
        col = col * 26 + (c.toUpper().unicode() - 'A' + 1);
    }
    return col - 1;
}

QStringList sharedStrings(const QString &path)
{
    QStringList strings;
    QXmlStreamReader xml(zipEntry(path, QStringLiteral("xl/sharedStrings.xml")));
    QString current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            current.clear();
        else if (xml.isStartElement() && xml.name() == u"t")
            current += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == u"si")
            strings << current;
    }
    return strings;
}

// Number format codes by the cell style index the sheet uses (built-in 0..49 are not listed).
QHash<int, QString> styleFormats(const QString &path)
{
    QHash<int, QString> codes;
    QHash<int, QString> byStyle;
    QXmlStreamReader xml(zipEntry(path, QStringLiteral("xl/styles.xml")));
    bool inCellXfs = false;
    int xf = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"numFmt")
            codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(), xml.attributes().value(QLatin1String("formatCode")).toString());
        else if (xml.isStartElement() && xml.name() == u"cellXfs")
            inCellXfs = true;
        else if (xml.isEndElement() && xml.name() == u"cellXfs")
            inCellXfs = false;
        else if (inCellXfs && xml.isStartElement() && xml.name() == u"xf") {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            byStyle.insert(xf++, id == 1 ? QStringLiteral("0") : id == 2 ? QStringLiteral("0.00") : codes.value(id));
        }
    }
    return byStyle;
}

template<typename OnCell>
void readSheet(const QString &path, int sheet, OnCell onCell)
{
    const QStringList shared = sharedStrings(path);
    QXmlStreamReader xml(zipEntry(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet)));
    int row = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"row") {
            row = xml.attributes().value(QLatin1String("r")).toInt() - 1;
        } else if (xml.isStartElement() && xml.name() == u"c") {
            const auto a = xml.attributes();
            const int col = columnIndex(a.value(QLatin1String("r")).toString());
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            QString value;
            while (!(xml.isEndElement() && xml.name() == u"c") && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && (xml.name() == u"v" || xml.name() == u"t"))
                    value += xml.readElementText();
            }
            if (type == u"s")
                value = shared.value(value.toInt());
            onCell(row, col, value, type.isEmpty() || type == u"n", style);
        }
    }
}

} // namespace

namespace OutputReadBack {

QList<QStringList> xlsxRows(const QString &path, int sheet)
{
    QList<QStringList> rows;
    readSheet(path, sheet, [&](int row, int col, const QString &value, bool, int) {
        while (rows.size() <= row)
            rows << QStringList();
        while (rows[row].size() <= col)
            rows[row] << QString();
        rows[row][col] = value;
    });
    return rows;
}

QStringList xlsxNumberFormats(const QString &path, int sheet)
{
    const QHash<int, QString> formats = styleFormats(path);
    QStringList out;
    readSheet(path, sheet, [&](int, int, const QString &, bool isNumber, int style) {
        if (isNumber)
            out << formats.value(style);
    });
    return out;
}

QList<QStringList> csvRows(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += u'"', ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field, field.clear();
        } else if (c == u'\n') {
            fields << field, field.clear();
            rows << fields, fields.clear();
        } else if (c != u'\r') {
            field += c;
        }
    }
    return rows;
}

QString pdfText(const QString &path)
{
    return QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}));
}

int pdfPages(const QString &path)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {path}));
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace OutputReadBack
