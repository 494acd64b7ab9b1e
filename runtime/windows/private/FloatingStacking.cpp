#include "windows/private/FloatingStacking.h"

#include "windows/private/WindowManagerQuirks.h"

#include <QWindow>

void attachToMainWindow(QWidget* floating, QWidget* main)
{
    if (!main || main == floating)
        return;
    floating->winId();
    main->winId();
    setTransientParent(floating->windowHandle(), main->windowHandle());
}

void raiseFloatingWindows(const std::vector<QWidget*>& floating, QWidget* main)
{
    if (headlessPlatform())
        return;
    for (QWidget* window : floating) {
        attachToMainWindow(window, main);
        window->raise();
    }
}
