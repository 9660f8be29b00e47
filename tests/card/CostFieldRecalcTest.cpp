#include "FakeCardControl.h"

#include "card/CostFieldRecalc.h"

#include <gtest/gtest.h>

// The card's cost recalculation while a voucher is edited: which fields follow which, and the
// divisions that must not happen.
class CostFieldRecalcTest : public testing::Test
{
protected:
    void line(const QMap<QString, QString> &cells) { control.body << cells; }
    QString head(const char *field) { return control.head.value(QLatin1String(field)); }
    QString cell(int row, const char *field) { return control.bodyText(row, QLatin1String(field)); }

    FakeCardControl control;
    CostFieldRecalc recalc{control};
};

TEST_F(CostFieldRecalcTest, hours_drive_labour_totals_and_the_sales_cost)
{
    control.head = {{"ccode", "YP1"},
                    {"imanhrs", "4"},
                    {"ibzgzexch", "10"},
                    {"ibzfyexch", "2.5"},
                    {"itolmaterialcost", "1,000"},
                    {"itoloutcost", "5"},
                    {"isellexch", "20"}};
    recalc.RecalcCostField(QStringLiteral("imanhrs"), 0, false);
    EXPECT_EQ(head("ipercharge"), "40");
    EXPECT_EQ(head("imakecharge"), "10");
    EXPECT_EQ(head("itolcost"), "1055");
    EXPECT_EQ(head("isellcost"), "1266");
}

TEST_F(CostFieldRecalcTest, zero_hours_leave_the_rate_and_a_child_sample_gets_no_sales_cost)
{
    control.head = {{"ccode", ""}, {"imanhrs", "0"}, {"ibzgzexch", "10"}, {"ipercharge", "30"}, {"isellexch", "20"}};
    recalc.RecalcCostField(QStringLiteral("ipercharge"), 0, false);
    EXPECT_EQ(head("ibzgzexch"), "10");
    EXPECT_EQ(head("itolcost"), "30");
    EXPECT_EQ(head("isellcost"), "");
}

TEST_F(CostFieldRecalcTest, lines_follow_quantity_with_a_divisor_forced_to_one)
{
    line({{"ipsquantity", "2"},
          {"tdqtyd", "0"},
          {"iwasterate", "5"},
          {"imaterialcharge", "10"},
          {"ioutunitprice", "3"},
          {"iprodchangrate", "0"}});
    line({{"ipsquantity", "3"}, {"tdqtyd", "2"}, {"iprodchangrate", "0.5"}});
    recalc.RecalcCostField(QString(), 0, true);
    EXPECT_EQ(cell(1, "tdqtyd"), "1");
    EXPECT_EQ(cell(1, "imaterialcost"), "21");
    EXPECT_EQ(cell(1, "ioutcost"), "6");
    EXPECT_EQ(cell(1, "icaaquantity"), "0");
    EXPECT_EQ(cell(2, "icaaquantity"), "3");

    control.setBodyText(2, QStringLiteral("imaterialcost"), QStringLiteral("6"));
    recalc.RecalcCostField(QStringLiteral("imaterialcost"), 2, false);
    EXPECT_EQ(cell(2, "imaterialcharge"), "4");
    control.setBodyText(2, QStringLiteral("ipsquantity"), QStringLiteral("0"));
    control.setBodyText(2, QStringLiteral("imaterialcharge"), QStringLiteral("7"));
    recalc.RecalcCostField(QStringLiteral("imaterialcost"), 2, false); // no quantity: the price stays
    EXPECT_EQ(cell(2, "imaterialcharge"), "7");
}
