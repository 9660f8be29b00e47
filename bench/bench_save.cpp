// Saving vouchers through the engine on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL: new
// vouchers of 20 to 10,000 lines, an edit of one line of a 1,000-line voucher, and a run of 100
// new vouchers with automatic numbering (does a save slow down as vouchers pile up?).
#include "support/BenchArgs.h"
#include "support/BenchDatabase.h"
#include "support/NativeClient.h"
#include "support/PreparedData.h"

#include "engine/clsVoucherCo.h"
#include "entry/VoucherRegistration.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// A user's card on a database of its own per backend: an engine on card "1801" with the sample's
// business object, on a private database kept for the whole run.
struct Card
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsVoucherShowParameter> sp = std::make_shared<clsVoucherShowParameter>();
    std::unique_ptr<clsVoucherCo> engine;
    QString error;
    int saved = 0;

    void prepare()
    {
        auto session = db->login();
        if (!session) {
            error = session.error();
            return;
        }
        engine = std::make_unique<clsVoucherCo>();
        engine->Initial(*session, QStringLiteral("1801"), sp);
        // The master data the vouchers name: the save checks every reference.
        const QStringList rows{
            QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName) VALUES ('PCS', '个')"),
            QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('01', '原料库')"),
            QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId, cComUnitCode) "
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                           "SELECT 'C' || CAST(i AS TEXT), '子件', i, 'PCS' FROM n")};
        for (const QString &sql : rows) {
            if (auto done = db->cnn().Execute(sql, QVariantList()); !done) {
                error = done.error();
                engine.reset();
                return;
            }
        }
    }

    // Documents of a new voucher with `lines` new lines; the number is left empty.
    void fillNew(int lines)
    {
        sp->ID = 0;
        engine->GetVoucherData();
        const QString item = QStringLiteral("BS-NEW-%1").arg(saved);
        db->cnn().Execute(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) SELECT ?, '基准新品', "
                                         "(SELECT COALESCE(MAX(iId), 0) + 1 FROM Inventory) "
                                         "WHERE NOT EXISTS (SELECT 1 FROM Inventory WHERE cInvCode = ?)"),
                          {item, item});
        VoucherRow head = engine->domHead().appendRow();
        head.setValue(QStringLiteral("ddate"), QStringLiteral("2026-12-01"));
        head.setValue(QStringLiteral("cnewinvcode"), item);
        head.setValue(QStringLiteral("cnewinvname"), QStringLiteral("基准新品"));
        head.setValue(QStringLiteral("cnewinvcomunitcode"), QStringLiteral("PCS"));
        head.setValue(QStringLiteral("ifinishexch"), QStringLiteral("1"));
        head.setValue(QStringLiteral("cmaker"), QStringLiteral("bench"));
        for (int i = 1; i <= lines; ++i) {
            VoucherRow line = engine->domBody().appendRow();
            line.setValue(QStringLiteral("cpscode"), QStringLiteral("C%1").arg(i));
            line.setValue(QStringLiteral("cfree1"), QStringLiteral("红"));
            line.setValue(QStringLiteral("ipsquantity"), QString::number(1 + i % 7));
            line.setValue(QStringLiteral("tdqtyd"), QStringLiteral("1"));
            line.setValue(QStringLiteral("iwasterate"), QStringLiteral("2.5"));
            line.setValue(QStringLiteral("cwhcode"), QStringLiteral("01"));
            line.setValue(QStringLiteral("imaterialcharge"), QStringLiteral("12.75"));
            line.setValue(QStringLiteral("editprop"), QStringLiteral("A"));
        }
    }

    QString save(int state)
    {
        QVariant id;
        qint32 parent = 0;
        QString version;
        const QString result = engine->VoucherSave(state, id, parent, version);
        if (result.isEmpty())
            ++saved;
        return result;
    }

    void setNumber(const QString &number) { engine->domHead().headRow().setValue(QStringLiteral("ccode"), number); }
};

Card &card(Backend backend)
{
    return preparedOnce<Card>(backend, backend, [](Card &c) { c.prepare(); });
}

bool ready(benchmark::State &state, Card &c)
{
    if (c.engine && c.engine->connection().isOpen())
        return true;
    state.SkipWithError(c.error.isEmpty() ? "no engine" : qPrintable(c.error));
    return false;
}

