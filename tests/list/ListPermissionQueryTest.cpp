#include "support/ListData.h"

#include "host/DataPermission.h"
#include "list/ListPermissionCondition.h"
#include "list/ListQuery.h"

#include <gtest/gtest.h>

namespace {

// Answers as the permission service does, from fixed grants: "1=1", "1=2" or an in-list.
class GrantsPermission : public DataPermission
{
public:
    GrantsPermission(const char *c, const char *i, const char *d, const char *m)
        : customers(QString::fromUtf8(c))
        , items(QString::fromUtf8(i))
        , departments(QString::fromUtf8(d))
        , makers(QString::fromUtf8(m))
    {}

    QString customers, items, departments, makers;

    void BindLogin(std::shared_ptr<clsLogin> &) override {}
    QString GetFieldCondition(const QString &field) override
    {
        const QString f = field.toLower();
        const QString granted = f.contains(QLatin1String("cus"))   ? customers
                                : f.contains(QLatin1String("dep")) ? departments
                                                                   : items;
        return granted.startsWith(QLatin1String("1=")) ? granted : field + QStringLiteral(" in (") + granted + ')';
    }
    QString GetKindCondition(const QString &) override { return makers; }
};

// The permission as the view's own columns state it, joined with the customer and item tables.
QString plainCondition(GrantsPermission &p)
{
    const QString maker = p.makers.startsWith(QLatin1String("1="))
                              ? p.makers
                              : QStringLiteral("(cmaker in(") + p.makers + QStringLiteral(") or COALESCE(cmaker,'')='')");
    return maker + QStringLiteral(" and (") + p.GetFieldCondition(QStringLiteral("CustomerIID"))
           + QStringLiteral(" or COALESCE(ccuscode,'') = '') and (") + p.GetFieldCondition(QStringLiteral("NewInvIID"))
           + QStringLiteral(" or NewInvIID = -1) and (") + p.GetFieldCondition(QStringLiteral("cdepcode"))
           + QStringLiteral(" or COALESCE(cdepcode,'') = '')");
}

class ListPermissionQueryTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        addListMasterData(db);
        // Items NEW1..NEW4 are known (iId 1..4); the other vouchers name unknown items, one none.
        for (int k = 1; k <= 4; ++k)
            db.exec(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) VALUES (?, ?, ?)"),
                    {QStringLiteral("NEW%1").arg(k), QStringLiteral("新品%1").arg(k), k});
        const QStringList customers{"KH1", "KH2", "KH3", "", "KH9"}; // KH9 is no customer
        const QStringList departments{"BM1", "BM2", ""};
        const QStringList makers{"张三", "李四"};
        for (int id = 1; id <= 40; ++id)
            addListVoucher(db, {.id = id,
                                .customer = customers[id % customers.size()],
                                .department = departments[id % departments.size()],
                                .maker = makers[(id / 2) % makers.size()],
                                .cost = id * 1.25,
                                .lines = id % 4});
        db.exec(QStringLiteral("UPDATE ManageSample SET cNewInvCode = NULL WHERE iAutoID = 8"));
    }

    // The rows and totals of the list beside those of one plain query over the view.
    void expectSameAsPlainQuery(GrantsPermission &p)
    {
        ListQueryRequest r;
        r.view = QStringLiteral("v_managesample_list");
        r.fields = {QStringLiteral("ccode"), QStringLiteral("isubid"), QStringLiteral("ccusabbname"),
                    QStringLiteral("ipsquantity")};
        r.sumFields = {QStringLiteral("ipsquantity"), QStringLiteral("itolcost")};
        r.permission = listPermissionCondition(p);
        const QString plain = plainCondition(p);
        auto rs = db.cnn().Query(QStringLiteral("select ccode, isubid, ccusabbname, ipsquantity, iautoid from "
                                                "v_managesample_list where ")
                                 + plain + QStringLiteral(" order by iautoid, COALESCE(isubid, 0)"));
        ASSERT_TRUE(rs) << rs.error().toStdString();
        auto sums = db.cnn().Query(QStringLiteral("select COUNT(*), SUM(ipsquantity), SUM(itolcost) from "
                                                  "v_managesample_list where ")
                                   + plain);
        ASSERT_TRUE(sums) << sums.error().toStdString();

        const ListQuery query(r);
        auto totals = query.totals(db.cnn());
        ASSERT_TRUE(totals) << totals.error().toStdString();
        EXPECT_EQ(totals->rows, rs->RecordCount()) << plain.toStdString();
        EXPECT_EQ(totals->sums[0].isNull(), sums->value(0, 1).isNull());
        EXPECT_DOUBLE_EQ(totals->sums[0].toDouble(), sums->value(0, 1).toDouble());
        EXPECT_DOUBLE_EQ(totals->sums[1].toDouble(), sums->value(0, 2).toDouble());
        // Pages of 4 and 7 rows: the back pages are read from the end, a page may split a voucher.
        for (int size : {4, 7}) {
            QList<QVariantList> rows;
            for (int page = 1; page <= ListQuery::pageCount(totals->rows, size); ++page) {
                auto read = query.page(db.cnn(), page, size, totals->rows);
                ASSERT_TRUE(read) << read.error().toStdString();
                rows << read->rows;
            }
            ASSERT_EQ(rows.size(), rs->RecordCount()) << "page size " << size;
            for (int k = 0; k < rows.size(); ++k)
                EXPECT_EQ(rows[k], rs->row(k)) << "page size " << size << " row " << k;
        }
    }

    TestDatabase db{GetParam()};
};

TEST_P(ListPermissionQueryTest, restricted_pages_and_totals_equal_a_plain_query_over_the_view)
{
    GrantsPermission p("1,3", "2,3", "'BM2'", "'张三'");
    expectSameAsPlainQuery(p);
}

TEST_P(ListPermissionQueryTest, no_granted_customers_or_items_leaves_the_vouchers_naming_none)
{
    GrantsPermission p("1=2", "1=2", "1=1", "1=1");
    expectSameAsPlainQuery(p);
}

TEST_P(ListPermissionQueryTest, everything_granted_shows_every_row)
{
    GrantsPermission p("1=1", "1=1", "1=1", "1=1");
    expectSameAsPlainQuery(p);
}

INSTANTIATE_TEST_SUITE_P(Db, ListPermissionQueryTest, ORVANE_BOTH_BACKENDS);

} // namespace
