#pragma once

#include "ManagedWindow.h"
#include "sFileType.h"

class Connection;

// The attachment window of a voucher as its entry object sees it (frmAccessory).
class AccessoryWindow : public ManagedWindow
{
public:
    static QString name() { return QStringLiteral("frmAccessory"); }
    QString formName() const override { return name(); }

    // Shows the picture or the annex files of voucher iAutoID, read from and written to `cnn`,
    // modally over `owner` (nullptr: over the active window); returns when the window is closed.
    virtual void ShowModal(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn, ManagedWindow *owner) = 0;
};
