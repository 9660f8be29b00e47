// Card load and navigation on generated data, on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"
#include "platform/ConnectionString.h"
#include "platform/DemoData.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <chrono>
#include <map>
#include <optional>

namespace {

// One database per backend and data shape, built once and kept for the whole run.
struct Fixture
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsLogin> login;
    int firstId = 0;
};

Fixture &fixture(Backend backend, const QString &shape, int vouchers, int lines)
{
    std::map<QString, Fixture> &cache = benchCache<QString, Fixture>();
    const QString key = QStringLiteral("%1/%2").arg(int(backend)).arg(shape);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    Fixture f;
    f.db = std::make_unique<BenchDatabase>(backend);
    if (f.db->available()) {
        auto first = DemoData::generateVouchers(f.db->cnn(), vouchers, lines);
        if (first)
            f.firstId = *first;
        auto session = f.db->login();
        if (session)
            f.login = *session;
    }
    return cache.emplace(key, std::move(f)).first->second;
}

// Microseconds per step of the engine's last run of a hot path ("move/0", "load1000/1": path,
// lines and backend), for the floors' ratio.
std::map<QString, double> &engineTimes()
{
    static std::map<QString, double> micros;
    return micros;
}

std::optional<double> engineMicros(const QString &key)
{
    const auto found = engineTimes().find(key);
    return found == engineTimes().end() ? std::nullopt : std::optional<double>(found->second);
}

void BM_LoadVoucher(benchmark::State &state)
{
    const int lines = int(state.range(1));
    Fixture &f = fixture(backendArg(state), QStringLiteral("load%1").arg(lines), 3, lines);
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        sp->ID = f.firstId + 1;
        engine.GetVoucherData();
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    if (state.iterations() > 0)
        engineTimes()[QStringLiteral("load%1/%2").arg(lines).arg(int(backendArg(state)))] = spent.count() / double(state.iterations());
    if (engine.domBody().rowCount() != lines)
        state.SkipWithError("wrong number of lines loaded");
    state.counters["lines"] = lines;
}

constexpr int kMoveVouchers = 100000;

// The vouchers the move and its floor run over: a few in a quick run.
int moveVouchers()
{
    return quickRun() ? 20 : kMoveVouchers;
}

Fixture &moveFixture(Backend backend, int vouchers)
{
    return fixture(backend, QStringLiteral("move%1").arg(vouchers), vouchers, 5);
}

void BM_VoucherMove(benchmark::State &state)
{
    const int vouchers = int(state.range(1));
    Fixture &f = moveFixture(backendArg(state), vouchers);
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto sp = std::make_shared<clsVoucherShowParameter>();
    sp->ID = f.firstId + vouchers / 2;
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    engine.GetVoucherData();
    bool forward = true;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        auto moved = engine.VoucherMove(forward ? evmsMoveNext : evmsMovePrevious);
        if (!moved) {
            state.SkipWithError(qPrintable(moved.error()));
            break;
        }
        forward = !forward;
    }
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    if (vouchers == moveVouchers() && state.iterations() > 0)
        engineTimes()[QStringLiteral("move/%1").arg(int(backendArg(state)))] = spent.count() / double(state.iterations());
    state.counters["vouchers"] = vouchers;
}

// The floors of a move and a load: the statements the engine runs for them, prepared once and
// executed with the value of each step, every cell of every result read. A floor runs statement
// `index` of the engine's list (see statementList) with `value` bound to its first `values`
// placeholders and returns the first cell of the first row (the head's identifier comes first),
// or -1 when the statement failed.
class StatementFloor
{
public:
    virtual ~StatementFloor() = default;
    virtual qint64 run(int index, qint64 value, int values) = 0;

    // Head moved to, its lines, the probe of the set around it.
    qint64 move(bool forward, qint64 from)
    {
        const qint64 to = run(forward ? NextHead : PreviousHead, from, 1);
        if (to < 0 || run(Body, to, 1) < 0 || run(Bounds, to, 3) < 0)
            return -1;
        return to;
    }
    // Head by identifier, its lines, the probe.
    qint64 load(qint64 id)
    {
        if (run(HeadById, id, 1) < 0 || run(Body, id, 1) < 0 || run(Bounds, id, 3) < 0)
            return -1;
        return id;
    }

