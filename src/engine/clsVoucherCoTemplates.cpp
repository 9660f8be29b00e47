// clsVoucherCo: the template calls, each on a template service made for the one call.
#include "clsVoucherCo.h"

#include "host/TemplateService.h"
#include "platform/Recordset.h"

Result<Recordset> clsVoucherCo::GetVoucherFormat(const QString &strVTID)
{
    return TemplateService(m_cnn).format(CardNumber(), strVTID);
}

Result<Recordset> clsVoucherCo::GetVoucherFixed(const QString &strVTID)
{
    return TemplateService::fixedItems(m_cnn.ConnectionString(), strVTID);
}

Result<int> clsVoucherCo::SavePrintSetting(const QString &strVTID, const QVariant &varDevice)
{
    return TemplateService(m_cnn).savePrintSetting(strVTID, varDevice);
}
