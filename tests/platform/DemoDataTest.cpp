#include "support/TestDatabase.h"

#include "platform/DemoData.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cmath>

namespace {

QVariant scalar(TestDatabase &db, const QString &sql, const QVariantList &params = {})
{
    auto v = db.cnn().Scalar(sql, params);
    EXPECT_TRUE(v) << sql.toStdString() << ": " << (v ? std::string() : v.error().toStdString());
    return v ? *v : QVariant();
}

Recordset query(TestDatabase &db, const QString &sql, const QVariantList &params = {})
{
    auto rs = db.cnn().Query(sql, params);
    EXPECT_TRUE(rs) << sql.toStdString() << ": " << (rs ? std::string() : rs.error().toStdString());
    return rs ? *rs : Recordset();
}

const QStringList kTables
    = {"Inventory",       "ComputationGroup", "ComputationUnit",   "Customer",         "Vendor",       "Department",
       "Person",          "Warehouse",        "UserDef",           "UserDefine",       "ManageSample", "ManageSamples",
       "OR_VN_fileTable", "ProductStructure", "ProductStructures", "VoucherNumberSeed"};

// NULL stays distinguishable from 0 and from empty text.
QString text(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("NULL") : v.toString();
}

// Rows of the samples as text, for comparing two databases.
QStringList sampleDigest(TestDatabase &db)
{
    QStringList out;
    for (const QString &t : kTables)
        out << t + QLatin1Char('=') + QString::number(db.count(t));
    Recordset heads
        = query(db, QStringLiteral("SELECT iAutoID, cCode, cNewInvCode, csocode, cfree1, itolcost, cHandler "
                                   "FROM ManageSample ORDER BY iAutoID"));
    for (int r = 0; r < heads.RecordCount(); ++r)
        out << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                   .arg(text(heads.value(r, 0)), text(heads.value(r, 1)), text(heads.value(r, 2)),
                        text(heads.value(r, 3)), text(heads.value(r, 4)),
                        QString::number(heads.value(r, 5).toDouble(), 'f', 2), text(heads.value(r, 6)));
    Recordset lines
        = query(db, QStringLiteral("SELECT iSubID, iAutoID, cPSCode, ChildGUID, iMaterialCost FROM ManageSamples "
                                   "ORDER BY iSubID"));
    for (int r = 0; r < lines.RecordCount(); ++r)
        out << QStringLiteral("%1|%2|%3|%4|%5")
                   .arg(text(lines.value(r, 0)), text(lines.value(r, 1)), text(lines.value(r, 2)),
                        text(lines.value(r, 3)), QString::number(lines.value(r, 4).toDouble(), 'f', 2));
    return out;
}

} // namespace

class DemoDataFill : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        if (!db.available())
            return;
        auto filled = DemoData::fill(db.cnn());
        ASSERT_TRUE(filled) << filled.error().toStdString();
    }

    TestDatabase db{GetParam()};
};

TEST_P(DemoDataFill, writes_a_company_whose_vouchers_name_only_existing_master_data)
{
    ORVANE_REQUIRE(db);
    EXPECT_GE(db.count(QStringLiteral("Inventory")), 200);
    EXPECT_GE(db.count(QStringLiteral("Customer")), 20);
    EXPECT_GE(db.count(QStringLiteral("Vendor")), 10);
    EXPECT_GE(db.count(QStringLiteral("Person")), 20);
    EXPECT_GE(db.count(QStringLiteral("Inventory"), QStringLiteral("bFree1 = 1 OR bFree2 = 1")), 10);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cCode <> ''")), 30);
    EXPECT_GE(db.count(QStringLiteral("ProductStructure")), 3);

    for (const char *view :
         {"v_managesample", "v_managesamples", "v_managesample_list", "pp_q_bomtreet", "sa_q_bomtreew"})
        EXPECT_GT(db.count(QString::fromLatin1(view)), 0) << view;
    EXPECT_EQ(db.count(QStringLiteral("v_managesamples"),
                       QStringLiteral("cpsname IS NULL OR cwhname IS NULL OR cpscomunitname IS NULL")),
              0);
    EXPECT_EQ(db.count(QStringLiteral("v_managesample"),
                       QStringLiteral(
                           "ccusname IS NULL OR cdepname IS NULL OR cnewinvcomunitname IS NULL OR newinviid = -1")),
              0);
    EXPECT_EQ(db.count(QStringLiteral("sa_q_bomtreew"), QStringLiteral("cinvname IS NULL")), 0);
    // Free items on lines only where the item uses them, with values from the item's list.
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSamples s JOIN Inventory i ON i.cInvCode = s.cPSCode"),
                 QStringLiteral("(s.cfree1 IS NOT NULL AND i.bFree1 = 0) OR (s.cfree2 IS NOT NULL AND i.bFree2 = 0)")),
        0);
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSamples s"),
                 QStringLiteral("s.cfree1 IS NOT NULL AND NOT EXISTS (SELECT 1 FROM UserDefine u WHERE u.cID = '20' "
                                "AND u.cValue = s.cfree1)")),
        0);
}

