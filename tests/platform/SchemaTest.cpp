#include "support/TestDatabase.h"

#include "platform/Schema.h"

#include <QDate>

namespace {

QStringList columnsOf(Connection &cnn, const QString &object)
{
    QStringList out;
    auto rs = cnn.Query(cnn.dialect().columnNamesQuery(), {object.toLower()});
    EXPECT_TRUE(rs) << (rs ? std::string() : rs.error().toStdString());
    for (int r = 0; rs && r < rs->RecordCount(); ++r)
        out << rs->value(r, 0).toString().toLower();
    return out;
}

bool objectExists(Connection &cnn, const QString &name)
{
    auto n = cnn.Scalar(cnn.dialect().objectExistsQuery(), {name.toLower()});
    return n && n->toLongLong() > 0;
}

QVariant scalar(Connection &cnn, const QString &sql, const QVariantList &params = {})
{
    auto v = cnn.Scalar(sql, params);
    EXPECT_TRUE(v) << sql.toStdString() << ": " << (v ? std::string() : v.error().toStdString());
    return v ? *v : QVariant();
}

} // namespace

class SchemaCreation : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

TEST_P(SchemaCreation, creates_every_described_table_with_every_column)
{
    ORVANE_REQUIRE(db);
    for (const TableDef &t : systemTables() + masterDataTables() + sampleTables() + hostTables()) {
        const QStringList actual = columnsOf(db.cnn(), t.name);
        for (const ColumnDef &c : t.columns)
            EXPECT_TRUE(actual.contains(c.name.toLower())) << t.name.toStdString() << "." << c.name.toStdString();
        if (t.rowVersion) {
            EXPECT_TRUE(actual.contains(QStringLiteral("qvts"))) << t.name.toStdString();
        }
    }
}

// The columns the card, the list, the structure tree and the BOM fetch read by name; a view that
// loses one of them breaks a window without any compile error.
TEST_P(SchemaCreation, views_offer_the_columns_the_windows_read)
{
    ORVANE_REQUIRE(db);
    const QList<std::pair<QString, QStringList>> expected = {
        {"v_managesample",
         {"iautoid",
          "ccode",
          "ddate",
          "csocode",
          "cnewinvcode",
          "cnewinvname",
          "cnewinvstd",
          "cnewinvcomunitcode",
          "cnewinvcomunitname",
          "cfree1",
          "cfree10",
          "ccuscode",
          "ccusname",
          "ccusabbname",
          "cdepcode",
          "cdepname",
          "cpersonname",
          "ccheckpersonname",
          "cvenname",
          "cvenabbname",
          "cpspinvcode",
          "cpspinvname",
          "cpspinvstd",
          "bexpand",
          "ifinishexch",
          "imanhrs",
          "ibzgzexch",
          "ipercharge",
          "ibzfyexch",
          "imakecharge",
          "itolmaterialcost",
          "itoloutcost",
          "itolcost",
          "isellexch",
          "isellcost",
          "ibomautoid",
          "cdefine1",
          "cdefine16",
          "cinvdefine1",
          "cinvdefine16",
          "ccusdefine13",
          "cmaker",
          "chandler",
          "dveridate",
          "vt_id",
          "qvts",
          "customeriid",
          "newinviid"}},
        {"v_managesamples",
         {"iautoid",        "isubid",       "cpscode",         "cpsname",       "cpsinvstd",       "cpscomunitcode",
          "cpscomunitname", "csocode",      "ipsquantity",     "tdqtyd",        "iwasterate",      "cwhcode",
          "cwhname",        "cdepcode",     "cdepname",        "cpersonname",   "ccaacomunitcode", "ccaacomunitname",
          "iprodchangrate", "icaaquantity", "imaterialcharge", "imaterialcost", "ioutunitprice",   "ioutcost",
          "childguid",      "cfree1",       "cdefine22",       "cdefine37",     "cinvdefine13",    "inventoryiid"}},
        {"v_managesample_list",
         {"id",          "iautoid",     "ivtid",     "qvts",        "ccode",        "ddate",        "cnewinvcode",
          "ccuscode",    "ccusname",    "cdepcode",  "cmaker",      "chandler",     "isellcost",    "imanhrs",
          "itolcost",    "ifinishexch", "cdefine4",  "cdefine7",    "cinvdefine15", "ccusdefine16", "cpscode",
          "ipsquantity", "cdefine26",   "cdefine36", "customeriid", "newinviid",    "inventoryiid"}},
        {"pp_q_bomtreet",
         {"iautoid", "cpspcode", "cinvname", "cinvstd", "cdepcode", "cdepname", "ifinishexch", "bexpand", "ccheck",
          "cmemo", "csocode", "fbzgs", "fbzgzl", "fbzfyl", "fbzrgcb", "fbzzfy", "cfree1", "cfree10"}},
        {"sa_q_bomtreew",
         {"layerid",      "cpspcode",       "cpscode",      "cinvname",        "cinvstd",         "ccomunitname",
          "unitqty",      "iprodchangrate", "ipsquantity",  "iwasterate",      "cwhname",         "cwhcode",
          "cpersonname",  "usedept",        "cdepcode",     "cprocedurename",  "cfree1",          "cfree10",
          "cinsertfirst", "cinsertsecond",  "cinsertthird", "ccaacomunitcode", "ccaacomunitname", "ipid",
          "csocode",      "fvflag",         "wiptype",      "replaceflag",     "tdqtyd",          "autoid",
          "fbzdj",        "childguid"}},
    };
    for (const auto &[view, columns] : expected) {
        EXPECT_TRUE(db.cnn().Query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(view))) << view.toStdString();
        const QStringList actual = columnsOf(db.cnn(), view);
        for (const QString &c : columns)
            EXPECT_TRUE(actual.contains(c)) << view.toStdString() << "." << c.toStdString();
    }
}

