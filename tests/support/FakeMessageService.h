#pragma once

#include "common/MessageService.h"

#include <QList>
#include <QStringList>

// Records every message and answers questions from a script (Yes/Ok when the script is empty).
// Installed for its lifetime.
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

    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        shown.append({text, title, icon, buttons});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == YesNo || buttons == YesNoCancel ? AnswerYes : AnswerOk;
    }

    void showWindow(const QString &text, const QString &caption) override
    {
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
};