TEST_P(DemoDataFill, child_samples_hang_below_their_lines_three_levels_deep)
{
    ORVANE_REQUIRE(db);
    EXPECT_GT(db.count(QStringLiteral("ManageSamples"), QStringLiteral("COALESCE(ChildGUID, 0) > 0")), 5);
    // Every link names a child sample (no number, a version) for exactly that component and version.
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSamples s LEFT JOIN ManageSample c ON c.iAutoID = s.ChildGUID"),
                 QStringLiteral("COALESCE(s.ChildGUID, 0) > 0 AND (c.iAutoID IS NULL OR COALESCE(c.cCode, '') <> '' "
                                "OR COALESCE(c.csocode, '') = '' OR c.csocode <> s.csocode "
                                "OR c.cNewInvCode <> s.cPSCode OR COALESCE(c.cfree1, '') <> COALESCE(s.cfree1, ''))")),
        0);
    // Every child sample belongs to exactly one line, and links only point forward: no loops.
    EXPECT_EQ(db.count(QStringLiteral("ManageSample c"),
                       QStringLiteral("COALESCE(c.cCode, '') = '' AND (SELECT COUNT(*) FROM ManageSamples s "
                                      "WHERE s.ChildGUID = c.iAutoID) <> 1")),
              0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("ChildGUID <= iAutoID")), 0);
    EXPECT_GT(db.count(QStringLiteral("ManageSample t JOIN ManageSamples l1 ON l1.iAutoID = t.iAutoID "
                                      "JOIN ManageSample c ON c.iAutoID = l1.ChildGUID "
                                      "JOIN ManageSamples l2 ON l2.iAutoID = c.iAutoID "
                                      "JOIN ManageSample g ON g.iAutoID = l2.ChildGUID"),
                       QStringLiteral("t.cCode <> ''")),
              0);
}

// The rules a save applies must hold for the demo data, or the first edit of a demo voucher fails.
TEST_P(DemoDataFill, vouchers_pass_the_save_rules_and_their_costs_add_up)
{
    ORVANE_REQUIRE(db);
    QStringList key{QStringLiteral("cNewInvCode"), QStringLiteral("COALESCE(csocode, '')")};
    for (int k = 1; k <= 10; ++k)
        key << QStringLiteral("COALESCE(cfree%1, '')").arg(k);
    EXPECT_EQ(scalar(db, QStringLiteral(
                             "SELECT COUNT(*) FROM (SELECT %1 FROM ManageSample GROUP BY %1 HAVING COUNT(*) > 1) d")
                             .arg(key.join(QStringLiteral(", "))))
                  .toInt(),
              0);
    EXPECT_EQ(
        scalar(db, QStringLiteral(
                       "SELECT COUNT(*) FROM (SELECT iAutoID FROM ManageSamples GROUP BY iAutoID, cPSCode, "
                       "COALESCE(csocode, ''), COALESCE(cfree1, ''), COALESCE(cfree2, '') HAVING COUNT(*) > 1) d"))
            .toInt(),
        0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples s JOIN ManageSample m ON m.iAutoID = s.iAutoID"),
                       QStringLiteral(
                           "s.cPSCode = m.cNewInvCode OR COALESCE(s.tdQtyD, 0) = 0 OR COALESCE(s.iPSQuantity, 0) = 0 "
                           "OR s.iWasteRate < 0 OR s.iWasteRate >= 100 OR COALESCE(s.cWhCode, '') = ''")),
              0);
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSample"),
                 QStringLiteral(
                     "COALESCE(cNewInvName, '') = '' OR COALESCE(cnewinvcomunitcode, '') = '' OR iFinishExch <= 0")),
        0);

    Recordset lines = query(
        db,
        QStringLiteral("SELECT iPSQuantity, tdQtyD, iWasteRate, iMaterialCharge, iMaterialCost FROM ManageSamples"));
    for (int r = 0; r < lines.RecordCount(); ++r) {
        const double expected = lines.value(r, 0).toDouble() / lines.value(r, 1).toDouble()
                                * lines.value(r, 3).toDouble() * (1 + lines.value(r, 2).toDouble() / 100);
        EXPECT_NEAR(lines.value(r, 4).toDouble(), expected, 0.006) << "line " << r;
    }
    Recordset heads = query(
        db,
        QStringLiteral(
            "SELECT m.iTolMaterialCost, SUM(s.iMaterialCost), m.iPerCharge + m.iMakeCharge + m.iTolOutCost, m.itolcost "
            "FROM ManageSample m JOIN ManageSamples s ON s.iAutoID = m.iAutoID "
            "GROUP BY m.iAutoID, m.iTolMaterialCost, m.iPerCharge, m.iMakeCharge, m.iTolOutCost, m.itolcost"));
    ASSERT_GT(heads.RecordCount(), 30);
    for (int r = 0; r < heads.RecordCount(); ++r) {
        EXPECT_NEAR(heads.value(r, 0).toDouble(), heads.value(r, 1).toDouble(), 0.011) << "head " << r;
        EXPECT_NEAR(heads.value(r, 3).toDouble(), heads.value(r, 0).toDouble() + heads.value(r, 2).toDouble(), 0.011);
    }
    // A line with a child sample is priced at the child's full unit cost.
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples s JOIN ManageSample c ON c.iAutoID = s.ChildGUID"),
                       QStringLiteral("ABS(s.iMaterialCharge - c.itolcost) > 0.005")),
              0);
    // Only top-level samples have a sales cost.
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cCode = '' AND isellcost IS NOT NULL")), 0);
}

