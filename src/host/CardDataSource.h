#pragma once

#include "ObjectRegistry.h"

#include <memory>

class clsLogin;

// The lookup data source of the voucher card control: the object through which the control finds
// reference data for the session it is given. One is shared by all cards of the process (see
// modPublic::SetCardDataSource); it is created by its program identifier, which is outside the
// "Orvane." family because the suite supplies it.
class CardDataSource : public RegisteredObject
{
public:
    static QString progId() { return QStringLiteral("IDataSource.DefaultDataSource"); }
    // Registers the suite's default data source under progId().
    static void registerDefault();

    virtual void SetLogin(std::shared_ptr<clsLogin> login) { m_login = std::move(login); }
    std::shared_ptr<clsLogin> login() const { return m_login; }

private:
    std::shared_ptr<clsLogin> m_login;
};
