// The card's voucher load: finding a voucher among those the user may see and reading its head and
// 20 lines, by identifier and by a move to the next one, with every data permission open and with
// an item restriction (a voucher with any line outside the user's items is not visible, which the
// statements test against every line of the body view) plus a maker list. Generated vouchers on
// top of the demo company, on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL.
#include "support/BenchArgs.h"
#include "support/BenchDatabase.h"
#include "support/PreparedData.h"

#include "card/VoucherLoader.h"
#include "host/DataPermission.h"
#include "platform/DemoData.h"

#include <benchmark/benchmark.h>


namespace {

constexpr int kLines = 20;

// Answers as the service does for an open account or for a user restricted to a list of items
// and makers.
class BenchPermission final : public DataPermission
{
public:
    void BindLogin(std::shared_ptr<clsLogin> &) override {}
    QString GetFieldCondition(const QString &field) override
    {
        if (items.isEmpty() || !field.contains(QLatin1String("InventoryIID"), Qt::CaseInsensitive))
            return QStringLiteral("1=1");
        return field + QStringLiteral(" in (") + items + QLatin1Char(')');
    }
    // Every template; the makers of the restricted user.
    QString GetKindCondition(const QString &kind) override
    {
        if (kind == QLatin1String("DJMB"))
            return {};
        return items.isEmpty() ? QStringLiteral("1=1") : makers;
    }

    QString items; // "" for everything
    QString makers;
};

struct Cards
{
    std::unique_ptr<BenchDatabase> db;
    int firstId = 0;
    QString allButOneItem;
    QString makers;
    QString error;

    bool prepare(int vouchers)
    {
        if (auto filled = DemoData::fill(db->cnn()); !filled)
            return fail(filled.error());
        auto first = DemoData::generateVouchers(db->cnn(), vouchers, kLines);
        if (!first)
            return fail(first.error());
        firstId = *first;
        // Every item but the last: the few vouchers that use it drop out of sight.
        auto items = db->cnn().Query(QStringLiteral("SELECT iId FROM Inventory ORDER BY iId"));
        if (!items)
            return fail(items.error());
        QStringList ids;
        for (items->MoveFirst(); !items->isEOF(); items->MoveNext())
            ids << items->text(QStringLiteral("iId"));
        ids.removeLast();
        allButOneItem = ids.join(QLatin1Char(','));
        // The makers of the generated vouchers and one more.
        auto made
            = db->cnn().Query(QStringLiteral("SELECT DISTINCT cMaker FROM ManageSample WHERE iAutoID >= ?"), {firstId});
        if (!made)
            return fail(made.error());
        QStringList names{QStringLiteral("'bench'")};
        for (made->MoveFirst(); !made->isEOF(); made->MoveNext())
            names << QLatin1Char('\'')
                         + made->text(QStringLiteral("cMaker")).replace(QLatin1Char('\''), QStringLiteral("''"))
                         + QLatin1Char('\'');
        makers = names.join(QLatin1Char(','));
        return true;
    }
    bool fail(const QString &why)
    {
        error = why;
        return false;
    }
};

Cards *cards(const benchmark::State &state)
{
    return preparedData<Cards>(state, &ensureBenchApplication);
}

// Loads the voucher in the middle of the generated ones, or moves on from it.
void runLoad(benchmark::State &state, bool restricted, int move)
{
    Cards *c = cards(state);
    if (!c) {
        state.SkipWithError("no database");
        return;
    }
    BenchPermission permission;
    if (restricted) {
        permission.items = c->allButOneItem;
        permission.makers = c->makers;
    }
    VoucherLoader loader(c->db->cnn(), permission, QStringLiteral("v_managesample"), QStringLiteral("v_managesamples"));
    const QString middle = QString::number(c->firstId + state.range(1) / 2);
    for (auto _ : state) {
        LoadedVoucher loaded = move == VoucherLoader::ByIdentifier ? loader.LoadVoucher(middle, move, QString())
                                                                   : loader.LoadVoucher(QString(), move, middle);
        if (!loaded.success) {
            state.SkipWithError(qPrintable(loaded.message));
            break;
        }
        benchmark::DoNotOptimize(loaded.body.rowCount());
    }
}

void BM_CardLoadById(benchmark::State &state)
{
    runLoad(state, false, VoucherLoader::ByIdentifier);
}

void BM_CardLoadByIdRestricted(benchmark::State &state)
{
    runLoad(state, true, VoucherLoader::ByIdentifier);
}

void BM_CardMoveNextRestricted(benchmark::State &state)
{
    runLoad(state, true, VoucherLoader::Next);
}

// 1,000 and 10,000 vouchers; 20 in a quick run.
void cardArgs(benchmark::internal::Benchmark *b)
{
    addBackendArgs(b, {1000, 10000}, benchmark::kMillisecond, 20);
}

} // namespace

BENCHMARK(BM_CardLoadById)->Apply(cardArgs);
BENCHMARK(BM_CardLoadByIdRestricted)->Apply(cardArgs);
BENCHMARK(BM_CardMoveNextRestricted)->Apply(cardArgs);
