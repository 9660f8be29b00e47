#pragma once

#include <QRect>
#include <QtGlobal>
#include <QString>

// A window's classic toolbar, as the window logic sees it. Shown instead of the host command bar
// when the machine's toolbar style asks for it (modPublic::ApplyToolbarStyle).
class ToolbarControl
{
public:
    virtual ~ToolbarControl() = default;
    virtual void setShown(bool shown) = 0;
    // Puts the toolbar in front of whatever overlaps it.
    virtual void bringToFront() = 0;
    // Where the toolbar sits inside its window.
    virtual QRect placement() const = 0;

    // The buttons, by key (letter case ignored). A key the toolbar has no button for is ignored
    // when set and reads as disabled.
    virtual void setButtonEnabled(const QString &key, bool enabled) = 0;
    virtual void setButtonVisible(const QString &key, bool visible) = 0;
    virtual bool isButtonEnabled(const QString &key) const = 0;
    // The hint a button shows when the pointer rests on it; a toolbar without hints ignores it.
    virtual void setButtonToolTip(const QString &key, const QString &toolTip)
    {
        Q_UNUSED(key)
        Q_UNUSED(toolTip)
    }
};
