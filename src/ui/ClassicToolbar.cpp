#include "ClassicToolbar.h"

ClassicToolbar::ClassicToolbar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
}
