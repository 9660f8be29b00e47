#include "CommandBar.h"

#include "host/ToolbarControl.h"

#include <QMainWindow>

CommandBar::CommandBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    setObjectName(QStringLiteral("CTBCtrl1"));
    setMovable(false);
    hide(); // until the toolbar style chooses it
}

void CommandBar::SetToolbar(ToolbarControl &toolbar)
{
    clear();
    m_toolbar = dynamic_cast<QToolBar *>(&toolbar);
    if (m_toolbar)
        addActions(m_toolbar->actions());
}

void CommandBar::SetDisplayStyle(int style)
{
    if (style == 1) {
        setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setIconSize(QSize(24, 24));
    } else {
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setIconSize(QSize(16, 16));
    }
}

void CommandBar::place(const QRect &geometry)
{
    auto *window = qobject_cast<QMainWindow *>(parentWidget());
    if (window && m_toolbar && window->toolBarArea(m_toolbar) != Qt::NoToolBarArea) {
        window->insertToolBar(m_toolbar, this);
        return;
    }
    setGeometry(geometry);
}

void CommandBar::SynchronizeToolbar()
{
    if (m_toolbar && actions() != m_toolbar->actions()) {
        clear();
        addActions(m_toolbar->actions());
    }
}
