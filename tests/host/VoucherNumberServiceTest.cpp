#include "support/TestDatabase.h"

#include "host/VoucherNumberService.h"

#include <QSet>

#include <thread>

namespace {

const QString kCard = QStringLiteral("77");

// "A-" + the year of the seed date + "X" + a three-digit serial from 5.
QString rule(const QString &date)
{
    return QStringLiteral("<单据编号 流水号长度='3' 起始值='5'>"
                          "<前缀 对象类型='5' 种子='A-'/><前缀 对象类型='2' 格式='yyyy' 种子='%1'/>"
                          "<前缀 对象类型='1' 种子='X'/></单据编号>")
        .arg(date);
}

} // namespace

class NumberService : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        ASSERT_TRUE(VoucherNumberService::SetRule(db.cnn(), kCard, rule(QString())));
        ASSERT_TRUE(service.Init(db.cnn(), kCard));
    }

    QString number(const QString &date, bool take)
    {
        auto n = service.GetNumber(rule(date), take);
        EXPECT_TRUE(n) << n.error().toStdString();
        return n.value_or(QString());
    }

    TestDatabase db{GetParam()};
    VoucherNumberService service;
};

TEST_P(NumberService, composes_the_parts_and_counts_each_prefix_on_its_own)
{
    EXPECT_EQ(service.GetFormatXml(), rule(QString()));
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), false), QStringLiteral("A-2026X005"));
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), true), QStringLiteral("A-2026X005"));
    EXPECT_EQ(number(QStringLiteral("2026/01/02"), true), QStringLiteral("A-2026X006"));
    EXPECT_EQ(number(QStringLiteral("2027-03-01"), true), QStringLiteral("A-2027X005"));
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), false), QStringLiteral("A-2026X007"));
}

TEST_P(NumberService, a_number_taken_in_a_rolled_back_transaction_is_given_back)
{
    ASSERT_TRUE(db.cnn().BeginWriteTrans(QString()));
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), true), QStringLiteral("A-2026X005"));
    ASSERT_TRUE(db.cnn().RollbackTrans());
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), true), QStringLiteral("A-2026X005"));
}

TEST_P(NumberService, refuses_a_card_without_rule_and_a_date_part_without_date)
{
    VoucherNumberService other;
    EXPECT_FALSE(other.Init(db.cnn(), QStringLiteral("none")));
    EXPECT_FALSE(other.lastError().isEmpty());
    EXPECT_TRUE(other.GetFormatXml().isEmpty());
    EXPECT_FALSE(service.GetNumber(rule(QString()), true));
    EXPECT_FALSE(service.GetNumber(QStringLiteral("<单据编号"), false));

    VoucherNumberService own;
    ASSERT_TRUE(own.Init(db.connectionString(), kCard)) << own.lastError().toStdString();
    EXPECT_EQ(own.GetNumber(rule(QStringLiteral("2026-01-01")), false).value_or(QString()),
              QStringLiteral("A-2026X005"));
}

TEST_P(NumberService, two_connections_taking_numbers_at_once_never_get_the_same)
{
    constexpr int perClient = 40;
    QStringList taken[2];
    auto client = [&](int index) {
        Connection cnn;
        ASSERT_TRUE(cnn.Open(db.connectionString()));
        VoucherNumberService own;
        ASSERT_TRUE(own.Init(cnn, kCard));
        for (int i = 0; i < perClient; ++i) {
            // Every other number inside a transaction, as a save takes it.
            const bool inTransaction = i % 2 == 0;
            if (inTransaction) {
                ASSERT_TRUE(cnn.BeginWriteTrans(QString()));
            }
            auto n = own.GetNumber(rule(QStringLiteral("2026-12-31")), true);
            ASSERT_TRUE(n) << n.error().toStdString();
            if (inTransaction) {
                ASSERT_TRUE(cnn.CommitTrans());
            }
            taken[index] << *n;
        }
    };
    std::thread a(client, 0);
    std::thread b(client, 1);
    a.join();
    b.join();
    const QStringList all = taken[0] + taken[1];
    EXPECT_EQ(QSet<QString>(all.cbegin(), all.cend()).size(), 2 * perClient);
    EXPECT_EQ(number(QStringLiteral("2026-12-31"), false),
              QStringLiteral("A-2026X%1").arg(5 + 2 * perClient, 3, 10, QLatin1Char('0')));
}

INSTANTIATE_TEST_SUITE_P(Db, NumberService, ORVANE_BOTH_BACKENDS);
