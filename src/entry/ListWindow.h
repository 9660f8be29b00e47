#pragma once

#include "ManagedWindow.h"

class clsVL_JDYPGLParam;

// The voucher list window as its entry object sees it (frmVL_JDYPGL). It reads the list session
// and the list connection that the entry object set in modPublic.
class ListWindow : public ManagedWindow
{
public:
    static QString name() { return QStringLiteral("frmVL_JDYPGL"); }
    QString formName() const override { return name(); }

    // Checks the list right, queries and shows the list; false (and unloaded) when it is not shown.
    virtual bool ShowVoucherList(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter) = 0;
    // The same; a refused right stops it only when bCheckAuth is true.
    virtual bool ShowVoucherListEx(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter, bool bCheckAuth) = 0;

    // The menu whose lists each open in a window of their own; see ActivateOpenList.
    static QString multiWindowMenuId() { return QStringLiteral("1801001"); }
    // Before a list opens for menuId: for any menu but multiWindowMenuId(), an open list window is
    // shown and brought to the front instead, and the answer is true.
    static bool ActivateOpenList(const QString &menuId);
};
