#include "windows/private/SystemWindowSize.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

xcb_connection_t* connectionFor(QWidget* window)
{
    if (!window || !window->windowHandle() || !window->testAttribute(Qt::WA_WState_Created))
        return nullptr;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

std::optional<QSize> windowSystemSize(QWidget* window)
{
    xcb_connection_t* connection = connectionFor(window);
    if (!connection)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    if (!reply)
        return std::nullopt;
    const qreal ratio = window->devicePixelRatioF();
    return QSize(static_cast<int>(std::lround(reply->width / ratio)), static_cast<int>(std::lround(reply->height / ratio)));
}

void requestWindowSystemSize(QWidget* window, QSize size)
{
    xcb_connection_t* connection = connectionFor(window);
    if (!connection)
        return;
    const qreal ratio = window->devicePixelRatioF();
    const uint32_t values[] = { static_cast<uint32_t>(std::lround(size.width() * ratio)),
                                static_cast<uint32_t>(std::lround(size.height() * ratio)) };
    xcb_configure_window(connection, static_cast<xcb_window_t>(window->winId()),
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(connection);
}
