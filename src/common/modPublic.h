#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class CommandBarControl;
class Connection;
class DataSourceControl;
class ToolbarControl;
class clsLogin;

// What every window of the module shares: the program-wide sessions, the permission checks of
// task identifiers, the fixed layout of a trapped run-time error, the information box, the toolbar
// style, the report runner call and the card control's data source.
//
// Everything runs on the user-interface thread; nothing here is guarded for other threads.
namespace modPublic {

// Error number used for failures reported by the database (the driver gives no number of its own).
constexpr int DatabaseErrorNumber = -2147217900;
// Error number of a call that needs an object (a session, a data source) that is not there.
constexpr int MissingObjectErrorNumber = 91;

// The sample voucher's card number.
inline QString CardNumber()
{
    return QStringLiteral("1801");
}

// Program-wide values, set by the entry objects before a window opens and never cleared by the
// windows. The card session serves the card's checks and printing, the list session the list's.
void setCardLogin(std::shared_ptr<clsLogin> login);
std::shared_ptr<clsLogin> cardLogin();
void setListLogin(std::shared_ptr<clsLogin> login);
std::shared_ptr<clsLogin> listLogin();
// The list windows' database connection, opened by the list entry object; nullptr until then.
void setListConnection(std::shared_ptr<Connection> cnn);
std::shared_ptr<Connection> listConnection();
// The application's help file, one value for the card and the list entry objects.
void setAppHelpFilePath(const QString &path);
QString AppHelpFilePath();
// Drops the sessions, the list connection and the card data source, so that they close while the
// application still runs (shut-down, tests).
void clearProgramState();

// Permission checks of a task identifier ("SA03250101").
//
// With `release` true the function is given back (request mode 0) and the answer is true, whatever
// the session says; nothing is shown. Otherwise the user's right is checked (mode 1); a user who
// holds it then enters the function (mode -1), which the session refuses while a function that
// excludes it is in use ("功能互斥：" + CRLF + the session's explanation). An entered function stays
// entered until the same window releases it, normally when it unloads. Every request is followed
// by FinishRequest.
//
// CheckAuth and CheckAuthMsg use the card session, the List variants the list session. CheckAuth
// shows a refusal in a message box, CheckListAuth as information; the Msg variants put it into
// `message` and show nothing (`message` is left alone when the answer is true). A session that is
// missing or fails is reported with ShowErrMsg and answered with false.
bool CheckAuth(const QString &taskId, bool release);
bool CheckAuthMsg(const QString &taskId, bool release, QString &message);
bool CheckListAuth(const QString &taskId, bool release);
bool CheckListAuthMsg(const QString &taskId, bool release, QString &message);
// Whether the card session's user holds the right to a task, asked without entering it and without
// showing anything; false without a session or when the session cannot answer.
bool HoldsCardRight(const QString &taskId);

// The text of the error box: number, description and, when given, where it happened.
QString ErrorMessageText(int number, const QString &description, const QString &location);
// Shows a trapped run-time error: exclamation icon, OK button, title "错误捕获". `location` is the
// module or window, a colon and the routine ("clsVoucherCo:GetVoucherData"); it is written with
// the error to the error log (ErrorLogPath) and not shown: it means nothing to the user.
void ShowErrMsg(int number, const QString &description, const QString &location);
// The file trapped errors are appended to, in the user's data folder.
QString ErrorLogPath();
// Information message, title "系统提示".
void ShowInfo(const QString &text);

// The machine's choice between the host command bar (1) and the classic toolbar (2): the value
// "Toolbar Style" of the machine settings (MachineRegistry). A value starting with "T" ("True")
// chooses 1, any other value (also an empty one) 2; when the settings, the key or the value cannot
// be read the answer is 1.
int GetToolbarStyle();
// Shows the bar GetToolbarStyle chooses and hides the other. The command bar takes over the
// toolbar's buttons and its place, across the window's inner width.
void ApplyToolbarStyle(int windowInnerWidth, ToolbarControl &toolbar, CommandBarControl &commandBar);

// Runs the installed ReportRunner for a sample voucher: mode "print", "preview" or "design",
// with the card session's values. The runner's answer is ignored.
void PrintVoucher(const QString &voucherId, const QString &mode, const QString &connectionString);

// `replacement` when `value` is null (a database NULL or an empty QVariant), else `value`. Empty
// text is not null.
QVariant NullToValue(const QVariant &value, const QVariant &replacement);

// Gives the card control the process's lookup data source, created on first use by its program
// identifier, after handing it the card session.
void SetCardDataSource(DataSourceControl &control);

} // namespace modPublic
