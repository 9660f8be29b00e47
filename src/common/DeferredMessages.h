#pragma once

#include "MessageService.h"

#include <QList>

// Holds back the message boxes of an action that runs inside a database transaction, so that no
// box is open while the transaction and its locks are held (every other user's writer would wait
// on the box). Installed as the current message service for its lifetime; release() shows what was
// held back, in order, on the service that was current before; discard() drops it (the texts of a
// failure the caller reports in its own words). Destruction releases what is still held.
//
// Only plain boxes (an OK button) are held back and answered OK. A question is passed on at once:
// nothing may ask the user inside a transaction, and passing it on keeps such a fault visible.
class DeferredMessages final : public MessageService
{
public:
    DeferredMessages();
    ~DeferredMessages() override;
    DeferredMessages(const DeferredMessages &) = delete;
    DeferredMessages &operator=(const DeferredMessages &) = delete;

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    void showWindow(const QString &text, const QString &caption) override;

    void release();
    void discard();

private:
    struct Held
    {
        QString text;
        QString title;
        Icon icon;
        bool window;
    };

    void uninstall();

    MessageService *m_previous;
    QList<Held> m_held;
    bool m_installed = true;
};
