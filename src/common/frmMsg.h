#pragma once

#include <QString>

// The modal message window: a text box holding the message and one button "确定" that closes the
// window. Shown through the message service, so tests see it like every other message.
class frmMsg
{
public:
    // Shows text with the window caption and returns when the user has closed the window.
    static void ShowMsg(const QString &text, const QString &caption);
};
