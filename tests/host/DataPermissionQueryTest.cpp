#include "host/DataPermissionService.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"

#include "support/TestDatabase.h"

#include <QSet>

#include <gtest/gtest.h>

// The answers joined into real queries over the demo company's data: each must be valid SQL on the
// backend and select exactly the rows its values stand for.

namespace {

struct Head
{
    int id;
    QVariant customer, newItem;
    QString department, maker;
};

class DataPermissionQueryTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        if (!db.available())
            return;
        auto installed = DemoDatabase::install(db.cnn());
        ASSERT_TRUE(installed) << installed.error().toStdString();
    }

    void bind(const QString &user, const QString &password)
    {
        auto session = clsLogin::Login(db.connectionString(), user, password);
        ASSERT_TRUE(session) << session.error().toStdString();
        m_session = *session;
        service.BindLogin(m_session);
    }

    Recordset query(const QString &sql)
    {
        auto rs = db.cnn().Query(sql);
        EXPECT_TRUE(rs) << sql.toStdString() << ": " << (rs ? std::string() : rs.error().toStdString());
        return rs ? *rs : Recordset();
    }

    qint64 count(const QString &sql)
    {
        auto n = db.cnn().Scalar(sql);
        EXPECT_TRUE(n) << sql.toStdString() << ": " << (n ? std::string() : n.error().toStdString());
        return n ? n->toLongLong() : -1;
    }

    QList<Head> heads()
    {
        QList<Head> out;
        Recordset rs = query(QStringLiteral("SELECT iautoid, customeriid, newinviid, cdepcode, cmaker "
                                            "FROM v_managesample ORDER BY iautoid"));
        for (int r = 0; r < rs.RecordCount(); ++r)
            out << Head{rs.value(r, 0).toInt(), rs.value(r, 1), rs.value(r, 2), rs.value(r, 3).toString(),
                        rs.value(r, 4).toString()};
        return out;
    }

    // The items of each sample's lines; NULL (an item outside the item master) as 0.
    QHash<int, QList<qlonglong>> lineItems()
    {
        QHash<int, QList<qlonglong>> out;
        Recordset rs = query(QStringLiteral("SELECT iautoid, inventoryiid FROM v_managesamples"));
        for (int r = 0; r < rs.RecordCount(); ++r)
            out[rs.value(r, 0).toInt()] << rs.value(r, 1).toLongLong();
        return out;
    }

    TestDatabase db{GetParam(), TestDatabase::Empty};
    DataPermissionService service;
    std::shared_ptr<clsLogin> m_session;
};

template<typename T, typename Pick> qint64 countIf(const QList<T> &rows, Pick pick)
{
    return std::count_if(rows.cbegin(), rows.cend(), pick);
}

