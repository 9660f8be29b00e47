// The card window as the user meets it: opening the Qt card on a voucher of 1,000 lines until its
// body grid has painted, and moving to the next voucher (another 1,000 lines) through the window's
// command until the grid has painted again. Two generated vouchers on top of the demo company, on
// SQLite and (when ORVANE_TEST_PG is set) PostgreSQL; the window is shown on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise. Wall time: the server's share counts.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"
#include "support/BenchWidgets.h"
#include "support/PreparedData.h"

#include "card/frmManageSample.h"
#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"
#include "platform/DemoData.h"
#include "sample/SampleObjects.h"
#include "ui/QtWindows.h"
#include "ui/CardGrid.h"
#include "ui/SampleCardWindow.h"
#include "ui/VoucherCardWidget.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kVouchers = 2;

// A widget application on the offscreen platform with the module's objects and Qt windows, made
// before the benchmark's databases make a core one.
void ensureWidgetApplication()
{
    if (!makeWidgetApplication())
        return;
    registerSampleObjects();
    registerQtWindows();
    // The windows go before the application does (given first, released last).
    atBenchEnd([] {
        unloadQtWindows();
        WindowManager::reset();
        modPublic::clearProgramState();
    });
}

// Notes the paint of any card's body grid once it holds lines.
class GridPaintWatch final : public QObject
{
public:
    GridPaintWatch() { qApp->installEventFilter(this); }
    ~GridPaintWatch() override { qApp->removeEventFilter(this); }

    // Processes events until a body grid has painted since the last call; false after 10 s.
    bool waitForPaint()
    {
        QElapsedTimer waited;
        waited.start();
        while (!m_painted && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const bool painted = m_painted;
        m_painted = false;
        return painted;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            auto *grid = widget ? qobject_cast<CardGrid *>(widget->parentWidget()) : nullptr;
            if (grid && grid->viewport() == widget && grid->rowCount() > 0
                && qobject_cast<VoucherCardWidget *>(grid->parentWidget()))
                m_painted = true;
        }
        return false;
    }

private:
    bool m_painted = false;
};

struct Vouchers
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsLogin> login;
    int firstId = 0;
    QString error;

    bool prepare(int lines)
    {
        if (auto filled = DemoData::fill(db->cnn()); !filled)
            return fail(filled.error());
        auto first = DemoData::generateVouchers(db->cnn(), kVouchers, lines);
        if (!first)
            return fail(first.error());
        firstId = *first;
        auto session = db->login();
        if (!session)
            return fail(session.error());
        login = *session;
        return true;
    }
    bool fail(const QString &why)
    {
        error = why;
        return false;
    }
};

Vouchers *vouchers(const benchmark::State &state)
{
    return preparedData<Vouchers>(state, &ensureWidgetApplication);
}

// A card window opened on one voucher, as the entry object opens it; closed when it goes.
class OpenCard
{
public:
    OpenCard(Vouchers &v, int voucherId)
        : m_card(std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard()))
    {
        std::shared_ptr<Connection> cnn;
        qint16 move = 0;
        if (!m_card || !m_card->ShowVoucher(cnn, v.login, QString::number(voucherId), QString(), m_error, move)) {
            if (m_error.isEmpty())
                m_error = QStringLiteral("the card did not open");
            return;
        }
        m_window = dynamic_cast<SampleCardWindow *>(&m_card->view());
        if (!m_window)
            m_error = QStringLiteral("the card is not a Qt window");
    }
    ~OpenCard()
    {
        if (m_window)
            m_window->close();
        m_card.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    SampleCardWindow *window() const { return m_window; }
    QString error() const { return m_error; }

private:
    std::shared_ptr<frmManageSample> m_card;
    SampleCardWindow *m_window = nullptr;
    QString m_error;
};

void BM_CardWindowOpen(benchmark::State &state)
{
    Vouchers *v = vouchers(state);
    if (!v) {
        state.SkipWithError("no database");
        return;
    }
    GridPaintWatch watch;
    for (auto _ : state) {
        auto card = std::make_unique<OpenCard>(*v, v->firstId);
        if (!card->window()) {
            state.SkipWithError(qPrintable(card->error()));
            break;
        }
        if (!watch.waitForPaint()) {
            state.SkipWithError("the body grid did not paint");
            break;
        }
        state.PauseTiming();
        if (card->window()->card()->BodyRows() != state.range(1)) {
            state.SkipWithError("the voucher's lines are not all shown");
            break;
        }
        card.reset();
        state.ResumeTiming();
    }
}

// Next from the first generated voucher to the second; going back (previous) is not timed.
void BM_CardWindowNext(benchmark::State &state)
{
    Vouchers *v = vouchers(state);
    if (!v) {
        state.SkipWithError("no database");
        return;
    }
    GridPaintWatch watch;
    OpenCard card(*v, v->firstId);
    if (!card.window() || !watch.waitForPaint()) {
        state.SkipWithError(card.error().isEmpty() ? "the body grid did not paint" : qPrintable(card.error()));
        return;
    }
    SampleCardWindow &window = *card.window();
    const QString second = QString::number(v->firstId + 1);
    for (auto _ : state) {
        window.command(QStringLiteral("tlbNext"))->trigger();
        if (!watch.waitForPaint()) {
            state.SkipWithError("the body grid did not paint");
            break;
        }
        state.PauseTiming();
        const QString shownId = window.card()->headerText(QStringLiteral("iautoid"));
        const int shownLines = window.card()->BodyRows();
        window.command(QStringLiteral("tlbPrevious"))->trigger();
        const bool back = watch.waitForPaint();
        state.ResumeTiming();
        if (shownId != second || shownLines != state.range(1) || !back) {
            state.SkipWithError(
                qPrintable(QStringLiteral("next showed voucher %1 of %2 lines").arg(shownId).arg(shownLines)));
            break;
        }
    }
}

void windowArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {1000}, benchmark::kMillisecond, 20);
    b->UseRealTime();
}

} // namespace

BENCHMARK(BM_CardWindowOpen)->Apply(windowArgs);
BENCHMARK(BM_CardWindowNext)->Apply(windowArgs);
