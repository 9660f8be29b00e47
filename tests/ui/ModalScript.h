#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the modal windows a flow opens, one step per window in the order they appear: each step
// gets the window and must close it. Polls every 20 ms while the flow runs its own modal loops.
class ModalScript
{
public:
    using Step = std::function<void(QWidget *modal)>;

    ModalScript()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start();
    }

    ModalScript &then(Step step)
    {
        m_steps.append(std::move(step));
        return *this;
    }
    // Modal windows other than these are left alone (a window that is itself modal).
    void ignore(QWidget *window) { m_ignored = window; }
    bool done() const { return m_steps.isEmpty(); }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_ignored || modal == m_last || m_steps.isEmpty())
            return;
        m_last = modal;
        m_steps.takeFirst()(modal);
    }

    QTimer m_timer;
    QList<Step> m_steps;
    QPointer<QWidget> m_last;
    QPointer<QWidget> m_ignored;
};
