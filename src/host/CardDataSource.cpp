#include "CardDataSource.h"

void CardDataSource::registerDefault()
{
    ObjectRegistry::addProgId(progId(), [] { return std::make_shared<CardDataSource>(); });
}
