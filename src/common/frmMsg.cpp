#include "frmMsg.h"

#include "MessageService.h"

void frmMsg::ShowMsg(const QString &text, const QString &caption)
{
    MessageService::current().showWindow(text, caption);
}
