#include "support/ListData.h"

#include "list/ListQuery.h"
#include "list/ListViewColumns.h"

#include <QDate>

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

    // Every page of the query, read one after another as the window reads them: by the keys the
    // totals note, or by offset when `byOffset`.
    QList<QVariantList> allPages(const ListQuery &query, int pageSize, bool byOffset = false)
    {
        auto totals = query.totals(db.cnn(), !byOffset);
        EXPECT_TRUE(totals) << totals.error().toStdString();
        return pagesOf(query, pageSize, *totals);
    }

    QList<QVariantList> pagesOf(const ListQuery &query, int pageSize, const ListTotals &totals)
    {
        QList<QVariantList> out;
        for (int p = 1; p <= ListQuery::pageCount(totals.rows, pageSize); ++p) {
            auto rows = query.page(db.cnn(), p, pageSize, totals);
            EXPECT_TRUE(rows) << rows.error().toStdString();
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
    // Sizes that make the back half read from the end, a short last page, one page for all, and
    // pages that begin inside a voucher's lines; read by keys and by offset.
    for (bool byOffset : {false, true}) {
        for (int size : {1, 2, 3, 4, 100}) {
            const auto pages = allPages(query, size, byOffset);
            ASSERT_EQ(pages.size(), expected.size()) << "page size " << size << " by offset " << byOffset;
            for (int r = 0; r < pages.size(); ++r)
                EXPECT_EQ(pages[r], expected[r]) << "page size " << size << " row " << r << " by offset " << byOffset;
        }
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

TEST_P(ListQueryTest, pages_read_by_keys_are_the_pages_read_by_offset_under_a_filter_a_restriction_and_a_sort)
{
    for (int id = 1; id <= 20; ++id)
        addListVoucher(db, {.id = id,
                            .customer = id % 4 == 0 ? QStringLiteral("KH2") : QStringLiteral("KH1"),
                            .cost = double(id),
                            .lines = id % 3,
                            .memo = id % 5 == 0 ? QString() : QString(QChar(char16_t(u'a' + id % 4)))});
    ListQueryRequest r = request();
    r.permission = QStringLiteral("(ccuscode in ('KH1') or COALESCE(ccuscode,'') = '')");
    r.filter = {QStringLiteral("iautoid >= ? and itolcost <= ?"), {3, 17.0}};
    for (const ListSort &sort :
         {ListSort{}, ListSort{QStringLiteral("cmemo"), false}, ListSort{QStringLiteral("cmemo"), true}}) {
        r.sort = sort;
        const ListQuery query(r);
        auto totals = query.totals(db.cnn(), true);
        ASSERT_TRUE(totals) << totals.error().toStdString();
        ASSERT_EQ(totals->keys.size(), totals->rows);
        for (int size : {1, 2, 5, 7}) {
            for (int p = 1; p <= ListQuery::pageCount(totals->rows, size) + 1; ++p) {
                auto byKeys = query.page(db.cnn(), p, size, *totals);
                auto byOffset = query.page(db.cnn(), p, size, totals->rows);
                ASSERT_TRUE(byKeys && byOffset);
                EXPECT_EQ(byKeys->rows, byOffset->rows)
                    << "sort " << sort.field.toStdString() << sort.descending << " page size " << size << " page " << p;
            }
        }
    }
}

// The window reads the totals, then a page: rows written or deleted in between must not make the
// pages show a row twice or pass over a row that is still there.
TEST_P(ListQueryTest, rows_written_or_deleted_after_the_totals_are_neither_shown_twice_nor_passed_over)
{
    for (int id = 10; id <= 100; id += 10)
        addListVoucher(db, {.id = id, .lines = id % 30 == 0 ? 3 : 1});
    const ListQuery query(request());
    const int size = 4;
    auto totals = query.totals(db.cnn(), true);
    ASSERT_TRUE(totals);
    QList<std::pair<int, int>> before;
    for (const ListKey &key : totals->keys)
        before << std::pair(int(key.voucher), int(key.line));
    // A voucher between two others, one past the end, a line added to a voucher inside a page,
    // and a voucher and a line deleted.
    addListVoucher(db, {.id = 35, .lines = 2});
    addListVoucher(db, {.id = 200});
    db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode) VALUES (60, 6050, 'X')"));
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 20"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 20"));
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iSubID = 3002"));

    QList<std::pair<int, int>> shown;
    for (const QVariantList &row : pagesOf(query, size, *totals))
        shown << std::pair(row[3].toInt(), row[1].toInt());
    // The rows the totals counted, in order, once each, less those deleted since; the rows
    // written since wait for the next totals.
    before.removeIf([](const std::pair<int, int> &key) { return key.first == 20 || key == std::pair(30, 3002); });
    EXPECT_EQ(shown, before);
}

TEST_P(ListQueryTest, totals_under_a_restriction_and_filter_equal_a_plain_count_and_sum)
{
    for (int id = 1; id <= 12; ++id)
        addListVoucher(db, {.id = id,
                            .customer = id % 3 == 0 ? QStringLiteral("KH2") : QStringLiteral("KH1"),
                            .cost = id * 0.1,
                            .lines = id % 4});
    ListQueryRequest r = request();
    r.permission = QStringLiteral("(customeriid in (1) or COALESCE(ccuscode,'') = '')");
    // A number the native client binds, and a date it leaves to Qt's driver.
    for (const SqlCondition &filter :
         {SqlCondition{QStringLiteral("iautoid <= ?"), {10}},
          SqlCondition{QStringLiteral("iautoid <= ? and ddate >= ?"), {10, QDate(2026, 1, 1)}}}) {
        r.filter = filter;
        auto plain = db.cnn().Query(QStringLiteral("select count(*), sum(ipsquantity), sum(itolcost) from "
                                                   "v_managesample_list where ")
                                        + r.permission + QStringLiteral(" and ") + r.filter.text,
                                    r.filter.params);
        ASSERT_TRUE(plain);
        ASSERT_GT(plain->value(0, 0).toLongLong(), 0);
        for (bool noteKeys : {false, true}) {
            auto totals = ListQuery(r).totals(db.cnn(), noteKeys);
            ASSERT_TRUE(totals) << totals.error().toStdString();
            EXPECT_EQ(totals->rows, plain->value(0, 0).toLongLong());
            EXPECT_EQ(totals->keys.size(), noteKeys ? totals->rows : 0);
            EXPECT_DOUBLE_EQ(totals->sums[0].toDouble(), plain->value(0, 1).toDouble());
            EXPECT_NEAR(totals->sums[1].toDouble(), plain->value(0, 2).toDouble(), 1e-9);
        }
    }
    // No row with a value: the sum is empty, as SQL's is.
    r.filter = {QStringLiteral("iautoid = ?"), {4}};
    auto none = ListQuery(r).totals(db.cnn(), true);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->rows, 1);
    EXPECT_TRUE(none->sums[0].isNull());
    EXPECT_FALSE(none->sums[1].isNull());
}

INSTANTIATE_TEST_SUITE_P(Db, ListQueryTest, ORVANE_BOTH_BACKENDS);

} // namespace