void BM_SaveNewVoucher(benchmark::State &state)
{
    const int lines = int(state.range(1));
    Card &c = card(backendArg(state));
    if (!ready(state, c))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        c.fillNew(lines);
        c.setNumber(QStringLiteral("BS-%1-%2").arg(lines).arg(c.saved));
        state.ResumeTiming();
        const QString result = c.save(2);
        if (!result.isEmpty()) {
            state.SkipWithError(qPrintable(result));
            break;
        }
    }
    state.counters["lines"] = lines;
}

// The floor of a save: the rows the engine wrote for a voucher of `lines` lines, written again
// through the native client in one transaction - the head by one statement, the lines by
// multi-row statements of 100 rows, each prepared once - with new keys and voucher number. What
// the engine adds on top (checks, numbering, locks, the documents) is the ratio to this.
struct SaveFloor
{
    QString headTable, bodyTable;
    QStringList headColumns, lineColumns;
    QList<QByteArray> head;
    QList<QList<QByteArray>> lines;
    qint64 nextId = 0, nextLine = 0;
    std::unique_ptr<NativeClient> client;
    QString error;

    static QList<QByteArray> texts(const Recordset &rs, int row, const QStringList &columns)
    {
        QList<QByteArray> out;
        for (const QString &c : columns) {
            const QVariant v = rs.value(row, rs.fieldIndex(c));
            out << (v.isNull() ? QByteArray() : v.typeId() == QMetaType::Double ? QByteArray::number(v.toDouble(), 'g', 17)
                                                                                 : v.toString().toUtf8());
        }
        return out;
    }
    // The columns the engine wrote: those holding a value, but the row version (a trigger's).
    static QStringList written(const Recordset &rs)
    {
        QStringList columns;
        for (int c = 0; c < rs.fieldCount(); ++c) {
            const QString name = rs.fields()[c].name.toLower();
            if (name != QLatin1String("qvts") && !rs.value(0, c).isNull())
                columns << name;
        }
        return columns;
    }

    void prepare(Card &c, int lineCount)
    {
        c.fillNew(lineCount);
        c.setNumber(QStringLiteral("BS-FLOOR-%1").arg(lineCount));
        QVariant id;
        qint32 parent = 0;
        QString version;
        if (const QString r = c.engine->VoucherSave(2, id, parent, version); !r.isEmpty()) {
            error = r;
            return;
        }
        auto reg = VoucherRegistration::read(c.db->cnn(), QStringLiteral("1801"));
        if (!reg || !*reg) {
            error = QStringLiteral("card 1801 is not registered");
            return;
        }
        headTable = (*reg)->btTblName;
        bodyTable = (*reg)->bwTblName;
        auto h = c.db->cnn().Query(QStringLiteral("SELECT * FROM ") + headTable + QStringLiteral(" WHERE iautoid = ?"), {id});
        auto b = c.db->cnn().Query(QStringLiteral("SELECT * FROM ") + bodyTable + QStringLiteral(" WHERE iautoid = ? ORDER BY isubid"), {id});
        auto max = c.db->cnn().Scalar(QStringLiteral("SELECT MAX(isubid) FROM ") + bodyTable);
        if (!h || !b || !max || h->isEmpty()) {
            error = QStringLiteral("the saved voucher cannot be read back");
            return;
        }
        headColumns = written(*h);
        lineColumns = written(*b);
        head = texts(*h, 0, headColumns);
        for (int r = 0; r < b->RecordCount(); ++r)
            lines << texts(*b, r, lineColumns);
        nextId = id.toLongLong() + 1000000;
        nextLine = max->toLongLong() + 1;
        client = NativeClient::open(c.db->connectionString());
        if (!client)
            error = QStringLiteral("no native connection");
    }

    static QString insert(const QString &table, const QStringList &columns, int rows)
    {
        QStringList marks;
        marks.fill(QStringLiteral("?"), columns.size());
        const QString one = QLatin1Char('(') + marks.join(u',') + QLatin1Char(')');
        QStringList values;
        values.fill(one, rows);
        return QStringLiteral("INSERT INTO ") + table + QLatin1String(" (") + columns.join(u',') + QLatin1String(") VALUES ")
               + values.join(u',');
    }
    static void set(QList<QByteArray> &row, const QStringList &columns, const char *column, const QByteArray &value)
    {
        row[columns.indexOf(QLatin1String(column))] = value;
    }

