#pragma once

#include <QString>

// Shared messages of every window: the fixed layout of a trapped run-time error and the
// information box.
namespace modPublic {

// Error number used for failures reported by the database (the driver gives no number of its own).
constexpr int DatabaseErrorNumber = -2147217900;

// The text of the error box: number, description and, when given, where it happened.
QString ErrorMessageText(int number, const QString &description, const QString &location);

// Shows a trapped run-time error: exclamation icon, OK button, title "错误捕获".
void ShowErrMsg(int number, const QString &description, const QString &location);

// Information message, title "系统提示".
void ShowInfo(const QString &text);

} // namespace modPublic
