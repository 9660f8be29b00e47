#include "output/PagedPrinter.h"
#include "output/TableFileWriter.h"

#include "support/OutputReadBack.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A sample list: an item code, a name that carries the troublesome characters, a quantity with
// two decimals and an amount with none; `rows` lines streamed one at a time.
OutputDocument sampleDocument(int rows)
{
    OutputDocument doc;
    doc.title = QStringLiteral("接单样品管理列表");
    doc.headItems = {{QStringLiteral("单据号"), QStringLiteral("YP-0001")}, {QStringLiteral("客户"), QStringLiteral("华东机电")}};
    doc.columns = {{QStringLiteral("存货编码"), 10, -1}, {QStringLiteral("存货名称"), 20, -1},
                   {QStringLiteral("数量"), 10, 2}, {QStringLiteral("金额"), 12, 0}};
    auto next = std::make_shared<int>(0);
    doc.nextRow = [next, rows](QVariantList &row) {
        if (*next >= rows)
            return false;
        const int i = (*next)++;
        const QString name = i == 0 ? QStringLiteral("=HYPERLINK(\"x\"),\"引号\"\n换行\x01") : QStringLiteral("零件%1").arg(i);
        row = {QStringLiteral("C%1").arg(i, 5, 10, QChar(u'0')), name, 1.126 * (i + 1), QVariant()};
        if (i % 2 == 0)
            row[3] = 1e12 + i; // large amounts stay plain numbers, never scientific notation
        return true;
    };
    doc.totals = {QVariant(), QVariant(), 123.456, QVariant()};
    return doc;
}

class OutputFiles : public testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static void writeMarker(const QString &file)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier file");
    }
    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
};

TEST_F(OutputFiles, csv_holds_title_head_headings_formatted_rows_and_totals_and_texts_cannot_become_formulas)
{
    OutputDocument doc = sampleDocument(3);
    ASSERT_TRUE(TableFileWriter::writeCsv(doc, path("list.csv")));
    ASSERT_TRUE(contents(path("list.csv")).startsWith("\xEF\xBB\xBF"));
    const auto rows = OutputReadBack::csvRows(path("list.csv"));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0], QStringList{QStringLiteral("接单样品管理列表")});
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("单据号"), QStringLiteral("YP-0001")}));
    EXPECT_EQ(rows[4], (QStringList{QStringLiteral("存货编码"), QStringLiteral("存货名称"), QStringLiteral("数量"), QStringLiteral("金额")}));
    EXPECT_EQ(rows[5], (QStringList{QStringLiteral("C00000"), QStringLiteral("'=HYPERLINK(\"x\"),\"引号\" 换行"),
                                    QStringLiteral("1.13"), QStringLiteral("1000000000000")}));
    EXPECT_EQ(rows[6], (QStringList{QStringLiteral("C00001"), QStringLiteral("零件1"), QStringLiteral("2.25"), QString()}));
    EXPECT_EQ(rows[8], (QStringList{QStringLiteral("合计"), QString(), QStringLiteral("123.46"), QString()}));
}

TEST_F(OutputFiles, xlsx_keeps_numbers_as_numbers_with_their_decimals_and_texts_as_texts)
{
    OutputDocument doc = sampleDocument(3);
    ASSERT_TRUE(TableFileWriter::writeXlsx(doc, path("list.xlsx")));
    const auto rows = OutputReadBack::xlsxRows(path("list.xlsx"));
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0].value(0), QStringLiteral("接单样品管理列表"));
    EXPECT_EQ(rows[2], (QStringList{QStringLiteral("客户"), QStringLiteral("华东机电")}));
    EXPECT_EQ(rows[4].value(2), QStringLiteral("数量"));
    EXPECT_EQ(rows[5].value(1), QStringLiteral("=HYPERLINK(\"x\"),\"引号\" 换行"));
    EXPECT_DOUBLE_EQ(rows[5].value(2).toDouble(), 1.126);
    EXPECT_DOUBLE_EQ(rows[5].value(3).toDouble(), 1e12);
    EXPECT_EQ(rows[8].value(0), QStringLiteral("合计"));
    EXPECT_DOUBLE_EQ(rows[8].value(2).toDouble(), 123.456);
    EXPECT_EQ(OutputReadBack::xlsxNumberFormats(path("list.xlsx")).mid(0, 2),
              (QStringList{QStringLiteral("0.00"), QStringLiteral("0")}));
}

TEST_F(OutputFiles, a_cancelled_or_failed_output_leaves_no_file_and_an_earlier_one_untouched)
{
    for (const QString &name : {QStringLiteral("a.csv"), QStringLiteral("a.xlsx"), QStringLiteral("a.pdf")}) {
        SCOPED_TRACE(name.toStdString());
        writeMarker(path(name));
        OutputDocument doc = sampleDocument(5000);
        const auto cancelAfterSomeRows = [](qint64 done) { return done < 1000; };
        const bool ok = name.endsWith(u"csv")    ? bool(TableFileWriter::writeCsv(doc, path(name), cancelAfterSomeRows))
                        : name.endsWith(u"xlsx") ? bool(TableFileWriter::writeXlsx(doc, path(name), cancelAfterSomeRows))
                                                 : bool(PagedPrinter::writePdf(doc, path(name), {}, cancelAfterSomeRows));
        EXPECT_FALSE(ok);
        EXPECT_EQ(contents(path(name)), QByteArray("earlier file"));
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no partial file is left";
        QFile::remove(path(name));
    }
    OutputDocument doc = sampleDocument(1);
    const auto refused = TableFileWriter::writeCsv(doc, path("no-such-folder/list.csv"));
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().contains(QStringLiteral("无法写入"))) << refused.error().toStdString();
}

TEST_F(OutputFiles, pdf_pages_repeat_the_headings_number_every_page_and_carry_every_line_in_chinese)
{
    OutputDocument doc = sampleDocument(300);
    const auto pages = PagedPrinter::writePdf(doc, path("list.pdf"));
    ASSERT_TRUE(pages) << pages.error().toStdString();
    ASSERT_GT(*pages, 2);
    EXPECT_EQ(OutputReadBack::pdfPages(path("list.pdf")), *pages);
    const QString text = OutputReadBack::pdfText(path("list.pdf"));
    EXPECT_EQ(text.count(QStringLiteral("接单样品管理列表")), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("华东机电")));
    EXPECT_EQ(text.count(QStringLiteral("存货名称")), *pages);
    for (int p = 1; p <= *pages; ++p)
        EXPECT_TRUE(text.contains(QStringLiteral("第%1页").arg(p))) << p;
    for (int i = 1; i < 300; ++i)
        EXPECT_TRUE(text.contains(QStringLiteral("零件%1 ").arg(i))) << i;
    EXPECT_TRUE(text.contains(QStringLiteral("1000000000298")));
    EXPECT_TRUE(text.contains(QStringLiteral("123.46")));
}

} // namespace
