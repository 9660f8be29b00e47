#pragma once

#include <QString>

#include <memory>

// A window of the module while it is loaded: from its creation through WindowManager until it
// unloads. The program looks through the loaded windows by name (one card window per menu, one
// list window), so every window knows its form name.
//
// Windows are owned by WindowManager through shared pointers; Unload() drops that reference, so
// whoever holds no other reference must not touch the window after unloading it.
class ManagedWindow : public std::enable_shared_from_this<ManagedWindow>
{
public:
    virtual ~ManagedWindow() = default;

    // The form name: "frmManageSample", "frmVL_JDYPGL", "frmAccessory".
    virtual QString formName() const = 0;
    virtual bool isVisible() const = 0;
    virtual void Show() = 0;
    // Moves the window in the window order: 0 in front of all others, anything else behind them.
    virtual void ZOrder(int position) = 0;

    // Closes the window and drops it from the loaded windows. Safe to call twice.
    void Unload();
    bool isLoaded() const { return m_loaded; }

protected:
    // The window's own clean-up when it unloads: give held functions back, close the view.
    virtual void unloading() = 0;

private:
    friend class WindowManager;
    bool m_loaded = false;
};
