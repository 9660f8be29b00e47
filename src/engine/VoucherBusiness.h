#pragma once

#include <memory>

class clsLogin;
class clsVoucherGetInfo;

// The business object of a voucher type, as the engine calls it back. Each member carries the name
// of the call the engine makes; the sample voucher's clsManageSample implements it.
class VoucherBusiness
{
public:
    virtual ~VoucherBusiness() = default;

    // Set-up after the engine has read the voucher's meta-information.
    virtual void Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info) = 0;
};
