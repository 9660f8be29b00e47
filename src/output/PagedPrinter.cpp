#include "PagedPrinter.h"

#include "OutputCell.h"
#include "TargetFile.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>


namespace {

// The page as laid out: the columns' x positions scaled to the printable width, the row height
// from the font, and the running position on the current page.
class PageLayoutRun
{
public:
    PageLayoutRun(QPainter &painter, QPagedPaintDevice &device, const OutputDocument &doc)
        : m_painter(painter)
        , m_device(device)
        , m_doc(doc)
    {
        // WenQuanYi first: its Chinese glyphs map back to one character each, so text copied or
        // searched in the PDF reads as printed (Noto CJK shares glyphs with radicals, and the
        // radical is what a reader then finds).
        m_font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
        m_font.setPointSizeF(9);
        m_font.setStyleHint(QFont::SansSerif);
        m_painter.setFont(m_font);
        const QFontMetricsF fm(m_font, &device);
        m_rowHeight = fm.height() * 1.5;
        m_pad = fm.averageCharWidth() * 0.5;
        m_page = QRectF(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
        m_footer = m_rowHeight * 1.5;

        double total = 0;
        for (const OutputColumn &c : doc.columns)
            total += OutputCell::widthInChars(c) * fm.averageCharWidth() + 2 * m_pad;
        const double scale = total > m_page.width() ? m_page.width() / total : 1.0;
        double x = 0;
        for (const OutputColumn &c : doc.columns) {
            const double w = (OutputCell::widthInChars(c) * fm.averageCharWidth() + 2 * m_pad) * scale;
            m_columns << QRectF(x, 0, w, m_rowHeight);
            x += w;
        }
    }

    int pages() const { return m_pageNumber; }

    bool begin()
    {
        m_pageNumber = 1;
        m_y = 0;
        if (!m_doc.title.isEmpty()) {
            QFont title = m_font;
            title.setPointSizeF(m_font.pointSizeF() * 1.6);
            title.setBold(true);
            m_painter.setFont(title);
            const double h = QFontMetricsF(title, &m_device).height() * 1.6;
            m_painter.drawText(QRectF(0, 0, m_page.width(), h), Qt::AlignCenter, OutputCell::printable(m_doc.title));
            m_painter.setFont(m_font);
            m_y += h;
        }
        headItems();
        headings();
        return true;
    }

    bool row(const QVariantList &values, bool bold = false)
    {
        if (m_y + m_rowHeight > m_page.height() - m_footer) {
            footer();
            if (!m_device.newPage())
                return false;
            ++m_pageNumber;
            m_y = 0;
            headings();
        }
        QFont f = m_font;
        f.setBold(bold);
        m_painter.setFont(f);
        for (int i = 0; i < m_columns.size(); ++i)
            cell(i, m_doc.columns[i], i < values.size() ? values[i] : QVariant());
        m_painter.setFont(m_font);
        m_y += m_rowHeight;
        return true;
    }

    void finish() { footer(); }

private:
    // Head items three to a line, each "caption：value", as wide as a third of the page.
    void headItems()
    {
        constexpr int kPerLine = 3;
        const double w = m_page.width() / kPerLine;
        for (int i = 0; i < m_doc.headItems.size(); ++i) {
            const auto &[caption, value] = m_doc.headItems[i];
            const QRectF r(w * (i % kPerLine), m_y, w, m_rowHeight);
            const QString text = OutputCell::printable(caption) + QStringLiteral("：") + OutputCell::printable(value);
            m_painter.drawText(r.adjusted(m_pad, 0, -m_pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                               m_painter.fontMetrics().elidedText(text, Qt::ElideRight, int(r.width() - 2 * m_pad)));
            if (i % kPerLine == kPerLine - 1 || i == m_doc.headItems.size() - 1)
                m_y += m_rowHeight;
        }
        if (!m_doc.headItems.isEmpty())
            m_y += m_rowHeight * 0.5;
    }

    void headings()
    {
        QFont bold = m_font;
        bold.setBold(true);
        m_painter.setFont(bold);
        for (int i = 0; i < m_columns.size(); ++i) {
            const QRectF r = m_columns[i].translated(0, m_y);
            m_painter.fillRect(r, QColor(235, 235, 235));
            m_painter.drawRect(r);
            m_painter.drawText(r.adjusted(m_pad, 0, -m_pad, 0), Qt::AlignCenter,
                               m_painter.fontMetrics().elidedText(OutputCell::printable(m_doc.columns[i].caption),
                                                                  Qt::ElideRight, int(r.width() - 2 * m_pad)));
        }
        m_painter.setFont(m_font);
        m_y += m_rowHeight;
    }

    void cell(int i, const OutputColumn &column, const QVariant &value)
    {
        const QRectF r = m_columns[i].translated(0, m_y);
        m_painter.drawRect(r);
        const bool number = OutputCell::number(column, value).has_value();
        const QString text = m_painter.fontMetrics().elidedText(OutputCell::text(column, value), Qt::ElideRight,
                                                                int(r.width() - 2 * m_pad));
        m_painter.drawText(r.adjusted(m_pad, 0, -m_pad, 0),
                           (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
    }

    void footer()
    {
        const QRectF r(0, m_page.height() - m_footer, m_page.width(), m_footer);
        m_painter.drawText(r, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("第%1页").arg(m_pageNumber));
    }

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    const OutputDocument &m_doc;
    QFont m_font;
    QList<QRectF> m_columns;
    QRectF m_page;
    double m_rowHeight = 0;
    double m_pad = 0;
    double m_footer = 0;
    double m_y = 0;
    int m_pageNumber = 0;
};

QPageSize pageSizeOf(PageSetup::Paper paper)
{
    switch (paper) {
    case PageSetup::Paper::A3:
        return QPageSize(QPageSize::A3);
    case PageSetup::Paper::A5:
        return QPageSize(QPageSize::A5);
    case PageSetup::Paper::Letter:
        return QPageSize(QPageSize::Letter);
    case PageSetup::Paper::A4:
        break;
    }
    return QPageSize(QPageSize::A4);
}

enum class Rendered { Done, Cancelled, Failed };

Rendered render(OutputDocument &doc, QPagedPaintDevice &device, QPainter &painter, const OutputProgress &progress,
                int &pages)
{
    PageLayoutRun run(painter, device, doc);
    run.begin();
    const auto read = OutputCell::forEachRow(doc, progress, [&](const QVariantList &row) { return run.row(row); });
    if (read == OutputCell::RowsRead::Cancelled)
        return Rendered::Cancelled;
    if (read == OutputCell::RowsRead::WriteFailed || (!doc.totals.isEmpty() && !run.row(OutputCell::totalsLine(doc), true)))
        return Rendered::Failed;
    run.finish();
    pages = run.pages();
    return Rendered::Done;
}

QString printerFailed()
{
    return QStringLiteral("打印机无法打印，请检查打印机设置！");
}

} // namespace

namespace PagedPrinter {

Result<int> print(OutputDocument &doc, QPrinter &printer, const OutputProgress &progress)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(printer.outputFormat() == QPrinter::PdfFormat ? TargetFile::cannotWrite(printer.outputFileName())
                                                                  : printerFailed());
    int pages = 0;
    switch (render(doc, printer, painter, progress, pages)) {
    case Rendered::Cancelled:
        printer.abort();
        return fail(OutputCell::cancelledMessage());
    case Rendered::Failed:
        printer.abort();
        return fail(printerFailed());
    case Rendered::Done:
        break;
    }
    if (!painter.end())
        return fail(printerFailed());
    return pages;
}

Result<int> writePdf(OutputDocument &doc, const QString &path, const PageSetup &page, const OutputProgress &progress)
{
    TargetFile target(path);
    const auto partial = target.open();
    if (!partial)
        return fail(partial.error());
    int pages = 0;
    {
        QPdfWriter writer(*partial);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Orvane Samples"));
        writer.setTitle(doc.title);
        writer.setPageLayout(QPageLayout(pageSizeOf(page.paper),
                                         page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(page.marginMm, page.marginMm, page.marginMm, page.marginMm),
                                         QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(TargetFile::cannotWrite(path));
        const Rendered r = render(doc, writer, painter, progress, pages);
        painter.end();
        if (r == Rendered::Cancelled)
            return fail(OutputCell::cancelledMessage());
        if (r == Rendered::Failed)
            return fail(TargetFile::cannotWrite(path));
    }
    if (auto committed = target.commit(); !committed)
        return fail(committed.error());
    return pages;
}

} // namespace PagedPrinter
