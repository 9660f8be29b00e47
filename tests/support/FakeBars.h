#pragma once

#include "host/CommandBarControl.h"
#include "host/ToolbarControl.h"

#include <QMap>
#include <QStringList>

// Bars that record what the window logic does to them, in one shared log so the order shows.
class FakeToolbar final : public ToolbarControl
{
public:
    explicit FakeToolbar(QStringList &log)
        : m_log(log)
    {}
    void setShown(bool shown) override { m_log << QStringLiteral("toolbar.shown=%1").arg(shown); }
    void bringToFront() override { m_log << QStringLiteral("toolbar.front"); }
    QRect placement() const override { return where; }
    void setButtonEnabled(const QString &key, bool on) override { enabled[key.toLower()] = on; }
    void setButtonVisible(const QString &key, bool on) override { visible[key.toLower()] = on; }
    bool isButtonEnabled(const QString &key) const override { return enabled.value(key.toLower(), false); }
    void setButtonToolTip(const QString &key, const QString &tip) override { toolTips[key.toLower()] = tip; }

    QRect where{4, 30, 300, 28};
    // Button states by lower-case key, as last set; a key never set is absent.
    QMap<QString, bool> enabled;
    QMap<QString, bool> visible;
    QMap<QString, QString> toolTips;

private:
    QStringList &m_log;
};

class FakeCommandBar final : public CommandBarControl
{
public:
    explicit FakeCommandBar(QStringList &log)
        : m_log(log)
    {}
    void SetToolbar(ToolbarControl &toolbar) override
    {
        m_log << QStringLiteral("bar.SetToolbar");
        source = &toolbar;
    }
    void SetDisplayStyle(int style) override { m_log << QStringLiteral("bar.SetDisplayStyle(%1)").arg(style); }
    void setShown(bool shown) override { m_log << QStringLiteral("bar.shown=%1").arg(shown); }
    void place(const QRect &geometry) override
    {
        m_log << QStringLiteral("bar.place");
        placed = geometry;
    }
    void SynchronizeToolbar() override { ++synchronized; }
    void RefreshBar() override { ++refreshed; }

    ToolbarControl *source = nullptr;
    QRect placed;
    int synchronized = 0;
    int refreshed = 0;

private:
    QStringList &m_log;
};
