#include "system/Screen.h"

#include <QGuiApplication>
#include <QScreen>

RUNTIME_CLASS_RECORD(ScreenInfo, "Screen", Object)

ScreenInfo::ScreenInfo(int64_t left, int64_t top, int64_t width, int64_t height)
    : m_left(left)
    , m_top(top)
    , m_width(width)
    , m_height(height)
{
}

namespace {

// The main screen first, then the others in Qt's order.
QScreen* screenAt(int64_t index)
{
    if (!qGuiApp || index < 0)
        return nullptr;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (index == 0)
        return primary;
    int64_t position = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary && ++position == index)
            return screen;
    }
    return nullptr;
}

} // namespace

Ref<ScreenInfo> Screen(int64_t index)
{
    const QScreen* screen = screenAt(index);
    if (!screen)
        return nullptr;
    const QRect geometry = screen->geometry();
    return makeRef<ScreenInfo>(geometry.x(), geometry.y(), geometry.width(), geometry.height());
}
