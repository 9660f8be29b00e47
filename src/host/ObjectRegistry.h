#pragma once

#include <QString>

#include <functional>
#include <memory>

// Base of every public class that the suite creates by program identifier.
class RegisteredObject
{
public:
    virtual ~RegisteredObject() = default;
};

// Creates public classes by program identifier ("Orvane." + class name), as the suite's shell and
// the list's "Find" do. Identifiers are compared without regard to letter case. Layers register
// their classes at start-up (see registerSampleObjects and friends); creation of an unknown
// identifier gives nullptr.
class ObjectRegistry
{
public:
    using Factory = std::function<std::shared_ptr<RegisteredObject>()>;

    static QString progId(const QString &className) { return QStringLiteral("Orvane.") + className; }

    // Registers a class under "Orvane." + className; a second registration replaces the first.
    static void add(const QString &className, Factory factory);
    // Registers an object of another family under its full program identifier (the suite's own
    // objects, such as the card's data source).
    static void addProgId(const QString &progId, Factory factory);
    static bool contains(const QString &progId);
    static std::shared_ptr<RegisteredObject> create(const QString &progId);

    template<typename T>
    static std::shared_ptr<T> createAs(const QString &progId)
    {
        return std::dynamic_pointer_cast<T>(create(progId));
    }
};
