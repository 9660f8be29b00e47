#include "modPublic.h"

#include "MessageService.h"

#include "host/CardDataSource.h"
#include "host/CommandBarControl.h"
#include "host/DataSourceControl.h"
#include "host/ReportRunner.h"
#include "host/ToolbarControl.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "platform/MachineRegistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <QtDebug>

#include <functional>

namespace modPublic {

namespace {

struct ProgramState
{
    std::shared_ptr<clsLogin> cardLogin;
    std::shared_ptr<clsLogin> listLogin;
    std::shared_ptr<Connection> listConnection;
    QString helpFilePath;
    std::shared_ptr<CardDataSource> dataSource; // one for every card of the process
};

ProgramState &state()
{
    static ProgramState s;
    return s;
}

QString noRightText()
{
    return QStringLiteral("您没有这个权限！");
}

// How a check hands a refusal to the user: a box, an information message or the out-parameter.
using Deliver = std::function<void(const QString &text, bool busy)>;

bool sessionFailed(clsLogin &login, const QString &why, const QString &location)
{
    login.FinishRequest();
    ShowErrMsg(DatabaseErrorNumber, why, location);
    return false;
}

bool checkTask(const std::shared_ptr<clsLogin> &login, const QString &taskId, bool release, const Deliver &deliver,
               const QString &location)
{
    bool allowed = false;
    if (release) {
        // Giving a function back cannot be refused; a lock that could not be deleted expires on its
        // own, so a window that closes after its session ended says nothing.
        if (!login)
            return true;
        if (auto left = login->RequestTask(taskId, clsLogin::TaskLeave, QString(), allowed); !left)
            qWarning().noquote() << "giving back function" << taskId << "failed:" << left.error();
        login->FinishRequest();
        return true;
    }
    if (!login) {
        ShowErrMsg(MissingObjectErrorNumber, QStringLiteral("没有登录对象"), location);
        return false;
    }

    if (auto checked = login->RequestTask(taskId, clsLogin::TaskCheck, QString(), allowed); !checked)
        return sessionFailed(*login, checked.error(), location);
    if (!allowed) {
        deliver(noRightText(), false);
        login->FinishRequest();
        return false;
    }
    login->FinishRequest();

    if (auto entered = login->RequestTask(taskId, clsLogin::TaskEnter, QString(), allowed); !entered)
        return sessionFailed(*login, entered.error(), location);
    if (!allowed)
        deliver(QStringLiteral("功能互斥：\r\n") + login->GetRequestError(), true);
    login->FinishRequest();
    return allowed;
}

Deliver intoMessage(QString &message)
{
    return [&message](const QString &text, bool) {
        message = text;
    };
}

} // namespace

void setCardLogin(std::shared_ptr<clsLogin> login)
{
    state().cardLogin = std::move(login);
}

std::shared_ptr<clsLogin> cardLogin()
{
    return state().cardLogin;
}

void setListLogin(std::shared_ptr<clsLogin> login)
{
    state().listLogin = std::move(login);
}

std::shared_ptr<clsLogin> listLogin()
{
    return state().listLogin;
}

void setListConnection(std::shared_ptr<Connection> cnn)
{
    state().listConnection = std::move(cnn);
}

std::shared_ptr<Connection> listConnection()
{
    return state().listConnection;
}

void setAppHelpFilePath(const QString &path)
{
    state().helpFilePath = path;
}

QString AppHelpFilePath()
{
    return state().helpFilePath;
}

void clearProgramState()
{
    state() = ProgramState();
}

bool CheckAuth(const QString &taskId, bool release)
{
    return checkTask(
        cardLogin(), taskId, release,
        [](const QString &text, bool busy) {
            if (busy) // the session's explanation needs no icon; the title is the default
                MessageService::current().show(text, QString(), MessageService::NoIcon);
            else
                MessageService::current().show(text, QStringLiteral("销售管理"), MessageService::Exclamation);
        },
        QStringLiteral("modPublic:CheckAuth"));
}

bool CheckAuthMsg(const QString &taskId, bool release, QString &message)
{
    return checkTask(cardLogin(), taskId, release, intoMessage(message), QStringLiteral("modPublic:CheckAuthMsg"));
}

bool CheckListAuth(const QString &taskId, bool release)
{
    return checkTask(
        listLogin(), taskId, release, [](const QString &text, bool) { ShowInfo(text); },
        QStringLiteral("modPublic:CheckListAuth"));
}

bool CheckListAuthMsg(const QString &taskId, bool release, QString &message)
{
    return checkTask(listLogin(), taskId, release, intoMessage(message), QStringLiteral("modPublic:CheckListAuthMsg"));
}

bool HoldsCardRight(const QString &taskId)
{
    const auto login = cardLogin();
    if (!login)
        return false;
    bool allowed = false;
    const auto checked = login->RequestTask(taskId, clsLogin::TaskCheck, QString(), allowed);
    login->FinishRequest();
    return checked && allowed;
}

QString ErrorMessageText(int number, const QString &description, const QString &location)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("错误号: ") + crlf + QStringLiteral("    ") + QString::number(number) + crlf + crlf
                   + QStringLiteral("错误信息: ") + crlf + QStringLiteral("    ") + description;
    if (!location.isEmpty())
        text += crlf + crlf + QStringLiteral("(错误发生于 ") + location + QStringLiteral(" 代码段)");
    return text;
}

