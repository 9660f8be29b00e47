// A demo voucher printed through the demo print template, read back as another program reads it:
// the PDF's text through pdftotext, the CSV and XLSX files cell by cell. And the guard rails: a
// template naming a field the voucher lacks, nothing to print, a path that cannot be written.
#include "support/OutputReadBack.h"
#include "support/TestDatabase.h"

#include "common/NumberText.h"
#include "host/TemplateService.h"
#include "output/PagedPrinter.h"
#include "platform/DemoData.h"
#include "platform/SchemaSeed.h"
#include "report/VoucherPrintDocument.h"
#include "ui/VoucherPrintDialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class VoucherPrint : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        auto filled = DemoData::fill(db.cnn());
        ASSERT_TRUE(filled) << filled.error().toStdString();
        // The demo voucher with the most lines.
        auto id = db.cnn().Scalar(QStringLiteral("SELECT iAutoID FROM ManageSamples GROUP BY iAutoID "
                                                 "ORDER BY COUNT(*) DESC, iAutoID LIMIT 1"));
        ASSERT_TRUE(id);
        voucherId = id->toString();
        auto t = TemplateService(db.cnn()).printTemplate(SchemaSeed::kPrintTemplateId);
        ASSERT_TRUE(t) << t.error().toStdString();
        print = *t;
        auto read = VoucherPrintDocument::read(db.cnn(), QStringLiteral("1801"), voucherId);
        ASSERT_TRUE(read) << read.error().toStdString();
        values = *read;
        ASSERT_GE(values.lines, 3);
    }
    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    // A fresh document for each rendering: its rows are read once.
    VoucherPrintDialogs::DocumentSource source() const
    {
        return [this] {
            return VoucherPrintDocument::build(print, values);
        };
    }
    QList<PrintItem> shown(const QList<PrintItem> &items) const
    {
        QList<PrintItem> out;
        for (const PrintItem &i : items) {
            if (i.shown)
                out << i;
        }
        return out;
    }
    // A line's value as printed: numbers with the template's decimals.
    QString printed(int line, const PrintItem &item) const
    {
        const QString text = values.line(line, item.field);
        return item.decimals >= 0 ? NumberText::shown(text, item.decimals) : text;
    }

    TestDatabase db{GetParam()};
    QTemporaryDir dir;
    QString voucherId;
    PrintTemplate print;
    VoucherValues values;
};

TEST_P(VoucherPrint, the_pdf_carries_the_number_the_head_items_and_every_line)
{
    auto doc = VoucherPrintDocument::build(print, values);
    ASSERT_TRUE(doc) << doc.error().toStdString();
    const auto pages = PagedPrinter::writePdf(*doc, path("voucher.pdf"), VoucherPrintDocument::pageOf(print.setting));
    ASSERT_TRUE(pages) << pages.error().toStdString();
    const QString text = OutputReadBack::pdfText(path("voucher.pdf"));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("样品接单管理")));
    EXPECT_TRUE(text.contains(values.head(QStringLiteral("ccode")).trimmed()));
    for (const auto &[caption, value] : doc->headItems) {
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
        if (!value.trimmed().isEmpty()) {
            EXPECT_TRUE(text.contains(value.trimmed())) << caption.toStdString() << ": " << value.toStdString();
        }
    }
    const QList<PrintItem> columns = shown(print.body);
    for (int line = 0; line < values.lines; ++line) {
        for (const PrintItem &item : columns) {
            if (item.field != QLatin1String("cpscode") && item.decimals < 0)
                continue; // long names may wrap in a narrow column; codes and numbers do not
            const QString cell = printed(line, item);
            if (!cell.isEmpty()) {
                EXPECT_TRUE(text.contains(cell)) << "line " << line + 1 << " " << item.field.toStdString();
            }
        }
    }
    for (int p = 1; p <= *pages; ++p)
        EXPECT_TRUE(text.contains(QStringLiteral("第%1页").arg(p))) << p;

    // The picture of a printed page in the docs: ORVANE_PRINT_SCREENSHOT names the PNG to write.
    const QString picture = qEnvironmentVariable("ORVANE_PRINT_SCREENSHOT");
    if (!picture.isEmpty() && GetParam() == Backend::Sqlite) {
        const QString stem = picture.endsWith(QLatin1String(".png")) ? picture.chopped(4) : picture;
        EXPECT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                    {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                                     QStringLiteral("-singlefile"), path("voucher.pdf"), stem}),
                  0);
    }
}