// A template, list column or filter condition that names a column its view lacks shows an empty
// field or breaks the list query.
TEST_P(SchemaCreation, seeded_fields_columns_and_conditions_exist_in_their_views)
{
    ORVANE_REQUIRE(db);
    const QStringList head = columnsOf(db.cnn(), QStringLiteral("v_managesample"));
    const QStringList body = columnsOf(db.cnn(), QStringLiteral("v_managesamples"));
    const QStringList list = columnsOf(db.cnn(), QStringLiteral("v_managesample_list"));
    auto rs = db.cnn().Query(QStringLiteral("SELECT CardSection, FieldName FROM voucheritems UNION ALL "
                                            "SELECT CardSection, fieldname FROM voucheritems_prn"));
    ASSERT_TRUE(rs);
    for (int r = 0; r < rs->RecordCount(); ++r) {
        const QString field = rs->value(r, 1).toString().toLower();
        const QStringList &view = rs->value(r, 0).toString() == QStringLiteral("t") ? head : body;
        EXPECT_TRUE(view.contains(field)) << rs->value(r, 0).toString().toStdString() << " " << field.toStdString();
    }
    auto listed = db.cnn().Query(
        QStringLiteral("SELECT FieldName FROM ListFormat UNION ALL SELECT FieldName FROM FilterItems"));
    ASSERT_TRUE(listed);
    for (int r = 0; r < listed->RecordCount(); ++r)
        EXPECT_TRUE(list.contains(listed->value(r, 0).toString().toLower()))
            << listed->value(r, 0).toString().toStdString();
}

