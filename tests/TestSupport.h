#pragma once

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

namespace test {

// Lets the event loop run for `milliseconds`, delivering posted and timer events.
inline void processEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (clock.elapsed() < milliseconds);
}

// Runs the event loop until `condition` holds or `deadlineMs` passes; true when it held.
inline bool waitUntil(const std::function<bool()>& condition, int deadlineMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The QAction of the menu item named `name`, wherever it is shown.
inline QAction* menuAction(const std::string& name)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        for (QAction* action : widget->actions()) {
            if (action->objectName() == QString::fromStdString(name))
                return action;
        }
    }
    return nullptr;
}

// Chooses a menu item by name as a user would: only when it is shown and enabled.
inline bool chooseMenuItem(const std::string& name)
{
    QAction* action = menuAction(name);
    if (!action || !action->isVisible() || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

} // namespace test
