#pragma once

#include <QString>

// How the system shows a message box and asks a question. The logic layers only report through
// this interface; the application installs one built on Qt message boxes, tests install a scripted
// fake. Questions are answered synchronously, as a modal box is.
class MessageService
{
public:
    enum Icon { NoIcon, Information, Exclamation, Critical, Question };
    enum Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum Answer { AnswerOk, AnswerCancel, AnswerYes, AnswerNo };

    virtual ~MessageService() = default;

    // Shows text with a title; an empty title means the application's default title.
    virtual Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons = Ok) = 0;
    // Shows text in the modal message window (frmMsg): a read-only text box that can be scrolled
    // and copied from, for messages too long for a box. By default a plain box with an OK button.
    virtual void showWindow(const QString &text, const QString &caption) { show(text, caption, NoIcon, Ok); }

    // The service in use. Without an installed one, messages go to the log and questions are
    // answered with their first button (Ok / Yes).
    static MessageService &current();
    // Installs a service (not owned; the caller keeps it alive while installed). nullptr restores
    // the logging default.
    static void install(MessageService *service);
};
