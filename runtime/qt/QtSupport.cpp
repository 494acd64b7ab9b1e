#include "qt/QtSupport.h"

#include "application/EventDelivery.h"
#include "object/RuntimeException.h"

#include <QCoreApplication>
#include <QObject>
#include <QRegion>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

int deliveryDepth = 0;
bool qtGone = false;

// A thread-local's destructor runs first at exit, before any static's destructor and any
// exit handler, whatever the order they were made in: the earliest moment to know.
struct ThreadExitWatch {
    ~ThreadExitWatch() { qtGone = true; }
};

// Objects left to the process; held here so they stay reachable and are not taken for leaks.
std::vector<QObject*>& leftToProcess()
{
    static auto* objects = new std::vector<QObject*>;
    return *objects;
}

} // namespace

void watchQtThreadExit()
{
    static thread_local ThreadExitWatch watch;
    (void)watch;
}

bool qtIsGone()
{
    return qtGone;
}

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
    // Whatever becomes of it, it no longer calls into the runtime object that is going.
    object->disconnect();
    // Without Qt's state, or without an application object, nothing tears it down safely.
    if (qtGone || !QCoreApplication::instance()) {
        leftToProcess().push_back(object);
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(object))
        widget->hide();
    if (auto* timer = qobject_cast<QTimer*>(object))
        timer->stop();
    if (deliveryDepth > 0)
        object->deleteLater();
    else
        delete object;
}

int64_t saturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

int toQtInt(int64_t value, int64_t plus)
{
    return static_cast<int>(std::clamp<int64_t>(saturatingAdd(value, plus), std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

int toQtSize(int64_t value, int64_t plus)
{
    return static_cast<int>(std::clamp<int64_t>(saturatingAdd(value, plus), 0, kLargestQtSize));
}

int toQtPosition(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

int roundToQtInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::round(std::clamp<double>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

QRect toQtRect(int64_t left, int64_t top, int64_t width, int64_t height)
{
    return QRect(toQtPosition(left), toQtPosition(top), toQtSize(width), toQtSize(height));
}

void checkUIThread()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread())
        throw ThreadAccessingUIException();
}
