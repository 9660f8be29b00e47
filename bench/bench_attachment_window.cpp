// Opening the attachment window on a voucher with 200 stored files: the Qt dialog made, loaded
// (toolbar, confirmation check, the stored files listed) and shown until its stored-files grid has
// painted, on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL. Beside it, the floor: the same
// listing statement prepared once and run through the database's own client library. The files'
// bytes are small; the listing never reads them. Wall time, offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"
#include "support/BenchWidgets.h"
#include "support/NativeClient.h"

#include "attachments/frmAccessory.h"
#include "platform/Connection.h"
#include "ui/AccessoryDialog.h"
#include "ui/AttachmentGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <map>

namespace {

constexpr qint32 Voucher = 1;
const QString Listing = QStringLiteral("SELECT fAutoID, fileNames, fileSize, fileExtension FROM OR_VN_fileTable "
                                       "WHERE iAutoID = ? AND fileType = ? ORDER BY fAutoID");

// A database with one voucher and `files` stored annexes (and as many of another voucher).
struct Annexes
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<Connection> cnn;
    QString error;
};

Annexes *annexes(benchmark::State &state)
{
    const Backend backend = backendArg(state);
    const int files = int(state.range(1));
    auto &made = benchCache<std::pair<Backend, int>, Annexes>();
    auto it = made.find({backend, files});
    if (it == made.end()) {
        makeWidgetApplication();
        Annexes &a = made[{backend, files}];
        a.db = std::make_unique<BenchDatabase>(backend);
        if (!a.db->available()) {
            a.error = a.db->error();
        } else {
            Connection &cnn = a.db->cnn();
            cnn.BeginTrans();
            cnn.Execute(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode) VALUES (?, ?)"),
                        {Voucher, QStringLiteral("YP-BENCH")});
            for (int voucher : {Voucher, Voucher + 1}) {
                for (int i = 0; i < files; ++i) {
                    auto added = cnn.Execute(
                        QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, fileSize, "
                                       "fileExtension) VALUES (?, ?, 2, ?, ?)"),
                        {voucher, QStringLiteral("打样图纸 %1.dwg").arg(i), QStringLiteral("%1.25 KB").arg(i),
                         QStringLiteral("DWG")});
                    if (!added)
                        a.error = added.error();
                }
            }
            cnn.CommitTrans();
            a.cnn = std::make_shared<Connection>();
            if (auto opened = a.cnn->Open(a.db->connectionString()); !opened)
                a.error = opened.error();
        }
        it = made.find({backend, files});
    }
    if (!it->second.error.isEmpty()) {
        state.SkipWithError(qPrintable(it->second.error));
        return nullptr;
    }
    return &it->second;
}

// Notes the first paint of a widget.
class PaintWatch final : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void BM_AttachmentWindowOpen(benchmark::State &state)
{
    Annexes *a = annexes(state);
    if (!a)
        return;
    for (auto _ : state) {
        auto view = std::make_shared<AccessoryDialog>();
        PaintWatch watch(view->storedGrid()->viewport());
        auto window = std::make_shared<frmAccessory>(view);
        window->Load(sFileType::Aannex, Voucher, a->cnn);
        view->show();
        QElapsedTimer waited;
        waited.start();
        while (!watch.painted && waited.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        const int rows = view->storedGrid()->rowCount();
        window.reset();
        view.reset();
        state.ResumeTiming();
        if (!watch.painted || rows != state.range(1)) {
            state.SkipWithError(qPrintable(QStringLiteral("%1 rows shown, painted %2").arg(rows).arg(watch.painted)));
            break;
        }
    }
}

void BM_AttachmentListingFloor(benchmark::State &state)
{
    Annexes *a = annexes(state);
    if (!a)
        return;
    auto client = NativeClient::open(a->db->connectionString());
    if (!client) {
        state.SkipWithError("the native client could not connect");
        return;
    }
    for (auto _ : state) {
        const qint64 rows = client->run(Listing, {double(Voucher), 2.0});
        if (rows != state.range(1)) {
            state.SkipWithError(qPrintable(QStringLiteral("%1 rows listed").arg(rows)));
            break;
        }
    }
}

void windowArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {200}, benchmark::kMillisecond, 200);
    b->UseRealTime();
}

} // namespace

BENCHMARK(BM_AttachmentWindowOpen)->Apply(windowArgs);
BENCHMARK(BM_AttachmentListingFloor)->Apply(windowArgs);
