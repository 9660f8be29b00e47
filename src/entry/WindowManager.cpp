#include "WindowManager.h"

namespace {

struct Windows
{
    WindowManager::CardFactory cardFactory;
    WindowManager::ListFactory listFactory;
    WindowManager::AccessoryFactory accessoryFactory;
    QList<std::shared_ptr<ManagedWindow>> loaded;
    std::weak_ptr<CardWindow> defaultCard;
};

Windows &state()
{
    static Windows w;
    return w;
}

} // namespace

template<typename T> std::shared_ptr<T> WindowManager::load(const std::function<std::shared_ptr<T>()> &factory)
{
    if (!factory)
        return nullptr;
    std::shared_ptr<T> window = factory();
    if (window) {
        window->m_loaded = true;
        state().loaded.append(window);
    }
    return window;
}

void WindowManager::setCardFactory(CardFactory factory)
{
    state().cardFactory = std::move(factory);
}

void WindowManager::setListFactory(ListFactory factory)
{
    state().listFactory = std::move(factory);
}

void WindowManager::setAccessoryFactory(AccessoryFactory factory)
{
    state().accessoryFactory = std::move(factory);
}

std::shared_ptr<CardWindow> WindowManager::newCard()
{
    return load(state().cardFactory);
}

std::shared_ptr<ListWindow> WindowManager::newList()
{
    return load(state().listFactory);
}

std::shared_ptr<AccessoryWindow> WindowManager::newAccessory()
{
    return load(state().accessoryFactory);
}

std::shared_ptr<CardWindow> WindowManager::defaultCard()
{
    if (auto card = loadedDefaultCard())
        return card;
    auto card = newCard();
    state().defaultCard = card;
    return card;
}

std::shared_ptr<CardWindow> WindowManager::loadedDefaultCard()
{
    auto card = state().defaultCard.lock();
    return card && card->isLoaded() ? card : nullptr;
}

QList<std::shared_ptr<ManagedWindow>> WindowManager::windows()
{
    return state().loaded;
}

std::shared_ptr<ManagedWindow> WindowManager::find(const QString &formName)
{
    for (const auto &window : std::as_const(state().loaded)) {
        if (window->formName().compare(formName, Qt::CaseInsensitive) == 0)
            return window;
    }
    return nullptr;
}

void WindowManager::unloadAll()
{
    // Unloading changes the list; work on a copy.
    const auto loaded = state().loaded;
    for (auto it = loaded.crbegin(); it != loaded.crend(); ++it)
        (*it)->Unload();
    state().loaded.clear();
}

void WindowManager::reset()
{
    unloadAll();
    state().cardFactory = nullptr;
    state().listFactory = nullptr;
    state().accessoryFactory = nullptr;
    state().defaultCard.reset();
}

void WindowManager::forget(const ManagedWindow *window)
{
    state().loaded.removeIf([window](const std::shared_ptr<ManagedWindow> &w) { return w.get() == window; });
}
