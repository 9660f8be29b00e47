// The voucher list on generated vouchers (range(1) of them; 1,000,000 in a full run), for a user
// whose data permissions restrict customers, departments and makers (about an eighth of the
// vouchers): the first page, page 1,000 and the last page, each beside its floor (one query on the
// head table with the same restriction and order, prepared once through the native client), the
// totals over the whole filtered result, and the output of 100,000 rows to XLSX. SQLite and (when
// ORVANE_TEST_PG is set) PostgreSQL.
//
// The window shows a page in two steps: the totals over the whole result (BM_ListTotals), which
// also note every row's key in the list's order, then the page itself, read by its rows' keys. The
// page benchmarks time that second step, given the totals read once beforehand, as the window
// holds them when it asks for the page; the whole of a page move is BM_ListTotals plus the page.
// BM_ListPage1000ByOffset times page 1,000 read without the keys, by LIMIT and OFFSET.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"
#include "support/NativeClient.h"
#include "support/PreparedData.h"

#include "host/DataPermissionService.h"
#include "host/DataPermissionStore.h"
#include "host/clsLogin.h"
#include "list/ListFormatService.h"
#include "list/ListOutput.h"
#include "list/ListPermissionCondition.h"
#include "list/ListQuery.h"
#include "output/TableFileWriter.h"
#include "platform/BulkInsert.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCustomers = 200;
constexpr int kDepartments = 20;
const QStringList kMakers = {"张三", "李四", "王五", "赵六", "钱七", "孙八", "周九", "吴十", "郑一", "冯二"};
constexpr int kPageSize = 30;
constexpr int kOutputRows = 100000;

QString customer(int k)
{
    return QStringLiteral("KH%1").arg(k, 3, 10, QLatin1Char('0'));
}

QString department(int k)
{
    return QStringLiteral("BM%1").arg(k, 2, 10, QLatin1Char('0'));
}

// Granted to the restricted user: every second customer, department and maker.
bool granted(int k)
{
    return k % 2 == 0;
}

QString quotedList(const QStringList &values)
{
    QStringList out;
    for (const QString &v : values)
        out << QLatin1Char('\'') + v + QLatin1Char('\'');
    return out.join(QLatin1Char(','));
}

struct ListData
{
    std::unique_ptr<BenchDatabase> db;
    QString error;
    ListQueryRequest restricted;
    ListTotals restrictedTotals; // with the rows' keys
    qint64 restrictedRows = 0;
    QString floorSql; // the floor's statement, values: limit and offset
    std::unique_ptr<NativeClient> native;

    void prepare(int vouchers)
    {
        Connection &cnn = db->cnn();
        if (!generate(cnn, vouchers))
            return;
        if (cnn.backend() == Backend::Postgres)
            cnn.Execute(QStringLiteral("ANALYZE"));
        auto made
            = clsLogin::CreateUser(cnn, QStringLiteral("li"), QStringLiteral("李娜"), QStringLiteral("pw"), false);
        if (!made) {
            error = made.error();
            return;
        }
        QStringList customers, departments, makers;
        for (DataObject o : {DataObject::Customer, DataObject::Department, DataObject::Maker})
            DataPermissionStore::setControlled(cnn, o, true);
        for (int k = 1; k <= kCustomers; ++k) {
            if (granted(k)) {
                DataPermissionStore::grantValue(cnn, QStringLiteral("li"), DataObject::Customer, QString::number(k));
                customers << customer(k);
            }
        }
        for (int k = 1; k <= kDepartments; ++k) {
            if (granted(k)) {
                DataPermissionStore::grantValue(cnn, QStringLiteral("li"), DataObject::Department, department(k));
                departments << department(k);
            }
        }
        for (int k = 0; k < kMakers.size(); ++k) {
            if (granted(k)) {
                DataPermissionStore::grantValue(cnn, QStringLiteral("li"), DataObject::Maker, kMakers[k],
                                                QStringLiteral("r"));
                makers << kMakers[k];
            }
        }
        auto session = clsLogin::Login(db->connectionString(), QStringLiteral("li"), QStringLiteral("pw"));
        if (!session) {
            error = session.error();
            return;
        }
        std::shared_ptr<clsLogin> li = *session;
        DataPermissionService permission;
        permission.BindLogin(li);
        ListFormatService format(cnn, QStringLiteral("li"));
        if (auto loaded = format.load(QStringLiteral("样品接单管理_LM")); !loaded) {
            error = loaded.error();
            return;
        }
        restricted.view = QStringLiteral("v_managesample_list");
        for (const ListColumn &c : format.shownColumns()) {
            restricted.fields << c.field;
            if (c.sum)
                restricted.sumFields << c.field;
        }
        restricted.permission = listPermissionCondition(permission);
        auto totals = ListQuery(restricted).totals(cnn, true);
        if (!totals) {
            error = totals.error();
            return;
        }
        restrictedTotals = *totals;
        restrictedRows = totals->rows;
        floorSql = QStringLiteral("select m.iAutoID, m.cCode, m.dDate, m.cNewInvCode, m.cNewInvName, m.csocode, "
                                  "m.cCusCode, m.cDepCode, m.itolcost, m.isellcost, m.cMaker, m.cHandler, m.dVeriDate "
                                  "from ManageSample m where m.cCusCode in (%1) and m.cDepCode in (%2) "
                                  "and m.cMaker in (%3) order by m.iAutoID %4 limit ? offset ?")
                       .arg(quotedList(customers), quotedList(departments), quotedList(makers));
        native = NativeClient::open(db->connectionString());
        if (!native)
            error = QStringLiteral("no native connection");
    }