    enum { NextHead, PreviousHead, Body, Bounds, HeadById };
    static QStringList statementList(const clsVoucherCo &engine)
    {
        const auto next = engine.moveStatements(evmsMoveNext);
        return {next.head, engine.moveStatements(evmsMovePrevious).head, next.body, next.bounds, next.headById};
    }
};

// Through QSqlQuery, prepared once: what Qt SQL costs without our connection layer.
class QtFloor final : public StatementFloor
{
public:
    QtFloor(const QSqlDatabase &db, const QStringList &statements)
    {
        for (const QString &sql : statements) {
            auto q = std::make_unique<QSqlQuery>(db);
            q->setForwardOnly(true);
            q->prepare(sql);
            m_queries.push_back(std::move(q));
        }
    }

    qint64 run(int index, qint64 value, int values) override
    {
        QSqlQuery &q = *m_queries[size_t(index)];
        for (int i = 0; i < values; ++i)
            q.bindValue(i, value);
        if (!q.exec())
            return -1;
        qint64 first = 0;
        const int columns = q.record().count();
        for (bool top = true; q.next(); top = false) {
            for (int c = 0; c < columns; ++c)
                benchmark::DoNotOptimize(q.value(c));
            if (top)
                first = q.value(0).toLongLong();
        }
        q.finish();
        return first;
    }

private:
    std::vector<std::unique_ptr<QSqlQuery>> m_queries;
};

class SqliteFloor final : public StatementFloor
{
public:
    SqliteFloor(const QString &path, const QStringList &statements)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            return;
        for (const QString &sql : statements) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr);
            m_statements.push_back(stmt);
        }
    }
    ~SqliteFloor() override
    {
        for (sqlite3_stmt *stmt : m_statements)
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }

    qint64 run(int index, qint64 value, int values) override
    {
        sqlite3_stmt *stmt = size_t(index) < m_statements.size() ? m_statements[size_t(index)] : nullptr;
        if (!stmt)
            return -1;
        for (int i = 1; i <= values; ++i)
            sqlite3_bind_int64(stmt, i, value);
        qint64 first = 0;
        int rc;
        for (bool top = true; (rc = sqlite3_step(stmt)) == SQLITE_ROW; top = false) {
            for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(stmt, c)); break;
                case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(stmt, c)); break;
                case SQLITE_NULL: break;
                default: benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)), sqlite3_column_bytes(stmt, c)));
                }
            }
            if (top)
                first = sqlite3_column_int64(stmt, 0);
        }
        sqlite3_reset(stmt);
        return rc == SQLITE_DONE ? first : -1;
    }

private:
    sqlite3 *m_db = nullptr;
    std::vector<sqlite3_stmt *> m_statements;
};

class PqFloor final : public StatementFloor
{
public:
    PqFloor(const ConnectionString &info, const QStringList &statements)
    {
        const QByteArray host = info.host.toUtf8(), port = QByteArray::number(info.port), user = info.user.toUtf8(),
                         password = info.password.toUtf8(), dbname = info.database.toUtf8();
        const char *keys[] = {"host", "port", "user", "password", "dbname", nullptr};
        const char *values[] = {host.constData(), port.constData(), user.constData(),
                                password.isEmpty() ? nullptr : password.constData(), dbname.constData(), nullptr};
        m_conn = PQconnectdbParams(keys, values, 0);
        if (PQstatus(m_conn) != CONNECTION_OK)
            return;
        QString ident = info.schema;
        ident.replace(QLatin1Char('"'), QLatin1String("\"\""));
        PQclear(PQexec(m_conn, QStringLiteral("SET search_path TO \"%1\"").arg(ident).toUtf8().constData()));
        int n = 0;
        for (QString sql : statements) {
            for (int k = 1; sql.contains(QLatin1Char('?')); ++k)
                sql.replace(sql.indexOf(QLatin1Char('?')), 1, QStringLiteral("$%1").arg(k));
            const QByteArray name = "floor" + QByteArray::number(n++);
            PGresult *r = PQprepare(m_conn, name.constData(), sql.toUtf8().constData(), 0, nullptr);
            m_ready = m_ready && PQresultStatus(r) == PGRES_COMMAND_OK;
            PQclear(r);
            m_names.push_back(name);
        }
    }
    ~PqFloor() override { PQfinish(m_conn); }

