#include "host/clsLogin.h"

#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

namespace {

const QString kEdit = QStringLiteral("SA03250102");
const QString kConfirm = QStringLiteral("SA03250103");
const QString kCancel = QStringLiteral("SA03250104");
const QString kOpenCard = QStringLiteral("SA03250101");

// Two clients on one database, each with its own session and connection: what two users at two
// machines have.
class TaskLockTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        if (!db.available())
            return;
        ASSERT_TRUE(clsLogin::CreateUser(db.cnn(), QStringLiteral("zhang"), QStringLiteral("张三"),
                                         QStringLiteral("pw"), true));
        ASSERT_TRUE(
            clsLogin::CreateUser(db.cnn(), QStringLiteral("li"), QStringLiteral("李四"), QStringLiteral("pw"), true));
        ASSERT_TRUE(clsLogin::AddExclusion(db.cnn(), kEdit, kEdit));
        ASSERT_TRUE(clsLogin::AddExclusion(db.cnn(), kConfirm, kCancel));
    }

    std::shared_ptr<clsLogin> login(const QString &id)
    {
        auto session = clsLogin::Login(db.connectionString(), id, QStringLiteral("pw"));
        EXPECT_TRUE(session) << session.error().toStdString();
        return session ? *session : nullptr;
    }

    static bool enter(clsLogin &session, const QString &task, short mode = clsLogin::TaskEnter)
    {
        bool ok = false;
        auto asked = session.RequestTask(task, mode, QString(), ok);
        EXPECT_TRUE(asked) << asked.error().toStdString();
        session.FinishRequest();
        return ok;
    }

    static QString thisClient()
    {
        return QSysInfo::machineHostName() + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid());
    }

    qint64 locks(const QString &column, const QString &value)
    {
        auto n = db.cnn().Scalar(QStringLiteral("SELECT COUNT(*) FROM ua_task_lock WHERE %1 = ?").arg(column), {value});
        EXPECT_TRUE(n) << n.error().toStdString();
        return n ? n->toLongLong() : -1;
    }
    qint64 locks(const QString &task) { return locks(QStringLiteral("cauth_id"), task); }

    void backdate(const clsLogin &session)
    {
        db.exec(QStringLiteral("UPDATE ua_task_lock SET dlastseen = ? WHERE csession = ?"),
                {QStringLiteral("2000-01-01 00:00:00.000"), session.SessionValue()});
    }

    TestDatabase db{GetParam()};
};

TEST_P(TaskLockTest, refuses_a_second_client_until_the_first_leaves)
{
    ORVANE_REQUIRE(db);
    auto zhang = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(zhang && li);

    EXPECT_TRUE(enter(*zhang, kEdit));
    EXPECT_FALSE(enter(*li, kEdit));
    EXPECT_EQ(li->GetRequestError(), QStringLiteral("功能[SA03250102]正被用户 张三 (%1) 使用").arg(thisClient()));
    EXPECT_EQ(locks(kEdit), 1);

    EXPECT_TRUE(enter(*zhang, kEdit, clsLogin::TaskLeave));
    EXPECT_EQ(locks(kEdit), 0);
    EXPECT_TRUE(enter(*li, kEdit));
    EXPECT_TRUE(li->GetRequestError().isEmpty());
}

TEST_P(TaskLockTest, applies_an_exclusion_in_both_directions_and_only_to_its_pair)
{
    ORVANE_REQUIRE(db);
    auto zhang = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(zhang && li);

    // The pair is stored as (confirm, cancel): each side must keep the other out.
    EXPECT_TRUE(enter(*zhang, kConfirm));
    EXPECT_FALSE(enter(*li, kCancel));
    EXPECT_EQ(li->GetRequestError(),
              QStringLiteral("功能[SA03250104]与用户 张三 (%1) 正在使用的功能[SA03250103]互斥").arg(thisClient()));
    EXPECT_TRUE(enter(*zhang, kConfirm, clsLogin::TaskLeave));
    EXPECT_TRUE(enter(*zhang, kCancel));
    EXPECT_FALSE(enter(*li, kConfirm));
    // No self-exclusion for these: both may cancel confirmations at once, and others are free.
    EXPECT_TRUE(enter(*li, kCancel));
    EXPECT_TRUE(enter(*li, kOpenCard));
    EXPECT_TRUE(enter(*zhang, kOpenCard));
}

