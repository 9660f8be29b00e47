#include "MessageService.h"

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
MessageService *g_current = nullptr;

} // namespace

MessageService &MessageService::current()
{
    return g_current ? *g_current : g_logging;
}

void MessageService::install(MessageService *service)
{
    g_current = service;
}
