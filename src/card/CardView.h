#pragma once

#include "BrowseView.h"

#include "host/DataSourceControl.h"

class CommandBarControl;
class ToolbarControl;
class frmManageSample;

// The sample voucher card window's view: the browsing card, the window itself (caption, showing,
// window order, closing) and the two bars between which the toolbar style chooses. The Qt window
// implements it; tests fake it.
class CardView : public BrowseView, public DataSourceControl
{
public:
    // Where the view sends the user's commands and the closing of the window; nullptr detaches
    // the view (the card has unloaded).
    virtual void setCard(frmManageSample *card) = 0;
    // The window caption and the title above the card.
    virtual void setCaption(const QString &caption) = 0;
    virtual void showWindow() = 0;
    virtual bool isWindowVisible() const = 0;
    // 0 brings the window in front of all others; anything else puts it behind them.
    virtual void setZOrder(int position) = 0;
    // Closes the window for good; called when the card unloads.
    virtual void closeWindow() = 0;

    virtual ToolbarControl &toolbar() = 0;
    virtual CommandBarControl &commandBar() = 0;
    // Width of the window's inside, across which the command bar spans.
    virtual int innerWidth() const = 0;
};
