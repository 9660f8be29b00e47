#pragma once

#include "platform/Result.h"

#include <QString>

#include <chrono>
#include <optional>

class Connection;

// Who holds (or wants) a function lock: one login session on one client.
struct TaskLockOwner
{
    QString session; // unique per login
    QString userId;
    QString client; // host name and process id, to tell the user where the holder sits
};

// A live lock that keeps a function from being entered.
struct TaskLockHolder
{
    QString taskId; // the function held
    QString userId;
    QString userName; // the user's name, or the identifier when the user is gone
    QString client;
};

// The function locks in ua_task_lock, shared by every client of the database.
//
// A function may be entered unless another session holds a live lock on a function that excludes
// it (ua_task_exclusive, either direction, a function possibly excluding itself). Check and insert
// run in one transaction that no second client can interleave with: BEGIN IMMEDIATE on SQLite, an
// EXCLUSIVE table lock on PostgreSQL (both block other writers of the table until commit; plain
// readers go on).
//
// Time comes from the database server, so that clients with skewed clocks still agree when a lock
// has expired. A lock whose dlastseen is older than the expiry belongs to a client that stopped
// refreshing it (crashed, killed, cut off); it is ignored and removed.
//
// The store works on a connection it does not own; the connection must not be inside another
// transaction when enter() is called.
class TaskLockStore
{
public:
    static constexpr std::chrono::seconds defaultExpiry{300};

    explicit TaskLockStore(Connection &cnn);

    void setExpiry(std::chrono::seconds expiry) { m_expiry = expiry; }
    std::chrono::seconds expiry() const { return m_expiry; }

    // Enters the function for the owner: nullopt when entered (again, for a function the session
    // already holds), else the live lock that blocks it.
    Result<std::optional<TaskLockHolder>> enter(const QString &taskId, const TaskLockOwner &owner);

    // Gives one function back; nothing happens when the session does not hold it.
    Result<void> leave(const QString &taskId, const QString &session);

    // Gives every function of the session back.
    Result<void> leaveAll(const QString &session);

    // Marks every lock of the session as alive now.
    Result<void> touch(const QString &session);

private:
    Result<QString> serverNow();
    Result<QString> cutoff(const QString &now) const;
    Result<std::optional<TaskLockHolder>> enterLocked(const QString &taskId, const TaskLockOwner &owner);

    Connection &m_cnn;
    std::chrono::seconds m_expiry = defaultExpiry;
};
