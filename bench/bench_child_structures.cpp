// Deleting a sample voucher with the child samples below its lines, SQLite and (when
// ORVANE_TEST_PG is set) PostgreSQL: a top voucher of n lines, each line with a child sample of
// three lines, whose first line has a grandchild of two lines; one attachment on every head.
//  - BM_DeleteBelowVoucher: the business object's part of a deletion (its attachments, then every
//    child and grandchild with lines and attachments, children before parents), inside a
//    transaction that is rolled back after each run.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchDatabase.h"

#include "platform/BulkInsert.h"
#include "platform/VoucherDocument.h"
#include "sample/clsManageSample.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct Structure
{
    std::unique_ptr<BenchDatabase> db;
    VoucherDocument head;
    VoucherDocument body;
    QString error;

    Result<void> build(int lines)
    {
        Connection &cnn = db->cnn();
        if (auto begun = cnn.BeginTrans(); !begun)
            return begun;
        BulkInsert heads(cnn, QStringLiteral("ManageSample"),
                         {QStringLiteral("iAutoID"), QStringLiteral("cCode"), QStringLiteral("cNewInvCode"),
                          QStringLiteral("csocode")});
        BulkInsert rows(cnn, QStringLiteral("ManageSamples"),
                        {QStringLiteral("iAutoID"), QStringLiteral("iSubID"), QStringLiteral("cPSCode"),
                         QStringLiteral("ChildGUID")});
        BulkInsert files(cnn, QStringLiteral("OR_VN_fileTable"),
                         {QStringLiteral("iAutoID"), QStringLiteral("fileNames"), QStringLiteral("fileType")});
        const QVariant none(QMetaType(QMetaType::Int));
        int subId = 0;
        auto addHead = [&](int id, const QString &code, const QString &item) -> Result<void> {
            if (auto r = heads.add({id, code, item, code.isEmpty() ? QStringLiteral("V1") : QStringLiteral("")}); !r)
                return r;
            return files.add({id, QStringLiteral("图%1.png").arg(id), 1});
        };
        auto addLine = [&](int id, const QString &component, const QVariant &child) {
            return rows.add({id, ++subId, component, child});
        };
        if (auto r = addHead(1, QStringLiteral("BT-1"), QStringLiteral("TOP")); !r)
            return r;
        for (int i = 0; i < lines; ++i) {
            const int child = 2 + 2 * i;
            const int grandchild = child + 1;
            const QString component = QStringLiteral("C%1").arg(i);
            if (auto r = addLine(1, component, child); !r)
                return r;
            VoucherRow line = body.appendRow();
            line.setValue(QStringLiteral("iautoid"), QStringLiteral("1"));
            line.setValue(QStringLiteral("isubid"), QString::number(subId));
            line.setValue(QStringLiteral("childguid"), QString::number(child));
            if (auto r = addHead(child, QString(), component); !r)
                return r;
            if (auto r = addLine(child, QStringLiteral("G%1").arg(i), grandchild); !r)
                return r;
            for (int j = 0; j < 2; ++j) {
                if (auto r = addLine(child, QStringLiteral("R%1-%2").arg(i).arg(j), none); !r)
                    return r;
            }
            if (auto r = addHead(grandchild, QString(), QStringLiteral("G%1").arg(i)); !r)
                return r;
            for (int j = 0; j < 2; ++j) {
                if (auto r = addLine(grandchild, QStringLiteral("S%1-%2").arg(i).arg(j), none); !r)
                    return r;
            }
        }
        for (BulkInsert *insert : {&heads, &rows, &files}) {
            if (auto r = insert->finish(); !r)
                return r;
        }
        head.appendRow().setValue(QStringLiteral("iautoid"), QStringLiteral("1"));
        return cnn.CommitTrans();
    }
};

Structure &structure(Backend backend, int lines)
{
    std::map<std::pair<Backend, int>, Structure> &structures = benchCache<std::pair<Backend, int>, Structure>();
    auto it = structures.find({backend, lines});
    if (it != structures.end())
        return it->second;
    Structure &s = structures[{backend, lines}];
    s.db = std::make_unique<BenchDatabase>(backend);
    if (!s.db->available()) {
        s.error = s.db->error();
        return s;
    }
    if (auto built = s.build(lines); !built)
        s.error = built.error();
    return s;
}

void BM_DeleteBelowVoucher(benchmark::State &state)
{
    const int lines = int(state.range(1));
    Structure &s = structure(backendArg(state), lines);
    if (!s.error.isEmpty()) {
        state.SkipWithError(qPrintable(s.error));
        return;
    }
    clsManageSample rules;
    Connection &cnn = s.db->cnn();
    for (auto _ : state) {
        cnn.BeginTrans();
        const QString msg = rules.VoucherDelete(cnn, s.head, s.body);
        cnn.RollbackTrans();
        if (!msg.isEmpty()) {
            state.SkipWithError(qPrintable(msg));
            break;
        }
    }
    state.counters["heads"] = 1 + 2 * lines;
}

} // namespace

BENCHMARK(BM_DeleteBelowVoucher)->Apply([](auto *b) { addBackendArgs(b, {20, 500}, benchmark::kMillisecond); });
