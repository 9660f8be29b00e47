// Attachment upload and download of a 50 MB file (1 MB in a quick run) on SQLite and (when ORVANE_TEST_PG is set)
// PostgreSQL, next to a plain copy of the same file on the same disk in the same run: the store
// should move files at no less than a third of the copy's rate. A copy that also syncs the new
// file to disk shows what durability alone costs, and an upload bound through the Qt driver shows
// what the native binary path saves. Rates are wall-clock (bytes_per_second, real time).
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "attachments/DataStreamClass.h"
#include "host/MemoryDataGrid.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

#include <unistd.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr qint32 Voucher = 1;

QTemporaryDir &scratch()
{
    return benchData<QTemporaryDir>();
}

// A file of `mb` MiB of random bytes (random, so that nothing on the way can compress it).
QString sourceFile(qint64 mb)
{
    const QString path = scratch().filePath(QStringLiteral("source-%1.bin").arg(mb));
    if (QFile::exists(path))
        return path;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    QRandomGenerator gen(20261206);
    QByteArray block(int(MiB), Qt::Uninitialized);
    for (qint64 i = 0; i < mb; ++i) {
        gen.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        f.write(block);
    }
    return path;
}

QString target()
{
    return scratch().filePath(QStringLiteral("target.bin"));
}

struct Store
{
    std::unique_ptr<BenchDatabase> db;
    DataStreamClass annexes;
};

Store &store(Backend backend)
{
    std::map<Backend, Store> &stores = benchCache<Backend, Store>();
    auto it = stores.find(backend);
    if (it != stores.end())
        return it->second;
    ensureBenchApplication();
    Store &s = stores[backend];
    s.db = std::make_unique<BenchDatabase>(backend);
    if (s.db->available())
        s.annexes.InitParameters(std::shared_ptr<Connection>(std::shared_ptr<Connection>(), &s.db->cnn()),
                                 qint32(fileType::annex), Voucher);
    return s;
}

// The store of the run's backend, or nullptr after marking the run as skipped.
Store *readyStore(benchmark::State &state)
{
    Store &s = store(backendArg(state));
    if (s.db->available())
        return &s;
    state.SkipWithError(qPrintable(s.db->error()));
    return nullptr;
}

// Runs `tidy` between timed iterations (removing what the iteration wrote).
template<typename Tidy> void untimed(benchmark::State &state, Tidy tidy)
{
    state.PauseTiming();
    tidy();
    state.ResumeTiming();
}

void emptyTable(Store &s)
{
    s.db->cnn().Execute(QStringLiteral("DELETE FROM OR_VN_fileTable"));
}

void removeTarget()
{
    QFile::remove(target());
}

FileClass chosen(const QString &path)
{
    FileClass f;
    f.InitOpenFileParameters(Voucher, fileType::annex, {path, QStringLiteral("基准附件.bin")});
    return f;
}

// Copies the file in 1 MiB steps, as a copy program does; with `sync` the new file is also synced
// to disk, as a committed database write is.
void runCopy(benchmark::State &state, bool sync)
{
    const qint64 mb = state.range(1);
    const QString source = sourceFile(mb);
    QByteArray buffer(int(MiB), Qt::Uninitialized);
    for (auto _ : state) {
        QFile in(source);
        QFile out(target());
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            state.SkipWithError("the files cannot be opened");
            break;
        }
        for (qint64 n; (n = in.read(buffer.data(), buffer.size())) > 0;)
            out.write(buffer.constData(), n);
        out.flush();
        if (sync)
            ::fsync(out.handle());
        out.close();
        untimed(state, removeTarget);
    }
    state.SetBytesProcessed(state.iterations() * mb * MiB);
}

// What the store's rates are measured against.
void BM_PlainFileCopy(benchmark::State &state)
{
    runCopy(state, false);
}

void BM_FileCopyWithSync(benchmark::State &state)
{
    runCopy(state, true);
}

void BM_Upload(benchmark::State &state)
{
    const qint64 mb = state.range(1);
    const QString source = sourceFile(mb);
    Store *s = readyStore(state);
    if (!s)
        return;
    const FileClass file = chosen(source);
    for (auto _ : state) {
        QString msg;
        if (!s->annexes.SaveFile2Server(file, msg)) {
            state.SkipWithError(qPrintable(msg));
            break;
        }
        untimed(state, [s] { emptyTable(*s); });
    }
    state.SetBytesProcessed(state.iterations() * mb * MiB);
}

// The row written with the file's bytes bound as an ordinary parameter through Qt's driver, which
// the store avoids (PostgreSQL's driver sends them as escaped text).
void BM_UploadThroughDriver(benchmark::State &state)
{
    const qint64 mb = state.range(1);
    const QString source = sourceFile(mb);
    Store *s = readyStore(state);
    if (!s)
        return;
    for (auto _ : state) {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the file cannot be opened");
            break;
        }
        auto done = s->db->cnn().Execute(QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, "
                                                        "fileStream) VALUES (?, ?, 2, ?)"),
                                         {Voucher, QStringLiteral("基准附件.bin"), in.readAll()});
        if (!done) {
            state.SkipWithError(qPrintable(done.error()));
            break;
        }
        untimed(state, [s] { emptyTable(*s); });
    }
    state.SetBytesProcessed(state.iterations() * mb * MiB);
}

void BM_Download(benchmark::State &state)
{
    const qint64 mb = state.range(1);
    Store *s = readyStore(state);
    if (!s)
        return;
    QString msg;
    emptyTable(*s);
    if (!s->annexes.SaveFile2Server(chosen(sourceFile(mb)), msg)) {
        state.SkipWithError(qPrintable(msg));
        return;
    }
    MemoryDataGrid grid(QStringLiteral("ServerGrid"), {"序号", "文件名", "大小", "类型"});
    s->annexes.LoadServerAnnex(grid);
    for (auto _ : state) {
        if (!s->annexes.GetServerData(target(), 1, 1, &grid)) {
            state.SkipWithError("the download failed");
            break;
        }
        untimed(state, removeTarget);
    }
    state.SetBytesProcessed(state.iterations() * mb * MiB);
}

// A file of 50 MiB; 1 MiB in a quick run.
void copyArgs(benchmark::internal::Benchmark *b)
{
    b->Args({0, benchSize(50, 1)})->ArgNames({"pg", "n"})->Unit(benchmark::kMillisecond)->UseRealTime();
    quickIterations(b);
}

void storeArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {50}, benchmark::kMillisecond, 1);
    b->UseRealTime()->Iterations(benchSize(3, 1));
}

} // namespace

BENCHMARK(BM_PlainFileCopy)->Apply(copyArgs);
BENCHMARK(BM_FileCopyWithSync)->Apply(copyArgs);
BENCHMARK(BM_Upload)->Apply(storeArgs);
BENCHMARK(BM_UploadThroughDriver)->Apply(storeArgs);
BENCHMARK(BM_Download)->Apply(storeArgs);
