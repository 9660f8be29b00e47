// The sample's save rules on a realistic structure, SQLite and (when ORVANE_TEST_PG is set)
// PostgreSQL: a top-level voucher of 1,000 lines whose components are child samples nested five
// levels deep (1,000 samples on the first level, 50 items on each level below, three lines each).
//  - BM_CheckTopVoucher: every check of a save of the top voucher - the document checks, the
//    structure-key checks and the cycle walk - on the save's connection inside a transaction.
//  - BM_CheckLeafSample: the cycle walk from a bottom item up through every level to the top,
//    the longest walk the structure holds (about 1,150 distinct ancestors, many paths to each).
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "platform/VoucherDocument.h"
#include "sample/clsManageSample.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// The top voucher's lines, and the first level's samples: 20 in a quick run.
int topLines()
{
    return benchSize(1000, 20);
}

constexpr int kPool = 50;
constexpr int kLevels = 5;
constexpr int kLinesPerChild = 3;

QString item(int level, int index)
{
    return QStringLiteral("L%1-%2").arg(level).arg(index, 4, 10, QLatin1Char('0'));
}

struct Structure
{
    std::unique_ptr<BenchDatabase> db;
    VoucherDocument topHead;
    VoucherDocument topBody;
    VoucherDocument leafHead;
    QString error;

    Result<void> addSample(int id, const QString &code, const QString &newItem, const QString &version,
                           const QStringList &components)
    {
        auto head = db->cnn().Execute(
            QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, "
                           "cnewinvcomunitcode, csocode, iFinishExch) VALUES (?, ?, ?, '基准', 'PCS', ?, 1)"),
            {id, code, newItem, version});
        if (!head)
            return fail(head.error());
        for (int i = 0; i < components.size(); ++i) {
            auto line
                = db->cnn().Execute(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, "
                                                   "tdQtyD, cWhCode) VALUES (?, ?, ?, 1, 1, '01')"),
                                    {id, id * 10000 + i + 1, components[i]});
            if (!line)
                return fail(line.error());
        }
        return {};
    }

    Result<void> build()
    {
        if (auto begun = db->cnn().BeginTrans(); !begun)
            return begun;
        QStringList top;
        for (int i = 0; i < topLines(); ++i)
            top << item(1, i);
        int id = 1;
        if (auto r = addSample(id, QStringLiteral("BT-1"), QStringLiteral("TOP"), QString(), top); !r)
            return r;
        for (int level = 1; level < kLevels; ++level) {
            const int count = level == 1 ? topLines() : kPool;
            for (int i = 0; i < count; ++i) {
                QStringList below;
                for (int j = 0; j < kLinesPerChild; ++j)
                    below << item(level + 1, (i + j * 17) % kPool);
                if (auto r = addSample(++id, QString(), item(level, i), QStringLiteral("V1"), below); !r)
                    return r;
            }
        }
        // The bottom item gets a child sample of its own; walking up from it crosses every level.
        if (auto r = addSample(++id, QString(), item(kLevels, 0), QStringLiteral("V1"), {QStringLiteral("RAW")}); !r)
            return r;
        if (auto done = db->cnn().CommitTrans(); !done)
            return done;

        VoucherRow head = topHead.appendRow();
        for (const auto &[name, value] : QList<QPair<QString, QString>>{{"iautoid", "1"},
                                                                        {"ccode", "BT-1"},
                                                                        {"cnewinvcode", "TOP"},
                                                                        {"cnewinvname", "基准"},
                                                                        {"cnewinvcomunitcode", "PCS"},
                                                                        {"ifinishexch", "1"}})
            head.setValue(name, value);
        for (const QString &component : top) {
            VoucherRow line = topBody.appendRow();
            for (const auto &[name, value] : QList<QPair<QString, QString>>{{"cpscode", component},
                                                                            {"csocode", "V1"},
                                                                            {"ipsquantity", "1"},
                                                                            {"tdqtyd", "1"},
                                                                            {"iwasterate", "2.5"},
                                                                            {"cwhcode", "01"},
                                                                            {"editprop", "A"}})
                line.setValue(name, value);
        }
        VoucherRow leaf = leafHead.appendRow();
        leaf.setValue(QStringLiteral("iautoid"), QString::number(id));
        leaf.setValue(QStringLiteral("cnewinvcode"), item(kLevels, 0));
        leaf.setValue(QStringLiteral("csocode"), QStringLiteral("V1"));
        return {};
    }
};

Structure &structure(Backend backend)
{
    std::map<Backend, Structure> &structures = benchCache<Backend, Structure>();
    auto it = structures.find(backend);
    if (it != structures.end())
        return it->second;
    Structure &s = structures[backend];
    s.db = std::make_unique<BenchDatabase>(backend);
    if (!s.db->available()) {
        s.error = s.db->error();
        return s;
    }
    if (auto built = s.build(); !built)
        s.error = built.error();
    return s;
}

bool ready(benchmark::State &state, Structure &s)
{
    if (s.error.isEmpty())
        return true;
    state.SkipWithError(qPrintable(s.error));
    return false;
}

// Runs `checks` once an iteration inside a transaction that is rolled back, as the save's second
// stage runs inside the save's; "" from checks means passed.
template<typename Checks> void runChecks(benchmark::State &state, Checks checks)
{
    Structure &s = structure(backendArg(state));
    if (!ready(state, s))
        return;
    clsManageSample rules;
    Connection &cnn = s.db->cnn();
    for (auto _ : state) {
        cnn.BeginTrans();
        const QString msg = checks(s, rules, cnn);
        cnn.RollbackTrans();
        if (!msg.isEmpty()) {
            state.SkipWithError(qPrintable(msg));
            break;
        }
    }
}

void BM_CheckTopVoucher(benchmark::State &state)
{
    runChecks(state, [](Structure &s, clsManageSample &rules, Connection &cnn) {
        QString msg = rules.HeadSaveCheck(s.topHead) + rules.BodySaveCheck(s.topBody);
        qint32 parent = 0;
        QString version;
        const VoucherRow head = s.topHead.headRow();
        if (!rules.HeadSaveCheck2(cnn, head, parent, version, msg) || !rules.BodySaveCheck2(cnn, head, msg))
            return msg.isEmpty() ? QStringLiteral("refused") : msg;
        return msg;
    });
    state.counters["lines"] = topLines();
}

void BM_CheckLeafSample(benchmark::State &state)
{
    runChecks(state, [](Structure &s, clsManageSample &rules, Connection &cnn) {
        QString msg;
        return rules.BodySaveCheck2(cnn, s.leafHead.headRow(), msg) ? QString() : msg;
    });
}

} // namespace

BENCHMARK(BM_CheckTopVoucher)->Apply([](auto *b) { addBackendArgs(b, {topLines()}, benchmark::kMillisecond); });
BENCHMARK(BM_CheckLeafSample)->Apply([](auto *b) { addBackendArgs(b, {kLevels}, benchmark::kMillisecond); });
