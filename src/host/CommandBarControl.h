#pragma once

#include <QRect>

class ToolbarControl;

// The host's command bar, as the window logic sees it: it takes over the buttons of a classic
// toolbar and shows them in the suite's own look. Members are added as callers need them.
class CommandBarControl
{
public:
    virtual ~CommandBarControl() = default;
    // Takes over the buttons of `toolbar`: pressing one runs the same command as on the toolbar.
    virtual void SetToolbar(ToolbarControl &toolbar) = 0;
    // 1 is the suite's standard look (large icons with their captions below).
    virtual void SetDisplayStyle(int style) = 0;
    virtual void setShown(bool shown) = 0;
    // Places the bar inside its window.
    virtual void place(const QRect &geometry) = 0;
    // Takes the enabled and visible states of the toolbar's buttons over again; called after every
    // change of button states.
    virtual void SynchronizeToolbar() = 0;
    // Lays the bar out again after a synchronisation; needed in the standard look (style 1).
    virtual void RefreshBar() = 0;
};
