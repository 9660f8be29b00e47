#include "ManagedWindow.h"

#include "WindowManager.h"

void ManagedWindow::Unload()
{
    if (!m_loaded)
        return;
    // The manager may hold the last reference; keep the window alive until this call returns.
    const auto self = weak_from_this().lock();
    m_loaded = false;
    unloading();
    WindowManager::forget(this);
}
