#pragma once

#include "entry/WindowManager.h"

#include <QList>
#include <QStringList>

// Windows that record how the entry objects use them. Install them with FakeWindowFactories.

class FakeCardWindow final : public CardWindow
{
public:
    bool ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin, const QVariant &vVouchID,
                     const QString &VtidField, QString &ErrMsg, qint16 &sMoveVouchOpe) override
    {
        ++showCalls;
        connection = DBConn;
        login = mLogin;
        voucherId = vVouchID;
        vtidField = VtidField;
        move = sMoveVouchOpe;
        if (!answer)
            ErrMsg = failureText;
        visible = answer;
        return answer;
    }
    bool isVisible() const override { return visible; }
    void Show() override { visible = true; }
    void ZOrder(int position) override { zOrders << position; }

    bool answer = true;
    QString failureText = QStringLiteral("找不到该单据");
    int showCalls = 0;
    std::shared_ptr<Connection> connection;
    std::shared_ptr<clsLogin> login;
    QVariant voucherId;
    QString vtidField;
    qint16 move = -1;
    bool visible = false;
    QList<int> zOrders;

protected:
    void unloading() override { visible = false; }
};

class FakeListWindow final : public ListWindow
{
public:
    bool ShowVoucherList(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter) override
    {
        calls << QStringLiteral("ShowVoucherList");
        param = std::move(objShowParameter);
        visible = true;
        return true;
    }
    bool ShowVoucherListEx(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter, bool bCheckAuth) override
    {
        calls << QStringLiteral("ShowVoucherListEx(%1)").arg(bCheckAuth);
        param = std::move(objShowParameter);
        visible = true;
        return true;
    }
    bool isVisible() const override { return visible; }
    void Show() override { calls << QStringLiteral("Show"); }
    void ZOrder(int position) override { calls << QStringLiteral("ZOrder(%1)").arg(position); }

    QStringList calls;
    std::shared_ptr<clsVL_JDYPGLParam> param;
    bool visible = false;

protected:
    void unloading() override { visible = false; }
};

class FakeAccessoryWindow final : public AccessoryWindow
{
public:
    void ShowModal(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn, ManagedWindow *owner) override
    {
        kind = fType;
        voucherId = iAutoID;
        connection = std::move(cnn);
        ownerWindow = owner;
        ++shown;
    }
    bool isVisible() const override { return false; }
    void Show() override {}
    void ZOrder(int) override {}

    sFileType kind = sFileType::Nulls;
    qint32 voucherId = 0;
    std::shared_ptr<Connection> connection;
    ManagedWindow *ownerWindow = nullptr;
    int shown = 0;

protected:
    void unloading() override {}
};

// Registers factories of the fakes for its lifetime and keeps every window made, oldest first.
// Forgets all windows and factories when it goes.
class FakeWindowFactories
{
public:
    FakeWindowFactories()
    {
        WindowManager::reset();
        WindowManager::setCardFactory([this] { return keep(cards); });
        WindowManager::setListFactory([this] { return keep(lists); });
        WindowManager::setAccessoryFactory([this] { return keep(accessories); });
    }
    ~FakeWindowFactories() { WindowManager::reset(); }
    FakeWindowFactories(const FakeWindowFactories &) = delete;
    FakeWindowFactories &operator=(const FakeWindowFactories &) = delete;

    QList<std::shared_ptr<FakeCardWindow>> cards;
    QList<std::shared_ptr<FakeListWindow>> lists;
    QList<std::shared_ptr<FakeAccessoryWindow>> accessories;

private:
    template<typename T> static std::shared_ptr<T> keep(QList<std::shared_ptr<T>> &made)
    {
        made << std::make_shared<T>();
        return made.last();
    }
};