    qint64 run(int index, qint64 value, int values) override
    {
        if (!m_ready || PQstatus(m_conn) != CONNECTION_OK)
            return -1;
        const QByteArray text = QByteArray::number(value);
        const char *params[] = {text.constData(), text.constData(), text.constData()};
        PGresult *r = PQexecPrepared(m_conn, m_names[size_t(index)].constData(), values, params, nullptr, nullptr, 0);
        qint64 first = -1;
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            first = 0;
            for (int row = 0, rows = PQntuples(r); row < rows; ++row) {
                for (int c = 0, n = PQnfields(r); c < n; ++c)
                    benchmark::DoNotOptimize(QString::fromUtf8(PQgetvalue(r, row, c), PQgetlength(r, row, c)));
            }
            if (PQntuples(r) > 0)
                first = QByteArray(PQgetvalue(r, 0, 0)).toLongLong();
        }
        PQclear(r);
        return first;
    }

private:
    PGconn *m_conn = nullptr;
    bool m_ready = true;
    std::vector<QByteArray> m_names;
};

// range(1): 0 the native client (sqlite3 / libpq), 1 QSqlQuery.
std::unique_ptr<StatementFloor> makeFloor(benchmark::State &state, Fixture &f)
{
    auto sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    const QStringList statements = StatementFloor::statementList(engine);
    const auto info = ConnectionString::parse(f.db->connectionString());
    if (state.range(1) == 1)
        return std::make_unique<QtFloor>(f.db->cnn().database(), statements);
    if (backendArg(state) == Backend::Sqlite)
        return std::make_unique<SqliteFloor>(info->path, statements);
    return std::make_unique<PqFloor>(*info, statements);
}

// Prints the engine's time over the floor's when the engine's benchmark ran before.
void reportRatio(benchmark::State &state, std::optional<double> engineMicros, std::chrono::steady_clock::time_point start)
{
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    if (engineMicros && state.iterations() > 0)
        state.counters["engine_per_floor"] = *engineMicros / (spent.count() / double(state.iterations()));
}

void BM_VoucherMoveFloor(benchmark::State &state)
{
    const Backend backend = backendArg(state);
    Fixture &f = moveFixture(backend, moveVouchers());
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto floor = makeFloor(state, f);
    qint64 current = f.firstId + moveVouchers() / 2;
    bool forward = true;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        current = floor->move(forward, current);
        if (current <= 0) {
            state.SkipWithError("a statement failed");
            break;
        }
        forward = !forward;
    }
    reportRatio(state, engineMicros(QStringLiteral("move/%1").arg(int(backend))), start);
}

// range(2): lines of the voucher.
void BM_LoadVoucherFloor(benchmark::State &state)
{
    const int lines = int(state.range(2));
    Fixture &f = fixture(backendArg(state), QStringLiteral("load%1").arg(lines), 3, lines);
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto floor = makeFloor(state, f);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (floor->load(f.firstId + 1) < 0) {
            state.SkipWithError("a statement failed");
            break;
        }
    }
    reportRatio(state, engineMicros(QStringLiteral("load%1/%2").arg(lines).arg(int(backendArg(state)))), start);
    state.counters["lines"] = lines;
}

} // namespace

BENCHMARK(BM_LoadVoucher)->Apply([](auto *b) { addBackendArgs(b, {20, 1000, 10000}, benchmark::kMicrosecond); });
BENCHMARK(BM_VoucherMove)->Apply([](auto *b) { addBackendArgs(b, {1000, kMoveVouchers}, benchmark::kMicrosecond, 20); });
// After the engine's benchmarks, so that each floor can print the engine's time over its own.
BENCHMARK(BM_LoadVoucherFloor)->Apply([](auto *b) {
    for (int backend : {0, 1}) {
        if (backend == 0 || postgresAvailable()) {
            for (int lines : quickRun() ? std::vector<int>{20} : std::vector<int>{1000, 10000}) {
                b->Args({backend, 0, lines});
                b->Args({backend, 1, lines});
            }
        }
    }
    b->ArgNames({"pg", "qt", "n"})->Unit(benchmark::kMicrosecond);
    quickIterations(b);
});
BENCHMARK(BM_VoucherMoveFloor)->Apply([](auto *b) {
    for (int backend : {0, 1}) {
        if (backend == 0 || postgresAvailable()) {
            b->Args({backend, 0});
            b->Args({backend, 1});
        }
    }
    b->ArgNames({"pg", "qt"})->Unit(benchmark::kMicrosecond);
    quickIterations(b);
});
