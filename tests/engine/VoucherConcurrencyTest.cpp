#include "VoucherStateFixture.h"

#include "engine/VoucherSaver.h"
#include "support/MasterDataRows.h"

// Two users acting on one voucher at the same moment, and a database that gives up on a
// transaction (deadlock, serialization failure, busy) or drops the connection. Whatever happens,
// the user sees the system's own message, never the server's, and nothing committed is lost.

namespace {

const QString kEdit = QStringLiteral("SA03250102");

class VoucherConcurrency : public VoucherStateTest
{
protected:
    // Makes every update and deletion of a head fail as a deadlock, the first `times` times.
    void forceDeadlocks(int times)
    {
        db.exec(QStringLiteral("CREATE SEQUENCE conflict_runs"));
        db.exec(QStringLiteral("CREATE FUNCTION force_conflict() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                               "IF nextval('conflict_runs') <= %1 THEN "
                               "RAISE EXCEPTION 'deadlock detected' USING ERRCODE = 'deadlock_detected'; END IF; "
                               "RETURN COALESCE(NEW, OLD); END $$")
                    .arg(times));
        db.exec(QStringLiteral("CREATE TRIGGER force_conflict BEFORE UPDATE OR DELETE ON ManageSample "
                               "FOR EACH ROW EXECUTE FUNCTION force_conflict()"));
    }

    // Saves the shown voucher with another memo; the master data its rows name is there first.
    QString saveMemo(const QString &memo)
    {
        engine.domHead().headRow().setValue(QStringLiteral("cmemo"), memo);
        QVariant id;
        qint32 parent = 0;
        QString parentVersion;
        return engine.VoucherSave(1, id, parent, parentVersion);
    }

    bool enter(clsLogin &session, short mode = clsLogin::TaskEnter)
    {
        bool allowed = false;
        EXPECT_TRUE(session.RequestTask(kEdit, mode, QString(), allowed));
        session.FinishRequest();
        return allowed;
    }
};

} // namespace

// The deletion checks the row version and then deletes; a confirmation committed in between must
// not be deleted with the voucher.
TEST_P(VoucherConcurrency, postgres_a_confirmation_committed_while_a_deletion_checks_keeps_the_voucher)
{
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "SQLite lets one writer in at a time: the confirmation waits for the deletion";
    open();
    clsVoucherCo other;
    auto otherSp = std::make_shared<clsVoucherShowParameter>();
    other.Initial(login, QStringLiteral("1801"), otherSp);
    auto otherRules = std::make_shared<SampleRulesBusiness>();
    otherRules->Initial(login, other.oGI());
    other.setObjVoucher(otherRules);
    const QString version = stored(QStringLiteral("qvts"));

    QString confirmed = QStringLiteral("not run");
    // Runs inside the deletion's transaction, after its row-version check.
    business->whileAllowingDelete = [&](Connection &) {
        confirmed = other.VoucherConfirm2(1, version, false);
    };
    const QString deleted = engine.VoucherDelete(false);
    EXPECT_EQ(confirmed, QString());
    EXPECT_EQ(deleted, crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能删除,请刷新后重试!")));
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("测试员"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 2);
}

// The engine's right check enters the function and leaves it again; the window that held the
// function before must still hold it afterwards.
TEST_P(VoucherConcurrency, the_right_check_leaves_a_function_the_session_holds_entered)
{
    ASSERT_TRUE(clsLogin::AddExclusion(db.cnn(), kEdit, kEdit));
    auto other = restrictedUser({kEdit});
    ASSERT_TRUE(other);
    open();
    ASSERT_TRUE(enter(*login)); // the card window's entry
    EXPECT_TRUE(engine.VoucherCheckAuth(kEdit));
    EXPECT_FALSE(enter(*other)) << "the card window still holds the function";
    EXPECT_TRUE(enter(*login, clsLogin::TaskLeave));
    EXPECT_TRUE(enter(*other));
}

TEST_P(VoucherConcurrency, a_conflict_that_persists_is_refused_with_the_system_text)
{
    open();
    MasterDataRows::forStoredVouchers(db.cnn());
    std::unique_ptr<Connection> holder;
    if (GetParam() == Backend::Postgres) {
        forceDeadlocks(1000);
    } else {
        // Another writer holds the database's write lock; the engine waits only briefly.
        holder = std::make_unique<Connection>();
        ASSERT_TRUE(holder->Open(db.connectionString()));
        ASSERT_TRUE(holder->BeginWriteTrans(QString()));
        ASSERT_TRUE(engine.connection().Execute(QStringLiteral("PRAGMA busy_timeout = 20")));
    }
    EXPECT_EQ(engine.VoucherDelete(false),
              crlf(QStringLiteral("单据 [YP001] 已经被改变或删除,不能删除,请刷新后重试!")));
    EXPECT_EQ(saveMemo(QStringLiteral("mine")), VoucherSaver::changedElsewhere());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    if (holder)
        holder->RollbackTrans();
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_FALSE(engine.connection().inTransaction());
}

TEST_P(VoucherConcurrency, postgres_a_deadlock_met_once_is_retried_and_the_save_goes_through)
{
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "the deadlock is forced by a PostgreSQL trigger";
    open();
    MasterDataRows::forStoredVouchers(db.cnn());
    forceDeadlocks(1);
    EXPECT_EQ(saveMemo(QStringLiteral("mine")), QString());
    EXPECT_EQ(stored(QStringLiteral("cMemo")), QStringLiteral("mine"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(VoucherConcurrency, postgres_a_connection_the_server_ended_is_reopened_by_the_next_action)
{
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "an embedded database has no server to lose";
    open();
    const QString version = stored(QStringLiteral("qvts"));
    auto pid = engine.connection().Scalar(QStringLiteral("SELECT pg_backend_pid()"));
    ASSERT_TRUE(pid);
    db.exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid->toInt()});

    EXPECT_EQ(engine.VoucherConfirm2(1, version, false), QString());
    EXPECT_EQ(stored(QStringLiteral("cHandler")), QStringLiteral("测试员"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(engine.connection().isOpen());
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherConcurrency, ORVANE_BOTH_BACKENDS);
