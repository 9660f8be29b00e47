#include "modPublic.h"

#include "MessageService.h"

namespace modPublic {

QString ErrorMessageText(int number, const QString &description, const QString &location)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("错误号: ") + crlf + QStringLiteral("    ") + QString::number(number) + crlf + crlf
                   + QStringLiteral("错误信息: ") + crlf + QStringLiteral("    ") + description;
    if (!location.isEmpty())
        text += crlf + crlf + QStringLiteral("(错误发生于 ") + location + QStringLiteral(" 代码段)");
    return text;
}

void ShowErrMsg(int number, const QString &description, const QString &location)
{
    MessageService::current().show(ErrorMessageText(number, description, location), QStringLiteral("错误捕获"),
                                   MessageService::Exclamation);
}

void ShowInfo(const QString &text)
{
    MessageService::current().show(text, QStringLiteral("系统提示"), MessageService::Information);
}

} // namespace modPublic
