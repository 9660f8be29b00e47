#include "ObjectRegistry.h"

#include <QHash>

namespace {

QHash<QString, ObjectRegistry::Factory> &factories()
{
    static QHash<QString, ObjectRegistry::Factory> map;
    return map;
}

} // namespace

void ObjectRegistry::add(const QString &className, Factory factory)
{
    addProgId(progId(className), std::move(factory));
}

void ObjectRegistry::addProgId(const QString &id, Factory factory)
{
    factories().insert(id.trimmed().toLower(), std::move(factory));
}

bool ObjectRegistry::contains(const QString &id)
{
    return factories().contains(id.trimmed().toLower());
}

std::shared_ptr<RegisteredObject> ObjectRegistry::create(const QString &id)
{
    const auto it = factories().constFind(id.trimmed().toLower());
    if (it == factories().constEnd())
        return nullptr;
    return (*it)();
}