// Two windows of one session entered the function: closing one must not let another user in
// while the other window still works in it.
TEST_P(TaskLockTest, a_function_a_session_entered_twice_is_held_until_both_have_left)
{
    ORVANE_REQUIRE(db);
    auto zhang = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(zhang && li);

    EXPECT_TRUE(enter(*zhang, kEdit));
    EXPECT_TRUE(enter(*zhang, kEdit));
    EXPECT_TRUE(enter(*zhang, kConfirm)); // excludes nothing this session holds from itself
    EXPECT_EQ(locks(kEdit), 1);
    EXPECT_TRUE(enter(*zhang, kEdit, clsLogin::TaskLeave));
    EXPECT_EQ(locks(kEdit), 1);
    EXPECT_FALSE(enter(*li, kEdit));
    EXPECT_TRUE(enter(*zhang, kEdit, clsLogin::TaskLeave));
    EXPECT_EQ(locks(kEdit), 0);
    EXPECT_TRUE(enter(*li, kEdit));
    // Leaving what is not held is no error.
    EXPECT_TRUE(enter(*zhang, kEdit, clsLogin::TaskLeave));
    EXPECT_EQ(locks(kEdit), 1) << "another session's entry is not touched";
}

TEST_P(TaskLockTest, ignores_and_removes_the_lock_of_a_crashed_client)
{
    ORVANE_REQUIRE(db);
    auto crashed = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(crashed && li);
    ASSERT_TRUE(enter(*crashed, kEdit));

    backdate(*crashed); // it stopped refreshing long ago
    EXPECT_TRUE(enter(*li, kEdit)) << li->GetRequestError().toStdString();
    EXPECT_EQ(locks(QStringLiteral("csession"), crashed->SessionValue()), 0);
}

TEST_P(TaskLockTest, keeps_a_lock_alive_through_the_heartbeat)
{
    ORVANE_REQUIRE(db);
    auto zhang = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(zhang && li);
    ASSERT_TRUE(enter(*zhang, kEdit));

    backdate(*zhang);
    ASSERT_TRUE(zhang->heartbeat());
    EXPECT_FALSE(enter(*li, kEdit));

    // Any request refreshes the session's locks as well.
    backdate(*zhang);
    EXPECT_TRUE(enter(*zhang, kOpenCard, clsLogin::TaskCheck));
    EXPECT_FALSE(enter(*li, kEdit));
}

TEST_P(TaskLockTest, gives_every_function_back_at_logout_and_destruction)
{
    ORVANE_REQUIRE(db);
    auto zhang = login(QStringLiteral("zhang"));
    auto li = login(QStringLiteral("li"));
    ASSERT_TRUE(zhang && li);
    ASSERT_TRUE(enter(*zhang, kEdit));
    ASSERT_TRUE(enter(*zhang, kCancel));
    zhang.reset();
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);

    ASSERT_TRUE(enter(*li, kEdit));
    li->Logout();
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
    bool ok = true;
    EXPECT_FALSE(li->RequestTask(kEdit, clsLogin::TaskEnter, QString(), ok)); // no session, no lock
    EXPECT_FALSE(ok);
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);
}

// Clients that ask at the same moment: the check and the insert must not interleave, or two of them
// both see the function free and both enter.
TEST_P(TaskLockTest, lets_exactly_one_of_several_simultaneous_clients_in)
{
    ORVANE_REQUIRE(db);
    constexpr int clients = 4;
    const QString connectionString = db.connectionString();
    std::atomic<int> entered{0};
    std::atomic<int> failures{0};
    std::barrier start(clients);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
            // Each session (and its connection) lives in the thread that uses it.
            auto session = clsLogin::Login(connectionString, i % 2 ? QStringLiteral("li") : QStringLiteral("zhang"),
                                           QStringLiteral("pw"));
            start.arrive_and_wait();
            if (session) {
                bool ok = false;
                if (!(*session)->RequestTask(kEdit, clsLogin::TaskEnter, QString(), ok))
                    ++failures;
                if (ok)
                    ++entered;
                (*session)->FinishRequest();
            } else {
                ++failures;
            }
            start.arrive_and_wait(); // keep the winner's lock until everyone has asked
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(entered.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, TaskLockTest, ORVANE_BOTH_BACKENDS);

} // namespace
