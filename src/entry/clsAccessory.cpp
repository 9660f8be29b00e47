#include "clsAccessory.h"

#include "WindowManager.h"

#include "common/modPublic.h"

QVariant clsAccessory::ShowFrmAccessory(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> conn_IsOpen,
                                        ManagedWindow *frmOwner)
{
    auto window = WindowManager::newAccessory();
    if (!window) {
        modPublic::ShowErrMsg(modPublic::MissingObjectErrorNumber, QStringLiteral("无法创建附件窗口"),
                              QStringLiteral("clsAccessory:ShowFrmAccessory"));
        return {};
    }
    window->ShowModal(fType, iAutoID, std::move(conn_IsOpen), frmOwner);
    return {};
}
