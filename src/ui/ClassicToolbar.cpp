#include "ClassicToolbar.h"

#include <QAction>

ClassicToolbar::ClassicToolbar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
}

QAction *ClassicToolbar::button(const QString &key) const
{
    const QList<QAction *> all = actions();
    for (QAction *a : all) {
        if (a->objectName().compare(key, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}

void ClassicToolbar::setButtonEnabled(const QString &key, bool enabled)
{
    if (QAction *a = button(key))
        a->setEnabled(enabled);
}

void ClassicToolbar::setButtonVisible(const QString &key, bool visible)
{
    if (QAction *a = button(key))
        a->setVisible(visible);
}

bool ClassicToolbar::isButtonEnabled(const QString &key) const
{
    const QAction *a = button(key);
    return a && a->isEnabled();
}

void ClassicToolbar::setButtonToolTip(const QString &key, const QString &toolTip)
{
    if (QAction *a = button(key))
        a->setToolTip(toolTip);
}
