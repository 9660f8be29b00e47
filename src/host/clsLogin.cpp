#include "clsLogin.h"

#include "PasswordHash.h"
#include "TaskLockStore.h"

#include "platform/Connection.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QUuid>

namespace {

// One text for an unknown user and a wrong password: the answer must not tell which it was.
QString wrongCredentials()
{
    return QStringLiteral("用户名或密码错误，请重新输入");
}

QString thisClient()
{
    return QSysInfo::machineHostName() + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid());
}

// "张三 (host/123)", or only the name when the client is not known.
QString holderText(const TaskLockHolder &holder)
{
    if (holder.client.isEmpty())
        return holder.userName;
    return QStringLiteral("%1 (%2)").arg(holder.userName, holder.client);
}

QString busyText(const QString &taskId, const TaskLockHolder &holder)
{
    if (holder.taskId == taskId)
        return QStringLiteral("功能[%1]正被用户 %2 使用").arg(taskId, holderText(holder));
    return QStringLiteral("功能[%1]与用户 %2 正在使用的功能[%3]互斥").arg(taskId, holderText(holder), holder.taskId);
}

Result<bool> exists(Connection &cnn, const QString &sql, const QVariantList &params)
{
    auto n = cnn.Scalar(sql, params);
    if (!n)
        return fail(n.error());
    return n->toLongLong() > 0;
}

} // namespace

clsLogin::clsLogin(const QString &connectionString, const QString &accountId, const QString &userId,
                   const QString &userName, const QDate &loginDate)
    : m_connectionString(connectionString)
    , m_accountId(accountId)
    , m_userId(userId)
    , m_userName(userName)
    , m_loginDate(loginDate)
    , m_expiry(TaskLockStore::defaultExpiry)
{}