    bool generate(Connection &cnn, int vouchers)
    {
        if (auto begun = cnn.BeginTrans(); !begun)
            return fail(begun.error());
        BulkInsert customers(cnn, QStringLiteral("Customer"), {"cCusCode", "cCusName", "cCusAbbName", "iId"});
        for (int k = 1; k <= kCustomers; ++k)
            customers.add({customer(k), QStringLiteral("客户%1").arg(k), QStringLiteral("客%1").arg(k), k});
        BulkInsert departments(cnn, QStringLiteral("Department"), {"cDepCode", "cDepName", "bDepEnd"});
        for (int k = 1; k <= kDepartments; ++k)
            departments.add({department(k), QStringLiteral("部门%1").arg(k), 1});
        if (auto done = customers.finish(); !done)
            return fail(done.error());
        if (auto done = departments.finish(); !done)
            return fail(done.error());
        BulkInsert heads(
            cnn, QStringLiteral("ManageSample"),
            {"iAutoID", "cCode", "cNewInvName", "cCusCode", "cDepCode", "cMaker", "dDate", "itolcost", "isellcost"},
            200);
        const QDate first(2020, 1, 1);
        for (int id = 1; id <= vouchers; ++id) {
            // Independent spreads, so that the restriction keeps about an eighth of the vouchers.
            auto added = heads.add({id, QStringLiteral("YP%1").arg(id, 7, 10, QLatin1Char('0')),
                                    QStringLiteral("新品%1").arg(id), customer(1 + (id * 7) % kCustomers),
                                    department(1 + (id / 3) % kDepartments), kMakers[(id / 11) % kMakers.size()],
                                    first.addDays(id % 2000), 100.0 + id % 997, 120.0 + id % 991});
            if (!added)
                return fail(added.error());
        }
        if (auto done = heads.finish(); !done)
            return fail(done.error());
        if (auto committed = cnn.CommitTrans(); !committed)
            return fail(committed.error());
        return true;
    }

    bool fail(const QString &why)
    {
        error = why;
        db->cnn().RollbackTrans();
        return false;
    }

    int lastPage() const { return ListQuery::pageCount(restrictedRows, kPageSize); }
    int page1000() const { return std::min(1000, lastPage()); }
};

void vouchersArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {1000000}, benchmark::kMillisecond, 3000);
}

ListData *data(benchmark::State &state)
{
    auto *d = preparedData<ListData>(state, ensureBenchApplication);
    if (!d)
        state.SkipWithError("no benchmark data");
    return d;
}

// byOffset: without the rows' keys, by LIMIT and OFFSET.
void runPage(benchmark::State &state, int which, bool byOffset = false)
{
    ListData *d = data(state);
    if (!d)
        return;
    const int page = which == 0 ? 1 : which == 1 ? d->page1000() : d->lastPage();
    const ListQuery query(d->restricted);
    ListTotals totals = d->restrictedTotals;
    if (byOffset)
        totals.keys.clear();
    for (auto _ : state) {
        auto rows = query.page(d->db->cnn(), page, kPageSize, totals);
        if (!rows || rows->rows.isEmpty()) {
            state.SkipWithError(rows ? "no rows" : qPrintable(rows.error()));
            return;
        }
        benchmark::DoNotOptimize(rows->rows.size());
    }
    state.counters["page"] = page;
    state.counters["rows"] = double(d->restrictedRows);
}

