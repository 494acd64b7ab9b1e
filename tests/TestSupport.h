#pragma once

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace test {

// Bytes of `bytes` from `memory` held in memory now, found without reading them.
inline size_t residentBytes(const void* memory, size_t bytes)
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> pages((bytes + page - 1) / page);
    if (mincore(const_cast<void*>(memory), bytes, pages.data()) != 0)
        return 0;
    size_t resident = 0;
    for (unsigned char entry : pages)
        resident += entry & 1;
    return resident * page;
}

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