TEST_P(SchemaCreation, registers_voucher_1801_with_its_tables_views_and_templates)
{
    ORVANE_REQUIRE(db);
    auto rs
        = db.cnn().Query(QStringLiteral("SELECT name, bttblname, bwtblname, btqname, bwqname, vchlistqname, def_id, "
                                        "def_id_prn FROM vouchers WHERE cardnumber = ?"),
                         {QStringLiteral("1801")});
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->text("name"), QStringLiteral("样品接单管理"));
    for (const char *column : {"bttblname", "bwtblname", "btqname", "bwqname", "vchlistqname"})
        EXPECT_TRUE(objectExists(db.cnn(), rs->text(QString::fromLatin1(column)))) << column;

    // The default templates are a display and a print template of this card, and the display
    // template has fields for head and body.
    const QString mode
        = QStringLiteral("SELECT VT_TemplateMode FROM vouchertemplates WHERE VT_ID = ? AND VT_CardNumber = '1801'");
    EXPECT_EQ(scalar(db.cnn(), mode, {rs->value("def_id")}).toInt(), 0);
    EXPECT_EQ(scalar(db.cnn(), mode, {rs->value("def_id_prn")}).toInt(), 1);
    const QString items = QStringLiteral("SELECT COUNT(*) FROM voucheritems WHERE VT_ID = ? AND CardSection = ?");
    EXPECT_GT(scalar(db.cnn(), items, {rs->value("def_id"), QStringLiteral("t")}).toInt(), 10);
    EXPECT_GT(scalar(db.cnn(), items, {rs->value("def_id"), QStringLiteral("b")}).toInt(), 10);
    EXPECT_GT(db.count(QStringLiteral("voucheritems_prn"), QStringLiteral("cardnum = '1801'")), 10);

    EXPECT_EQ(scalar(db.cnn(), QStringLiteral("SELECT COALESCE(cValue, cDefault) FROM AccInformation "
                                              "WHERE cSysID = 'SA' AND cName = 'domstartdate'"))
                  .toString(),
              QStringLiteral("2026-01-01"));
    EXPECT_FALSE(scalar(db.cnn(), QStringLiteral("SELECT cUnitName FROM ua_account")).toString().isEmpty());
    EXPECT_EQ(db.count(QStringLiteral("VoucherNumberRule"), QStringLiteral("CardNumber = '1801'")), 1);
    EXPECT_EQ(db.count(QStringLiteral("UserDef"), QStringLiteral("cClass = '存货'")), 10);
}

TEST_P(SchemaCreation, amounts_keep_fractions_flags_stay_integers_and_dates_read_as_iso_text)
{
    ORVANE_REQUIRE(db);
    db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, dDate, bExpand) VALUES (?, ?, ?, ?)"),
            {1, QStringLiteral("YP2026120001"), QDate(2026, 12, 1), 1});
    // Whole numbers bound into amount columns must still divide as floating point.
    db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, tdQtyD, iWasteRate) "
                           "VALUES (?, ?, ?, ?, ?, ?)"),
            {1, 1, QStringLiteral("YL0001"), 1, 3, 5});

    EXPECT_DOUBLE_EQ(scalar(db.cnn(), QStringLiteral("SELECT iWasteRate / 100 FROM ManageSamples")).toDouble(), 0.05);
    EXPECT_NEAR(scalar(db.cnn(), QStringLiteral("SELECT iPSQuantity / tdQtyD FROM ManageSamples")).toDouble(), 1.0 / 3,
                1e-12);
    EXPECT_DOUBLE_EQ(scalar(db.cnn(), QStringLiteral("SELECT ioutcost FROM v_managesamples")).toDouble(), 0.0);

    const QVariant expand = scalar(db.cnn(), QStringLiteral("SELECT bExpand FROM ManageSample"));
    EXPECT_TRUE(expand.typeId() == QMetaType::Int || expand.typeId() == QMetaType::LongLong) << expand.typeName();
    EXPECT_EQ(scalar(db.cnn(), QStringLiteral("SELECT bExpand + 1 FROM ManageSample")).toInt(), 2);
    // A flag the insert leaves out defaults to 0, not NULL.
    EXPECT_EQ(scalar(db.cnn(), QStringLiteral("SELECT COUNT(*) FROM Inventory")).toInt(), 0);
    db.exec(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) VALUES (?, ?, ?)"),
            {QStringLiteral("YL0001"), QStringLiteral("圆钢"), 1});
    EXPECT_EQ(scalar(db.cnn(), QStringLiteral("SELECT bService FROM Inventory")).toInt(), 0);
    EXPECT_FALSE(scalar(db.cnn(), QStringLiteral("SELECT bService FROM Inventory")).isNull());

    EXPECT_EQ(scalar(db.cnn(), QStringLiteral("SELECT CAST(dDate AS TEXT) FROM ManageSample")).toString(),
              QStringLiteral("2026-12-01"));
    EXPECT_EQ(
        scalar(db.cnn(), QStringLiteral("SELECT COUNT(*) FROM ManageSample WHERE dDate >= ?"), {QDate(2026, 11, 30)})
            .toInt(),
        1);
    EXPECT_EQ(
        scalar(db.cnn(), QStringLiteral("SELECT COUNT(*) FROM ManageSample WHERE dDate > ?"), {QDate(2026, 12, 1)})
            .toInt(),
        0);
}

