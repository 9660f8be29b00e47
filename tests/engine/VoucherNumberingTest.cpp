#include "SaveClient.h"

#include "host/VoucherNumberService.h"

class VoucherNumbering : public SaveClientTest
{
protected:
    void SetUp() override
    {
        SaveClientTest::SetUp();
        if (!HasFatalFailure() && !IsSkipped())
            client->newVoucher(QString(), 0);
    }

    void setRule(const QString &xml)
    {
        ASSERT_TRUE(VoucherNumberService::SetRule(db.cnn(), QStringLiteral("1801"), xml));
    }
    void setHead(const QString &field, const QString &value)
    {
        client->engine.domHead().headRow().setValue(field, value);
    }
    QString number(bool take = false)
    {
        QString error;
        const QString n = client->engine.GetVoucherNO(error, take);
        EXPECT_EQ(error, QString());
        return n;
    }
};

TEST_P(VoucherNumbering, the_mode_follows_the_two_flags_of_the_rule)
{
    struct Case
    {
        const char *refetch, *manual, *mode;
    };
    const Case cases[] = {{"false", "false", "完全自动编号"},
                          {"True", "False", "半自动编号"},
                          {"0", "1", "完全手工编号"},
                          {"true", "true", "as given"}};
    for (const Case &c : cases) {
        setRule(QStringLiteral("<单据编号 重号自动重取='%1' 允许手工修改='%2'/>").arg(c.refetch, c.manual));
        QString mode = QStringLiteral("as given");
        EXPECT_EQ(client->engine.GetVoucherNOType(mode), QString());
        EXPECT_EQ(mode, QString::fromUtf8(c.mode)) << c.refetch << "/" << c.manual;
    }
}

TEST_P(VoucherNumbering, the_shipped_rule_counts_per_voucher_month_and_a_preview_consumes_nothing)
{
    setHead(QStringLiteral("ddate"), QStringLiteral("2026-12-05T10:20:00"));
    EXPECT_EQ(number(), QStringLiteral("YP2026120001"));
    EXPECT_EQ(number(), QStringLiteral("YP2026120001"));
    EXPECT_EQ(number(true), QStringLiteral("YP2026120001"));
    EXPECT_EQ(number(), QStringLiteral("YP2026120002"));
    setHead(QStringLiteral("ddate"), QStringLiteral("2027-01-02"));
    EXPECT_EQ(number(), QStringLiteral("YP2027010001"));
}

TEST_P(VoucherNumbering, seeds_come_from_the_head_except_for_constants_and_remote_numbers)
{
    setRule(QStringLiteral("<单据编号 重号自动重取='false' 允许手工修改='false' 流水号长度='3'>"
                           "<前缀 对象类型='5' 对象名称='常量' 源表字段名='cdepcode' 种子='S'/>"
                           "<前缀 对象类型='1' 对象名称='部门' 源表字段名='cdepcode' 种子=''/>"
                           "<前缀 对象类型='1' 对象名称='远程号' 源表字段名='cpersoncode' 种子=''/>"
                           "<前缀 对象类型='2' 对象名称='单据日期' 源表字段名='ddate' 格式='yyMMdd' 种子=''/>"
                           "<前缀 对象类型='1' 对象名称='审核日期' 源表字段名='dVeriDate' 种子=''/>"
                           "</单据编号>"));
    setHead(QStringLiteral("cdepcode"), QStringLiteral("D01"));
    setHead(QStringLiteral("cpersoncode"), QStringLiteral("P9"));
    setHead(QStringLiteral("ddate"), QStringLiteral("2026-12-05T10:20:00"));
    setHead(QStringLiteral("dveridate"), QStringLiteral("2026-12-06T01:02:03"));
    EXPECT_EQ(number(), QStringLiteral("SD012612052026-12-06001"));
    QStringList seeds;
    for (const VoucherRow &part : client->engine.domFormat().selectNodes(QStringLiteral("//前缀")))
        seeds << part.value(QStringLiteral("种子"));
    EXPECT_EQ(seeds, QStringList({"S", "D01", "", "2026-12-05", "2026-12-06"}))
        << "a constant keeps its seed, a remote number gets none, a date part loses its time";
}

TEST_P(VoucherNumbering, failures_report_their_own_texts)
{
    QString mode = QStringLiteral("as given");
    QString error;
    setRule(QStringLiteral("<单据编号 重号自动重取='false' 允许手工修改='true'/>"));
    EXPECT_EQ(client->engine.GetVoucherNO(error, true), QString());
    EXPECT_EQ(error, QStringLiteral("单据编号重复!")) << "no number is made under fully manual numbering";

    setRule(QStringLiteral("<单据编号"));
    EXPECT_EQ(client->engine.GetVoucherNOType(mode), QStringLiteral("获得单据前缀格式失败！"));
    EXPECT_EQ(client->engine.GetVoucherNO(error), QString());
    EXPECT_EQ(error, QStringLiteral("获取单据前缀格式失败!"));

    db.exec(QStringLiteral("DELETE FROM VoucherNumberRule"));
    EXPECT_EQ(client->engine.GetVoucherNOType(mode), QStringLiteral("初始化单据号码失败！"));
    EXPECT_EQ(client->engine.GetVoucherNO(error), QString());
    EXPECT_EQ(error, QStringLiteral("初始化单据号码失败!"));
    EXPECT_EQ(mode, QStringLiteral("as given"));
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherNumbering, ORVANE_BOTH_BACKENDS);
