#include "support/ListData.h"

#include "list/ListQuery.h"
#include "list/ListViewColumns.h"

#include <gtest/gtest.h>

namespace {

class ListQueryTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        addListMasterData(db);
    }

    ListQueryRequest request() const
    {
        ListQueryRequest r;
        r.view = QStringLiteral("v_managesample_list");
        r.fields = {QStringLiteral("ccode"), QStringLiteral("isubid"), QStringLiteral("cmemo")};
        r.sumFields = {QStringLiteral("ipsquantity"), QStringLiteral("itolcost")};
        r.permission = QStringLiteral("1=1");
        return r;
    }

    // Every page of the query, read one after another.
    QList<QVariantList> allPages(const ListQuery &query, int pageSize)
    {
        auto totals = query.totals(db.cnn());
        EXPECT_TRUE(totals) << totals.error().toStdString();
        QList<QVariantList> out;
        for (int p = 1; p <= ListQuery::pageCount(totals->rows, pageSize); ++p) {
            auto rows = query.page(db.cnn(), p, pageSize, totals->rows);
            EXPECT_TRUE(rows) << rows.error().toStdString();
            EXPECT_LE(rows->rows.size(), pageSize);
            out << rows->rows;
        }
        return out;
    }

    TestDatabase db{GetParam()};
};

TEST_P(ListQueryTest, pages_hold_every_row_once_in_voucher_and_line_order_front_and_back)
{
    // Vouchers written out of order, one without lines (its line key is empty).
    for (int id : {5, 1, 4, 2, 3, 6, 7})
        addListVoucher(db, {.id = id, .lines = id == 4 ? 0 : (id % 3) + 1});
    const ListQuery query(request());
    QList<QVariantList> expected;
    auto rs = db.cnn().Query(QStringLiteral("select ccode, isubid, cmemo, iautoid from v_managesample_list"));
    ASSERT_TRUE(rs);
    for (int r = 0; r < rs->RecordCount(); ++r)
        expected << rs->row(r);
    std::sort(expected.begin(), expected.end(), [](const QVariantList &a, const QVariantList &b) {
        return std::pair(a[3].toInt(), a[1].toInt()) < std::pair(b[3].toInt(), b[1].toInt());
    });
    // Sizes that make the back half read from the end, a short last page, and one page for all.
    for (int size : {1, 3, 4, 100}) {
        const auto pages = allPages(query, size);
        ASSERT_EQ(pages.size(), expected.size()) << "page size " << size;
        for (int r = 0; r < pages.size(); ++r)
            EXPECT_EQ(pages[r][1].toInt(), expected[r][1].toInt()) << "page size " << size << " row " << r;
    }
}

TEST_P(ListQueryTest, a_sort_puts_empty_values_first_and_keeps_the_voucher_order_among_equals)
{
    addListVoucher(db, {.id = 1, .memo = QStringLiteral("b")});
    addListVoucher(db, {.id = 2});
    addListVoucher(db, {.id = 3, .memo = QStringLiteral("a")});
    addListVoucher(db, {.id = 4, .memo = QStringLiteral("b")});
    addListVoucher(db, {.id = 5});
    ListQueryRequest r = request();
    r.sort = {QStringLiteral("cmemo"), false};
    auto ids = [&](const ListQueryRequest &req, int size) {
        QList<int> out;
        for (const QVariantList &row : allPages(ListQuery(req), size))
            out << row[3].toInt();
        return out;
    };
    EXPECT_EQ(ids(r, 2), (QList<int>{2, 5, 3, 1, 4}));
    r.sort.descending = true;
    EXPECT_EQ(ids(r, 2), (QList<int>{1, 4, 3, 2, 5}));
}

TEST_P(ListQueryTest, totals_count_and_sum_every_matching_row_not_only_the_page)
{
    for (int id = 1; id <= 9; ++id)
        addListVoucher(db, {.id = id,
                            .customer = id <= 6 ? QStringLiteral("KH1") : QStringLiteral("KH2"),
                            .cost = id * 1.5,
                            .lines = 2});
    ListQueryRequest r = request();
    r.permission = QStringLiteral("(customeriid in (1) or COALESCE(ccuscode,'') = '')");
    const ListQuery query(r);
    auto totals = query.totals(db.cnn());
    ASSERT_TRUE(totals) << totals.error().toStdString();
    EXPECT_EQ(totals->rows, 12); // six vouchers of two lines each
    EXPECT_DOUBLE_EQ(totals->sums[0].toDouble(), 6 * (1 + 2));
    EXPECT_DOUBLE_EQ(totals->sums[1].toDouble(), 2 * 1.5 * (1 + 2 + 3 + 4 + 5 + 6));
    auto rows = query.page(db.cnn(), 1, 5, totals->rows);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->rows.size(), 5);
    auto beyond = query.page(db.cnn(), 4, 5, totals->rows);
    ASSERT_TRUE(beyond);
    EXPECT_TRUE(beyond->rows.isEmpty());
}

TEST_P(ListQueryTest, the_view_tells_number_columns_from_text_and_knows_only_its_own_names)
{
    auto columns = ListViewColumns::read(db.cnn(), QStringLiteral("v_managesample_list"));
    ASSERT_TRUE(columns) << columns.error().toStdString();
    EXPECT_TRUE(columns->maySum(QStringLiteral("itolcost")));
    EXPECT_TRUE(columns->maySum(QStringLiteral("IPSQUANTITY")));
    EXPECT_FALSE(columns->maySum(QStringLiteral("ccode")));
    EXPECT_FALSE(columns->maySum(QStringLiteral("ccusname")));
    EXPECT_EQ(columns->kind(QStringLiteral("ddate")), ListColumnKind::Date);
    EXPECT_FALSE(columns->contains(QStringLiteral("ccode; drop table ManageSample")));
    EXPECT_FALSE(ListViewColumns::read(db.cnn(), QStringLiteral("no_such_view")));
}

INSTANTIATE_TEST_SUITE_P(Db, ListQueryTest, ORVANE_BOTH_BACKENDS);

} // namespace
