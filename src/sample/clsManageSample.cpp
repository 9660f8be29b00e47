#include "clsManageSample.h"

void clsManageSample::Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info)
{
    m_login = std::move(login);
    m_info = std::move(info);
}