clsLogin::clsLogin(std::unique_ptr<Connection> cnn, const QString &accountId, const QString &userId,
                   const QString &userName, const QDate &loginDate, bool super)
    : m_cnn(std::move(cnn))
    , m_locks(std::make_unique<TaskLockStore>(*m_cnn))
    , m_connectionString(m_cnn->ConnectionString())
    , m_accountId(accountId)
    , m_userId(userId)
    , m_userName(userName)
    , m_loginDate(loginDate)
    , m_session(QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_client(thisClient())
    , m_super(super)
    , m_expiry(TaskLockStore::defaultExpiry)
{}

clsLogin::~clsLogin()
{
    Logout();
}

Result<std::shared_ptr<clsLogin>> clsLogin::Login(const QString &connectionString, const QString &userId,
                                                  const QString &password, const QDate &loginDate,
                                                  const QString &accountId)
{
    const QString id = userId.trimmed();
    if (id.isEmpty())
        return fail(QStringLiteral("请输入用户名"));
    if (!loginDate.isValid())
        return fail(QStringLiteral("登录日期无效"));
    if (!PasswordHash::initialise())
        return fail(QStringLiteral("密码模块无法初始化"));

    auto cnn = std::make_unique<Connection>();
    if (auto opened = cnn->Open(connectionString); !opened)
        return fail(opened.error());

    auto user = cnn->Query(
        QStringLiteral("SELECT cuser_name, cpassword, bsuper, bdisabled FROM ua_user WHERE cuser_id = ?"), {id});
    if (!user)
        return fail(user.error());
    if (user->isEmpty()) {
        PasswordHash::verifyNothing(password);
        return fail(wrongCredentials());
    }
    if (!PasswordHash::verify(user->text(QStringLiteral("cpassword")), password))
        return fail(wrongCredentials());
    // Told only after a correct password, so it reveals nothing to someone guessing.
    const QString name = user->text(QStringLiteral("cuser_name"));
    if (user->value(QStringLiteral("bdisabled")).toInt() != 0)
        return fail(QStringLiteral("用户 %1 已被停用，不能登录").arg(name));

    const bool super = user->value(QStringLiteral("bsuper")).toInt() != 0;
    return std::shared_ptr<clsLogin>(new clsLogin(std::move(cnn), accountId, id, name, loginDate, super));
}

bool clsLogin::IsLoggedIn() const
{
    return m_cnn && m_cnn->isOpen();
}

void clsLogin::setLockExpiry(std::chrono::seconds expiry)
{
    m_expiry = expiry;
    if (m_locks)
        m_locks->setExpiry(expiry);
}

std::chrono::seconds clsLogin::lockExpiry() const
{
    return m_expiry;
}

Result<void> clsLogin::RequestTask(const QString &taskId, short mode, const QString &text, bool &allowed)
{
    Q_UNUSED(text)
    allowed = false;
    m_requestError.clear();
    return requestTask(taskId, mode, allowed);
}

void clsLogin::FinishRequest() {}

Result<void> clsLogin::failRequest(const QString &why)
{
    m_requestError = why;
    return fail(why);
}

Result<void> clsLogin::requestTask(const QString &taskId, short mode, bool &allowed)
{
    if (!IsLoggedIn())
        return failRequest(QStringLiteral("尚未登录，不能请求功能[%1]").arg(taskId));

    switch (mode) {
    case TaskCheck: {
        auto held = holdsRight(taskId);
        if (!held)
            return failRequest(held.error());
        // Keeping the entered functions alive is a side effect of every request.
        if (auto touched = m_locks->touch(m_session); !touched)
            return failRequest(touched.error());
        allowed = *held;
        if (!allowed)
            m_requestError = QStringLiteral("用户 %1 没有功能[%2]的权限").arg(m_userName, taskId);
        return {};
    }
    case TaskEnter: {
        auto blocked = m_locks->enter(taskId, {m_session, m_userId, m_client});
        if (!blocked)
            return failRequest(blocked.error());
        allowed = !blocked->has_value();
        if (!allowed)
            m_requestError = busyText(taskId, **blocked);
        else
            ++m_holders[taskId];
        return {};
    }
    case TaskLeave: {
        // The lock row goes with the last holder: one window closing, or a check that entered and
        // left again, must not give back what another window of this session still holds.
        const int holders = m_holders.value(taskId);
        if (holders > 1)
            m_holders[taskId] = holders - 1;
        else if (auto left = m_locks->leave(taskId, m_session); !left)
            return failRequest(left.error());
        else
            m_holders.remove(taskId);
        if (auto touched = m_locks->touch(m_session); !touched)
            return failRequest(touched.error());
        allowed = true;
        return {};
    }
    default:
        return failRequest(QStringLiteral("无效的功能请求方式：%1").arg(mode));
    }
}

Result<bool> clsLogin::holdsRight(const QString &taskId)
{
    if (m_super)
        return true;
    return exists(*m_cnn, QStringLiteral("SELECT COUNT(*) FROM ua_right WHERE cuser_id = ? AND cauth_id = ?"),
                  {m_userId, taskId});
}

Result<void> clsLogin::heartbeat()
{
    if (!IsLoggedIn())
        return fail(QStringLiteral("尚未登录"));
    return m_locks->touch(m_session);
}

void clsLogin::Logout()
{
    if (m_locks && IsLoggedIn())
        m_locks->leaveAll(m_session); // a failure leaves rows that expire on their own
    m_holders.clear();
    m_locks.reset();
    if (m_cnn)
        m_cnn->Close();
    m_cnn.reset();
}

Result<void> clsLogin::CreateUser(Connection &cnn, const QString &userId, const QString &userName,
                                  const QString &password, bool super)
{
    const QString id = userId.trimmed();
    if (id.isEmpty())
        return fail(QStringLiteral("用户编码不能为空"));
    if (id.size() > 20)
        return fail(QStringLiteral("用户编码不能超过20个字符"));
    if (userName.trimmed().isEmpty())
        return fail(QStringLiteral("用户名称不能为空"));
    if (userName.size() > 40)
        return fail(QStringLiteral("用户名称不能超过40个字符"));

    auto taken = exists(cnn, QStringLiteral("SELECT COUNT(*) FROM ua_user WHERE cuser_id = ?"), {id});
    if (!taken)
        return fail(taken.error());
    if (*taken)
        return fail(QStringLiteral("用户编码[%1]已存在").arg(id));

    auto hashed = PasswordHash::hash(password);
    if (!hashed)
        return fail(hashed.error());
    auto inserted
        = cnn.Execute(QStringLiteral("INSERT INTO ua_user (cuser_id, cuser_name, cpassword, bsuper, bdisabled) "
                                     "VALUES (?, ?, ?, ?, 0)"),
                      {id, userName, *hashed, super ? 1 : 0});
    if (!inserted)
        return fail(inserted.error());
    return {};
}

Result<void> clsLogin::GrantRight(Connection &cnn, const QString &userId, const QString &taskId)
{
    if (taskId.trimmed().isEmpty())
        return fail(QStringLiteral("功能编码不能为空"));
    auto known = exists(cnn, QStringLiteral("SELECT COUNT(*) FROM ua_user WHERE cuser_id = ?"), {userId});
    if (!known)
        return fail(known.error());
    if (!*known)
        return fail(QStringLiteral("用户[%1]不存在").arg(userId));

    auto held = exists(cnn, QStringLiteral("SELECT COUNT(*) FROM ua_right WHERE cuser_id = ? AND cauth_id = ?"),
                       {userId, taskId});
    if (!held)
        return fail(held.error());
    if (*held)
        return {};
    auto inserted
        = cnn.Execute(QStringLiteral("INSERT INTO ua_right (cuser_id, cauth_id) VALUES (?, ?)"), {userId, taskId});
    if (!inserted)
        return fail(inserted.error());
    return {};
}

Result<void> clsLogin::AddExclusion(Connection &cnn, const QString &taskId, const QString &exclusiveId)
{
    if (taskId.trimmed().isEmpty() || exclusiveId.trimmed().isEmpty())
        return fail(QStringLiteral("功能编码不能为空"));
    auto known
        = exists(cnn,
                 QStringLiteral("SELECT COUNT(*) FROM ua_task_exclusive WHERE (cauth_id = ? AND cexclusive_id = ?) "
                                "OR (cauth_id = ? AND cexclusive_id = ?)"),
                 {taskId, exclusiveId, exclusiveId, taskId});
    if (!known)
        return fail(known.error());
    if (*known)
        return {};
    auto inserted = cnn.Execute(QStringLiteral("INSERT INTO ua_task_exclusive (cauth_id, cexclusive_id) VALUES (?, ?)"),
                                {taskId, exclusiveId});
    if (!inserted)
        return fail(inserted.error());
    return {};
}