TEST_P(VoucherPrint, csv_and_xlsx_hold_the_head_items_and_the_lines_cell_by_cell)
{
    const QList<PrintItem> columns = shown(print.body);
    for (const char *name : {"voucher.csv", "voucher.xlsx"}) {
        SCOPED_TRACE(name);
        const QString file = path(QString::fromLatin1(name));
        auto written = VoucherPrintDialogs::writeTable(source(), file);
        ASSERT_TRUE(written) << written.error().toStdString();
        const QList<QStringList> rows
            = file.endsWith(QLatin1String(".csv")) ? OutputReadBack::csvRows(file) : OutputReadBack::xlsxRows(file);
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(rows.first().value(0), QStringLiteral("样品接单管理"));
        // The head items, caption and value, one to a row.
        auto doc = VoucherPrintDocument::build(print, values);
        ASSERT_TRUE(doc);
        for (int i = 0; i < doc->headItems.size(); ++i)
            EXPECT_EQ(rows.value(1 + i).value(0), doc->headItems[i].first);
        EXPECT_EQ(rows.value(1).value(1), values.head(QStringLiteral("ccode")));
        // The column headings, then every line.
        int heading = -1;
        for (int r = 0; r < rows.size() && heading < 0; ++r) {
            if (rows[r].value(0) == columns.first().caption)
                heading = r;
        }
        ASSERT_GE(heading, 0);
        ASSERT_EQ(rows.size() - heading - 1, values.lines);
        for (int line = 0; line < values.lines; ++line) {
            const QStringList &row = rows[heading + 1 + line];
            for (int c = 0; c < columns.size(); ++c) {
                const QString expected = printed(line, columns[c]);
                const QString got = row.value(c);
                if (columns[c].decimals >= 0 && !expected.isEmpty()) {
                    // XLSX keeps the number itself and shows it with the decimals; CSV writes it shown.
                    EXPECT_EQ(NumberText::shown(got, columns[c].decimals), expected) << line << " " << c;
                } else {
                    EXPECT_EQ(got, expected) << line << " " << columns[c].field.toStdString();
                }
            }
        }
    }
}

TEST_P(VoucherPrint, a_template_that_cannot_be_printed_says_why_and_writes_nothing)
{
    PrintTemplate missing = print;
    missing.body.append({QStringLiteral("cnosuchfield"), QStringLiteral("不存在的列"), 99, 10, -1, true});
    auto doc = VoucherPrintDocument::build(missing, values);
    ASSERT_FALSE(doc);
    EXPECT_EQ(doc.error(), QStringLiteral("打印模板中的项目[不存在的列]在单据中不存在，请检查！"));

    PrintTemplate nothing = print;
    for (QList<PrintItem> *items : {&nothing.head, &nothing.body}) {
        for (PrintItem &i : *items)
            i.shown = false;
    }
    EXPECT_EQ(VoucherPrintDocument::build(nothing, values).error(),
              QStringLiteral("打印模板没有可打印的项目，请检查！"));

    // A folder that is not there: the PDF fails and no file is left behind.
    auto good = VoucherPrintDocument::build(print, values);
    ASSERT_TRUE(good);
    EXPECT_FALSE(PagedPrinter::writePdf(*good, path("no-such-folder/voucher.pdf")));
    EXPECT_FALSE(VoucherPrintDialogs::writeTable(source(), path("no-such-folder/voucher.xlsx")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    EXPECT_EQ(VoucherPrintDocument::read(db.cnn(), QStringLiteral("1801"), QStringLiteral("987654")).error(),
              QStringLiteral("不存在该单据，请检查！"));
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherPrint, ORVANE_BOTH_BACKENDS);

} // namespace
