#include "host/ReferenceListService.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

// Items I000..I024 named 物料000.., plus items whose codes and names hold characters that mean
// something to LIKE or are not ASCII.
void writeItems(TestDatabase &db)
{
    const QString add = QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) VALUES (?, ?, ?)");
    for (int k = 0; k < 25; ++k)
        db.exec(add, {QStringLiteral("I%1").arg(k, 3, 10, QLatin1Char('0')), QStringLiteral("物料%1").arg(k), k + 1});
    db.exec(add, {QStringLiteral("A_1"), QStringLiteral("红色阀门"), 101});
    db.exec(add, {QStringLiteral("AB1"), QStringLiteral("红旗"), 102});
    db.exec(add, {QStringLiteral("A%2"), QStringLiteral("蓝色"), 103});
    db.exec(add, {QStringLiteral("a01"), QStringLiteral("O'Neil"), 104});
}

ReferenceListRequest items(const QString &search = {}, int pageSize = 10)
{
    ReferenceListRequest r;
    r.kind = QStringLiteral("inventory");
    r.table = QStringLiteral("Inventory i");
    r.columns = QStringLiteral("i.cInvCode, i.cInvName");
    r.codeColumn = QStringLiteral("i.cInvCode");
    r.nameColumn = QStringLiteral("i.cInvName");
    r.valueColumn = QStringLiteral("cInvCode");
    r.search = search;
    r.pageSize = pageSize;
    return r;
}

QStringList codes(const Recordset &rs)
{
    QStringList out;
    for (int r = 0; r < rs.RecordCount(); ++r)
        out << rs.value(r, 0).toString();
    return out;
}

} // namespace

class ReferenceList : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        writeItems(db);
    }

    // Every code the list shows, page after page; the number of pages in `pages`.
    QStringList walk(ReferenceListRequest request, int &pages)
    {
        QStringList all;
        pages = 0;
        for (request.pageIndex = 0;; ++request.pageIndex) {
            auto page = service.page(request);
            EXPECT_TRUE(page) << page.error().toStdString();
            if (!page || ++pages > 100)
                break;
            all << codes(page->rows);
            if (!page->more)
                break;
        }
        return all;
    }

    QStringList found(const QString &search)
    {
        int pages = 0;
        return walk(items(search, 100), pages);
    }

    TestDatabase db{GetParam()};
    ReferenceListService service{db.cnn()};
};

TEST_P(ReferenceList, pages_join_in_code_order_without_gaps_or_repeats_and_the_last_says_no_more)
{
    int pages = 0;
    const QStringList all = walk(items(QStringLiteral("I"), 10), pages);
    EXPECT_EQ(pages, 3);
    ASSERT_EQ(all.size(), 25);
    for (int k = 0; k < 25; ++k)
        EXPECT_EQ(all.at(k), QStringLiteral("I%1").arg(k, 3, 10, QLatin1Char('0')));

    // A page that ends exactly at the last row says no more.
    auto exact = service.page(items(QStringLiteral("I"), 25));
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->rows.RecordCount(), 25);
    EXPECT_FALSE(exact->more);
    ReferenceListRequest beyond = items(QStringLiteral("I"), 10);
    beyond.pageIndex = 5;
    auto empty = service.page(beyond);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->rows.isEmpty());
    EXPECT_FALSE(empty->more);
}

TEST_P(ReferenceList, the_search_is_a_prefix_of_code_or_name)
{
    EXPECT_EQ(found(QStringLiteral("I01")).size(), 10);
    EXPECT_EQ(found(QStringLiteral("I024")), QStringList{QStringLiteral("I024")});
    EXPECT_EQ(found(QStringLiteral("物料2")).size(), 6) << "物料2 and 物料20..24";
    EXPECT_EQ(found(QStringLiteral("红")), (QStringList{"AB1", "A_1"})) << "in code order";
    EXPECT_EQ(found(QString()).size(), 29);
}

TEST_P(ReferenceList, wildcards_and_quotes_in_the_search_are_plain_characters_and_case_counts)
{
    EXPECT_EQ(found(QStringLiteral("A_")), QStringList{QStringLiteral("A_1")});
    EXPECT_EQ(found(QStringLiteral("A%")), QStringList{QStringLiteral("A%2")});
    EXPECT_TRUE(found(QStringLiteral("%")).isEmpty());
    EXPECT_EQ(found(QStringLiteral("O'")), QStringList{QStringLiteral("a01")});
    EXPECT_EQ(found(QStringLiteral("a")), QStringList{QStringLiteral("a01")});
    EXPECT_EQ(found(QStringLiteral("A")), (QStringList{"A%2", "AB1", "A_1"}));
}

TEST_P(ReferenceList, conditions_and_the_lists_own_condition_narrow_the_rows)
{
    ReferenceListRequest r = items(QStringLiteral("I"), 100);
    r.where = QStringLiteral("i.iId <= ?");
    r.whereParams = {20};
    r.conditions = {QStringLiteral("i.iId in (2,3,21)"), QStringLiteral("i.cInvName <> ? OR i.iId = 2")};
    r.conditionParams = {QStringLiteral("物料2")};
    auto page = service.page(r);
    ASSERT_TRUE(page) << page.error().toStdString();
    EXPECT_EQ(codes(page->rows), QStringList{QStringLiteral("I001")}) << "iId 2 passes the OR, 3 is 物料2, 21 > 20";
}

TEST_P(ReferenceList, a_bad_statement_is_an_error_not_an_empty_page)
{
    ReferenceListRequest r = items();
    r.conditions = {QStringLiteral("no_such_column = 1")};
    EXPECT_FALSE(service.page(r));
}

INSTANTIATE_TEST_SUITE_P(Db, ReferenceList, ORVANE_BOTH_BACKENDS);

TEST(ReferenceListPrefix, the_successor_bounds_every_text_with_the_prefix)
{
    EXPECT_EQ(ReferenceListService::prefixSuccessor(QStringLiteral("ab")), QStringLiteral("ac"));
    EXPECT_EQ(ReferenceListService::prefixSuccessor(QStringLiteral("红")), QString(QChar(0x7EA3)));
    EXPECT_EQ(ReferenceListService::prefixSuccessor(QString()), QString());
    const QString highest = QString::fromUcs4(U"\U0010FFFF");
    EXPECT_EQ(ReferenceListService::prefixSuccessor(highest), QString());
    EXPECT_EQ(ReferenceListService::prefixSuccessor(QStringLiteral("a") + highest), QStringLiteral("b"));
    // U+D7FF is followed by U+E000: surrogates are no characters.
    EXPECT_EQ(ReferenceListService::prefixSuccessor(QString(QChar(0xD7FF))), QString(QChar(0xE000)));
}
