#pragma once

#include "engine/VoucherBusiness.h"
#include "host/ObjectRegistry.h"

#include <memory>

class clsLogin;
class clsVoucherGetInfo;

// The sample voucher's business object: the engine of card "1801" creates it by program identifier
// and calls it back during loading, saving and state changes.
class clsManageSample : public RegisteredObject, public VoucherBusiness
{
public:
    void Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info) override;

    std::shared_ptr<clsLogin> login() const { return m_login; }
    std::shared_ptr<clsVoucherGetInfo> info() const { return m_info; }

private:
    std::shared_ptr<clsLogin> m_login;
    std::shared_ptr<clsVoucherGetInfo> m_info;
};
