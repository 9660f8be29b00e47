#include "DeferredMessages.h"

#include <utility>

DeferredMessages::DeferredMessages()
    : m_previous(&MessageService::current())
{
    MessageService::install(this);
}

DeferredMessages::~DeferredMessages()
{
    release();
}

MessageService::Answer DeferredMessages::show(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    if (buttons != Ok)
        return m_previous->show(text, title, icon, buttons);
    m_held.append({text, title, icon, false});
    return AnswerOk;
}

void DeferredMessages::showWindow(const QString &text, const QString &caption)
{
    m_held.append({text, caption, NoIcon, true});
}

void DeferredMessages::release()
{
    uninstall();
    const QList<Held> held = std::exchange(m_held, {});
    for (const Held &message : held) {
        if (message.window)
            m_previous->showWindow(message.text, message.title);
        else
            m_previous->show(message.text, message.title, message.icon, Ok);
    }
}

void DeferredMessages::discard()
{
    uninstall();
    m_held.clear();
}

void DeferredMessages::uninstall()
{
    if (!m_installed)
        return;
    m_installed = false;
    MessageService::install(m_previous);
}
