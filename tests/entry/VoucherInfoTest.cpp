#include "entry/clsVL_JDYPGLInfo.h"
#include "entry/clsVoucherGetInfo.h"
#include "host/clsLogin.h"

#include "support/TestDatabase.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

// A session without a database behind it: the list information only reads its account and name.
class StubLogin : public clsLogin
{
public:
    explicit StubLogin(const QString &connectionString)
        : clsLogin(connectionString, QStringLiteral("001"), QStringLiteral("zhang"), QStringLiteral("张三"),
                   QDate(2024, 5, 6))
    {}
};

class VoucherInfoTest : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

TEST_P(VoucherInfoTest, card_info_reads_the_registered_tables_and_fixes_the_column_names)
{
    ORVANE_REQUIRE(db);
    clsVoucherGetInfo info;
    info.setCardNumber(QStringLiteral("1801"));
    info.loadVoucherInfo(QStringLiteral("1801"), db.connectionString());

    EXPECT_EQ(info.BTTblName(), QStringLiteral("ManageSample"));
    EXPECT_EQ(info.BTQName(), QStringLiteral("v_managesample"));
    EXPECT_EQ(info.BWTblName(), QStringLiteral("ManageSamples"));
    EXPECT_EQ(info.BWQName(), QStringLiteral("v_managesamples"));
    EXPECT_EQ(info.VchListQName(), QStringLiteral("v_managesample_list"));
    EXPECT_EQ(info.CardNumber(), QStringLiteral("1801"));

    // The engine pastes these names into its SQL: each must name a column of the views.
    for (const QString &column : {info.IDName(), info.cCodeName(), info.iVTIDName(), info.qvtsName(), info.cMakerName(),
                                  info.dDate(), info.cVerifierName(), info.dVerifierDate()}) {
        EXPECT_TRUE(db.cnn().Query(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(column, info.BTQName())))
            << column.toStdString();
    }
    for (const QString &column : {info.SubIDName(), info.IDNameSub()})
        EXPECT_TRUE(db.cnn().Query(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(column, info.BWQName())))
            << column.toStdString();
    EXPECT_TRUE(info.cCloserName().isEmpty());
}

TEST_P(VoucherInfoTest, card_info_reads_templates_and_nulls_as_empty)
{
    ORVANE_REQUIRE(db);
    db.exec(QStringLiteral("UPDATE vouchers SET bwqname = NULL, selfdef1 = NULL, def_id = ?, def_id_prn = NULL "
                           "WHERE cardnumber = ?"),
            {7, QStringLiteral("1801")});
    clsVoucherGetInfo info;
    info.loadVoucherInfo(QStringLiteral("1801"), db.cnn());

    // An empty body view tells the engine that there is no body to load.
    EXPECT_EQ(info.BWQName(), QString());
    EXPECT_EQ(info.SelfDef1(), QString());
    EXPECT_EQ(info.DEF_ID(), 7);
    EXPECT_EQ(info.DEF_ID_PRN(), 0);
    EXPECT_EQ(info.BTQName(), QStringLiteral("v_managesample"));
}

TEST_P(VoucherInfoTest, card_info_without_a_row_keeps_what_it_had)
{
    ORVANE_REQUIRE(db);
    clsVoucherGetInfo fresh;
    fresh.loadVoucherInfo(QStringLiteral("9999"), db.connectionString());
    EXPECT_TRUE(fresh.BTQName().isEmpty());
    EXPECT_EQ(fresh.DEF_ID(), 0);
    EXPECT_TRUE(fresh.IDName().isEmpty()); // fixed names come only with a row
    EXPECT_TRUE(fresh.qvtsName().isEmpty());

    // A card number is a value, not SQL: a quote trick matches no row either.
    fresh.loadVoucherInfo(QStringLiteral("x' OR '1'='1"), db.cnn());
    EXPECT_TRUE(fresh.BTQName().isEmpty());

    clsVoucherGetInfo loaded;
    loaded.loadVoucherInfo(QStringLiteral("1801"), db.cnn());
    loaded.loadVoucherInfo(QStringLiteral("9999"), db.cnn());
    EXPECT_EQ(loaded.BTQName(), QStringLiteral("v_managesample"));
    EXPECT_EQ(loaded.IDName(), QStringLiteral("iautoid"));
}

TEST_P(VoucherInfoTest, loads_never_raise_on_a_database_that_cannot_be_read)
{
    ORVANE_REQUIRE(db);
    clsVoucherGetInfo card;
    card.loadVoucherInfo(QStringLiteral("1801"), QStringLiteral("sqlite:///nonexistent/folder/none.db"));
    EXPECT_TRUE(card.BTQName().isEmpty());

    db.exec(QStringLiteral("DROP TABLE vouchers"));
    card.loadVoucherInfo(QStringLiteral("1801"), db.cnn());
    EXPECT_TRUE(card.BTQName().isEmpty());

    clsVL_JDYPGLInfo list;
    list.loadVoucherInfo(QStringLiteral("1801"), QStringLiteral("not a connection string"), 1);
    EXPECT_TRUE(list.BTQName().isEmpty());
    EXPECT_EQ(list.CurrentCardNumber(), QStringLiteral("1801"));
    EXPECT_EQ(list.Special(), 1);
}

