#include "windows/private/WindowKinds.h"

Qt::WindowFlags windowFlagsOf(int64_t type, TitleBarButtons buttons)
{
    Qt::WindowFlags flags;
    bool frameless = false;
    switch (type) {
    case 1:
    case 2:
    case 8:
        flags = Qt::Dialog;
        break;
    case 3:
        flags = Qt::Tool;
        break;
    case 4:
    case 5:
    case 6:
        flags = Qt::Window | Qt::FramelessWindowHint;
        frameless = true;
        break;
    case 7:
        flags = Qt::Tool | Qt::WindowStaysOnTopHint;
        break;
    default:
        flags = Qt::Window;
        break;
    }
    if (!frameless) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (buttons.close)
            flags |= Qt::WindowCloseButtonHint;
        if (buttons.minimize)
            flags |= Qt::WindowMinimizeButtonHint;
        if (buttons.maximize)
            flags |= Qt::WindowMaximizeButtonHint;
        if (buttons.fullScreen)
            flags |= Qt::WindowFullscreenButtonHint;
    }
    return flags;
}

bool isFloatingKind(int64_t type)
{
    return type == 3 || type == 7;
}

Qt::WindowModality modalityOf(int64_t type)
{
    return type == 2 ? Qt::ApplicationModal : Qt::NonModal;
}