TEST_P(DemoDataFill, some_samples_are_confirmed_and_one_became_a_bill_of_materials)
{
    ORVANE_REQUIRE(db);
    const qint64 confirmed
        = db.count(QStringLiteral("ManageSample"), QStringLiteral("cCode <> '' AND COALESCE(cHandler, '') <> ''"));
    EXPECT_GE(confirmed, 5);
    EXPECT_LE(confirmed, 15);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                       QStringLiteral("COALESCE(cHandler, '') <> '' AND (dVeriDate IS NULL OR dVeriDate < dDate)")),
              0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                       QStringLiteral("COALESCE(cHandler, '') = '' AND dVeriDate IS NOT NULL")),
              0);

    Recordset converted = query(
        db, QStringLiteral(
                "SELECT m.iAutoID, p.iAutoId FROM ManageSample m JOIN ProductStructure p ON p.iAutoId = m.iBOMAutoId "
                "WHERE p.cPSPCode = m.cNewInvCode AND COALESCE(m.cHandler, '') <> ''"));
    ASSERT_EQ(converted.RecordCount(), 1);
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = %1").arg(converted.value(0, 0).toInt())),
        db.count(QStringLiteral("ProductStructures"), QStringLiteral("iPId = %1").arg(converted.value(0, 1).toInt())));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iBOMAutoId IS NOT NULL")), 1);
}

TEST_P(DemoDataFill, voucher_numbers_follow_the_rule_and_the_counters_continue_them)
{
    ORVANE_REQUIRE(db);
    Recordset heads = query(
        db, QStringLiteral("SELECT cCode, CAST(dDate AS TEXT) FROM ManageSample WHERE cCode <> '' ORDER BY iAutoID"));
    ASSERT_EQ(heads.RecordCount(), 30);
    const QRegularExpression rule(QStringLiteral("^(YP\\d{6})(\\d{4})$"));
    QMap<QString, int> highest;
    for (int r = 0; r < heads.RecordCount(); ++r) {
        const QString code = heads.value(r, 0).toString();
        const auto m = rule.match(code);
        ASSERT_TRUE(m.hasMatch()) << code.toStdString();
        const QString date = heads.value(r, 1).toString();
        EXPECT_EQ(m.captured(1), QStringLiteral("YP") + date.left(4) + date.mid(5, 2)) << code.toStdString();
        highest[m.captured(1)] = qMax(highest.value(m.captured(1)), m.captured(2).toInt());
    }
    Recordset seeds
        = query(db, QStringLiteral("SELECT SeedText, MaxNumber FROM VoucherNumberSeed WHERE CardNumber = '1801'"));
    QMap<QString, int> counters;
    for (int r = 0; r < seeds.RecordCount(); ++r)
        counters[seeds.value(r, 0).toString()] = seeds.value(r, 1).toInt();
    EXPECT_EQ(counters, highest);
    EXPECT_TRUE(highest.contains(QStringLiteral("YP202612")));
}