TEST_P(VoucherInfoTest, list_info_reads_the_row_and_sets_the_list_names)
{
    ORVANE_REQUIRE(db);
    clsVL_JDYPGLInfo info;
    info.loadVoucherInfo(QStringLiteral("1801"), db.connectionString());

    EXPECT_EQ(info.BTQName(), QStringLiteral("v_managesample"));
    EXPECT_EQ(info.VchListQName(), QStringLiteral("v_managesample_list"));
    auto name
        = db.cnn().Scalar(QStringLiteral("SELECT name FROM vouchers WHERE cardnumber = ?"), {QStringLiteral("1801")});
    ASSERT_TRUE(name);
    EXPECT_EQ(info.BusObID(), name->toString() + QStringLiteral("_LM"));
    EXPECT_EQ(info.FilterReportName(), QStringLiteral("样品接单管理_过滤条件_1801"));
    EXPECT_EQ(info.FilterSubID(), QStringLiteral("SA"));
    EXPECT_TRUE(info.DisableGroupCondition());
    EXPECT_EQ(info.IDName(), QStringLiteral("id"));
    EXPECT_EQ(info.SubIDName(), QStringLiteral("iautoid"));
    // No login: nothing about the account or the printed list.
    EXPECT_TRUE(info.CompanyName().isEmpty());
    EXPECT_TRUE(info.ListFormatXMLotherInfo().isEmpty());
    EXPECT_EQ(info.ListFormatXMLmID(), QStringLiteral("1801_0_Print_"));

    clsVL_JDYPGLInfo none;
    none.loadVoucherInfo(QStringLiteral("9999"), db.cnn());
    EXPECT_TRUE(none.FilterReportName().isEmpty());
    EXPECT_TRUE(none.IDName().isEmpty());
}

TEST_P(VoucherInfoTest, list_info_with_a_login_reads_company_print_format_and_footer)
{
    ORVANE_REQUIRE(db);
    db.exec(QStringLiteral("DELETE FROM ua_account WHERE cacc_id = ?"), {QStringLiteral("001")});
    db.exec(QStringLiteral("INSERT INTO ua_account (cacc_id, cunitname) VALUES (?, ?)"),
            {QStringLiteral("001"), QStringLiteral("奥凡样品有限公司")});
    db.exec(QStringLiteral("DELETE FROM prn_format WHERE moduleid = ?"), {QStringLiteral("1801_2_Print_")});
    db.exec(QStringLiteral("INSERT INTO prn_format (moduleid, formatxml) VALUES (?, ?)"),
            {QStringLiteral("1801_2_Print_"), QStringLiteral("<format cols='3'/>")});

    clsVL_JDYPGLInfo info;
    info.loadVoucherInfo(QStringLiteral("1801"), db.cnn(), 2, std::make_shared<StubLogin>(db.connectionString()));

    EXPECT_EQ(info.Special(), 2);
    EXPECT_EQ(info.ListFormatXMLmID(), QStringLiteral("1801_2_Print_"));
    EXPECT_EQ(info.CompanyName(), QStringLiteral("奥凡样品有限公司"));
    EXPECT_EQ(info.ListFormatXML(), QStringLiteral("<format cols='3'/>"));
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(info.ListFormatXMLotherInfo(),
              QStringLiteral("<表尾><字段>单位：奥凡样品有限公司</字段> <字段>制表：张三</字段> <字段>打印日期：")
                  + today + QStringLiteral("</字段> </表尾>"));

    // Another variant has no stored format: the one read before stays.
    info.loadVoucherInfo(QStringLiteral("1801"), db.cnn(), 3, std::make_shared<StubLogin>(db.connectionString()));
    EXPECT_EQ(info.ListFormatXML(), QStringLiteral("<format cols='3'/>"));
}

TEST(VoucherTypeCardNumbers, maps_each_voucher_type_and_nothing_else)
{
    const clsVL_JDYPGLInfo info;
    EXPECT_EQ(info.CardNumber(evtCSDJ), QStringLiteral("TS01"));
    EXPECT_EQ(info.CardNumber(evtCGJYD), QStringLiteral("QM10"));
    EXPECT_EQ(info.CardNumber(evtCGBHGCLD), QStringLiteral("QM11"));
    EXPECT_EQ(info.CardNumber(evtBFD), QStringLiteral("QM21"));
    EXPECT_EQ(info.CardNumber(evtBHGTHD), QStringLiteral("QM22"));
    EXPECT_EQ(info.CardNumber(evtCGDHD), QStringLiteral("26"));
    EXPECT_EQ(info.CardNumber(enumVoucherType(6)), QString());
    EXPECT_EQ(info.CardNumber(enumVoucherType(-1)), QString());
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherInfoTest, ORVANE_BOTH_BACKENDS);

} // namespace
