#pragma once

#include "sFileType.h"

#include "host/ObjectRegistry.h"

#include <QVariant>

#include <memory>

class Connection;
class ManagedWindow;

// Entry object of the attachment window ("Orvane.clsAccessory"); the card opens a voucher's
// picture or annex files through it.
class clsAccessory : public RegisteredObject
{
public:
    // Shows the attachment window for voucher iAutoID on the open connection conn_IsOpen, modally
    // over frmOwner, and returns when it is closed. Answers an empty variant.
    QVariant ShowFrmAccessory(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> conn_IsOpen,
                              ManagedWindow *frmOwner);
};