QString ErrorLogPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/error.log");
}

void ShowErrMsg(int number, const QString &description, const QString &location)
{
    // Where it happened is for whoever reads the log; the user gets the number and what went wrong.
    QFile log(ErrorLogPath());
    QDir().mkpath(QFileInfo(log).absolutePath());
    if (log.open(QIODevice::Append | QIODevice::Text)) {
        QTextStream(&log) << QDateTime::currentDateTime().toString(Qt::ISODate) << ' ' << number << ' ' << location
                          << ": " << description << '\n';
    } else {
        qWarning().noquote() << "error" << number << location << description;
    }
    MessageService::current().show(ErrorMessageText(number, description, QString()), QStringLiteral("错误捕获"),
                                   MessageService::Exclamation);
}

void ShowInfo(const QString &text)
{
    MessageService::current().show(text, QStringLiteral("系统提示"), MessageService::Information);
}

int GetToolbarStyle()
{
    const auto value = MachineRegistry::readString(QStringLiteral("SOFTWARE\\Vestral\\WF\\V8.520\\Appearance"),
                                                   QStringLiteral("Toolbar Style"));
    if (!value)
        return 1;
    // Only the first character counts, and only an upper-case T ("True").
    return value->startsWith(QLatin1Char('T')) ? 1 : 2;
}

void ApplyToolbarStyle(int windowInnerWidth, ToolbarControl &toolbar, CommandBarControl &commandBar)
{
    if (GetToolbarStyle() == 2) {
        toolbar.setShown(true);
        toolbar.bringToFront();
        commandBar.setShown(false);
        return;
    }
    commandBar.SetToolbar(toolbar);
    commandBar.SetDisplayStyle(1);
    const QRect where = toolbar.placement();
    toolbar.setShown(false);
    commandBar.setShown(true);
    commandBar.place(QRect(where.left(), where.top(), windowInnerWidth, where.height()));
}

void PrintVoucher(const QString &voucherId, const QString &mode, const QString &connectionString)
{
    const auto login = cardLogin();
    if (!login) {
        ShowErrMsg(MissingObjectErrorNumber, QStringLiteral("没有登录对象"), QStringLiteral("modPublic:PrintVoucher"));
        return;
    }
    ReportRunner::current().ReportExec(connectionString, login->SessionValue(), CardNumber(), voucherId, mode,
                                       login->AccountId(), login->ReportValue(), QStringLiteral("AllowPrint=True"));
}

QVariant NullToValue(const QVariant &value, const QVariant &replacement)
{
    return value.isNull() ? replacement : value;
}

void SetCardDataSource(DataSourceControl &control)
{
    auto &source = state().dataSource;
    if (!source) {
        source = ObjectRegistry::createAs<CardDataSource>(CardDataSource::progId());
        if (!source) {
            ShowErrMsg(MissingObjectErrorNumber, QStringLiteral("无法创建对象 %1").arg(CardDataSource::progId()),
                       QStringLiteral("modPublic:SetCardDataSource"));
            return;
        }
    }
    source->SetLogin(cardLogin());
    control.setDataSource(source);
}

} // namespace modPublic
