#pragma once

#include "host/DataSourceControl.h"

#include <QString>

class CardControl;
class CardStructureTree;
class CommandBarControl;
class TemplateComboControl;
class ToolbarControl;
class frmManageSample;

// The sample voucher card window's view: the window itself (caption, showing, window order,
// closing), the card control, the structure tree, the two template choosers and the two bars
// between which the toolbar style chooses. The Qt window implements it; tests fake it.
class CardView : public DataSourceControl
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

    virtual CardControl &cardControl() = 0;
    virtual CardStructureTree &structureTree() = 0;
    // The display template's chooser (ComTemplateShow) and the print template's (ComTemplatePRN).
    virtual TemplateComboControl &showTemplate() = 0;
    virtual TemplateComboControl &printTemplate() = 0;

    // A short line in the window's status bar saying what just happened ("保存成功 …", "已删除").
    virtual void showStatus(const QString &text) = 0;
    virtual void beep() = 0;
    // Opens the window's help topic.
    virtual void showHelp() = 0;
};
