#pragma once

#include "host/ObjectRegistry.h"

#include <memory>

class ListWindow;
class clsLogin;
class clsVL_JDYPGLParam;

// Entry object of the voucher list ("Orvane.clsVL_JDYPGLMain"). The host, and the card's locate
// command, open the list through it.
class clsVL_JDYPGLMain : public RegisteredObject
{
public:
    // Opens the list of card strCardNum for the session: the session becomes the list session, the
    // list connection is (re)opened with its connection string and a new list window is shown with
    // objShowParameter (a new parameter when none is given). When a list window is already open for
    // the parameter's menu (ListWindow::ActivateOpenList), that one comes to the front instead.
    // Errors are shown through ShowErrMsg.
    void ShowVoucherList(std::shared_ptr<clsLogin> K7clsLogin, const QString &strCardNum,
                         std::shared_ptr<clsVL_JDYPGLParam> objShowParameter = nullptr);
    // The same; with bCheckAuth false the list opens even when the list right is refused.
    void ShowVoucherListEx(std::shared_ptr<clsLogin> K7clsLogin, const QString &strCardNum,
                           std::shared_ptr<clsVL_JDYPGLParam> objShowParameter = nullptr, bool bCheckAuth = false);

    // The help file of the module, shared with the card entry object.
    QString AppHelpFilePath() const;
    void setAppHelpFilePath(const QString &path);

private:
    using Show = bool (*)(ListWindow &window, std::shared_ptr<clsVL_JDYPGLParam> param, bool bCheckAuth);
    void open(std::shared_ptr<clsLogin> login, const QString &cardNumber, std::shared_ptr<clsVL_JDYPGLParam> param,
              Show show, bool bCheckAuth);
};
