#include "ListWindow.h"

#include "WindowManager.h"

bool ListWindow::ActivateOpenList(const QString &menuId)
{
    if (menuId == multiWindowMenuId())
        return false;
    const auto open = WindowManager::find(name());
    if (!open)
        return false;
    open->Show();
    open->ZOrder(0);
    return true;
}
