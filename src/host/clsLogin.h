#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <chrono>
#include <memory>

class Connection;
class TaskLockStore;

// The login session that the host hands to every entry object.
//
// A session is made by Login(): it checks the user's password against the salted hash in ua_user
// and then keeps its own database connection for the requests below. Rights come from ua_right
// (super users hold every function). Entering a function takes a lock row in ua_task_lock that other
// clients see; a function excluded by one that another live session holds cannot be entered (see
// TaskLockStore). Within the session each entry is a holder of its own (two card windows, a check
// that enters and leaves at once): the row stays until the last holder has left. The session
// refreshes its locks on every request; an application that keeps a function entered for long
// should also call heartbeat() on a timer well inside the lock expiry, or other clients will take
// its locks for those of a crashed client.
//
// Logout() and the destructor give every function back. Owned by shared pointer: the entry
// objects, windows and engines that use a session keep it alive.
//
// The operations are virtual so that windows and checks can be tested against a scripted session
// (see the protected constructor).
class clsLogin
{
public:
    // Request modes of RequestTask.
    static constexpr short TaskCheck = 1;  // does the user hold the function's right?
    static constexpr short TaskEnter = -1; // take the function, unless something excludes it
    static constexpr short TaskLeave = 0;  // give the function back

    // Opens a session. Refuses an unknown user and a wrong password with the same message, so that
    // the answer does not tell which user identifiers exist, and a disabled user after a correct
    // password. The password is only used to verify the hash; it is neither kept nor logged.
    static Result<std::shared_ptr<clsLogin>> Login(const QString &connectionString, const QString &userId,
                                                   const QString &password,
                                                   const QDate &loginDate = QDate::currentDate(),
                                                   const QString &accountId = QStringLiteral("001"));

    virtual ~clsLogin();
    clsLogin(const clsLogin &) = delete;
    clsLogin &operator=(const clsLogin &) = delete;

    // The connection string the session was opened with; windows and engines open their own
    // connections with it.
    virtual QString ConnectionString() const { return m_connectionString; }
    virtual QString AccountId() const { return m_accountId; }
    virtual QString UserId() const { return m_userId; }
    virtual QString UserName() const { return m_userName; }
    // The operation date as "yyyy-MM-dd".
    virtual QString LoginDate() const { return m_loginDate.toString(QStringLiteral("yyyy-MM-dd")); }
    // The session token (unique per login); the host services take it to know the session.
    virtual QString SessionValue() const { return m_session; }
    // The account identifier, for the report runner.
    virtual QString ReportValue() const { return m_accountId; }
    virtual bool IsLoggedIn() const;
    bool isSuperUser() const { return m_super; }

    // Answers a function request in `allowed`: mode TaskCheck whether the user holds the right,
    // TaskEnter whether the function was entered, TaskLeave gives one entry back (always allowed).
    // `text` is accepted for the callers' sake and not used. A refusal is not a failure: allowed is
    // false and GetRequestError() says why. A failure (no session, database error, unknown mode) also
    // leaves allowed false and is returned as the error.
    virtual Result<void> RequestTask(const QString &taskId, short mode, const QString &text, bool &allowed);
    // Ends a request. The explanation of a refusal stays readable until the next RequestTask.
    virtual void FinishRequest();
    // Why the last request was refused or failed; empty after one that was allowed.
    virtual QString GetRequestError() const { return m_requestError; }

    // Marks the functions the session holds as alive.
    Result<void> heartbeat();
    // Gives every function back and closes the connection. Safe to call twice.
    void Logout();

    // How long a lock may go unrefreshed before other sessions take its client for dead. The
    // setting acts on the locks of others that this session meets.
    void setLockExpiry(std::chrono::seconds expiry);
    std::chrono::seconds lockExpiry() const;

    // Administration, for setup and the demo database. Each call is one statement or a guarded
    // pair; run them inside the caller's transaction when several must stand together.
    static Result<void> CreateUser(Connection &cnn, const QString &userId, const QString &userName,
                                   const QString &password, bool super);
    // Idempotent: granting a right the user holds changes nothing.
    static Result<void> GrantRight(Connection &cnn, const QString &userId, const QString &taskId);
    // Idempotent, in either order of the pair; taskId == exclusiveId makes a function exclude itself.
    static Result<void> AddExclusion(Connection &cnn, const QString &taskId, const QString &exclusiveId);

protected:
    // A session with the given values and no database behind it, for test doubles of the windows
    // and checks: IsLoggedIn() is false and RequestTask refuses unless a subclass overrides them.
    clsLogin(const QString &connectionString, const QString &accountId, const QString &userId, const QString &userName,
             const QDate &loginDate);

private:
    clsLogin(std::unique_ptr<Connection> cnn, const QString &accountId, const QString &userId, const QString &userName,
             const QDate &loginDate, bool super);

    Result<void> requestTask(const QString &taskId, short mode, bool &allowed);
    Result<bool> holdsRight(const QString &taskId);
    Result<void> failRequest(const QString &why);

    std::unique_ptr<Connection> m_cnn;
    std::unique_ptr<TaskLockStore> m_locks;
    QString m_connectionString;
    QString m_accountId;
    QString m_userId;
    QString m_userName;
    QDate m_loginDate;
    QString m_session;
    QString m_client;
    bool m_super = false;
    std::chrono::seconds m_expiry;
    QString m_requestError;
    QHash<QString, int> m_holders; // entered functions -> entries that have not left yet
};
