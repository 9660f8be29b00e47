#include "QtWindows.h"

#include "AccessoryDialog.h"
#include "QtReportRunner.h"
#include "ReferenceDialog.h"
#include "SampleCardWindow.h"
#include "VoucherListWindow.h"

#include "attachments/frmAccessory.h"
#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "list/frmVL_JDYPGL.h"

#include <QCoreApplication>
#include <QEvent>

void registerQtWindows()
{
    ReferenceDialog::installShared();
    QtReportRunner::installShared();
    WindowManager::setCardFactory([] {
        // The view may be released from inside one of its own event handlers (the user closing the
        // window), so it is deleted once control is back in the event loop.
        std::shared_ptr<SampleCardWindow> view(new SampleCardWindow,
                                               [](SampleCardWindow *window) { window->deleteLater(); });
        return std::make_shared<frmManageSample>(view);
    });
    WindowManager::setAccessoryFactory([] {
        std::shared_ptr<AccessoryDialog> view(new AccessoryDialog,
                                              [](AccessoryDialog *dialog) { dialog->deleteLater(); });
        return std::make_shared<frmAccessory>(view);
    });
    WindowManager::setListFactory([] {
        std::shared_ptr<VoucherListWindow> view(new VoucherListWindow,
                                                [](VoucherListWindow *window) { window->deleteLater(); });
        auto list = std::make_shared<frmVL_JDYPGL>(view);
        view->setList(list.get());
        return list;
    });
}

void unloadQtWindows()
{
    WindowManager::unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
