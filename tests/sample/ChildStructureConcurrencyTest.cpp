#include "ChildStructureFixture.h"

#include "platform/Connection.h"
#include "support/MasterDataRows.h"

#include <QThread>

#include <future>
#include <thread>

// A child sample saved by one user while another deletes its parent voucher. The save and the
// deletion write the same tables and take the same writer lock, so the save waits for the deletion
// and then finds its parent gone: no child sample is left without a parent line.

namespace {

class ChildStructureConcurrency : public ChildStructureTest
{
protected:
    // Waits until the backend `pid` waits for a lock (true), or `done` is ready (false).
    bool waitsForLock(Connection &watcher, int pid, const std::shared_future<QString> &done)
    {
        for (int i = 0; i < 400; ++i) {
            auto waiting = watcher.Scalar(
                QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ? AND wait_event_type = 'Lock'"),
                {pid});
            if (waiting && waiting->toInt() > 0)
                return true;
            if (done.valid() && done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready)
                return false;
            QThread::msleep(25);
        }
        return false;
    }

    // Another user's card saves a new child sample for line 1003 of voucher 1, on a thread and
    // connection of its own; `started` receives its server process.
    QString saveChildElsewhere(const QString &parentVersion, std::promise<int> &started)
    {
        auto session = clsLogin::Login(db.connectionString(), QStringLiteral("tester"), QStringLiteral("pw"));
        if (!session) {
            started.set_value(0);
            return session.error();
        }
        auto params = std::make_shared<clsVoucherShowParameter>();
        clsVoucherCo child;
        child.Initial(*session, QStringLiteral("1801"), params);
        auto pid = child.connection().Scalar(QStringLiteral("SELECT pg_backend_pid()"));
        started.set_value(pid ? pid->toInt() : 0);
        params->ID = 0;
        child.GetVoucherData();
        addRow(child.domHead(), {{"ccode", ""},
                                 {"ddate", "2026-12-01"},
                                 {"cnewinvcode", "C3"},
                                 {"cnewinvname", "子件样品"},
                                 {"cnewinvcomunitcode", "PCS"},
                                 {"ifinishexch", "1"},
                                 {"csocode", "V2"},
                                 {"psguid", "1003"},
                                 {"vt_id", ""}});
        MasterDataRows::items(child.connection(), {QStringLiteral("RAW")});
        addRow(child.domBody(),
               {{"cpscode", "RAW"}, {"ipsquantity", "1"}, {"tdqtyd", "1"}, {"cwhcode", "01"}, {"editprop", "A"}});
        QVariant id;
        qint32 parentId = 1;
        QString version = parentVersion;
        return child.VoucherSave(2, id, parentId, version);
    }
};

} // namespace

TEST_P(ChildStructureConcurrency, postgres_a_child_saved_while_its_parent_is_deleted_waits_and_is_refused)
{
    if (GetParam() != Backend::Postgres)
        GTEST_SKIP() << "SQLite lets one writer in at a time whatever lock the writers name";
    load(1);
    const QString parentVersion = qvts(1);
    auto deleterPid = engine.connection().Scalar(QStringLiteral("SELECT pg_backend_pid()"));
    ASSERT_TRUE(deleterPid);

    // Holds the deletion open: it stops at voucher 1's attachment row, which this transaction
    // locks, with the voucher's head and lines already deleted (not yet committed).
    std::promise<void> holding;
    std::shared_future<QString> childDone;
    std::thread holder([&] {
        Connection blocker;
        Connection watcher;
        ASSERT_TRUE(blocker.Open(db.connectionString()) && watcher.Open(db.connectionString()));
        ASSERT_TRUE(blocker.BeginTrans());
        ASSERT_TRUE(blocker.Query(QStringLiteral("SELECT iAutoID FROM OR_VN_fileTable WHERE iAutoID = 1 FOR UPDATE")));
        holding.set_value();
        EXPECT_TRUE(waitsForLock(watcher, deleterPid->toInt(), {})) << "the deletion never reached the attachment";

        std::promise<int> started;
        std::packaged_task<QString()> save([&] { return saveChildElsewhere(parentVersion, started); });
        childDone = save.get_future().share();
        std::thread child(std::move(save));
        const int childPid = started.get_future().get();
        EXPECT_TRUE(waitsForLock(watcher, childPid, childDone)) << "the child save did not wait for the deletion";
        blocker.RollbackTrans();
        child.join();
    });
    holding.get_future().wait();
    const QString deleted = engine.VoucherDelete(false);
    holder.join();

    EXPECT_EQ(deleted, QString());
    ASSERT_TRUE(childDone.valid());
    const QString saved = childDone.get();
    EXPECT_TRUE(saved.startsWith(QStringLiteral("保存失败,"))) << saved.toStdString();
    EXPECT_EQ(orphans(), 0);
    EXPECT_EQ(heads(QStringLiteral("ManageSample")), (QList<int>{9, 10}));
}

INSTANTIATE_TEST_SUITE_P(Db, ChildStructureConcurrency, ORVANE_BOTH_BACKENDS);