// The same page as the list reads it: from the nearer end of the result.
void runFloor(benchmark::State &state, int which)
{
    ListData *d = data(state);
    if (!d)
        return;
    const int page = which == 0 ? 1 : which == 1 ? d->page1000() : d->lastPage();
    const qint64 offset = qint64(page - 1) * kPageSize;
    const qint64 count = std::min<qint64>(kPageSize, d->restrictedRows - offset);
    const qint64 fromEnd = d->restrictedRows - offset - count;
    const bool reversed = fromEnd < offset;
    const QString sql = d->floorSql.arg(reversed ? QStringLiteral("desc") : QString());
    for (auto _ : state) {
        const qint64 rows = d->native->run(sql, {double(count), double(reversed ? fromEnd : offset)});
        if (rows <= 0) {
            state.SkipWithError("floor returned no rows");
            return;
        }
    }
}

void BM_ListFirstPage(benchmark::State &state)
{
    runPage(state, 0);
}
void BM_ListFirstPageFloor(benchmark::State &state)
{
    runFloor(state, 0);
}
void BM_ListPage1000(benchmark::State &state)
{
    runPage(state, 1);
}
void BM_ListPage1000Floor(benchmark::State &state)
{
    runFloor(state, 1);
}
void BM_ListPage1000ByOffset(benchmark::State &state)
{
    runPage(state, 1, true);
}
void BM_ListLastPage(benchmark::State &state)
{
    runPage(state, 2);
}
void BM_ListLastPageFloor(benchmark::State &state)
{
    runFloor(state, 2);
}

void BM_ListTotals(benchmark::State &state)
{
    ListData *d = data(state);
    if (!d)
        return;
    const ListQuery query(d->restricted);
    for (auto _ : state) {
        auto totals = query.totals(d->db->cnn(), true);
        if (!totals) {
            state.SkipWithError(qPrintable(totals.error()));
            return;
        }
        benchmark::DoNotOptimize(totals->rows);
    }
}

// 100,000 rows (all of them in a quick run) of the list's columns and formats to an XLSX file.
void BM_ListOutputXlsx(benchmark::State &state)
{
    ListData *d = data(state);
    if (!d)
        return;
    ListQueryRequest request = d->restricted;
    request.permission = QStringLiteral("1=1");
    request.filter = {QStringLiteral("iautoid <= ?"), {kOutputRows}};
    const ListQuery query(request);
    ListPage page;
    for (const QString &field : request.fields) {
        page.columns << ListColumn{field, field, true, 0, 80, false};
        page.formats << ListNumberFormats().formatOf(field);
    }
    QTemporaryDir dir;
    qint64 written = 0;
    for (auto _ : state) {
        OutputDocument doc
            = ListOutput::document(QStringLiteral("接单样品管理列表"), query, page, d->db->connectionString());
        auto counted = doc.nextRow;
        doc.nextRow = [&written, counted](QVariantList &row) {
            const bool more = counted(row);
            written += more ? 1 : 0;
            return more;
        };
        auto done = TableFileWriter::writeXlsx(doc, dir.filePath(QStringLiteral("list.xlsx")));
        if (!done) {
            state.SkipWithError(qPrintable(done.error()));
            return;
        }
    }
    state.counters["rows"] = double(written) / double(state.iterations());
}

BENCHMARK(BM_ListFirstPage)->Apply(vouchersArgs);
BENCHMARK(BM_ListFirstPageFloor)->Apply(vouchersArgs);
BENCHMARK(BM_ListPage1000)->Apply(vouchersArgs);
BENCHMARK(BM_ListPage1000Floor)->Apply(vouchersArgs);
BENCHMARK(BM_ListPage1000ByOffset)->Apply(vouchersArgs);
BENCHMARK(BM_ListLastPage)->Apply(vouchersArgs);
BENCHMARK(BM_ListLastPageFloor)->Apply(vouchersArgs);
BENCHMARK(BM_ListTotals)->Apply(vouchersArgs);
BENCHMARK(BM_ListOutputXlsx)->Apply(vouchersArgs)->Iterations(1);

} // namespace
