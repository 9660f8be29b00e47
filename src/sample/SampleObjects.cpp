#include "SampleObjects.h"

#include "clsManageSample.h"

#include "engine/clsVoucherCo.h"

void registerSampleObjects()
{
    ObjectRegistry::add(QStringLiteral("clsManageSample"), [] { return std::make_shared<clsManageSample>(); });
    ObjectRegistry::add(QStringLiteral("clsVoucherCo"), [] { return std::make_shared<clsVoucherCo>(); });
}
