#include "clsVL_JDYPGLMain.h"

#include "WindowManager.h"
#include "clsVL_JDYPGLParam.h"

#include "common/modPublic.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"

namespace {

QString location()
{
    return QStringLiteral("clsZLGL:ShowVoucher");
}

} // namespace

void clsVL_JDYPGLMain::ShowVoucherList(std::shared_ptr<clsLogin> K7clsLogin, const QString &strCardNum,
                                       std::shared_ptr<clsVL_JDYPGLParam> objShowParameter)
{
    open(
        std::move(K7clsLogin), strCardNum, std::move(objShowParameter),
        [](ListWindow &window, std::shared_ptr<clsVL_JDYPGLParam> param, bool) {
            return window.ShowVoucherList(std::move(param));
        },
        false);
}

void clsVL_JDYPGLMain::ShowVoucherListEx(std::shared_ptr<clsLogin> K7clsLogin, const QString &strCardNum,
                                         std::shared_ptr<clsVL_JDYPGLParam> objShowParameter, bool bCheckAuth)
{
    open(
        std::move(K7clsLogin), strCardNum, std::move(objShowParameter),
        [](ListWindow &window, std::shared_ptr<clsVL_JDYPGLParam> param, bool checkAuth) {
            return window.ShowVoucherListEx(std::move(param), checkAuth);
        },
        bCheckAuth);
}

void clsVL_JDYPGLMain::open(std::shared_ptr<clsLogin> login, const QString &cardNumber,
                            std::shared_ptr<clsVL_JDYPGLParam> param, Show show, bool bCheckAuth)
{
    modPublic::setListLogin(login);
    if (!param)
        param = std::make_shared<clsVL_JDYPGLParam>();
    if (ListWindow::ActivateOpenList(param->MenuID))
        return;

    if (!login) {
        modPublic::ShowErrMsg(modPublic::MissingObjectErrorNumber, QStringLiteral("没有登录对象"), location());
        return;
    }
    auto cnn = modPublic::listConnection();
    if (!cnn) {
        cnn = std::make_shared<Connection>();
        modPublic::setListConnection(cnn);
    }
    if (cnn->isOpen())
        cnn->Close();
    if (auto opened = cnn->Open(login->ConnectionString()); !opened) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, opened.error(), location());
        return;
    }
    param->CardNumber = cardNumber;

    auto window = WindowManager::newList();
    if (!window) {
        modPublic::ShowErrMsg(modPublic::MissingObjectErrorNumber, QStringLiteral("无法创建单据列表窗口"), location());
        return;
    }
    show(*window, param, bCheckAuth);
}

QString clsVL_JDYPGLMain::AppHelpFilePath() const
{
    return modPublic::AppHelpFilePath();
}

void clsVL_JDYPGLMain::setAppHelpFilePath(const QString &path)
{
    modPublic::setAppHelpFilePath(path);
}
