#pragma once

#include "host/CommandBarControl.h"

#include <QPointer>
#include <QToolBar>

// The suite's command bar (object name "CTBCtrl1"): shows the actions of a classic toolbar in the
// suite's look, large icons with their captions below. The actions are shared, so a command runs
// the same from either bar and follows the same enabled state.
class CommandBar : public QToolBar, public CommandBarControl
{
    Q_OBJECT

public:
    explicit CommandBar(const QString &title, QWidget *parent = nullptr);

    // Takes over the actions of `toolbar`, which must be a QToolBar; any other control leaves the
    // bar empty.
    void SetToolbar(ToolbarControl &toolbar) override;
    void SetDisplayStyle(int style) override;
    void setShown(bool shown) override { setVisible(shown); }
    // In a main window the bar takes the toolbar's place in its toolbar area, which already spans
    // the window; elsewhere it takes the geometry given.
    void place(const QRect &geometry) override;
    // The actions are the toolbar's own, so their states need no copying; only new or removed
    // buttons are taken over.
    void SynchronizeToolbar() override;
    void RefreshBar() override { update(); }

private:
    QPointer<QToolBar> m_toolbar;
};
