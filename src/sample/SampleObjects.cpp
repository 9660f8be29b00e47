#include "SampleObjects.h"

#include "clsManageSample.h"

#include "engine/clsVoucherCo.h"
#include "entry/clsAccessory.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "host/CardDataSource.h"

void registerSampleObjects()
{
    ObjectRegistry::add(QStringLiteral("clsManageSample"), [] { return std::make_shared<clsManageSample>(); });
    ObjectRegistry::add(QStringLiteral("clsVL_JDYPGLMain"), [] { return std::make_shared<clsVL_JDYPGLMain>(); });
    ObjectRegistry::add(QStringLiteral("clsAccessory"), [] { return std::make_shared<clsAccessory>(); });
    ObjectRegistry::add(QStringLiteral("clsVoucherCo"), [] { return std::make_shared<clsVoucherCo>(); });
    // The suite supplies the card control's data source; ours stands in for it.
    CardDataSource::registerDefault();
}
