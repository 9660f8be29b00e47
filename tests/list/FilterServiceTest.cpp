#include "support/ListData.h"

#include "list/FilterService.h"
#include "list/ListQuery.h"

#include <gtest/gtest.h>

namespace {

const QString kReport = QStringLiteral("样品接单管理_过滤条件_1801");
const QString kSub = QStringLiteral("SA");

class FilterServiceTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        addListMasterData(db);
        addListVoucher(db, {.id = 1, .maker = QStringLiteral("O'Neil"), .date = QStringLiteral("2026-11-30")});
        addListVoucher(db, {.id = 2, .maker = QStringLiteral("100%_真")});
        addListVoucher(db, {.id = 3, .maker = QStringLiteral("李娜"), .date = QStringLiteral("2026-12-05")});
        auto offered = service.items(kReport, kSub);
        ASSERT_TRUE(offered) << offered.error().toStdString();
        items = *offered;
    }

    // The vouchers the condition of `values` selects, or -1 when the condition was refused.
    QList<int> select(const QList<FilterValue> &values)
    {
        auto condition = FilterService::condition(items, values);
        if (!condition)
            return {-1};
        ListQueryRequest r;
        r.view = QStringLiteral("v_managesample_list");
        r.fields = {QStringLiteral("iautoid")};
        r.filter = *condition;
        const ListQuery query(r);
        auto totals = query.totals(db.cnn());
        EXPECT_TRUE(totals) << totals.error().toStdString();
        auto rows = query.page(db.cnn(), 1, 100, totals->rows);
        EXPECT_TRUE(rows) << rows.error().toStdString();
        QList<int> ids;
        for (const QVariantList &row : rows->rows)
            ids << row[0].toInt();
        return ids;
    }

    TestDatabase db{GetParam()};
    FilterService service{db.cnn(), QStringLiteral("tester")};
    QList<FilterItem> items;
};

TEST_P(FilterServiceTest, typed_values_are_compared_never_executed)
{
    const QString maker = QStringLiteral("cmaker");
    EXPECT_EQ(select({{maker, QStringLiteral("="), QStringLiteral("O'Neil")}}), QList<int>{1});
    EXPECT_EQ(select({{maker, QStringLiteral("="), QStringLiteral("x' or '1'='1")}}), QList<int>{});
    EXPECT_EQ(select({{maker, QStringLiteral("="), QStringLiteral("'); DELETE FROM ManageSample; --")}}), QList<int>{});
    EXPECT_EQ(select({{maker, QStringLiteral("%like%"), QStringLiteral("%_")}}), QList<int>{2})
        << "% and _ typed into a text match themselves";
    EXPECT_EQ(select({{maker, QStringLiteral("like%"), QStringLiteral("O'")}}), QList<int>{1});
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 3);
}

TEST_P(FilterServiceTest, conditions_join_with_and_and_dates_compare_as_dates)
{
    EXPECT_EQ(select({}), (QList<int>{1, 2, 3})) << "no condition adds nothing";
    const FilterValue december{QStringLiteral("ddate"), QStringLiteral("between"), QStringLiteral("2026-12-01"),
                               QStringLiteral("2026-12-31")};
    EXPECT_EQ(select({december}), (QList<int>{2, 3}));
    EXPECT_EQ(select({december, {QStringLiteral("cmaker"), QStringLiteral("<>"), QStringLiteral("李娜")}}),
              QList<int>{2});
    EXPECT_EQ(select({{QStringLiteral("ddate"), QStringLiteral("between"), QStringLiteral(""),
                       QStringLiteral("2026-12-01")}}),
              (QList<int>{1, 2}))
        << "a range with one end is open at the other";
    EXPECT_EQ(select({{QStringLiteral("cmaker"), QStringLiteral("="), QStringLiteral("")}}), (QList<int>{1, 2, 3}))
        << "a condition left empty is no condition";
}

TEST_P(FilterServiceTest, refuses_columns_operators_and_values_it_does_not_offer)
{
    auto refused = [&](const FilterValue &v) {
        return !FilterService::condition(items, {v});
    };
    EXPECT_TRUE(refused({QStringLiteral("cmaker = cmaker or 1"), QStringLiteral("="), QStringLiteral("x")}));
    EXPECT_TRUE(refused({QStringLiteral("cmemo"), QStringLiteral("="), QStringLiteral("x")})) << "not offered";
    EXPECT_TRUE(refused({QStringLiteral("cmaker"), QStringLiteral("= 1 or cmaker ="), QStringLiteral("x")}));
    EXPECT_TRUE(refused({QStringLiteral("ddate"), QStringLiteral("like%"), QStringLiteral("2026")}));
    EXPECT_TRUE(refused({QStringLiteral("ddate"), QStringLiteral("="), QStringLiteral("2026-13-01")}));
    const auto message
        = FilterService::condition(items, {{QStringLiteral("ddate"), QStringLiteral(">"), QStringLiteral("明天")}});
    ASSERT_FALSE(message);
    EXPECT_TRUE(message.error().contains(QStringLiteral("单据日期")));
}

TEST_P(FilterServiceTest, remembers_each_users_last_filter_apart)
{
    const QList<FilterValue> mine{{QStringLiteral("cmaker"), QStringLiteral("="), QStringLiteral("O'Neil")},
                                  {QStringLiteral("ddate"), QStringLiteral("between"), QStringLiteral("2026-12-01"),
                                   QStringLiteral("2026-12-31")}};
    ASSERT_TRUE(service.remember(kReport, kSub, mine));
    FilterService other(db.cnn(), QStringLiteral("li"));
    ASSERT_TRUE(
        other.remember(kReport, kSub, {{QStringLiteral("cmaker"), QStringLiteral("="), QStringLiteral("李娜")}}));
    EXPECT_EQ(*service.remembered(kReport, kSub), mine);
    ASSERT_TRUE(service.remember(kReport, kSub, {}));
    EXPECT_TRUE(service.remembered(kReport, kSub)->isEmpty());
    EXPECT_EQ(other.remembered(kReport, kSub)->size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, FilterServiceTest, ORVANE_BOTH_BACKENDS);

} // namespace
