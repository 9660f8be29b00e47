#include "TaskLockStore.h"

#include "platform/Connection.h"

#include <QDateTime>

namespace {

// dlastseen is written and compared as UTC text of one fixed layout: SQLite keeps it as text and
// compares it as text (which orders like time), PostgreSQL casts it to its timestamp column.
const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// Runs the statements of one enter() so that no other client can read-then-write the lock table
// in between; rolls back unless committed.
class ExclusiveTransaction
{
public:
    explicit ExclusiveTransaction(Connection &cnn)
        : m_cnn(cnn)
    {}
    ~ExclusiveTransaction()
    {
        if (m_open)
            rollback();
    }
    ExclusiveTransaction(const ExclusiveTransaction &) = delete;
    ExclusiveTransaction &operator=(const ExclusiveTransaction &) = delete;

    Result<void> begin()
    {
        if (m_cnn.inTransaction())
            return fail(QStringLiteral("功能锁定不能在其他事务中进行"));
        if (m_cnn.backend() == Backend::Sqlite) {
            // A plain BEGIN takes the write lock only at the first write and may then fail on a
            // snapshot another client has changed; IMMEDIATE waits for the write lock up front.
            auto begun = m_cnn.Execute(QStringLiteral("BEGIN IMMEDIATE"));
            if (!begun)
                return fail(begun.error());
            m_open = true;
            return {};
        }
        auto begun = m_cnn.BeginTrans();
        if (!begun)
            return begun;
        m_open = true;
        // EXCLUSIVE conflicts with itself and with every writer, not with plain SELECTs; released
        // at commit or rollback.
        auto locked = m_cnn.Execute(QStringLiteral("LOCK TABLE ua_task_lock IN EXCLUSIVE MODE"));
        if (!locked)
            return fail(locked.error());
        return {};
    }

    Result<void> commit()
    {
        m_open = false;
        if (m_cnn.backend() == Backend::Sqlite) {
            auto done = m_cnn.Execute(QStringLiteral("COMMIT"));
            if (!done) {
                m_cnn.Execute(QStringLiteral("ROLLBACK"));
                return fail(done.error());
            }
            return {};
        }
        return m_cnn.CommitTrans();
    }

private:
    void rollback()
    {
        m_open = false;
        if (m_cnn.backend() == Backend::Sqlite)
            m_cnn.Execute(QStringLiteral("ROLLBACK"));
        else
            m_cnn.RollbackTrans();
    }

    Connection &m_cnn;
    bool m_open = false;
};

} // namespace

TaskLockStore::TaskLockStore(Connection &cnn)
    : m_cnn(cnn)
{}

Result<QString> TaskLockStore::serverNow()
{
    const QString sql = m_cnn.backend() == Backend::Sqlite
                            ? QStringLiteral("SELECT strftime('%Y-%m-%d %H:%M:%f', 'now')")
                            : QStringLiteral("SELECT to_char(clock_timestamp() AT TIME ZONE 'UTC', "
                                             "'YYYY-MM-DD HH24:MI:SS.MS')");
    auto now = m_cnn.Scalar(sql);
    if (!now)
        return fail(now.error());
    return now->toString();
}

Result<QString> TaskLockStore::cutoff(const QString &now) const
{
    const QDateTime parsed = QDateTime::fromString(now, timeFormat);
    if (!parsed.isValid())
        return fail(QStringLiteral("数据库时间格式无法识别：%1").arg(now));
    // UTC, so that the subtraction never crosses a daylight-saving change.
    const QDateTime utc(parsed.date(), parsed.time(), Qt::UTC);
    return utc.addSecs(-m_expiry.count()).toString(timeFormat);
}

Result<std::optional<TaskLockHolder>> TaskLockStore::enter(const QString &taskId, const TaskLockOwner &owner)
{
    ExclusiveTransaction tx(m_cnn);
    if (auto begun = tx.begin(); !begun)
        return fail(begun.error());
    auto entered = enterLocked(taskId, owner);
    if (!entered)
        return entered; // rolled back by tx
    // Committed also when blocked: the removal of expired locks stands either way.
    if (auto committed = tx.commit(); !committed)
        return fail(committed.error());
    return entered;
}

