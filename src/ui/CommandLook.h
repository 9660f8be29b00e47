#pragma once

#include <QKeySequence>
#include <QList>
#include <QStyle>

class QAction;

// How a window's command looks: its key, the standard icon and its shortcuts (the first one is
// named in the tooltip). Each window keeps its own table; finding and applying is shared.
struct CommandLook
{
    const char *key;
    QStyle::StandardPixmap icon;
    QList<QKeySequence> keys;
};

// The look of `key` among `looks`, letter case ignored; null when it has none.
const CommandLook *findLook(const QList<CommandLook> &looks, const QString &key);
// Gives the action the look's icon and shortcuts, and the tooltip "caption (shortcut)". A null look
// leaves the action as it is.
void applyLook(QAction *action, const CommandLook *look, const QString &caption);
