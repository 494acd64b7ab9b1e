#include "QtSupport.h"

#include "Graphics.h"

#include "Runtime.h"
#include "RuntimeException.h"

#include <QCoreApplication>
#include <QObject>
#include <QRegion>
#include <QThread>

#include <algorithm>
#include <limits>

namespace {

int deliveryDepth = 0;

} // namespace

SystemEventScope::SystemEventScope()
{
    ++deliveryDepth;
}

SystemEventScope::~SystemEventScope()
{
    --deliveryDepth;
}

bool deliverSystemEvent(const std::function<void()>& handler)
{
    SystemEventScope scope;
    return RuntimeDeliver(handler);
}

void disposeQtObject(QObject* object)
{
    if (!object)
        return;
    // Without an application object there is nothing left to tear down the object safely.
    if (!QCoreApplication::instance())
        return;
    if (deliveryDepth > 0)
        object->deleteLater();
    else
        delete object;
}

int toQtInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void checkUIThread()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread())
        throw ThreadAccessingUIException();
}

Ref<Graphics> paintSurface(Ref<Graphics>& surface, QPainter* painter)
{
    if (!surface)
        surface = Graphics::forPainter(painter);
    else
        surface->bindPainter(painter);
    return surface;
}

std::vector<Rect> areasOf(const QRegion& region)
{
    std::vector<Rect> areas;
    for (const QRect& area : region)
        areas.push_back({ area.x(), area.y(), area.width(), area.height() });
    return areas;
}
