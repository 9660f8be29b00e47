#pragma once

#include "AccessoryWindow.h"
#include "CardWindow.h"
#include "ListWindow.h"

#include <QList>

#include <functional>
#include <memory>

// Keeps the module's loaded windows and makes new ones through factories that the application
// registers at start-up (Qt windows) and tests replace (fakes). A window is listed from its making
// until it unloads; the list holds it alive.
//
// Program-wide and used from the user-interface thread only.
class WindowManager
{
public:
    using CardFactory = std::function<std::shared_ptr<CardWindow>()>;
    using ListFactory = std::function<std::shared_ptr<ListWindow>()>;
    using AccessoryFactory = std::function<std::shared_ptr<AccessoryWindow>()>;

    static void setCardFactory(CardFactory factory);
    static void setListFactory(ListFactory factory);
    static void setAccessoryFactory(AccessoryFactory factory);

    // A new loaded window; nullptr when no factory was registered for its kind.
    static std::shared_ptr<CardWindow> newCard();
    static std::shared_ptr<ListWindow> newList();
    static std::shared_ptr<AccessoryWindow> newAccessory();

    // The default card window, the one the card entry members act on: made (loaded, not shown) on
    // first use and again after it unloaded. nullptr without a card factory.
    static std::shared_ptr<CardWindow> defaultCard();
    // The default card window while it is loaded, else nullptr; never makes one.
    static std::shared_ptr<CardWindow> loadedDefaultCard();

    // The loaded windows, oldest first.
    static QList<std::shared_ptr<ManagedWindow>> windows();
    // The first loaded window with that form name (letter case ignored), or nullptr.
    static std::shared_ptr<ManagedWindow> find(const QString &formName);

    // Unloads every window, newest first (application shut-down).
    static void unloadAll();
    // Unloads every window and forgets the factories (tests).
    static void reset();

private:
    friend class ManagedWindow;
    template<typename T> static std::shared_ptr<T> load(const std::function<std::shared_ptr<T>()> &factory);
    static void forget(const ManagedWindow *window);
};