Result<std::optional<TaskLockHolder>> TaskLockStore::enterLocked(const QString &taskId, const TaskLockOwner &owner)
{
    auto now = serverNow();
    if (!now)
        return fail(now.error());
    auto oldest = cutoff(*now);
    if (!oldest)
        return fail(oldest.error());

    // Expired locks first, this session's own included: a lock that lapsed may already have been
    // overtaken by another client, so it must not come back to life by the refresh below.
    auto purged = m_cnn.Execute(QStringLiteral("DELETE FROM ua_task_lock WHERE dlastseen < ?"), {*oldest});
    if (!purged)
        return fail(purged.error());
    auto touched = m_cnn.Execute(QStringLiteral("UPDATE ua_task_lock SET dlastseen = ? WHERE csession = ?"),
                                 {*now, owner.session});
    if (!touched)
        return fail(touched.error());

    // A live lock of another session on a function excluded by this one, in either direction. The
    // holder of this very function is named first: that is what the user most likely waits for.
    auto blocking
        = m_cnn.Query(QStringLiteral("SELECT l.cauth_id, l.cuser_id, COALESCE(u.cuser_name, l.cuser_id) AS cuser_name, "
                                     "COALESCE(l.cclient, '') AS cclient "
                                     "FROM ua_task_lock l LEFT JOIN ua_user u ON u.cuser_id = l.cuser_id "
                                     "WHERE l.csession <> ? AND EXISTS (SELECT 1 FROM ua_task_exclusive e "
                                     "WHERE (e.cauth_id = ? AND e.cexclusive_id = l.cauth_id) "
                                     "OR (e.cexclusive_id = ? AND e.cauth_id = l.cauth_id)) "
                                     "ORDER BY CASE WHEN l.cauth_id = ? THEN 0 ELSE 1 END, l.dlastseen, l.cauth_id "
                                     "LIMIT 1"),
                      {owner.session, taskId, taskId, taskId});
    if (!blocking)
        return fail(blocking.error());
    if (!blocking->isEmpty()) {
        return std::optional<TaskLockHolder>(
            TaskLockHolder{blocking->text(QStringLiteral("cauth_id")), blocking->text(QStringLiteral("cuser_id")),
                           blocking->text(QStringLiteral("cuser_name")), blocking->text(QStringLiteral("cclient"))});
    }

    auto held = m_cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ua_task_lock WHERE csession = ? AND cauth_id = ?"),
                             {owner.session, taskId});
    if (!held)
        return fail(held.error());
    if (held->toInt() == 0) {
        auto inserted = m_cnn.Execute(
            QStringLiteral("INSERT INTO ua_task_lock (cauth_id, cuser_id, csession, cclient, dlastseen) "
                           "VALUES (?, ?, ?, ?, ?)"),
            {taskId, owner.userId, owner.session, owner.client, *now});
        if (!inserted)
            return fail(inserted.error());
    }
    return std::optional<TaskLockHolder>();
}

Result<void> TaskLockStore::leave(const QString &taskId, const QString &session)
{
    auto removed = m_cnn.Execute(QStringLiteral("DELETE FROM ua_task_lock WHERE csession = ? AND cauth_id = ?"),
                                 {session, taskId});
    if (!removed)
        return fail(removed.error());
    return {};
}

Result<void> TaskLockStore::leaveAll(const QString &session)
{
    auto removed = m_cnn.Execute(QStringLiteral("DELETE FROM ua_task_lock WHERE csession = ?"), {session});
    if (!removed)
        return fail(removed.error());
    return {};
}

Result<void> TaskLockStore::touch(const QString &session)
{
    auto now = serverNow();
    if (!now)
        return fail(now.error());
    auto touched
        = m_cnn.Execute(QStringLiteral("UPDATE ua_task_lock SET dlastseen = ? WHERE csession = ?"), {*now, session});
    if (!touched)
        return fail(touched.error());
    return {};
}
