#pragma once

#include "common/MessageService.h"

class QWidget;

// Message boxes on Qt: the application's MessageService. Boxes are modal to the active window.
class QtMessageService final : public MessageService
{
public:
    Answer show(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    // The message window (MessageWindow), modal to the active window.
    void showWindow(const QString &text, const QString &caption) override;
};
