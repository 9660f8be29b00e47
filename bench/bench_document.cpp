// Writing and reading voucher documents, measured against a plain pugixml parse of the same text.
// A body of 10,000 lines is far beyond any real voucher; the point is that the document layer adds
// little to the XML library underneath it (target: write + read within 3x of the plain parse).

#include "support/BenchArgs.h"

#include "platform/Recordset.h"
#include "platform/VoucherDocument.h"

#include <QDate>
#include <QDateTime>
#include <QPair>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <malloc.h>

namespace {

// Every iteration allocates and frees some megabytes. By default glibc hands such memory back to
// the kernel and faults it in again on the next iteration, and how often that happens depends on
// what ran before, so the same work measured 3 ms or 11 ms depending on the order of the
// benchmarks. Keeping freed memory in the process makes the comparison one of work done.
const bool kSteadyHeap = [] {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    return true;
}();

constexpr int kRows = 10000;

// Body lines shaped like the sample lines, 50 to a voucher: keys, codes, Chinese names,
// quantities and prices, dates, some NULL columns and now and then text that needs escaping.
const Recordset &bodyLines()
{
    static const Recordset rs = [] {
        Recordset r;
        r.setFields({{"iAutoID", QMetaType::Int},           {"iSubID", QMetaType::Int},
                     {"cPsCode", QMetaType::QString},       {"cInvName", QMetaType::QString},
                     {"cInvStd", QMetaType::QString},       {"cFree1", QMetaType::QString},
                     {"cFree2", QMetaType::QString},        {"cWhCode", QMetaType::QString},
                     {"cUnitID", QMetaType::QString},       {"fBaseQtyN", QMetaType::Double},
                     {"fBaseQtyD", QMetaType::Double},      {"fWasteRate", QMetaType::Double},
                     {"fMaterialPrice", QMetaType::Double}, {"fOutPrice", QMetaType::Double},
                     {"dDate", QMetaType::QDate},           {"dVerifyTime", QMetaType::QDateTime},
                     {"bExpand", QMetaType::Bool},          {"ChildGUID", QMetaType::LongLong},
                     {"cMemo", QMetaType::QString},         {"editprop", QMetaType::QString}});
        const QDateTime stamp(QDate(2009, 11, 19), QTime(14, 30, 5));
        for (int i = 0; i < kRows; ++i) {
            r.appendRow({1000 + i / 50,
                         i + 1,
                         QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')),
                         QStringLiteral("不锈钢外壳 %1 型").arg(i % 97),
                         QStringLiteral("φ%1×2mm").arg(i % 13),
                         i % 3 ? QVariant(QStringLiteral("红色")) : QVariant(),
                         QVariant(),
                         QStringLiteral("01"),
                         QStringLiteral("PCS"),
                         1.0 + i % 7,
                         1.0,
                         i % 5 * 0.015,
                         12.5 + i % 11 * 0.37,
                         0.0,
                         QDate(2009, 11, 19).addDays(i / 50 % 30),
                         stamp.addSecs(i),
                         i % 2 == 0,
                         i % 4 ? QVariant() : QVariant(qint64(i) * 7919),
                         i % 10 ? QVariant(QString()) : QVariant(QStringLiteral("见图纸 \"A&B\" <rev 2>")),
                         QString()});
        }
        return r;
    }();
    return rs;
}

const QByteArray &bodyText()
{
    static const QByteArray text = VoucherDocument::fromRecordset(bodyLines()).xmlUtf8();
    return text;
}

void BM_PlainPugiParse(benchmark::State &state)
{
    const QByteArray &text = bodyText();
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result r = doc.load_buffer(text.constData(), size_t(text.size()));
        benchmark::DoNotOptimize(r.status);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_PlainPugiParse)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

// What a load and a hand-over cost together: recordset to document to text and back.
void BM_DocumentWriteRead(benchmark::State &state)
{
    const Recordset &rs = bodyLines();
    for (auto _ : state) {
        const QByteArray text = VoucherDocument::fromRecordset(rs).xmlUtf8();
        VoucherDocument doc;
        const Result<void> r = doc.loadXML(text);
        benchmark::DoNotOptimize(r.has_value());
    }
    state.SetBytesProcessed(state.iterations() * bodyText().size());
}
BENCHMARK(BM_DocumentWriteRead)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

// The same through QString, as callers that keep the text in a QString do.
void BM_DocumentWriteReadQString(benchmark::State &state)
{
    const Recordset &rs = bodyLines();
    for (auto _ : state) {
        const QString text = VoucherDocument::fromRecordset(rs).xml();
        VoucherDocument doc;
        const Result<void> r = doc.loadXML(text);
        benchmark::DoNotOptimize(r.has_value());
    }
}
BENCHMARK(BM_DocumentWriteReadQString)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

void BM_DocumentFromRecordset(benchmark::State &state)
{
    const Recordset &rs = bodyLines();
    for (auto _ : state) {
        VoucherDocument doc = VoucherDocument::fromRecordset(rs);
        benchmark::DoNotOptimize(doc.isEmpty());
    }
}
BENCHMARK(BM_DocumentFromRecordset)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

void BM_DocumentRead(benchmark::State &state)
{
    const QByteArray &text = bodyText();
    for (auto _ : state) {
        VoucherDocument doc;
        const Result<void> r = doc.loadXML(text);
        benchmark::DoNotOptimize(r.has_value());
    }
}
BENCHMARK(BM_DocumentRead)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

// Reading every value of every live line, as a save walks the body.
void BM_DocumentSelectAndReadValues(benchmark::State &state)
{
    VoucherDocument doc;
    (void)doc.loadXML(bodyText());
    for (auto _ : state) {
        qsizetype chars = 0;
        for (const VoucherRow &row : doc.selectNodes(QStringLiteral("//z:row [@editprop!='D']")))
            chars += row.value(QStringLiteral("cinvname")).size() + row.value(QStringLiteral("fbaseqtyn")).size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_DocumentSelectAndReadValues)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

// Text of a document that was read and changed: written by pugixml from the tree.
void BM_DocumentXmlAfterEdit(benchmark::State &state)
{
    VoucherDocument doc;
    (void)doc.loadXML(bodyText());
    doc.row(0).setValue(QStringLiteral("editprop"), QStringLiteral("M"));
    for (auto _ : state) {
        const QByteArray text = doc.xmlUtf8();
        benchmark::DoNotOptimize(text.size());
    }
}
BENCHMARK(BM_DocumentXmlAfterEdit)->Unit(benchmark::kMillisecond)->Apply(quickIterations);

// Entering lines one after another, as a bulk entry or an import does: each appendRow() must cost
// the same however many lines the body already has (target: 10,000 lines well under 50 ms). The
// floor is pugixml appending the same rows to its own tree. The values' text is made beforehand:
// what is measured is the tree, not the number formatting.
using LineValues = QList<QPair<QString, QString>>;

const QList<LineValues> &lineValues()
{
    static const QList<LineValues> lines = [] {
        const Recordset &rs = bodyLines();
        QList<LineValues> made;
        for (int i = 0; i < rs.RecordCount(); ++i) {
            LineValues values;
            for (int c = 0; c < rs.fieldCount(); ++c) {
                const QVariant value = rs.value(i, c);
                if (!value.isNull())
                    values.append({rs.fields()[c].name, VoucherDocument::valueText(value)});
            }
            made.append(values);
        }
        return made;
    }();
    return lines;
}

void BM_PlainPugiAppendRows(benchmark::State &state)
{
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_node data = doc.append_child("xml").append_child("rs:data");
        for (const LineValues &line : lineValues()) {
            pugi::xml_node row = data.append_child("z:row");
            for (const auto &[name, text] : line)
                row.append_attribute(name.toLower().toUtf8().constData()).set_value(text.toUtf8().constData());
        }
        benchmark::DoNotOptimize(data.last_child());
    }
}
BENCHMARK(BM_PlainPugiAppendRows)->Unit(benchmark::kMillisecond);

void BM_DocumentAppendRows(benchmark::State &state)
{
    for (auto _ : state) {
        VoucherDocument doc;
        for (const LineValues &line : lineValues()) {
            VoucherRow row = doc.appendRow();
            for (const auto &[name, text] : line)
                row.setValue(name, text);
        }
        benchmark::DoNotOptimize(doc.isEmpty());
    }
}
BENCHMARK(BM_DocumentAppendRows)->Unit(benchmark::kMillisecond);

} // namespace
