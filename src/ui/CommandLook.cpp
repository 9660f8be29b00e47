#include "CommandLook.h"

#include <QAction>
#include <QApplication>

const CommandLook *findLook(const QList<CommandLook> &looks, const QString &key)
{
    for (const CommandLook &look : looks) {
        if (key.compare(QLatin1String(look.key), Qt::CaseInsensitive) == 0)
            return &look;
    }
    return nullptr;
}

void applyLook(QAction *action, const CommandLook *look, const QString &caption)
{
    if (!look)
        return;
    action->setIcon(QApplication::style()->standardIcon(look->icon));
    if (look->keys.isEmpty())
        return;
    action->setShortcuts(look->keys);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(caption, look->keys.first().toString(QKeySequence::NativeText)));
}