TEST_P(SchemaCreation, voucher_numbers_are_unique_but_child_samples_share_the_empty_one)
{
    ORVANE_REQUIRE(db);
    const QString insert = QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode) VALUES (?, ?)");
    EXPECT_TRUE(db.cnn().Execute(insert, {1, QStringLiteral("YP2026120001")}));
    EXPECT_FALSE(db.cnn().Execute(insert, {2, QStringLiteral("YP2026120001")}));
    EXPECT_TRUE(db.cnn().Execute(insert, {3, QStringLiteral("")}));
    EXPECT_TRUE(db.cnn().Execute(insert, {4, QStringLiteral("")}));
    EXPECT_TRUE(db.cnn().Execute(insert, {5, QVariant()}));
    EXPECT_FALSE(db.cnn().Execute(insert, {1, QStringLiteral("YP2026120002")})) << "iAutoID is the key";
}

TEST_P(SchemaCreation, numbers_attachments_itself_and_keeps_their_bytes)
{
    ORVANE_REQUIRE(db);
    QByteArray bytes("BM\0\x01\xff\x7f binary", 16);
    const QString insert
        = QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, fileStream) VALUES (?, ?, ?, ?)");
    db.exec(insert, {7, QStringLiteral("a.bmp"), 1, bytes});
    db.exec(insert, {7, QStringLiteral("b.txt"), 2, QByteArray("x")});
    auto rs = db.cnn().Query(QStringLiteral("SELECT fAutoID, fileStream FROM OR_VN_fileTable ORDER BY fAutoID"));
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_GT(rs->value(1, 0).toInt(), rs->value(0, 0).toInt());
    EXPECT_EQ(rs->value(0, 1).toByteArray(), bytes);
}

TEST_P(SchemaCreation, exists_only_once_created_and_refuses_a_second_creation)
{
    ORVANE_REQUIRE(db);
    TestDatabase empty(GetParam(), TestDatabase::Empty);
    EXPECT_FALSE(Schema::exists(empty.cnn()));

    EXPECT_TRUE(Schema::exists(db.cnn()));
    auto again = Schema::create(db.cnn());
    EXPECT_FALSE(again);
    EXPECT_EQ(db.count(QStringLiteral("vouchers")), 1);
    EXPECT_FALSE(db.cnn().inTransaction());
}

// The application creates the schema and the demo data in one transaction of its own; a rollback
// must leave an empty database, not half a schema.
TEST_P(SchemaCreation, creation_inside_the_callers_transaction_goes_with_its_rollback)
{
    ORVANE_REQUIRE(db);
    TestDatabase empty(GetParam(), TestDatabase::Empty);
    ASSERT_TRUE(empty.cnn().BeginTrans());
    ASSERT_TRUE(Schema::create(empty.cnn()));
    EXPECT_TRUE(empty.cnn().inTransaction()) << "create must not commit the caller's transaction";
    ASSERT_TRUE(empty.cnn().RollbackTrans());
    EXPECT_FALSE(Schema::exists(empty.cnn()));
    EXPECT_FALSE(objectExists(empty.cnn(), QStringLiteral("inventory")));
}

INSTANTIATE_TEST_SUITE_P(Db, SchemaCreation, ORVANE_BOTH_BACKENDS);