TEST_P(DemoDataFill, pictures_are_whole_bitmaps_with_their_size_text)
{
    ORVANE_REQUIRE(db);
    Recordset files
        = query(db, QStringLiteral("SELECT fileType, fileSize, fileExtension, fileStream FROM OR_VN_fileTable"));
    ASSERT_GT(files.RecordCount(), 3);
    for (int r = 0; r < files.RecordCount(); ++r) {
        const QByteArray bytes = files.value(r, 3).toByteArray();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d (BYTE|KB)$"))
                        .match(files.value(r, 1).toString())
                        .hasMatch());
        if (files.value(r, 0).toInt() != 1)
            continue;
        EXPECT_EQ(files.value(r, 2).toString(), QStringLiteral("BMP"));
        ASSERT_GT(bytes.size(), 54);
        EXPECT_TRUE(bytes.startsWith("BM"));
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
    }
}

TEST_P(DemoDataFill, filling_again_is_refused_and_changes_nothing)
{
    ORVANE_REQUIRE(db);
    const QStringList before = sampleDigest(db);
    auto again = DemoData::fill(db.cnn());
    EXPECT_FALSE(again);
    EXPECT_FALSE(db.cnn().inTransaction());
    EXPECT_TRUE(sampleDigest(db) == before);

    TestDatabase empty(GetParam(), TestDatabase::Empty);
    EXPECT_FALSE(DemoData::fill(empty.cnn())) << "a database without tables is refused";
}

TEST_P(DemoDataFill, generated_vouchers_continue_after_the_existing_ones)
{
    ORVANE_REQUIRE(db);
    const int last = scalar(db, QStringLiteral("SELECT MAX(iAutoID) FROM ManageSample")).toInt();
    const qint64 lines = db.count(QStringLiteral("ManageSamples"));
    auto first = DemoData::generateVouchers(db.cnn(), 120, 4);
    ASSERT_TRUE(first) << first.error().toStdString();
    EXPECT_EQ(*first, last + 1);
    auto next = DemoData::generateVouchers(db.cnn(), 3, 2);
    ASSERT_TRUE(next) << next.error().toStdString();
    EXPECT_EQ(*next, last + 121);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cCode LIKE 'BM%'")), 123);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), lines + 120 * 4 + 3 * 2);
    EXPECT_EQ(db.count(QStringLiteral("v_managesamples"), QStringLiteral("iAutoID > %1 AND cpsname IS NULL").arg(last)),
              0);
    EXPECT_FALSE(db.cnn().inTransaction());
}

INSTANTIATE_TEST_SUITE_P(Db, DemoDataFill, ORVANE_BOTH_BACKENDS);

class DemoDataGenerate : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

// Without an item master the benchmark data still has distinct components on every line.
TEST_P(DemoDataGenerate, one_voucher_with_many_lines_needs_no_item_master)
{
    ORVANE_REQUIRE(db);
    auto first = DemoData::generateVouchers(db.cnn(), 1, 1500);
    ASSERT_TRUE(first) << first.error().toStdString();
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 1500);
    EXPECT_EQ(scalar(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT cPSCode FROM ManageSamples "
                                        "GROUP BY cPSCode, COALESCE(csocode, '') HAVING COUNT(*) > 1) d"))
                  .toInt(),
              0);
    EXPECT_FALSE(DemoData::generateVouchers(db.cnn(), -1, 2));
}

INSTANTIATE_TEST_SUITE_P(Db, DemoDataGenerate, ORVANE_BOTH_BACKENDS);

// The same seed must give the same company on both backends, so that a bug seen on one can be
// looked at on the other.
TEST(DemoDataBackends, same_seed_gives_the_same_data_on_sqlite_and_postgres)
{
    TestDatabase sqlite(Backend::Sqlite);
    TestDatabase postgres(Backend::Postgres);
    ORVANE_REQUIRE(postgres);
    ASSERT_TRUE(DemoData::fill(sqlite.cnn()));
    ASSERT_TRUE(DemoData::fill(postgres.cnn()));
    const QStringList a = sampleDigest(sqlite);
    const QStringList b = sampleDigest(postgres);
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i)
        ASSERT_EQ(a.at(i).toStdString(), b.at(i).toStdString()) << "row " << i;
}
