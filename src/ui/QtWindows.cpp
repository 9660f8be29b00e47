#include "QtWindows.h"

#include "BrowseWindow.h"

#include "card/frmManageSample.h"
#include "entry/WindowManager.h"

#include <QCoreApplication>
#include <QEvent>

void registerQtWindows()
{
    WindowManager::setCardFactory([] {
        // The view may be released from inside one of its own event handlers (the user closing the
        // window), so it is deleted once control is back in the event loop.
        std::shared_ptr<BrowseWindow> view(new BrowseWindow, [](BrowseWindow *window) { window->deleteLater(); });
        return std::make_shared<frmManageSample>(view);
    });
}

void unloadQtWindows()
{
    WindowManager::unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
