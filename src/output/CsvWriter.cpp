#include "OutputCell.h"
#include "TableFileWriter.h"
#include "TargetFile.h"

#include <QFile>

namespace {

// One field of a CSV line. Texts that a spreadsheet would take for a formula get a leading
// apostrophe, so that a value typed into a voucher can never run as one when the file is opened.
QString field(const QString &text, bool isNumber)
{
    QString t = text;
    if (!isNumber && !t.isEmpty() && QStringLiteral("=+-@").contains(t.front()))
        t.prepend(u'\'');
    if (t.contains(u',') || t.contains(u'"'))
        return u'"' + QString(t).replace(u'"', QStringLiteral("\"\"")) + u'"';
    return t;
}

class CsvOut
{
public:
    explicit CsvOut(QFile &file)
        : m_file(file)
    {}
    void line(const QStringList &fields)
    {
        m_buffer += fields.join(u',') + QStringLiteral("\r\n");
        if (m_buffer.size() > 64 * 1024)
            flush();
    }
    bool finish()
    {
        flush();
        return m_ok && m_file.flush();
    }

private:
    void flush()
    {
        const QByteArray bytes = m_buffer.toUtf8();
        m_ok = m_ok && m_file.write(bytes) == bytes.size();
        m_buffer.clear();
    }
    QFile &m_file;
    QString m_buffer;
    bool m_ok = true;
};

} // namespace

namespace TableFileWriter {

Result<void> writeCsv(OutputDocument &doc, const QString &path, const OutputProgress &progress)
{
    TargetFile target(path);
    const auto partial = target.open();
    if (!partial)
        return fail(partial.error());
    QFile file(*partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(TargetFile::cannotWrite(path));
    file.write("\xEF\xBB\xBF");
    CsvOut out(file);

    if (!doc.title.isEmpty())
        out.line({field(OutputCell::printable(doc.title), false)});
    for (const auto &[caption, value] : doc.headItems)
        out.line({field(OutputCell::printable(caption), false), field(OutputCell::printable(value), false)});
    if (!doc.title.isEmpty() || !doc.headItems.isEmpty())
        out.line({});

    QStringList fields;
    for (const OutputColumn &c : doc.columns)
        fields << field(OutputCell::printable(c.caption), false);
    out.line(fields);

    const auto writeRow = [&](const QVariantList &row) {
        fields.clear();
        for (int i = 0; i < doc.columns.size(); ++i) {
            const OutputColumn &c = doc.columns[i];
            const QVariant v = i < row.size() ? row[i] : QVariant();
            fields << field(OutputCell::text(c, v), OutputCell::number(c, v).has_value());
        }
        out.line(fields);
    };
    switch (OutputCell::forEachRow(doc, progress, [&](const QVariantList &row) { writeRow(row); return true; })) {
    case OutputCell::RowsRead::Cancelled:
        return fail(OutputCell::cancelledMessage());
    case OutputCell::RowsRead::WriteFailed:
        return fail(TargetFile::cannotWrite(path));
    case OutputCell::RowsRead::All:
        break;
    }
    if (!doc.totals.isEmpty())
        writeRow(OutputCell::totalsLine(doc));
    if (!out.finish())
        return fail(TargetFile::cannotWrite(path));
    file.close();
    return target.commit();
}

} // namespace TableFileWriter
