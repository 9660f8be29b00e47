#include "MessageService.h"

#include "platform/InstalledService.h"

#include <QtDebug>

namespace {

class LoggingMessageService final : public MessageService
{
public:
    Answer show(const QString &text, const QString &title, Icon, Buttons buttons) override
    {
        qWarning().noquote() << title << ':' << text;
        return buttons == YesNo || buttons == YesNoCancel ? AnswerYes : AnswerOk;
    }
};

LoggingMessageService g_logging;
InstalledService<MessageService> g_service(g_logging);

} // namespace

MessageService &MessageService::current()
{
    return g_service.current();
}

void MessageService::install(MessageService *service)
{
    g_service.install(service);
}
