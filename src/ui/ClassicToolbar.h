#pragma once

#include "host/ToolbarControl.h"

#include <QToolBar>

// A window's classic toolbar (object name "Toolbar1"): small icons with their captions beside them.
// Its actions are the window's commands; the command bar shows the same actions when the toolbar
// style chooses it.
class ClassicToolbar : public QToolBar, public ToolbarControl
{
    Q_OBJECT

public:
    explicit ClassicToolbar(const QString &title, QWidget *parent = nullptr);

    void setShown(bool shown) override { setVisible(shown); }
    void bringToFront() override { raise(); }
    QRect placement() const override { return geometry(); }

    // Buttons are the toolbar's actions, found by their object name (the command key).
    void setButtonEnabled(const QString &key, bool enabled) override;
    void setButtonVisible(const QString &key, bool visible) override;
    bool isButtonEnabled(const QString &key) const override;
    void setButtonToolTip(const QString &key, const QString &toolTip) override;

private:
    QAction *button(const QString &key) const;
};
