#include "CardFixture.h"

#include "platform/Connection.h"

// A card left open while the database server restarts (or drops its connection) must not go on
// showing what it read before, nor answer the next command with the driver's words.

namespace {

class CardConnectionLoss : public CardTest
{
protected:
    void seed() override
    {
        samples.voucher(1, QStringLiteral("YP001"));
        ASSERT_TRUE(show({}, 1));
    }

    // Ends the card engine's server process, as a restart of the server does.
    void dropEngineConnection()
    {
        auto pid = card->engine().connection().Scalar(QStringLiteral("SELECT pg_backend_pid()"));
        ASSERT_TRUE(pid) << pid.error().toStdString();
        db.exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid->toInt()});
    }
};

} // namespace

TEST_P(CardConnectionLoss, postgres_the_next_command_reopens_the_connection_and_reads_the_voucher_again)
{
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "an embedded database has no server to lose";
    ASSERT_EQ(control().body.size(), 2);
    dropEngineConnection();
    // Meanwhile another user removed a line.
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1 AND iSubID = "
                           "(SELECT MAX(iSubID) FROM ManageSamples WHERE iAutoID = 1)"));

    dispatch(QStringLiteral("tlbRefresh"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("数据库连接已恢复，已重新读取单据。")});
    EXPECT_EQ(control().body.size(), 1) << "the card shows the voucher as it is now";
    EXPECT_TRUE(card->engine().connection().isOpen());

    // The reopened connection serves the next action as any other.
    dispatch(QStringLiteral("tlbDel"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
    EXPECT_FALSE(messages.texts().join(QString()).contains(QStringLiteral("连接已关闭")));
}

INSTANTIATE_TEST_SUITE_P(Db, CardConnectionLoss, ORVANE_BOTH_BACKENDS);