TEST_P(DataPermissionQueryTest, every_answer_selects_exactly_the_granted_rows)
{
    ORVANE_REQUIRE(db);
    const QString tester = QStringLiteral("tester");
    ASSERT_TRUE(clsLogin::CreateUser(db.cnn(), tester, QStringLiteral("测试员"), QStringLiteral("pw"), false));
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Inventory, true));

    // A maker and a department code with quotes, on two of the demo samples.
    QList<Head> all = heads();
    ASSERT_GE(all.size(), 10);
    db.exec(QStringLiteral("UPDATE ManageSample SET cMaker = ? WHERE iAutoID = ?"),
            {QStringLiteral("O'Brien"), all[4].id});
    db.exec(QStringLiteral("UPDATE ManageSample SET cDepCode = ? WHERE iAutoID = ?"),
            {QStringLiteral("Q'1"), all[3].id});
    all = heads();

    QSet<qlonglong> customers, items;
    QSet<QString> departments = {all[0].department, QStringLiteral("Q'1")};
    QSet<QString> makers = {all[0].maker, QStringLiteral("O'Brien")};
    const QHash<int, QList<qlonglong>> lines = lineItems();
    for (int i = 0; i < 3; ++i) {
        if (!all[i].customer.isNull())
            customers << all[i].customer.toLongLong();
        items << all[i].newItem.toLongLong();
        for (qlonglong item : lines.value(all[i].id))
            items << item;
    }
    items.remove(0);
    items.remove(-1);
    const auto grantEach = [&](DataObject object, const auto &values, const QString &access = {}) {
        for (const auto &v : values) {
            auto done = DataPermissionStore::grantValue(db.cnn(), tester, object, QVariant(v).toString(), access);
            ASSERT_TRUE(done) << done.error().toStdString();
        }
    };
    grantEach(DataObject::Customer, customers);
    grantEach(DataObject::Inventory, items);
    grantEach(DataObject::Department, departments);
    grantEach(DataObject::Maker, makers, QStringLiteral("r"));
    grantEach(DataObject::Template, QList<int>{180102});
    bind(tester, QStringLiteral("pw"));

    const QString from = QStringLiteral("SELECT COUNT(*) FROM v_managesample WHERE ");
    const auto has = [](const QSet<qlonglong> &set, const QVariant &v) {
        return !v.isNull() && set.contains(v.toLongLong());
    };
    EXPECT_EQ(count(from + service.GetFieldCondition(QStringLiteral("CustomerIID"))),
              countIf(all, [&](const Head &h) { return has(customers, h.customer); }));
    EXPECT_EQ(count(from + service.GetFieldCondition(QStringLiteral("NewInvIID"))),
              countIf(all, [&](const Head &h) { return has(items, h.newItem); }));
    EXPECT_EQ(count(from + service.GetFieldCondition(QStringLiteral("cdepcode"))),
              countIf(all, [&](const Head &h) { return departments.contains(h.department); }));
    EXPECT_EQ(
        count(from + QStringLiteral("cmaker in (") + service.GetKindCondition(QStringLiteral("r")) + QLatin1Char(')')),
        countIf(all, [&](const Head &h) { return makers.contains(h.maker); }));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE ")
                    + service.GetFieldCondition(QStringLiteral("Customer.iId"))),
              customers.size());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Inventory I WHERE ")
                    + service.GetFieldCondition(QStringLiteral("I.iId"))),
              items.size());
    const QString templates = QStringLiteral("FROM vouchertemplates WHERE VT_ID in (")
                              + service.GetKindCondition(QStringLiteral("DJMB")) + QLatin1Char(')');
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) ") + templates), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT MIN(VT_ID) ") + templates), 180102);

    // The card's body condition: samples with a line of an allowed item, and samples without a
    // line outside the grant (the form that hides a sample as soon as one item is not allowed).
    const auto linesThat = [&](auto test) {
        return countIf(all, [&](const Head &h) {
            const QList<qlonglong> own = lines.value(h.id);
            return test(own, [&](qlonglong item) { return items.contains(item); });
        });
    };
    const qint64 everyLine
        = linesThat([](const auto &own, auto allowed) { return std::all_of(own.cbegin(), own.cend(), allowed); });
    ASSERT_GT(everyLine, 0);
    ASSERT_LT(everyLine, all.size());
    EXPECT_EQ(count(from + QStringLiteral("iautoid not in (SELECT iautoid FROM v_managesamples WHERE ")
                    + service.GetFieldCondition(QStringLiteral("COALESCE(InventoryIID,0) not")) + QLatin1Char(')')),
              everyLine);
    EXPECT_EQ(count(from + QStringLiteral("iautoid in (SELECT iautoid FROM v_managesamples WHERE ")
                    + service.GetFieldCondition(QStringLiteral("InventoryIID")) + QLatin1Char(')')),
              linesThat([](const auto &own, auto allowed) { return std::any_of(own.cbegin(), own.cend(), allowed); }));
}

TEST_P(DataPermissionQueryTest, demo_users_hold_the_permissions_the_handbook_lists)
{
    ORVANE_REQUIRE(db);
    bind(QString::fromLatin1(DemoDatabase::UserId), QString::fromLatin1(DemoDatabase::Password));
    for (const char *field : {"CustomerIID", "NewInvIID", "cdepcode"})
        EXPECT_EQ(service.GetFieldCondition(QString::fromLatin1(field)), QStringLiteral("1=1")) << field;
    for (const char *kind : {"r", "w", "v", "u", "c"})
        EXPECT_EQ(service.GetKindCondition(QString::fromLatin1(kind)), QStringLiteral("1=1")) << kind;
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("DJMB")), QString());

    bind(QStringLiteral("wangjg"), QStringLiteral("wangjg"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("w")), QStringLiteral("'王建国'"));
    EXPECT_TRUE(service.GetKindCondition(QStringLiteral("v")).contains(QStringLiteral("'黄丽'")));
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("cdepcode")), QStringLiteral("cdepcode in ('0301','0302')"));
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), QStringLiteral("1=1"));

    bind(QStringLiteral("lina"), QStringLiteral("lina"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("r")), QStringLiteral("'李娜'"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("v")), QStringLiteral("1=2"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("DJMB")), QStringLiteral("180101,180102"));
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("NewInvIID")), QStringLiteral("1=1"));

    // Her list, its permission condition put together as the list window does: some samples, all
    // her own, of her department and her department's customers.
    const QString condition
        = QStringLiteral(" (cmaker in(%1) or COALESCE(cmaker,'')='') and (%2 or COALESCE(ccuscode,'') = '') "
                         "and (%3 or NewInvIID = -1 ) and (%4 or COALESCE(cdepcode,'') = '')")
              .arg(service.GetKindCondition(QStringLiteral("r")),
                   service.GetFieldCondition(QStringLiteral("CustomerIID")),
                   service.GetFieldCondition(QStringLiteral("NewInvIID")),
                   service.GetFieldCondition(QStringLiteral("cdepcode")));
    const QString list = QStringLiteral("SELECT COUNT(*) FROM v_managesample_list WHERE (1=1) and ") + condition;
    EXPECT_GT(count(list), 0);
    EXPECT_EQ(count(list
                    + QStringLiteral(" and (cmaker <> '李娜' or cdepcode <> '0201' "
                                     "or ccuscode not in (SELECT cCusCode FROM Customer WHERE cCusDepart = '0201'))")),
              0);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Db, DataPermissionQueryTest, ORVANE_BOTH_BACKENDS);