    bool saveOnce(int round)
    {
        constexpr int kRows = 100;
        const QByteArray id = QByteArray::number(nextId++);
        QList<QByteArray> h = head;
        set(h, headColumns, "iautoid", id);
        set(h, headColumns, "ccode", "BS-FLOOR-" + QByteArray::number(round) + "-" + id);
        if (!client->exec("BEGIN") || client->runTexts(insert(headTable, headColumns, 1), h) < 0)
            return false;
        QList<QByteArray> batch;
        int inBatch = 0;
        const auto flush = [&](int rows) { return client->runTexts(insert(bodyTable, lineColumns, rows), batch) >= 0; };
        for (QList<QByteArray> line : lines) {
            set(line, lineColumns, "iautoid", id);
            set(line, lineColumns, "isubid", QByteArray::number(nextLine++));
            batch << line;
            if (++inBatch == kRows) {
                if (!flush(kRows))
                    return false;
                batch.clear();
                inBatch = 0;
            }
        }
        if (inBatch > 0 && !flush(inBatch))
            return false;
        return client->exec("COMMIT");
    }
};

void BM_SaveNewVoucherFloor(benchmark::State &state)
{
    Card &c = card(backendArg(state));
    if (!ready(state, c))
        return;
    SaveFloor floor;
    floor.prepare(c, int(state.range(1)));
    if (!floor.error.isEmpty()) {
        state.SkipWithError(qPrintable(floor.error));
        return;
    }
    int round = 0;
    for (auto _ : state) {
        if (!floor.saveOnce(++round)) {
            floor.client->exec("ROLLBACK");
            state.SkipWithError("the floor's insert failed");
            break;
        }
    }
    state.counters["lines"] = double(state.range(1));
}

// Edits one line of a 1,000-line voucher: the head update and one line, not the whole body.
void BM_EditOneLine(benchmark::State &state)
{
    Card &c = card(backendArg(state));
    if (!ready(state, c))
        return;
    const int lines = int(state.range(1));
    c.fillNew(lines);
    c.setNumber(QStringLiteral("BS-EDIT-%1").arg(c.saved));
    QVariant id;
    qint32 parent = 0;
    QString version;
    if (!c.engine->VoucherSave(2, id, parent, version).isEmpty()) {
        state.SkipWithError("the voucher to edit could not be saved");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        c.sp->ID = id;
        c.engine->GetVoucherData();
        VoucherRow line = c.engine->domBody().row(lines / 2);
        line.setValue(QStringLiteral("ipsquantity"), QString::number(++round));
        line.setValue(QStringLiteral("editprop"), QStringLiteral("M"));
        state.ResumeTiming();
        const QString result = c.save(1);
        if (!result.isEmpty()) {
            state.SkipWithError(qPrintable(result));
            break;
        }
    }
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// 100 new vouchers of 20 lines, each numbered the way the card does it (a preview of the next
// number) and saved; the counters compare the median of the first ten saves with that of the last
// ten (medians, so that one checkpoint of the database's log does not decide).
void BM_HundredNumberedSaves(benchmark::State &state)
{
    Card &c = card(backendArg(state));
    if (!ready(state, c))
        return;
    const int saves = int(state.range(1));
    const int window = qMin(10, saves / 2);
    QList<double> times;
    for (auto _ : state) {
        times.clear();
        for (int i = 0; i < saves; ++i) {
            state.PauseTiming();
            c.fillNew(20);
            state.ResumeTiming();
            QElapsedTimer timer;
            timer.start();
            QString error;
            c.setNumber(c.engine->GetVoucherNO(error));
            const QString result = c.save(2);
            times << timer.nsecsElapsed() / 1e6;
            if (!result.isEmpty()) {
                state.SkipWithError(qPrintable(result));
                return;
            }
        }
    }
    const double first = median(times.mid(0, window));
    const double last = median(times.mid(saves - window));
    state.counters["first10_ms"] = first;
    state.counters["last10_ms"] = last;
    state.counters["last_vs_first"] = first > 0 ? last / first : 0;
}

} // namespace

BENCHMARK(BM_SaveNewVoucher)->Apply([](auto *b) { addBackendArgs(b, {20, 1000, 10000}, benchmark::kMillisecond); });
BENCHMARK(BM_SaveNewVoucherFloor)->Apply([](auto *b) { addBackendArgs(b, {20, 1000, 10000}, benchmark::kMillisecond); });
BENCHMARK(BM_EditOneLine)->Apply([](auto *b) { addBackendArgs(b, {1000}, benchmark::kMillisecond, 20); });
BENCHMARK(BM_HundredNumberedSaves)
    ->Apply([](auto *b) { addBackendArgs(b, {100}, benchmark::kMillisecond, 20); }) -> Iterations(1);
