#include "support/EngineFixture.h"

#include "platform/DemoData.h"

// Moving through vouchers all day must not build anything up in the session: the engine keeps a
// bounded set of prepared statements, and on PostgreSQL the server's memory for the session stays
// flat (no statement left prepared per move, no plan cached per value).
class VoucherMoveSession : public EngineTest
{
protected:
    // Bytes the server holds for this session's backend (PostgreSQL 14 and later).
    qint64 serverSessionBytes()
    {
        auto n = engine.connection().Scalar(QStringLiteral("SELECT sum(total_bytes) FROM pg_backend_memory_contexts"));
        return n ? n->toLongLong() : -1;
    }
    int serverStatements()
    {
        auto n = engine.connection().Scalar(QStringLiteral("SELECT count(*) FROM pg_prepared_statements"));
        return n ? n->toInt() : -1;
    }
    void moves(int count, bool &forward)
    {
        for (int i = 0; i < count; ++i) {
            // Back and forth over the whole set, so that the ends are passed too.
            if ((forward && engine.isEOF()) || (!forward && engine.isBOF()))
                forward = !forward;
            auto moved = engine.VoucherMove(forward ? evmsMoveNext : evmsMovePrevious);
            ASSERT_TRUE(moved) << moved.error().toStdString();
        }
    }
};

TEST_P(VoucherMoveSession, thousands_of_moves_leave_the_statements_and_the_server_session_flat)
{
    auto first = DemoData::generateVouchers(db.cnn(), 40, 3);
    ASSERT_TRUE(first) << first.error().toStdString();
    sp->ID = *first;
    initialEngine();
    engine.GetVoucherData();
    ASSERT_TRUE(engine.isBOF());
    bool forward = true;
    moves(300, forward);
    ASSERT_FALSE(HasFatalFailure());
    const int statements = engine.connection().preparedStatementCount();
    const bool server = db.backend() == Backend::Postgres;
    const qint64 bytes = server ? serverSessionBytes() : 0;
    if (server) {
        EXPECT_EQ(serverStatements(), statements);
    }

    moves(3000, forward);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(engine.connection().preparedStatementCount(), statements);
    EXPECT_LE(statements, 8) << "a move runs a handful of statements";
    if (server) {
        EXPECT_EQ(serverStatements(), statements);
        EXPECT_LT(serverSessionBytes() - bytes, 256 * 1024) << "session memory grew from " << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherMoveSession, ORVANE_BOTH_BACKENDS);
