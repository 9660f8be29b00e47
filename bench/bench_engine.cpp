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
    for (auto _ : state) {
        sp->ID = f.firstId + 1;
        engine.GetVoucherData();
        benchmark::DoNotOptimize(engine.domBody().rowCount());
    }
    if (engine.domBody().rowCount() != lines)
        state.SkipWithError("wrong number of lines loaded");
    state.counters["lines"] = lines;
}

// Microseconds per move of the last BM_VoucherMove run, by backend, for the floors' ratio.
std::map<Backend, double> &engineMoveMicros()
{
    static std::map<Backend, double> micros;
    return micros;
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
        engineMoveMicros()[backendArg(state)] = spent.count() / double(state.iterations());
    state.counters["vouchers"] = vouchers;
}

// The floor of a move: the statements the engine runs for it (head, body lines, largest and
// smallest identifier), prepared once and executed with the value of each move, every cell of
// every result read. Runners return the identifier moved to, or -1 when a statement failed.
class MoveFloor
{
public:
    virtual ~MoveFloor() = default;
    virtual qint64 move(bool forward, qint64 from) = 0;
};

// Through QSqlQuery, prepared once: what Qt SQL costs without our connection layer.
class QtMoveFloor final : public MoveFloor
{
public:
    QtMoveFloor(const QSqlDatabase &db, const clsVoucherCo::MoveStatements &next, const clsVoucherCo::MoveStatements &back)
        : m_next(prepared(db, next.head))
        , m_back(prepared(db, back.head))
        , m_body(prepared(db, next.body))
        , m_largest(prepared(db, next.largestId))
        , m_smallest(prepared(db, next.smallestId))
    {}

    qint64 move(bool forward, qint64 from) override
    {
        const qint64 to = run(forward ? *m_next : *m_back, from);
        if (to < 0 || run(*m_body, to) < 0 || run(*m_largest, {}) < 0 || run(*m_smallest, {}) < 0)
            return -1;
        return to;
    }

private:
    static std::unique_ptr<QSqlQuery> prepared(const QSqlDatabase &db, const QString &sql)
    {
        auto q = std::make_unique<QSqlQuery>(db);
        q->setForwardOnly(true);
        q->prepare(sql);
        return q;
    }
    // The first cell of the first row (the head's identifier comes first), or -1 on failure.
    static qint64 run(QSqlQuery &q, const QVariant &value)
    {
        if (value.isValid())
            q.bindValue(0, value);
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

    std::unique_ptr<QSqlQuery> m_next, m_back, m_body, m_largest, m_smallest;
};

class SqliteMoveFloor final : public MoveFloor
{
public:
    SqliteMoveFloor(const QString &path, const clsVoucherCo::MoveStatements &next, const clsVoucherCo::MoveStatements &back)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            return;
        for (const QString &sql : {next.head, back.head, next.body, next.largestId, next.smallestId}) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr);
            m_statements.push_back(stmt);
        }
    }
    ~SqliteMoveFloor() override
    {
        for (sqlite3_stmt *stmt : m_statements)
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }

    qint64 move(bool forward, qint64 from) override
    {
        const qint64 to = run(m_statements[forward ? 0 : 1], from);
        if (to < 0 || run(m_statements[2], to) < 0 || run(m_statements[3], -1) < 0 || run(m_statements[4], -1) < 0)
            return -1;
        return to;
    }

private:
    static qint64 run(sqlite3_stmt *stmt, qint64 value)
    {
        if (!stmt)
            return -1;
        if (value >= 0)
            sqlite3_bind_int64(stmt, 1, value);
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

    sqlite3 *m_db = nullptr;
    std::vector<sqlite3_stmt *> m_statements;
};

class PqMoveFloor final : public MoveFloor
{
public:
    PqMoveFloor(const ConnectionString &info, const clsVoucherCo::MoveStatements &next, const clsVoucherCo::MoveStatements &back)
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
        for (QString sql : {next.head, back.head, next.body, next.largestId, next.smallestId}) {
            sql.replace(QLatin1Char('?'), QLatin1String("$1")); // one value at most in each
            const QByteArray name = "floor" + QByteArray::number(n++);
            PGresult *r = PQprepare(m_conn, name.constData(), sql.toUtf8().constData(), 0, nullptr);
            m_ready = m_ready && PQresultStatus(r) == PGRES_COMMAND_OK;
            PQclear(r);
            m_names.push_back(name);
        }
    }
    ~PqMoveFloor() override { PQfinish(m_conn); }

    qint64 move(bool forward, qint64 from) override
    {
        if (!m_ready || PQstatus(m_conn) != CONNECTION_OK)
            return -1;
        const qint64 to = run(m_names[forward ? 0 : 1], from);
        if (to < 0 || run(m_names[2], to) < 0 || run(m_names[3], -1) < 0 || run(m_names[4], -1) < 0)
            return -1;
        return to;
    }

private:
    qint64 run(const QByteArray &name, qint64 value)
    {
        const QByteArray text = QByteArray::number(value);
        const char *params[] = {text.constData()};
        PGresult *r = PQexecPrepared(m_conn, name.constData(), value >= 0 ? 1 : 0, params, nullptr, nullptr, 0);
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

    PGconn *m_conn = nullptr;
    bool m_ready = true;
    std::vector<QByteArray> m_names;
};

// range(0): backend, range(1): 0 the native client (sqlite3 / libpq), 1 QSqlQuery.
void BM_VoucherMoveFloor(benchmark::State &state)
{
    const Backend backend = backendArg(state);
    Fixture &f = moveFixture(backend, moveVouchers());
    if (!f.login) {
        state.SkipWithError("no database");
        return;
    }
    auto sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
    engine.Initial(f.login, QStringLiteral("1801"), sp);
    const auto next = engine.moveStatements(evmsMoveNext);
    const auto back = engine.moveStatements(evmsMovePrevious);
    const auto info = ConnectionString::parse(f.db->connectionString());
    std::unique_ptr<MoveFloor> floor;
    if (state.range(1) == 1)
        floor = std::make_unique<QtMoveFloor>(f.db->cnn().database(), next, back);
    else if (backend == Backend::Sqlite)
        floor = std::make_unique<SqliteMoveFloor>(info->path, next, back);
    else
        floor = std::make_unique<PqMoveFloor>(*info, next, back);

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
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    const auto engineMicros = engineMoveMicros().find(backend);
    if (engineMicros != engineMoveMicros().end() && state.iterations() > 0)
        state.counters["engine_per_floor"] = engineMicros->second / (spent.count() / double(state.iterations()));
}

} // namespace

BENCHMARK(BM_LoadVoucher)->Apply([](auto *b) { addBackendArgs(b, {20, 1000, 10000}, benchmark::kMicrosecond); });
BENCHMARK(BM_VoucherMove)->Apply([](auto *b) { addBackendArgs(b, {1000, kMoveVouchers}, benchmark::kMicrosecond, 20); });
// After BM_VoucherMove, so that each floor can print the engine's time over its own.
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
