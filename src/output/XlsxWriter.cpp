#include "OutputCell.h"
#include "TableFileWriter.h"
#include "TargetFile.h"

#include <QFile>
#include <QHash>

#include <xlsxwriter.h>

namespace {

// A sheet holds 1,048,576 rows; a longer table goes on in another sheet under the same headings.
constexpr lxw_row_t kRowsPerSheet = 1048576;
constexpr int kMaxCellText = 32767;

class Workbook
{
public:
    Workbook(const QString &path, const OutputDocument &doc)
        : m_doc(doc)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (m_book) {
            m_bold = workbook_add_format(m_book);
            format_set_bold(m_bold);
        }
    }
    ~Workbook()
    {
        // Closing writes the file; without a commit it is removed with its partial name anyway.
        if (m_book)
            workbook_close(m_book);
    }
    bool ok() const { return m_book != nullptr; }

    bool writePreamble()
    {
        if (!newSheet())
            return false;
        if (!m_doc.title.isEmpty())
            text(0, m_doc.title, m_bold), ++m_row;
        for (const auto &[caption, value] : m_doc.headItems) {
            text(0, caption, m_bold);
            text(1, value, nullptr);
            ++m_row;
        }
        if (m_row > 0)
            ++m_row;
        headings();
        return m_error == LXW_NO_ERROR;
    }

    bool writeRow(const QVariantList &row, lxw_format *format = nullptr)
    {
        if (m_row >= kRowsPerSheet && (!newSheet() || !headings()))
            return false;
        for (int i = 0; i < m_doc.columns.size(); ++i) {
            const OutputColumn &c = m_doc.columns[i];
            const QVariant v = i < row.size() ? row[i] : QVariant();
            if (const auto n = OutputCell::number(c, v))
                check(worksheet_write_number(m_sheet, m_row, lxw_col_t(i), *n, numberFormat(c.decimals, format)));
            else if (!v.isNull())
                text(lxw_col_t(i), v.toString(), format);
        }
        ++m_row;
        return m_error == LXW_NO_ERROR;
    }
    lxw_format *bold() const { return m_bold; }
    bool close()
    {
        const lxw_error e = workbook_close(m_book);
        m_book = nullptr;
        return e == LXW_NO_ERROR && m_error == LXW_NO_ERROR;
    }

private:
    bool newSheet()
    {
        m_sheet = workbook_add_worksheet(m_book, nullptr);
        m_row = 0;
        if (!m_sheet)
            return false;
        for (int i = 0; i < m_doc.columns.size(); ++i)
            worksheet_set_column(m_sheet, lxw_col_t(i), lxw_col_t(i), OutputCell::widthInChars(m_doc.columns[i]), nullptr);
        return true;
    }
    bool headings()
    {
        for (int i = 0; i < m_doc.columns.size(); ++i)
            text(lxw_col_t(i), m_doc.columns[i].caption, m_bold);
        ++m_row;
        return m_error == LXW_NO_ERROR;
    }
    void text(lxw_col_t col, const QString &value, lxw_format *format)
    {
        const QByteArray utf8 = OutputCell::printable(value).left(kMaxCellText).toUtf8();
        check(worksheet_write_string(m_sheet, m_row, col, utf8.constData(), format));
    }
    // One number format per count of decimals ("0", "0.00", ...), bold for the totals line.
    lxw_format *numberFormat(int decimals, lxw_format *base)
    {
        const int key = decimals * 2 + (base ? 1 : 0);
        if (lxw_format *f = m_numberFormats.value(key))
            return f;
        lxw_format *f = workbook_add_format(m_book);
        const QByteArray pattern = decimals > 0 ? "0." + QByteArray(decimals, '0') : QByteArray("0");
        format_set_num_format(f, pattern.constData());
        if (base)
            format_set_bold(f);
        m_numberFormats.insert(key, f);
        return f;
    }
    void check(lxw_error e)
    {
        if (m_error == LXW_NO_ERROR)
            m_error = e;
    }

    const OutputDocument &m_doc;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    QHash<int, lxw_format *> m_numberFormats;
    lxw_row_t m_row = 0;
    lxw_error m_error = LXW_NO_ERROR;
};

} // namespace

namespace TableFileWriter {

Result<void> writeXlsx(OutputDocument &doc, const QString &path, const OutputProgress &progress)
{
    TargetFile target(path);
    const auto partial = target.open();
    if (!partial)
        return fail(partial.error());
    Workbook book(*partial, doc);
    if (!book.ok() || !book.writePreamble())
        return fail(TargetFile::cannotWrite(path));
    switch (OutputCell::forEachRow(doc, progress, [&](const QVariantList &row) { return book.writeRow(row); })) {
    case OutputCell::RowsRead::Cancelled:
        return fail(OutputCell::cancelledMessage());
    case OutputCell::RowsRead::WriteFailed:
        return fail(TargetFile::cannotWrite(path));
    case OutputCell::RowsRead::All:
        break;
    }
    if (!doc.totals.isEmpty() && !book.writeRow(OutputCell::totalsLine(doc), book.bold()))
        return fail(TargetFile::cannotWrite(path));
    if (!book.close())
        return fail(TargetFile::cannotWrite(path));
    return target.commit();
}

} // namespace TableFileWriter
