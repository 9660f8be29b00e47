// Confirming and cancelling the confirmation of a sample voucher of 100 lines through the engine's
// allow chain (right, data permission, state, row version, item-master check) and the status
// update, on SQLite and (when ORVANE_TEST_PG is set) PostgreSQL. The voucher is reloaded before
// each timed action, as the card does after every action, outside the timing.
#include "support/BenchArgs.h"
#include "support/BenchDatabase.h"
#include "support/PreparedData.h"

#include "engine/VoucherBusiness.h"
#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"
#include "platform/DemoData.h"
#include "sample/SampleStateRules.h"

#include <QDate>

#include <benchmark/benchmark.h>


namespace {

// The sample state rules behind the engine, forwarded the way the sample's business object does.
class StateRulesBusiness final : public VoucherBusiness
{
public:
    void Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info) override
    {
        m_login = std::move(login);
        m_info = std::move(info);
    }
    QString VoucherAllowConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return rules(cnn).VoucherAllowConfirm(head);
    }
    QString VoucherAllowCancelConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return rules(cnn).VoucherAllowCancelConfirm(head);
    }
    QString VoucherConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return rules(cnn).VoucherConfirm(head);
    }
    QString VoucherCancelConfirm(Connection &cnn, VoucherDocument &head, VoucherDocument &) override
    {
        return rules(cnn).VoucherCancelConfirm(head);
    }

private:
    SampleStateRules rules(Connection &cnn) { return SampleStateRules(cnn, m_info, m_login); }

    std::shared_ptr<clsLogin> m_login;
    std::shared_ptr<clsVoucherGetInfo> m_info;
};

// An engine on one generated voucher of 100 lines whose new item is in the item master, on a
// database of its own per backend, kept for the whole run.
struct Card
{
    std::unique_ptr<BenchDatabase> db;
    std::shared_ptr<clsVoucherShowParameter> sp = std::make_shared<clsVoucherShowParameter>();
    std::unique_ptr<clsVoucherCo> engine;
    QString error;

    bool prepare()
    {
        auto first = DemoData::generateVouchers(db->cnn(), 1, 100);
        if (!first)
            return fail(first.error());
        auto made = db->cnn().Execute(
            QStringLiteral("INSERT INTO Inventory (iId, cInvCode, cInvName, cInvStd, cComUnitCode, bService, bInvType) "
                           "SELECT 900000, cNewInvCode, cNewInvName, cnewinvstd, cnewinvcomunitcode, 0, 0 "
                           "FROM ManageSample WHERE iAutoID = ? AND NOT EXISTS "
                           "(SELECT 1 FROM Inventory WHERE cInvCode = ManageSample.cNewInvCode)"),
            {*first});
        if (!made)
            return fail(made.error());
        auto session = db->login();
        if (!session)
            return fail(session.error());
        sp->ID = *first;
        engine = std::make_unique<clsVoucherCo>();
        engine->Initial(*session, QStringLiteral("1801"), sp);
        auto business = std::make_shared<StateRulesBusiness>();
        business->Initial(*session, engine->oGI());
        engine->setObjVoucher(business);
        return true;
    }
    bool fail(const QString &why)
    {
        error = why;
        engine.reset();
        return false;
    }
};

Card &card(Backend backend)
{
    return preparedOnce<Card>(backend, backend, [](Card &c) { c.prepare(); });
}

// Times `action` on the voucher, loaded afresh after it was put into the state the action starts
// from (confirmed or not), both untimed.
template<typename Action> void runStateAction(benchmark::State &state, bool confirmed, Action action)
{
    Card &c = card(backendArg(state));
    if (!c.engine) {
        state.SkipWithError(c.error.isEmpty() ? "no database" : qPrintable(c.error));
        return;
    }
    const QString setState
        = confirmed ? QStringLiteral("UPDATE ManageSample SET cHandler = 'bench', dVeriDate = ? WHERE iAutoID = ?")
                    : QStringLiteral("UPDATE ManageSample SET cHandler = NULL, dVeriDate = NULL WHERE iAutoID = ?");
    const QVariantList values = confirmed ? QVariantList{QDate(2026, 12, 1), c.sp->ID} : QVariantList{c.sp->ID};
    for (auto _ : state) {
        state.PauseTiming();
        auto set = c.db->cnn().Execute(setState, values);
        c.engine->GetVoucherData();
        state.ResumeTiming();
        const QString result = set ? action(*c.engine) : set.error();
        if (!result.isEmpty()) {
            state.SkipWithError(qPrintable(result));
            break;
        }
    }
    state.counters["lines"] = 100;
}

void BM_Confirm(benchmark::State &state)
{
    runStateAction(state, false, [](clsVoucherCo &e) { return e.VoucherConfirm(); });
}

void BM_CancelConfirm(benchmark::State &state)
{
    runStateAction(state, true, [](clsVoucherCo &e) { return e.VoucherCancelConfirm(); });
}

} // namespace

BENCHMARK(BM_Confirm)->Apply([](auto *b) { addBackendArgs(b, {100}, benchmark::kMillisecond); });
BENCHMARK(BM_CancelConfirm)->Apply([](auto *b) { addBackendArgs(b, {100}, benchmark::kMillisecond); });
