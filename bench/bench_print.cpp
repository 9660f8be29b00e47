// A sample voucher printed to PDF through the demo print template on SQLite and (when
// ORVANE_TEST_PG is set) PostgreSQL: the voucher's head and lines read from the views, laid out by
// the template and rendered page by page. Beside it, the floor: the same number of rows of fixed
// values rendered with no database and no template. Each run reports the pages written and the
// process's peak resident memory so far (peak_rss_mb). Target: 1,000 lines under 2 s and 200 MB.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"
#include "support/BenchWidgets.h"

#include "host/TemplateService.h"
#include "output/PagedPrinter.h"
#include "platform/SchemaSeed.h"
#include "report/VoucherPrintDocument.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

#include <sys/resource.h>

namespace {

constexpr int Voucher = 1;

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

QTemporaryDir &scratch()
{
    return benchData<QTemporaryDir>();
}

// A voucher of `lines` lines written straight into the tables, in one transaction.
Result<void> writeVoucher(Connection &cnn, int lines)
{
    if (auto begun = cnn.BeginTrans(); !begun)
        return begun;
    auto done = cnn.Execute(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, "
                                           "cnewinvcomunitcode, cmaker, ddate, iFinishExch, cMemo) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            {Voucher, QStringLiteral("YP2026120001"), QStringLiteral("NEW1"),
                             QStringLiteral("精密减速机样品"), QStringLiteral("PCS"), QStringLiteral("演示用户"),
                             QStringLiteral("2026-12-01"), 1.0, QStringLiteral("打印基准")});
    const QString line = QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, tdQtyD, "
                                        "iWasteRate, cWhCode, iMaterialCharge, iMaterialCost) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 1; done && i <= lines; ++i)
        done = cnn.Execute(line, {Voucher, i, QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')), 1.5 * i, 1.0, 2.5,
                                  QStringLiteral("01"), 12.3456, 18.52 * i});
    if (!done) {
        cnn.RollbackTrans();
        return fail(done.error());
    }
    return cnn.CommitTrans();
}

struct PrintData
{
    std::unique_ptr<BenchDatabase> db;
    PrintTemplate print;
    QString error;
};

PrintData &data(Backend backend, int lines)
{
    auto &cache = benchCache<std::pair<Backend, int>, PrintData>();
    auto it = cache.find({backend, lines});
    if (it != cache.end())
        return it->second;
    PrintData &d = cache[{backend, lines}];
    d.db = std::make_unique<BenchDatabase>(backend);
    if (!d.db->available()) {
        d.error = d.db->error();
        return d;
    }
    if (auto written = writeVoucher(d.db->cnn(), lines); !written) {
        d.error = written.error();
        return d;
    }
    auto t = TemplateService(d.db->cnn()).printTemplate(SchemaSeed::kPrintTemplateId);
    if (!t)
        d.error = t.error();
    else
        d.print = *t;
    return d;
}

void report(benchmark::State &state, int pages)
{
    state.counters["pages"] = pages;
    state.counters["peak_rss_mb"] = peakRssMb();
}

// Read, lay out and render a voucher of range(1) lines.
void BM_VoucherPdf(benchmark::State &state)
{
    makeWidgetApplication();
    const int lines = int(state.range(1));
    PrintData &d = data(backendArg(state), lines);
    if (!d.error.isEmpty()) {
        state.SkipWithError(d.error.toStdString().c_str());
        return;
    }
    const QString path = scratch().filePath(QStringLiteral("voucher.pdf"));
    int pages = 0;
    for (auto _ : state) {
        auto values = VoucherPrintDocument::read(d.db->cnn(), QStringLiteral("1801"), QString::number(Voucher));
        auto doc
            = values ? VoucherPrintDocument::build(d.print, *values) : Result<OutputDocument>(fail(values.error()));
        auto written = doc ? PagedPrinter::writePdf(*doc, path, VoucherPrintDocument::pageOf(d.print.setting))
                           : Result<int>(fail(doc.error()));
        if (!written) {
            state.SkipWithError(written.error().toStdString().c_str());
            return;
        }
        pages = *written;
    }
    report(state, pages);
}

// The floor: as many rows of fixed values and the same columns, rendered with nothing read.
void BM_PdfFloor(benchmark::State &state)
{
    makeWidgetApplication();
    const int lines = int(state.range(1));
    PrintData &d = data(Backend::Sqlite, lines);
    if (!d.error.isEmpty()) {
        state.SkipWithError(d.error.toStdString().c_str());
        return;
    }
    const QString path = scratch().filePath(QStringLiteral("floor.pdf"));
    int pages = 0;
    for (auto _ : state) {
        OutputDocument doc;
        doc.title = d.print.title;
        QVariantList values;
        for (const PrintItem &item : d.print.body) {
            if (!item.shown)
                continue;
            doc.columns.append({item.caption, item.width, item.decimals});
            values.append(item.decimals >= 0 ? QVariant(123.45) : QVariant(QStringLiteral("P00001")));
        }
        int row = 0;
        doc.nextRow = [&](QVariantList &out) {
            out = values;
            return row++ < lines;
        };
        auto written = PagedPrinter::writePdf(doc, path, VoucherPrintDocument::pageOf(d.print.setting));
        if (!written) {
            state.SkipWithError(written.error().toStdString().c_str());
            return;
        }
        pages = *written;
    }
    report(state, pages);
}

} // namespace

BENCHMARK(BM_VoucherPdf)->Apply([](benchmark::internal::Benchmark *b) {
    addBackendArgs(b, {1000, 10000}, benchmark::kMillisecond, 100);
});
BENCHMARK(BM_PdfFloor)->Apply([](benchmark::internal::Benchmark *b) {
    addBackendArgs(b, {1000, 10000}, benchmark::kMillisecond, 100);
});
