#pragma once

#include "common/MessageService.h"
#include "platform/Connection.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

// Records every message and answers questions from a script (Yes/Ok when the script is empty).
// Installed for its lifetime. A box that opens while a watched connection is inside a transaction
// fails the test: every other user's writer would wait on it.
class FakeMessageService final : public MessageService
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons = Ok;
        bool window = false; // shown in the message window (frmMsg), not in a box
    };

    FakeMessageService() { install(this); }
    ~FakeMessageService() override { install(nullptr); }

    // The connection must outlive the messages shown while it is watched.
    void watch(const Connection &cnn) { m_watched.append(&cnn); }
    void stopWatching() { m_watched.clear(); }

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        checkNoTransaction(text);
        shown.append({text, title, icon, buttons});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == YesNo || buttons == YesNoCancel ? AnswerYes : AnswerOk;
    }

    void showWindow(const QString &text, const QString &caption) override
    {
        checkNoTransaction(text);
        shown.append({text, caption, NoIcon, Ok, true});
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : shown)
            out << s.text;
        return out;
    }

    QList<Shown> shown;
    QList<Answer> answers;

private:
    void checkNoTransaction(const QString &text) const
    {
        for (const Connection *cnn : m_watched) {
            if (cnn->inTransaction())
                ADD_FAILURE() << "a message box opened inside a transaction: " << text.toStdString();
        }
    }

    QList<const Connection *> m_watched;
};
